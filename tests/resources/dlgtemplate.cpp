#include "dlgtemplate.h"

#include <cstring>

namespace restest {

namespace {

class Reader {
public:
    Reader(const BYTE* data, DWORD size) : m_data(data), m_size(size) {}
    bool ok() const { return m_ok; }

    template <typename T>
    T Take() {
        T value{};
        if (m_pos + sizeof(T) > m_size) {
            m_ok = false;
            return value;
        }
        std::memcpy(&value, m_data + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return value;
    }

    std::wstring String() {
        std::wstring s;
        for (;;) {
            WORD c = Take<WORD>();
            if (!m_ok || c == 0) return s;
            s += static_cast<wchar_t>(c);
        }
    }

    // A name or an ordinal (0xFFFF followed by the number).
    void NameOrOrdinal(WORD& ordinal, std::wstring& name) {
        WORD first = Take<WORD>();
        if (first == 0xFFFF) {
            ordinal = Take<WORD>();
        } else if (first != 0) {
            name = static_cast<wchar_t>(first);
            name += String();
        }
    }

    void AlignDword() { m_pos = (m_pos + 3) & ~static_cast<DWORD>(3); }
    void Skip(DWORD n) {
        if (m_pos + n > m_size) m_ok = false;
        m_pos += n;
    }

private:
    const BYTE* m_data;
    DWORD m_size;
    DWORD m_pos = 0;
    bool m_ok = true;
};

}  // namespace

const TemplateItem* DialogTemplate::Find(DWORD id) const {
    for (const TemplateItem& item : items)
        if (item.id == id) return &item;
    return nullptr;
}

bool ParseDialogTemplate(const BYTE* data, DWORD size, DialogTemplate& out) {
    if (!data) return false;
    Reader r(data, size);
    WORD version = r.Take<WORD>();
    WORD signature = r.Take<WORD>();
    out.extended = version == 1 && signature == 0xFFFF;
    if (!out.extended) return false;
    r.Take<DWORD>();  // help id
    out.exStyle = r.Take<DWORD>();
    out.style = r.Take<DWORD>();
    WORD count = r.Take<WORD>();
    out.x = r.Take<short>();
    out.y = r.Take<short>();
    out.cx = r.Take<short>();
    out.cy = r.Take<short>();
    WORD ordinal = 0;
    std::wstring name;
    r.NameOrOrdinal(ordinal, name);  // menu
    r.NameOrOrdinal(ordinal, name);  // window class
    out.caption = r.String();
    if (out.style & (DS_SETFONT | DS_SHELLFONT)) {
        out.pointSize = r.Take<WORD>();
        r.Take<WORD>();  // weight
        r.Take<BYTE>();  // italic
        r.Take<BYTE>();  // character set
        out.face = r.String();
    }
    for (WORD i = 0; i < count && r.ok(); ++i) {
        r.AlignDword();
        TemplateItem item;
        r.Take<DWORD>();  // help id
        item.exStyle = r.Take<DWORD>();
        item.style = r.Take<DWORD>();
        item.x = r.Take<short>();
        item.y = r.Take<short>();
        item.cx = r.Take<short>();
        item.cy = r.Take<short>();
        item.id = r.Take<DWORD>();
        r.NameOrOrdinal(item.classOrdinal, item.className);
        r.NameOrOrdinal(item.titleOrdinal, item.title);
        WORD extra = r.Take<WORD>();
        r.Skip(extra);
        out.items.push_back(item);
    }
    return r.ok();
}

std::wstring Wide(const char* utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring out(n > 0 ? static_cast<size_t>(n) : 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &out[0], n);
    out.resize(out.size() - 1);
    return out;
}

}  // namespace restest
