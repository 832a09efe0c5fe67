#include "regclean/KeyWalker.h"

#include "regclean/FaultSeam.h"
#include "regclean/FileReference.h"
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

void TestKeyValues(ScanContext& ctx, HKEY key, const CString& path)
{
    for (DWORD index = 0; ctx.KeepGoing(); ++index) {
        char name[260];
        BYTE data[261];
        DWORD nameSize = sizeof name;
        DWORD dataSize = 260;  // one byte more for a terminator the data may lack
        DWORD type = 0;
        LONG rc = ::RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &dataSize);
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
}

void WalkKey(ScanContext& ctx, HKEY key, const CString& path)
{
    if (WalkerSkips(path)) return;
    if (++ctx.flags.WalkCounter > 2) {
        ctx.sink.ShowStatus(path);
        ctx.flags.WalkCounter = 0;
    }
    TestKeyValues(ctx, key, path);
    for (DWORD index = 0; ctx.KeepGoing(); ++index) {
        char name[260];
        DWORD nameSize = sizeof name;
        LONG rc = ::RegEnumKeyExA(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) continue;
        if (rc != ERROR_SUCCESS) break;
        RegKey sub;
        if (sub.Open(key, name, kReadAccess) != ERROR_SUCCESS) continue;
        WalkKey(ctx, sub.get(), path + "\\" + name);
    }
}
