// SPDX-License-Identifier: GPL-3.0-or-later
// Windows-1251 on disk, UTF-8 in memory. Conversions go through the C library's iconv.
// Byte 0x98 has no character in the code page; it travels as U+0098 so that a file holding it
// stays readable and the byte comes back unchanged when the text is written again.
#pragma once

#include <string>
#include <string_view>

// UTF-8 text to Windows-1251 bytes. False (and `out` unspecified) when the text is not valid
// UTF-8 or holds a character the code page does not have.
bool Utf8ToCp1251(std::string_view utf8, std::string& out);
// Windows-1251 bytes to UTF-8; never fails.
std::string Cp1251ToUtf8(std::string_view bytes);
bool IsValidUtf8(std::string_view text);

// Lower-case fold of one Windows-1251 byte: Latin and Cyrillic letters (Ё/ё and the other
// Cyrillic letters of the code page included); every other byte is itself.
unsigned char Cp1251Fold(unsigned char c);
std::string Cp1251FoldString(std::string_view bytes);

// Case-insensitive equality of two UTF-8 texts for Latin and Cyrillic letters, as the settings
// file compares names. Texts outside the code page compare exactly.
bool SameTextCI(std::string_view a, std::string_view b);
