// The context every check runs in, and the generic key walker that the
// software, start-up, sound-event and driver sections share.
#pragma once

#include "regclean/ScanModel.h"

#include <set>
#include <string>
#include <vector>

class FileReferenceTest;

struct ScanContext {
    ScanFlags& flags;
    ScanSink& sink;
    FileReferenceTest& files;
    // What the walker listed in this scan (WalkedValue), so that a check
    // that sees the same value under another root does not list it again.
    std::set<std::string> walked{};
    // The registry's names of the keys this scan walks (KernelKeyName): a
    // link that leads below one of them is not followed, as its values are
    // listed under their own path.
    std::vector<std::wstring> walkRoots{};
    bool KeepGoing() const { return flags.KeepGoing; }
};

// A value as the walker's record knows it: key path and name upper-cased
// (the registry ignores their case), and the data.
std::string WalkedValue(const CString& keyPath, const char* valueName, const char* data);

// Walks `key` (shown as `path`) and everything below it, reporting every
// string value whose data names a missing file. Keys of classes, interfaces,
// type libraries, installers and uninstall entries are never walked. A
// subkey that is a registry link is followed only when it leads outside the
// keys this scan walks (ctx.walkRoots, to which `key` itself is added), so
// each value is listed once, under the path that holds it.
void WalkKey(ScanContext& ctx, HKEY key, const CString& path);

// Adds `subkey` of `root` to the keys this scan walks, before its walk, so
// that a walk that comes first does not follow a link into it.
void AddWalkRoot(ScanContext& ctx, HKEY root, const char* subkey);

// The walker's value test on the values of one key: REG_SZ and
// REG_EXPAND_SZ data that names a missing file is a finding. True when the
// key holds a link's target value (a key opened as a link).
bool TestKeyValues(ScanContext& ctx, HKEY key, const CString& path);

// Whether the walker leaves a key (and all below it) alone.
bool WalkerSkips(const CString& path);
