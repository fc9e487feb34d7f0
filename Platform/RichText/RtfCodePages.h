#pragma once

// The single-byte code pages in which RTF writes its \'hh escapes. A
// document names its page with \ansicpg (or \pc, \pca), and a font may name
// another through \fcharset; the reader decodes each escaped byte by the page
// in force.
//
// Windows-1252, 1250 (Central European), 1251 (Cyrillic), 437 and 850 (DOS)
// are decoded exactly. Every other page, double-byte Asian pages included, is
// read as Windows-1252: the text keeps one character per byte, so positions
// stay sound even where the letters are wrong.

inline constexpr int kDefaultRtfCodePage = 1252;

// The code page that a \fcharset number stands for, or 0 for "the document's
// own page" (charset 1, DEFAULT_CHARSET, and numbers we do not know):
// 238 gives 1250, 204 gives 1251, 0 gives 1252.
int CodePageOfCharset(int charset);

// The UTF-16 character of `byte` in `codePage`: 0xE3 in 1252 gives U+00E3
// 'ã', 0xE3 in 1251 gives U+0433 'г'. Bytes below 0x80 are ASCII in all pages.
char16_t DecodeCodePageByte(int codePage, unsigned char byte);
