#include "regclean/PathText.h"

#include <windows.h>

#include <cstring>

namespace {

// Length in bytes of the character at p (1 or 2).
int CharLength(const char* p) { return (::IsDBCSLeadByte(BYTE(*p)) && p[1]) ? 2 : 1; }

}  // namespace

int TextFind(const char* text, const char* part, int from)
{
    if (!text || !part || from < 0) return -1;
    const size_t length = std::strlen(part);
    for (int i = 0; text[i]; i += CharLength(text + i))
        if (i >= from && std::strncmp(text + i, part, length) == 0) return i;
    return *part || from > 0 ? -1 : 0;
}

int TextFindChar(const char* text, char c, int from)
{
    const char part[2] = {c, 0};
    return TextFind(text, part, from);
}

int TextReverseFindChar(const char* text, char c)
{
    int found = -1;
    if (!text) return found;
    for (int i = 0; text[i]; i += CharLength(text + i))
        if (text[i] == c) found = i;
    return found;
}

bool TextEndsWith(const char* text, char c)
{
    if (!text || !*text) return false;
    int last = 0;
    for (int i = 0; text[i]; i += CharLength(text + i)) last = i;
    return text[last] == c && CharLength(text + last) == 1;
}

int TextFindOneOf(const char* text, const char* set)
{
    if (!text || !set) return -1;
    for (int i = 0; text[i]; i += CharLength(text + i))
        if (CharLength(text + i) == 1 && std::strchr(set, text[i])) return i;
    return -1;
}
