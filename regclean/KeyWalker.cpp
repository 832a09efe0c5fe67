#include "regclean/KeyWalker.h"

#include "regclean/FaultSeam.h"
#include "regclean/FileReference.h"
#include "regclean/KeyLinks.h"
#include "regclean/PathText.h"
#include "regclean/RegKey.h"

namespace {

// Keys that other checks cover (classes, interfaces, type libraries) or
// that hold nothing a user should clean.
const char* const kSkipTexts[] = {"\\clsid", "\\interface", "\\typelib", "\\currentversion\\uninstall",
                                  "\\software\\corel\\", "\\installer\\userdata", "\\installer\\patches\\",
                                  nullptr};

}  // namespace

std::string WalkedValue(const CString& keyPath, const char* valueName, const char* data)
{
    CString key = keyPath + "\n" + valueName;
    key.MakeUpper();
    return key.str() + "\n" + data;
}

bool WalkerSkips(const CString& path)
{
    CString lower(path);
    lower.MakeLower();
    for (const char* const* skip = kSkipTexts; *skip; ++skip)
        if (TextFind(lower, *skip) >= 0) return true;
    return false;
}

bool TestKeyValues(ScanContext& ctx, HKEY key, const CString& path)
{
    bool link = false;
    for (DWORD index = 0; ctx.KeepGoing(); ++index) {
        char name[260];
        BYTE data[261];
        DWORD nameSize = sizeof name;
        DWORD dataSize = 260;  // one byte more for a terminator the data may lack
        DWORD type = 0;
        LONG rc = ::RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &dataSize);
        if ((rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) && type == REG_LINK) link = true;
        // Too long to read: not a path we judge. Any other failure ends the
        // values (some keys answer every index with an error).
        if (rc == ERROR_MORE_DATA) continue;
        if (rc != ERROR_SUCCESS) break;
        if (type != REG_SZ && type != REG_EXPAND_SZ) continue;
        data[dataSize] = 0;
        const char* text = reinterpret_cast<const char*>(data);
        if (!*text) continue;
        InjectedFaultPoint(FaultSite::Worker, text);
        if (ctx.files.TestFileReference(text) < 0) {
            ctx.sink.AddFinding(path, name, text);
            ctx.walked.insert(WalkedValue(path, name, text));
        }
    }
    return link;
}

namespace {

// How WalkTree met a key.
enum class Opened {
    Plain,      // walk values and subkeys
    AsLink,     // opened as a link: a link's target value ends the walk here
    ValuesDone  // the values were tested already: subkeys only
};

// Walks one key and what lies below it; true when the key, opened as a
// link, holds a link's target value instead of values of its own.
bool WalkTree(ScanContext& ctx, HKEY key, const CString& path, Opened opened)
{
    if (WalkerSkips(path)) return false;
    if (opened != Opened::ValuesDone) {
        if (++ctx.flags.WalkCounter > 2) {
            ctx.sink.ShowStatus(path);
            ctx.flags.WalkCounter = 0;
        }
        if (TestKeyValues(ctx, key, path) && opened == Opened::AsLink) return true;
    }
    for (DWORD index = 0; ctx.KeepGoing(); ++index) {
        char name[260];
        DWORD nameSize = sizeof name;
        LONG rc = ::RegEnumKeyExA(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) continue;
        if (rc != ERROR_SUCCESS) break;
        // Opened as a link, a link shows its own target value instead of the
        // target's values: no extra call for the plain keys that are the rule.
        const CString child = path + "\\" + name;
        RegKey sub;
        if (sub.Open(key, name, kReadAccess, REG_OPTION_OPEN_LINK) != ERROR_SUCCESS) {
            // A system that refuses the option still opens the key as it is.
            if (sub.Open(key, name, kReadAccess) == ERROR_SUCCESS) WalkTree(ctx, sub.get(), child, Opened::Plain);
            continue;
        }
        if (!WalkTree(ctx, sub.get(), child, Opened::AsLink)) continue;
        std::wstring target;
        if (ReadLinkTarget(sub.get(), target) && KernelNameBelow(target, ctx.walkRoots)) continue;
        // A link out of the walked keys: what it leads to is walked here,
        // under the link's path (the one a user meets it by).
        RegKey followed;
        if (followed.Open(key, name, kReadAccess) != ERROR_SUCCESS) continue;
        // A plain key that merely holds a value of the link type opens as
        // itself: its values were tested above.
        const std::wstring own = KernelKeyName(sub.get());
        const bool same = !own.empty() && own == KernelKeyName(followed.get());
        WalkTree(ctx, followed.get(), child, same ? Opened::ValuesDone : Opened::Plain);
    }
    return false;
}

void AddRoot(ScanContext& ctx, HKEY key)
{
    std::wstring name = KernelKeyName(key);
    if (!name.empty() && !KernelNameBelow(name, ctx.walkRoots)) ctx.walkRoots.push_back(name);
}

}  // namespace

void AddWalkRoot(ScanContext& ctx, HKEY root, const char* subkey)
{
    RegKey key;
    if (key.Open(root, subkey, KEY_QUERY_VALUE) == ERROR_SUCCESS) AddRoot(ctx, key.get());
}

void WalkKey(ScanContext& ctx, HKEY key, const CString& path)
{
    AddRoot(ctx, key);
    WalkTree(ctx, key, path, Opened::Plain);
}
