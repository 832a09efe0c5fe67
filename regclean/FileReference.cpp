#include "regclean/FileReference.h"

#include "regclean/FaultSeam.h"
#include "regclean/FileProbe.h"
#include "regclean/PathText.h"

#include "host/GuardedCall.h"

namespace {

bool ContainsAny(const CString& text, const char* const* parts)
{
    for (; *parts; ++parts)
        if (TextFind(text, *parts) >= 0) return true;
    return false;
}

// Texts of programs that keep their own files in order, or that move them
// about so that a missing file means nothing.
const char* const kAlwaysFine[] = {"outlook", "microsoft office", "\\application data\\microsoft",
                                   "microsoft.net", "net\\framework", "%windir%\\tracing", nullptr};
const char* const kFineMarks[] = {"navw32", "msocache", ";", "|", "?", "*", "a:\\", "b:\\", "\\tracing", nullptr};

}  // namespace

namespace {

struct DriveRootList {
    CStringArray roots;
    DriveRootList()
    {
        char buffer[2048] = {};
        DWORD n = ::GetLogicalDriveStringsA(sizeof buffer, buffer);
        if (n == 0 || n >= sizeof buffer) return;
        for (const char* p = buffer; *p; p += strlen(p) + 1) {
            CString root(p);
            root.MakeUpper();
            roots.Add(root);
        }
    }
};

struct ResolveCall {
    FileReferenceTest* test;
    const CString* text;
    int result;
};

}  // namespace

const CStringArray& DriveRoots()
{
    // A local static: made once, the first caller's thread making it while
    // any other waits.
    static const DriveRootList list;
    return list.roots;
}

int FileReferenceTest::TestFileReference(const char* text)
{
    int length = int(strlen(text));
    if (length < 4 || length > 259) return kRefUnsure;
    if (m_probe.Attributes(text) != INVALID_FILE_ATTRIBUTES) return kRefFine;

    CString copy(text);
    copy.MakeLower();
    copy.Trim();
    if (copy.Left(2) == "\\\\") return kRefFine;  // network paths are not ours to judge
    if (copy.GetLength() < 4) return kRefFine;
    if (ContainsAny(copy, kAlwaysFine)) return kRefFine;
    if (TextFind(copy, "\\mcafee") >= 0) return kRefUnsure;
    if (ContainsAny(copy, kFineMarks)) return kRefFine;

    if (copy[0] == '"') {
        if (TextFindChar(copy, '"', 1) < 0) return kRefUnsure;
        copy.Replace('"', ' ');
        copy.Trim();
    }
    int percent = TextFindChar(copy, '%');
    if (percent >= 0 && TextFindChar(copy, '%', percent + 1) >= 0) {
        char expanded[2048];
        DWORD n = ::ExpandEnvironmentStringsA(copy, expanded, sizeof expanded);
        if (n != 0 && n < sizeof expanded) copy = expanded;
    }
    // Only fixed drives: removable, CD and network drives come and go.
    if (copy.GetLength() >= 2 && copy[1] == ':') {
        CString root = copy.Left(2) + "\\";
        if (m_probe.DriveType(root) != DRIVE_FIXED) return kRefUnsure;
    }
    // A fault or an exception while resolving counts as fine: the scan goes on.
    ResolveCall call{this, &copy, kRefFine};
    if (!GuardedCall([](void* p) {
            ResolveCall* c = static_cast<ResolveCall*>(p);
            c->result = c->test->ResolvePath(*c->text);
        }, &call))
        return kRefFine;
    return call.result;
}

int FileReferenceTest::ResolvePath(const CString& text)
{
    InjectedFaultPoint(FaultSite::Resolver, text);
    if (text.IsEmpty()) return kRefFine;
    if (m_probe.ProbePath(text) == 1) return kRefFine;

    CString copy(text);
    copy.MakeUpper();
    int result = kRefUnsure;
    const CStringArray& roots = DriveRoots();
    for (int r = 0; r < roots.GetSize(); ++r) {
        int position = TextFind(copy, roots[r]);
        if (position < 0) continue;
        result = kRefMissing;
        CString candidate = copy.Mid(position);
        int probe = m_probe.ProbePath(candidate);
        if (probe == 1) return kRefFine;
        if (probe == 0) return kRefUnsure;  // a folder
        // A file followed by arguments is fine.
        if (m_probe.AnyPrefixIsFile(candidate.str())) return kRefFine;
        int dot = TextFindChar(candidate, '.');
        if (dot < 0) return kRefUnsure;
        // Characters, not bytes: a trail byte may look like "|".
        CString name = candidate.Mid(3, dot);
        for (const char* p = name; *p; p = ::CharNextA(p)) {
            unsigned char c = static_cast<unsigned char>(*p);
            if (::CharNextA(p) == p + 1 && (c < 32 || strchr("*?><:|", c))) return kRefUnsure;
        }
    }
    return result;
}

int TestFileReference(const char* text)
{
    FileProbe probe(false);
    return FileReferenceTest(probe).TestFileReference(text);
}
