#include "OperationLog.h"

namespace {

struct TLogKindRule {
  std::string_view Marker;
  TLogKind Kind;
  TLogColour Colour;
  TLogStyle Style;
};

// Longer markers first: "! Ignorado" and "!! " also begin with "!".
constexpr TLogKindRule kLogKindRules[] = {
    {"! Ignorado", TLogKind::Skipped, TLogColour::Olive, TLogStyle::Plain},
    {"!! ", TLogKind::Success, TLogColour::Green, TLogStyle::Bold},
    {"! ", TLogKind::Result, TLogColour::Green, TLogStyle::Plain},
    {": ", TLogKind::Stage, TLogColour::Blue, TLogStyle::Plain},
    {"# ", TLogKind::Error, TLogColour::Red, TLogStyle::Plain},
    {"  ", TLogKind::Detail, TLogColour::WindowText, TLogStyle::Plain},
};

const TLogKindRule& RuleOf(TLogKind kind) {
  for (const TLogKindRule& rule : kLogKindRules) {
    if (rule.Kind == kind) return rule;
  }
  return kLogKindRules[std::size(kLogKindRules) - 1];
}

}  // namespace

TLogRgb LogColourRgb(TLogColour colour) {
  switch (colour) {
    case TLogColour::WindowText: return {0, 0, 0};
    case TLogColour::GrayText: return {128, 128, 128};
    case TLogColour::Blue: return {0, 0, 255};
    case TLogColour::Green: return {0, 128, 0};
    case TLogColour::Red: return {255, 0, 0};
    case TLogColour::Olive: return {128, 128, 0};
  }
  return {0, 0, 0};
}

TLogKind LogKindOf(std::string_view text) {
  for (const TLogKindRule& rule : kLogKindRules) {
    if (text.starts_with(rule.Marker)) return rule.Kind;
  }
  return TLogKind::Detail;
}

TLogColour LogColourOf(TLogKind kind) { return RuleOf(kind).Colour; }

TLogStyle LogStyleOf(TLogKind kind) { return RuleOf(kind).Style; }
