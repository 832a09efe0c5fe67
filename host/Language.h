// The language of the program's texts: Simplified Chinese or English (United
// States), chosen once per run. Every resource lookup of the run uses it, so
// the windows, messages and the instance names of the tools agree.
#pragma once

#include <windows.h>

const LANGID kLanguageChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED); // 0x0804
const LANGID kLanguageEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);         // 0x0409

// The run's language, chosen on the first call and kept: the settings value
// "Language" (REG_DWORD, 0x0804 or 0x0409) when it holds one of the two,
// otherwise the user's interface language; English wherever the ANSI code
// page is not 936, since the Chinese texts cannot be drawn there.
LANGID ProgramLanguage();

// Makes the run's language the one the framework looks resources up in.
void ApplyProgramLanguage();

// Chinese for any Chinese interface language, English for every other.
LANGID LanguageForInterface(LANGID interfaceLanguage);

// The user's interface language (the language of the user's settings where
// Windows is too old to have one).
LANGID UserInterfaceLanguage();

// Forgets the kept choice, so the next ProgramLanguage() chooses again.
// For tests that change the settings value.
void ForgetProgramLanguage();
