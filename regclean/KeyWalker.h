// The context every check runs in, and the generic key walker that the
// software, start-up, sound-event and driver sections share.
#pragma once

#include "regclean/ScanModel.h"

#include <set>
#include <string>

class FileReferenceTest;

struct ScanContext {
    ScanFlags& flags;
    ScanSink& sink;
    FileReferenceTest& files;
    // What the walker listed in this scan (WalkedValue), so that a check
    // that sees the same value under another root does not list it again.
    std::set<std::string> walked{};
    bool KeepGoing() const { return flags.KeepGoing; }
};

// A value as the walker's record knows it: key path and name upper-cased
// (the registry ignores their case), and the data.
std::string WalkedValue(const CString& keyPath, const char* valueName, const char* data);

// Walks `key` (shown as `path`) and everything below it, reporting every
// string value whose data names a missing file. Keys of classes, interfaces,
// type libraries, installers and uninstall entries are never walked.
void WalkKey(ScanContext& ctx, HKEY key, const CString& path);

// The walker's value test on the values of one key: REG_SZ and
// REG_EXPAND_SZ data that names a missing file is a finding.
void TestKeyValues(ScanContext& ctx, HKEY key, const CString& path);

// Whether the walker leaves a key (and all below it) alone.
bool WalkerSkips(const CString& path);
