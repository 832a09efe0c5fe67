// Makes a module the first place the framework looks for dialog templates,
// strings and bitmaps, and puts the previous one back when it goes.
#pragma once

#include <afxwin.h>

class ResourceScope {
public:
    // The already-loaded module of that file name ("vantres.dll"); a module
    // that is not loaded leaves the resource source as it is.
    explicit ResourceScope(LPCSTR moduleName);
    explicit ResourceScope(HINSTANCE resource);
    ~ResourceScope();

    ResourceScope(const ResourceScope&) = delete;
    ResourceScope& operator=(const ResourceScope&) = delete;

private:
    HINSTANCE m_hSaved;
};
