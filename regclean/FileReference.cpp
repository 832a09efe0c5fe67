#include "regclean/FileReference.h"

#include "regclean/FileProbe.h"

namespace {

bool ContainsAny(const CString& text, const char* const* parts)
{
    for (; *parts; ++parts)
        if (text.Find(*parts) >= 0) return true;
    return false;
}

// Texts of programs that keep their own files in order, or that move them
// about so that a missing file means nothing.
const char* const kAlwaysFine[] = {"outlook", "microsoft office", "\\application data\\microsoft",
                                   "microsoft.net", "net\\framework", "%windir%\\tracing", nullptr};
const char* const kFineMarks[] = {"navw32", "msocache", ";", "|", "?", "*", "a:\\", "b:\\", "\\tracing", nullptr};

}  // namespace

const CStringArray& DriveRoots()
{
    // Filled by the first caller; a caller on another thread meanwhile waits
    // for it (a local static is made once).
    struct Roots {
        CStringArray list;
        Roots()
        {
            char buffer[2048] = {};
            DWORD n = ::GetLogicalDriveStringsA(sizeof buffer, buffer);
            if (n == 0 || n >= sizeof buffer) return;
            for (const char* p = buffer; *p; p += strlen(p) + 1) {
                CString root(p);
                root.MakeUpper();
                list.Add(root);
            }
        }
    };
    static Roots roots;
    return roots.list;
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
    if (copy.Find("\\mcafee") >= 0) return kRefUnsure;
    if (ContainsAny(copy, kFineMarks)) return kRefFine;

    if (copy[0] == '"') {
        if (copy.Find('"', 1) < 0) return kRefUnsure;
        copy.Replace('"', ' ');
        copy.Trim();
    }
    int percent = copy.Find('%');
    if (percent >= 0 && copy.Find('%', percent + 1) >= 0) {
        char expanded[2048];
        DWORD n = ::ExpandEnvironmentStringsA(copy, expanded, sizeof expanded);
        if (n != 0 && n < sizeof expanded) copy = expanded;
    }
    // Only fixed drives: removable, CD and network drives come and go.
    if (copy.GetLength() >= 2 && copy[1] == ':') {
        CString root = copy.Left(2) + "\\";
        if (m_probe.DriveType(root) != DRIVE_FIXED) return kRefUnsure;
    }
    try {
        return ResolvePath(copy);
    } catch (...) {
        return kRefFine;
    }
}

int FileReferenceTest::ResolvePath(const CString& text)
{
    if (text.IsEmpty()) return kRefFine;
    if (m_probe.ProbePath(text) == 1) return kRefFine;

    CString copy(text);
    copy.MakeUpper();
    int result = kRefUnsure;
    const CStringArray& roots = DriveRoots();
    for (int r = 0; r < roots.GetSize(); ++r) {
        int position = copy.Find(roots[r]);
        if (position < 0) continue;
        result = kRefMissing;
        CString candidate = copy.Mid(position);
        int probe = m_probe.ProbePath(candidate);
        if (probe == 1) return kRefFine;
        if (probe == 0) return kRefUnsure;  // a folder
        // A file followed by arguments is fine.
        if (m_probe.AnyPrefixIsFile(candidate.str())) return kRefFine;
        int dot = candidate.Find('.');
        if (dot < 0) return kRefUnsure;
        CString name = candidate.Mid(3, dot);
        for (int i = 0; i < name.GetLength(); ++i) {
            unsigned char c = static_cast<unsigned char>(name[i]);
            if (c < 32 || strchr("*?><:|", c)) return kRefUnsure;
        }
    }
    return result;
}

int TestFileReference(const char* text)
{
    FileProbe probe(false);
    return FileReferenceTest(probe).TestFileReference(text);
}
