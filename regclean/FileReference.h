// The file-reference test: does a registry text name a file that is
// missing? It errs towards silence and reports only texts that clearly name
// a path on a fixed local drive whose file cannot be found.
#pragma once

#include <afxwin.h>

class FileProbe;

// Results of the test.
enum FileReferenceResult {
    kRefMissing = -1,  // names a missing file: the only result that is a finding
    kRefUnsure = 0,    // cannot be judged
    kRefFine = 1,
};

class FileReferenceTest {
public:
    // The probe keeps its answers for as long as it lives (one scan).
    explicit FileReferenceTest(FileProbe& probe) : m_probe(probe) {}

    int TestFileReference(const char* text);
    int ResolvePath(const CString& text);

private:
    FileProbe& m_probe;
};

// The test with a probe of its own, nothing kept.
int TestFileReference(const char* text);

// The logical drive roots ("C:\", ...), read once per run.
const CStringArray& DriveRoots();
