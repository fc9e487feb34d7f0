#pragma once

#include <optional>
#include <string>
#include <string_view>

// The target of a HYPERLINK field instruction, in UTF-8, or nothing for any
// other field. Switches \o and \t (tool tip, frame) are skipped; \l names an
// anchor, which is appended after "#". Inside quotes "\\" stands for "\".
//   HYPERLINK "http://www.sefaz.gov.br/x"         gives http://www.sefaz.gov.br/x
//   HYPERLINK \l "art5"                            gives #art5
//   HYPERLINK "doc.htm" \l "art5" \o "ver artigo"  gives doc.htm#art5
//   PAGE \* MERGEFORMAT                            gives nothing
std::optional<std::string> HyperlinkTarget(std::u16string_view instruction);
