// Searches in 8-bit texts of the ANSI code page that stop only at character
// boundaries. In code page 936 the second byte of a character may be "\" or
// a letter (俓 is 82 5C), so a byte-wise search would cut such a character in
// half or find a separator that is not there.
#pragma once

// Position of the first `part` that starts on a character, at or after
// `from`; -1 when there is none.
int TextFind(const char* text, const char* part, int from = 0);
int TextFindChar(const char* text, char c, int from = 0);
// Position of the last character `c`, or -1.
int TextReverseFindChar(const char* text, char c);
// Whether the text's last character (not a trail byte) is `c`.
bool TextEndsWith(const char* text, char c);
// Position of the first character that is one of `set` (single-byte
// characters), or -1.
int TextFindOneOf(const char* text, const char* set);
