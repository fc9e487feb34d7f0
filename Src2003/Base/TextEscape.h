#pragma once

#include <string>
#include <string_view>

// The escape that keeps a multi-line Summary on one line of the index file.
//
// EscapeText: a character below code 32 becomes a backslash and its code in
// two decimal digits, a backslash becomes two:
//   "a\b" CR LF "c"  gives  "a\\b\13\10c";   TAB gives "\09".
// UnescapeText reverses it and tolerates damaged text: "\7x" gives the
// character 7 followed by "x"; a backslash before anything but a digit or a
// backslash is dropped; an escape cut off at the end adds nothing.
std::string EscapeText(std::string_view text);
// True when EscapeText would change the text (it holds a character below
// code 32 or a backslash); most texts need no escape and are written as they are.
bool NeedsEscape(std::string_view text);
std::string UnescapeText(std::string_view text);
