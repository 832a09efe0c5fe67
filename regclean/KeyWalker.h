// The context every check runs in, and the generic key walker that the
// software, start-up, sound-event and driver sections share.
#pragma once

#include "regclean/ScanModel.h"

class FileReferenceTest;

struct ScanContext {
    ScanFlags& flags;
    ScanSink& sink;
    FileReferenceTest& files;
    bool KeepGoing() const { return flags.KeepGoing; }
};

// Walks `key` (shown as `path`) and everything below it, reporting every
// string value whose data names a missing file. Keys of classes, interfaces,
// type libraries, installers and uninstall entries are never walked.
void WalkKey(ScanContext& ctx, HKEY key, const CString& path);

// The walker's value test on the values of one key: REG_SZ and
// REG_EXPAND_SZ data that names a missing file is a finding.
void TestKeyValues(ScanContext& ctx, HKEY key, const CString& path);

// Whether the walker leaves a key (and all below it) alone.
bool WalkerSkips(const CString& path);
