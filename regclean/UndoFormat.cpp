#include "regclean/UndoFormat.h"

#include <cstdlib>
#include <cstring>

const char kUndoHeader[] = "REGEDIT4\r\n";
const char kUndoUnmergeableMark[] = "not mergeable:";

namespace {

const int kLineLimit = 79;  // characters before the continuation "\"

bool HasControlCharacters(const std::string& text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) < 32) return true;
    return false;
}

bool HasLineBreak(const char* text) { return std::strpbrk(text, "\r\n") != nullptr; }

// The text of a string value: its bytes up to the first terminator.
std::string StringOf(const std::string& bytes)
{
    size_t end = bytes.find('\0');
    return end == std::string::npos ? bytes : bytes.substr(0, end);
}

// Whether a REG_SZ value is its text and one terminator, so that a quoted
// string gives back every byte.
bool IsPlainString(const std::string& bytes)
{
    const std::string text = StringOf(bytes);
    return !HasControlCharacters(text) && (bytes == text || bytes == text + '\0');
}

CString ValueLineStart(const CString& valueName)
{
    if (IsDefaultValueName(valueName)) return "@=";
    return "\"" + EscapeRegText(valueName) + "\"=";
}

// The registry editor reads "\r" and "\n" in a quoted string but has no way
// to write a line break into a key name: such an entry stays in the file
// as a comment, where it breaks nothing.
CString CommentedEntry(const CString& keyPath, const CString& valueName)
{
    CString shown;
    for (const char* p = keyPath; *p; ++p) {
        if (*p == '\r')
            shown += "\\r";
        else if (*p == '\n')
            shown += "\\n";
        else
            shown += *p;
    }
    return "\r\n; " + CString(kUndoUnmergeableMark) + " [" + shown + "] \"" + EscapeRegText(valueName) + "\"\r\n";
}

CString HexLine(const CString& start, const char* kind, const std::string& bytes)
{
    CString out;
    CString line = start + kind;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char piece[4];
        std::snprintf(piece, sizeof piece, i + 1 < bytes.size() ? "%02x," : "%02x",
                      static_cast<unsigned char>(bytes[i]));
        if (line.GetLength() + int(strlen(piece)) > kLineLimit) {
            out += line + "\\\r\n";
            line = "  ";
        }
        line += piece;
    }
    return out + line;
}

CString KeyLine(const CString& keyPath) { return "\r\n[" + keyPath + "]\r\n"; }

}  // namespace

bool IsDefaultValueName(const CString& valueName) { return valueName.IsEmpty() || valueName == " "; }

bool UndoEntryMergeable(const CString& keyPath) { return !HasLineBreak(keyPath); }

CString EscapeRegText(const char* text)
{
    CString out;
    for (const char* p = text; *p; ++p) {
        // A double-byte character goes whole: its second byte may be "\".
        if (::IsDBCSLeadByte(BYTE(*p)) && p[1]) {
            out += *p++;
            out += *p;
            continue;
        }
        if (*p == '\r') {
            out += "\\r";
            continue;
        }
        if (*p == '\n') {
            out += "\\n";
            continue;
        }
        if (*p == '\\' || *p == '"') out += '\\';
        out += *p;
    }
    return out;
}

CString FormatUndoEntry(const CString& keyPath, const CString& valueName, const CString& data)
{
    if (!UndoEntryMergeable(keyPath)) return CommentedEntry(keyPath, valueName);
    const CString start = ValueLineStart(valueName);
    if (HasControlCharacters(data.str())) return KeyLine(keyPath) + HexLine(start, "hex(1):", data.str() + '\0') + "\r\n";
    return KeyLine(keyPath) + start + "\"" + EscapeRegText(data) + "\"\r\n";
}

CString FormatUndoEntry(const CString& keyPath, const CString& valueName, DWORD type, const std::string& bytes)
{
    if (!UndoEntryMergeable(keyPath)) return CommentedEntry(keyPath, valueName);
    const CString start = ValueLineStart(valueName);
    CString line;
    if (type == REG_SZ) {
        if (IsPlainString(bytes))
            line = start + "\"" + EscapeRegText(StringOf(bytes).c_str()) + "\"";
        else  // line breaks, control characters, bytes after a terminator
            line = HexLine(start, "hex(1):", bytes.empty() ? std::string(1, '\0') : bytes);
    } else if (type == REG_BINARY) {
        line = HexLine(start, "hex:", bytes);
    } else {
        char kind[24];
        std::snprintf(kind, sizeof kind, "hex(%lx):", static_cast<unsigned long>(type));
        line = HexLine(start, kind, bytes);
    }
    return KeyLine(keyPath) + line + "\r\n";
}

namespace {

// Undoes EscapeRegText inside the quotes that start at text[0]; `end`
// receives the position after the closing quote.
bool Unquote(const std::string& text, size_t start, std::string& out, size_t& end)
{
    if (start >= text.size() || text[start] != '"') return false;
    out.clear();
    for (size_t i = start + 1; i < text.size(); ++i) {
        if (::IsDBCSLeadByte(BYTE(text[i])) && i + 1 < text.size()) {
            out += text[i];
            out += text[++i];
        } else if (text[i] == '\\' && i + 1 < text.size()) {
            const char c = text[++i];
            out += c == 'n' ? '\n' : c == 'r' ? '\r' : c;
        } else if (text[i] == '"') {
            end = i + 1;
            return true;
        } else {
            out += text[i];
        }
    }
    return false;
}

bool ParseHex(const std::string& text, std::string& bytes)
{
    bytes.clear();
    const char* p = text.c_str();
    while (*p) {
        while (*p == ',' || *p == ' ' || *p == '\t') ++p;
        if (!*p) break;
        char* next = nullptr;
        unsigned long v = std::strtoul(p, &next, 16);
        if (next == p || v > 0xFF) return false;
        bytes += static_cast<char>(v);
        p = next;
    }
    return true;
}

}  // namespace

bool ParseUndoText(const std::string& text, std::vector<UndoValue>& values)
{
    values.clear();
    if (text.compare(0, 8, "REGEDIT4") != 0) return false;
    // Lines, with continued hex lines joined.
    std::vector<std::string> lines;
    std::string current;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t eol = text.find('\n', pos);
        std::string line = text.substr(pos, eol == std::string::npos ? std::string::npos : eol - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!current.empty()) {
            size_t first = line.find_first_not_of(" \t");
            line = first == std::string::npos ? "" : line.substr(first);
        }
        // Only hex lines end in a backslash: string and key lines end in a
        // quote or a bracket.
        if (!line.empty() && line.back() == '\\') {
            current += line.substr(0, line.size() - 1);
        } else {
            lines.push_back(current + line);
            current.clear();
        }
        if (eol == std::string::npos) break;
        pos = eol + 1;
    }
    CString key;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            size_t close = line.rfind(']');
            if (close == std::string::npos) return false;
            key = CString(line.substr(1, close - 1));
            continue;
        }
        UndoValue value;
        value.KeyPath = key;
        size_t at;
        if (line[0] == '@') {
            at = 1;
        } else {
            std::string name;
            if (!Unquote(line, 0, name, at)) return false;
            value.ValueName = CString(name);
        }
        if (at >= line.size() || line[at] != '=') return false;
        std::string data = line.substr(at + 1);
        if (!data.empty() && data[0] == '"') {
            std::string textValue;
            size_t end;
            if (!Unquote(data, 0, textValue, end)) return false;
            value.Type = REG_SZ;
            value.Bytes = textValue + '\0';
        } else if (data.compare(0, 6, "dword:") == 0) {
            unsigned long v = std::strtoul(data.c_str() + 6, nullptr, 16);
            value.Type = REG_DWORD;
            value.Bytes.assign(reinterpret_cast<const char*>(&v), 4);
        } else if (data.compare(0, 4, "hex:") == 0) {
            value.Type = REG_BINARY;
            if (!ParseHex(data.substr(4), value.Bytes)) return false;
        } else if (data.compare(0, 4, "hex(") == 0) {
            size_t close = data.find("):");
            if (close == std::string::npos) return false;
            value.Type = DWORD(std::strtoul(data.c_str() + 4, nullptr, 16));
            if (!ParseHex(data.substr(close + 2), value.Bytes)) return false;
        } else {
            return false;
        }
        values.push_back(value);
    }
    return true;
}
