// Export switch of vantor.dll: the library's own sources define VANTOR_BUILD.
#pragma once

#ifdef VANTOR_BUILD
#define VANTOR_API __declspec(dllexport)
#else
#define VANTOR_API __declspec(dllimport)
#endif
