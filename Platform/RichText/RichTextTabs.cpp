#include "RichTextTabs.h"

#include <algorithm>

#include "RichTextUnits.h"

namespace {

// Default stops are set out this far: the widest page a word processor offers.
constexpr int kTabGridEndTwips = 31680;
// However close the default stops, no paragraph gets more than this many.
constexpr qsizetype kMaxTabStops = 128;
// Where a decimal tab lines numbers up: the comma of Brazilian numbers.
constexpr char16_t kDecimalSeparator = u',';

QTextOption::Tab TabOf(double pixels, TRichTabKind kind) {
  switch (kind) {
    case TRichTabKind::Center: return QTextOption::Tab(pixels, QTextOption::CenterTab);
    case TRichTabKind::Right: return QTextOption::Tab(pixels, QTextOption::RightTab);
    case TRichTabKind::Decimal: return QTextOption::Tab(pixels, QTextOption::DelimiterTab, QChar(kDecimalSeparator));
    case TRichTabKind::Left: break;
  }
  return QTextOption::Tab(pixels, QTextOption::LeftTab);
}

}  // namespace

QList<QTextOption::Tab> TabStopsOf(const TRichParagraphFormat& format, int defaultTabTwips) {
  std::vector<TRichTabStop> stops = format.tabs;
  if (format.firstLineIndent < 0 && format.leftIndent > 0) {
    const bool taken = std::any_of(stops.begin(), stops.end(),
                                   [&](const TRichTabStop& stop) { return stop.position == format.leftIndent; });
    if (!taken) stops.push_back({format.leftIndent, TRichTabKind::Left});
  }
  std::sort(stops.begin(), stops.end(),
            [](const TRichTabStop& a, const TRichTabStop& b) { return a.position < b.position; });
  const int lineStart = format.leftIndent + format.firstLineIndent;
  const int last = stops.empty() ? 0 : stops.back().position;
  if (defaultTabTwips > 0) {
    for (int position = (std::max(last, lineStart) / defaultTabTwips + 1) * defaultTabTwips;
         position <= kTabGridEndTwips && static_cast<qsizetype>(stops.size()) < kMaxTabStops;
         position += defaultTabTwips) {
      stops.push_back({position, TRichTabKind::Left});
    }
  }
  QList<QTextOption::Tab> tabs;
  for (const TRichTabStop& stop : stops) {
    if (stop.position > lineStart && tabs.size() < kMaxTabStops) {
      tabs.append(TabOf(Pixels(stop.position - lineStart), stop.kind));
    }
  }
  return tabs;
}
