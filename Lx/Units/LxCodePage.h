#pragma once

#include <string>
#include <string_view>

// Windows-1252, the code page of every text of the document base (titles,
// summaries, header values, document content). Text stays single-byte in
// std::string; it becomes Unicode only at the window boundary and in messages,
// always through these functions.
//
// The five codes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) stand for the C1 control characters of the same value, as Windows
// itself converts them, so every byte has a character and back.

// The Unicode character a Windows-1252 byte stands for: 0xE7 gives U+00E7 'ç',
// 0x80 gives U+20AC '€'.
char32_t Win1252ToUnicode(unsigned char code);

// The Windows-1252 byte for a Unicode character, or -1 when the code page has
// none: U+20AC gives 0x80, U+4E2D gives -1.
int UnicodeToWin1252(char32_t character);

// "Ação" in Windows-1252 bytes (41 E7 E3 6F) gives "Ação" in UTF-8.
std::string Win1252ToUtf8(std::string_view text);

// UTF-8 to Windows-1252; characters outside the code page, and bytes that are
// not valid UTF-8, become `replacement`.
std::string Utf8ToWin1252(std::string_view text, char replacement = '?');

// Decodes one UTF-8 character at `pos`, advancing it; an invalid or truncated
// sequence yields U+FFFD and advances by one byte.
char32_t DecodeUtf8(std::string_view text, size_t& pos);

// Appends the UTF-8 form of a character.
void AppendUtf8(std::string& out, char32_t character);
