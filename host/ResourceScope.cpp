#include "host/ResourceScope.h"

ResourceScope::ResourceScope(LPCSTR moduleName) : m_hSaved(AfxGetResourceHandle())
{
    HMODULE module = ::GetModuleHandleA(moduleName);
    if (module) AfxSetResourceHandle(module);
}

ResourceScope::ResourceScope(HINSTANCE resource) : m_hSaved(AfxGetResourceHandle())
{
    AfxSetResourceHandle(resource);
}

ResourceScope::~ResourceScope()
{
    AfxSetResourceHandle(m_hSaved);
}
