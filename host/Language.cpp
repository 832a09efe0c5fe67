#include "host/Language.h"

#include <afxwin.h>
#include <vantor/DlgMainWnd.h>

namespace {

LANGID g_language = 0; // 0 until chosen

// The value of the settings key when it names a language the resources have.
LANGID LanguageFromSettings()
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, CDlgChildWnd::m_strSettingsPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    DWORD value = 0, type = 0, size = sizeof value;
    const LONG rc = ::RegQueryValueExA(key, "Language", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    ::RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_DWORD) return 0;
    return value == kLanguageChinese || value == kLanguageEnglish ? LANGID(value) : 0;
}

// The Chinese texts are in code page 936: under another ANSI code page they
// would show as "?", so such a Windows gets English whatever was asked for.
LANGID DrawableHere(LANGID language)
{
    return language == kLanguageChinese && ::GetACP() != 936 ? kLanguageEnglish : language;
}

}  // namespace

LANGID LanguageForInterface(LANGID interfaceLanguage)
{
    return PRIMARYLANGID(interfaceLanguage) == LANG_CHINESE ? kLanguageChinese : kLanguageEnglish;
}

LANGID UserInterfaceLanguage()
{
    // Missing before Windows 2000: found at run time so the program still starts there.
    typedef LANGID(WINAPI * UiLanguageCall)();
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    auto call = kernel ? reinterpret_cast<UiLanguageCall>(::GetProcAddress(kernel, "GetUserDefaultUILanguage"))
                       : nullptr;
    return call ? call() : ::GetUserDefaultLangID();
}

LANGID ProgramLanguage()
{
    if (!g_language) {
        const LANGID chosen = LanguageFromSettings();
        g_language = DrawableHere(chosen ? chosen : LanguageForInterface(UserInterfaceLanguage()));
    }
    return g_language;
}

void ApplyProgramLanguage()
{
    AfxSetResourceLanguage(ProgramLanguage());
}

void ForgetProgramLanguage()
{
    g_language = 0;
}
