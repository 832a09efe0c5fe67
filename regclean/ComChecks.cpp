#include "regclean/ComChecks.h"

#include "regclean/FileReference.h"
#include "regclean/RegKey.h"

#include <algorithm>
#include <vector>

namespace {

// The default value of a subkey, as RegQueryValueA gives it; false when it
// cannot be read.
bool SubkeyDefault(HKEY key, const char* subkey, CString& text, LONG size)
{
    std::vector<char> buffer(size_t(size) + 1, 0);
    LONG length = size;
    if (::RegQueryValueA(key, subkey, buffer.data(), &length) != ERROR_SUCCESS) return false;
    buffer[size_t(size)] = 0;
    text = buffer.data();
    return true;
}

// The lists are searched whole-text and case-sensitively (both sides are
// upper-cased); sorted first, so the registry's own order does not matter.
std::vector<CString> Sorted(const CStringArray& list)
{
    std::vector<CString> sorted;
    sorted.reserve(size_t(list.GetSize()));
    for (int i = 0; i < list.GetSize(); ++i) sorted.push_back(list[i]);
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

// This library is never examined: it belongs to the system's own set-up.
const char kExemptLibrary[] = "{1CAE2580-AA7B-11CE-A0E8-00AA0060D86B}";

}  // namespace

void ComLists::Clear()
{
    for (CStringArray* list : {&classIds, &classSubkeys, &classData, &libVersions, &libIds, &libData,
                               &interfacePaths, &interfaceNames, &interfaceValues})
        list->RemoveAll();
}

void CheckClasses(ScanContext& ctx, ComLists& lists)
{
    RegKey classes;
    if (classes.Open(HKEY_CLASSES_ROOT, "CLSID", kFullAccess) != ERROR_SUCCESS) return;
    int shown = 0;
    for (DWORD index = 0; ctx.KeepGoing(); ++index) {
        char name[1024];
        if (::RegEnumKeyA(classes.get(), index, name, sizeof name) != ERROR_SUCCESS) break;
        CString keyPath = CString("HKEY_CLASSES_ROOT\\CLSID\\") + name;
        if (++shown > 1) {
            ctx.sink.ShowStatus(keyPath);
            shown = 0;
        }
        RegKey cls;
        if (cls.Open(classes.get(), name, kFullAccess) != ERROR_SUCCESS) continue;
        for (DWORD sub = 0; ctx.KeepGoing(); ++sub) {
            char subName[1024];
            if (::RegEnumKeyA(cls.get(), sub, subName, sizeof subName) != ERROR_SUCCESS) break;
            CString data;
            if (!SubkeyDefault(cls.get(), subName, data, 1024)) continue;
            if (ctx.files.TestFileReference(data) != kRefMissing) continue;
            CString id(name);
            id.MakeUpper();
            lists.classIds.Add(id);
            lists.classSubkeys.Add(subName);
            lists.classData.Add(data);
            ctx.sink.AddFinding(keyPath, subName, data);
        }
    }
}

void CheckTypeLibraries(ScanContext& ctx, ComLists& lists)
{
    RegKey libraries;
    if (libraries.Open(HKEY_CLASSES_ROOT, "TypeLib", kFullAccess) != ERROR_SUCCESS) return;
    int shown = 0;
    for (DWORD index = 0; ctx.KeepGoing(); ++index) {
        char name[90];
        if (::RegEnumKeyA(libraries.get(), index, name, sizeof name) != ERROR_SUCCESS) break;
        if (CString(name).CompareNoCase(kExemptLibrary) == 0) continue;
        if (++shown > 3) {
            ctx.sink.ShowStatus(name);
            shown = 0;
        }
        RegKey library;
        if (library.Open(libraries.get(), name, kFullAccess) != ERROR_SUCCESS) continue;
        CString previous("d");
        for (DWORD v = 0; ctx.KeepGoing(); ++v) {
            char version[90];
            if (::RegEnumKeyA(library.get(), v, version, sizeof version) != ERROR_SUCCESS) break;
            if (previous == version) break;
            previous = version;
            RegKey versionKey;
            if (versionKey.Open(library.get(), version, kFullAccess) != ERROR_SUCCESS) continue;
            char locale[90];
            if (::RegEnumKeyA(versionKey.get(), 0, locale, sizeof locale) != ERROR_SUCCESS) continue;
            RegKey localeKey;
            if (localeKey.Open(versionKey.get(), locale, kFullAccess) != ERROR_SUCCESS) continue;
            CString file;
            if (!SubkeyDefault(localeKey.get(), "win32", file, 100)) continue;
            if (ctx.files.TestFileReference(file) != kRefMissing) continue;
            CString versionPath = CString(version) + "\\" + locale + "\\win32\\";
            CString id(name);
            versionPath.MakeUpper();
            file.MakeUpper();
            id.MakeUpper();
            lists.libVersions.Add(versionPath);
            lists.libIds.Add(id);
            lists.libData.Add(file);
            ctx.sink.AddFinding(CString("HKEY_CLASSES_ROOT\\Typelib\\") + name, versionPath, file);
        }
    }
}

void CheckInterfaces(ScanContext& ctx, ComLists& lists)
{
    RegKey interfaces;
    if (interfaces.Open(HKEY_CLASSES_ROOT, "Interface", kFullAccess) != ERROR_SUCCESS) return;
    // Nothing broken: nothing can point at it.
    if (lists.classIds.IsEmpty() && lists.libIds.IsEmpty()) return;
    static const char* const kPointers[] = {"TypeLib", "ProxyStubClsId", "ProxyStubClsId32"};
    const std::vector<CString> brokenLibraries = Sorted(lists.libIds);
    const std::vector<CString> brokenClasses = Sorted(lists.classIds);
    int shown = 0;
    for (DWORD index = 0; ctx.KeepGoing(); ++index) {
        char name[1024];
        if (::RegEnumKeyA(interfaces.get(), index, name, sizeof name) != ERROR_SUCCESS) break;
        CString keyPath = CString("HKEY_CLASSES_ROOT\\Interface\\") + name;
        if (++shown > 1) {
            ctx.sink.ShowStatus(keyPath);
            shown = 0;
        }
        RegKey iface;
        if (iface.Open(interfaces.get(), name, kReadAccess) != ERROR_SUCCESS) continue;
        for (const char* pointer : kPointers) {
            CString value;
            if (!SubkeyDefault(iface.get(), pointer, value, 1024)) continue;
            value.MakeUpper();
            const std::vector<CString>& searched = pointer == kPointers[0] ? brokenLibraries : brokenClasses;
            if (!std::binary_search(searched.begin(), searched.end(), value)) continue;
            lists.interfacePaths.Add(keyPath);
            lists.interfaceNames.Add(pointer);
            lists.interfaceValues.Add(value);
            ctx.sink.AddFinding(keyPath, pointer, value);
        }
    }
}

void RunComChecks(ScanContext& ctx, ComLists& lists)
{
    CheckClasses(ctx, lists);
    CheckTypeLibraries(ctx, lists);
    CheckInterfaces(ctx, lists);
}
