// The English copy of the library, found by walking the library itself:
// every string and template that exists in Chinese exists in English, in
// plain ASCII (so it shows under any code page), with the same format
// conversions, the same controls and distinct accelerators.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "dlgtemplate.h"
#include "vantres_library.h"

using restest::DialogTemplate;
using restest::TemplateItem;
using restest::VantresLibrary;

namespace {

constexpr WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

std::vector<WORD> NamesOf(HMODULE module, LPCSTR type) {
    std::vector<WORD> names;
    EnumResourceNamesA(
        module, type,
        [](HMODULE, LPCSTR, LPSTR name, LONG_PTR found) -> BOOL {
            if (IS_INTRESOURCE(name))
                reinterpret_cast<std::vector<WORD>*>(found)->push_back(WORD(reinterpret_cast<ULONG_PTR>(name)));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&names));
    return names;
}

const BYTE* Find(HMODULE module, LPCSTR type, WORD name, WORD language, DWORD* size = nullptr) {
    HRSRC res = FindResourceExA(module, type, MAKEINTRESOURCEA(name), language);
    if (!res) return nullptr;
    if (size) *size = SizeofResource(module, res);
    HGLOBAL data = LoadResource(module, res);
    return data ? static_cast<const BYTE*>(LockResource(data)) : nullptr;
}

// The non-empty strings of every block of one language, by id.
std::map<UINT, std::wstring> Strings(HMODULE module, WORD language) {
    std::map<UINT, std::wstring> texts;
    for (WORD block : NamesOf(module, MAKEINTRESOURCEA(6) /* RT_STRING */)) {
        DWORD size = 0;
        const BYTE* data = Find(module, MAKEINTRESOURCEA(6), block, language, &size);
        if (!data) continue;
        const WCHAR* p = reinterpret_cast<const WCHAR*>(data);
        const WCHAR* end = p + size / sizeof(WCHAR);
        for (UINT i = 0; i < 16 && p < end; ++i) {
            const UINT length = *p++;
            if (length && p + length <= end) texts[(block - 1u) * 16 + i] = std::wstring(p, length);
            p += length;
        }
    }
    return texts;
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 0x80 ? char(c) : '?';
    return out;
}

bool IsAscii(const std::wstring& text) {
    for (wchar_t c : text)
        if (c >= 0x80) return false;
    return true;
}

// The printf conversions of a text, in order ("%d", "%u", "%s"; "%%" too).
std::vector<std::wstring> Conversions(const std::wstring& text) {
    std::vector<std::wstring> found;
    for (size_t at = text.find(L'%'); at != std::wstring::npos; at = text.find(L'%', at + 1)) {
        size_t stop = at + 1;
        while (stop < text.size() && wcschr(L"0123456789.-+ #l", text[stop])) ++stop;
        if (stop < text.size()) found.push_back(text.substr(at, stop - at + 1));
        at = stop;
    }
    return found;
}

// The accelerator letter of a control text, lower-cased; 0 for none.
wchar_t Accelerator(const std::wstring& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] != L'&') return towlower(text[i + 1]);
        ++i;
    }
    return 0;
}

bool LoadTemplate(HMODULE module, WORD id, WORD language, DialogTemplate& out) {
    DWORD size = 0;
    const BYTE* data = Find(module, MAKEINTRESOURCEA(5) /* RT_DIALOG */, id, language, &size);
    return data && restest::ParseDialogTemplate(data, size, out);
}

std::string Ids(const std::vector<UINT>& ids) {
    std::string out;
    for (UINT id : ids) out += (out.empty() ? "" : ", ") + std::to_string(id);
    return out;
}

}  // namespace

TEST(VantresEnglish, EveryChineseStringHasAnAsciiEnglishCopyWithTheSameConversions) {
    VantresLibrary lib;
    ASSERT_NE(lib.get(), nullptr);
    const std::map<UINT, std::wstring> chinese = Strings(lib.get(), restest::kChinese);
    const std::map<UINT, std::wstring> english = Strings(lib.get(), kEnglish);
    ASSERT_GT(chinese.size(), 150u) << "the walk found too few Chinese strings";

    std::vector<UINT> missing;
    for (const auto& entry : chinese) {
        const UINT id = entry.first;
        auto copy = english.find(id);
        if (copy == english.end()) {
            missing.push_back(id);
            continue;
        }
        SCOPED_TRACE("string " + std::to_string(id) + " \"" + Narrow(copy->second) + "\"");
        EXPECT_TRUE(IsAscii(copy->second)) << "English texts are plain ASCII";
        EXPECT_TRUE(Conversions(copy->second) == Conversions(entry.second))
            << "the text is formatted with the arguments of the Chinese one";
    }
    EXPECT_TRUE(missing.empty()) << "strings without an English copy: " << Ids(missing);

    std::vector<UINT> extra;
    for (const auto& entry : english)
        if (!chinese.count(entry.first)) extra.push_back(entry.first);
    EXPECT_TRUE(extra.empty()) << "English strings without a Chinese original: " << Ids(extra);
}

TEST(VantresEnglish, EveryChineseTemplateHasAnEnglishOneWithTheSameControls) {
    VantresLibrary lib;
    ASSERT_NE(lib.get(), nullptr);
    std::vector<UINT> missing;
    int templates = 0;
    for (WORD id : NamesOf(lib.get(), MAKEINTRESOURCEA(5) /* RT_DIALOG */)) {
        DialogTemplate chinese, english;
        if (!LoadTemplate(lib.get(), id, restest::kChinese, chinese)) continue;
        ++templates;
        if (!LoadTemplate(lib.get(), id, kEnglish, english)) {
            missing.push_back(id);
            continue;
        }
        SCOPED_TRACE("dialog " + std::to_string(id));
        EXPECT_EQ(english.style, chinese.style);
        EXPECT_EQ(english.face, chinese.face);
        EXPECT_EQ(english.pointSize, chinese.pointSize);
        EXPECT_TRUE(IsAscii(english.caption)) << Narrow(english.caption);
        EXPECT_EQ(english.caption.empty(), chinese.caption.empty());
        ASSERT_EQ(english.items.size(), chinese.items.size());
        std::map<wchar_t, DWORD> accelerators;
        for (const TemplateItem& original : chinese.items) {
            SCOPED_TRACE("control " + std::to_string(original.id));
            const TemplateItem* item = english.Find(original.id);
            ASSERT_NE(item, nullptr) << "missing in English";
            EXPECT_EQ(item->classOrdinal, original.classOrdinal);
            EXPECT_TRUE(item->className == original.className);
            EXPECT_EQ(item->style, original.style);
            EXPECT_EQ(item->titleOrdinal, original.titleOrdinal);
            EXPECT_TRUE(IsAscii(item->title)) << Narrow(item->title);
            EXPECT_EQ(item->title.empty(), original.title.empty()) << "\"" << Narrow(item->title) << "\"";
            EXPECT_GE(item->x, 0);
            EXPECT_GE(item->y, 0);
            EXPECT_LE(item->x + item->cx, english.cx);
            EXPECT_LE(item->y + item->cy, english.cy);
            if (wchar_t key = Accelerator(item->title)) {
                EXPECT_EQ(accelerators.count(key), 0u)
                    << "accelerator '" << char(key) << "' also on control " << accelerators[key];
                accelerators[key] = item->id;
            }
        }
    }
    EXPECT_EQ(templates, 18);
    EXPECT_TRUE(missing.empty()) << "templates without an English copy: " << Ids(missing);
}
