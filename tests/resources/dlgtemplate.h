// Reads an extended dialog template (DLGTEMPLATEEX and its items) as the
// dialog manager does.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace restest {

struct TemplateItem {
    DWORD id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    WORD classOrdinal = 0;       // 0x80 button, 0x81 edit, 0x82 static, ... (0 when named)
    std::wstring className;      // when the class is given by name
    WORD titleOrdinal = 0;       // a resource id as text (bitmap statics)
    std::wstring title;
};

struct DialogTemplate {
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring caption;
    WORD pointSize = 0;
    std::wstring face;
    std::vector<TemplateItem> items;

    const TemplateItem* Find(DWORD id) const;
};

// Parses size bytes at data; false when they are no well-formed extended template.
bool ParseDialogTemplate(const BYTE* data, DWORD size, DialogTemplate& out);

std::wstring Wide(const char* utf8);

}  // namespace restest
