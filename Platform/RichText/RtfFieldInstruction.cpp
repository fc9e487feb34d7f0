#include "RtfFieldInstruction.h"

#include <vector>

#include "LxCodePage.h"

namespace {

struct TArgument {
  std::u16string text;
  bool isSwitch = false;
};

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == 0xA0; }

// Field arguments: words, "quoted text" with \\ and \" escapes, and \x switches.
std::vector<TArgument> SplitArguments(std::u16string_view text) {
  std::vector<TArgument> arguments;
  size_t pos = 0;
  while (pos < text.size()) {
    if (IsBlank(text[pos])) {
      ++pos;
      continue;
    }
    TArgument argument;
    if (text[pos] == u'"') {
      for (++pos; pos < text.size() && text[pos] != u'"'; ++pos) {
        if (text[pos] == u'\\' && pos + 1 < text.size()) ++pos;
        argument.text.push_back(text[pos]);
      }
      ++pos;  // the closing quote
    } else {
      argument.isSwitch = text[pos] == u'\\';
      for (; pos < text.size() && !IsBlank(text[pos]); ++pos) argument.text.push_back(text[pos]);
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

bool EqualsIgnoringCase(std::u16string_view text, std::u16string_view upper) {
  if (text.size() != upper.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = (text[i] >= u'a' && text[i] <= u'z') ? text[i] - 32 : text[i];
    if (c != upper[i]) return false;
  }
  return true;
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  for (char16_t unit : text) AppendUtf8(out, unit);
  return out;
}

}  // namespace

std::optional<std::string> HyperlinkTarget(std::u16string_view instruction) {
  const std::vector<TArgument> arguments = SplitArguments(instruction);
  if (arguments.empty() || !EqualsIgnoringCase(arguments[0].text, u"HYPERLINK")) return {};
  std::u16string address;
  std::u16string anchor;
  for (size_t i = 1; i < arguments.size(); ++i) {
    const TArgument& argument = arguments[i];
    if (!argument.isSwitch) {
      if (address.empty()) address = argument.text;
      continue;
    }
    const bool takesValue = argument.text == u"\\l" || argument.text == u"\\o" ||
                            argument.text == u"\\t";
    if (takesValue && i + 1 < arguments.size()) {
      if (argument.text == u"\\l") anchor = arguments[i + 1].text;
      ++i;
    }
  }
  std::string target = ToUtf8(address);
  if (!anchor.empty()) target += "#" + ToUtf8(anchor);
  return target;
}
