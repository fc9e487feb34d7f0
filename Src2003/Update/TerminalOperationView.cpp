#include "TerminalOperationView.h"

#include <algorithm>
#include <string>
#include <unistd.h>

namespace {

constexpr int kFullPercent = 100;

const char* AnsiColour(TLogColour colour) {
  switch (colour) {
    case TLogColour::WindowText: return "";
    case TLogColour::GrayText: return "\033[90m";
    case TLogColour::Blue: return "\033[34m";
    case TLogColour::Green: return "\033[32m";
    case TLogColour::Red: return "\033[31m";
    case TLogColour::Olive: return "\033[33m";
  }
  return "";
}

constexpr char kAnsiBold[] = "\033[1m";
constexpr char kAnsiReset[] = "\033[0m";
// Back to the start of the line and clear it.
constexpr char kAnsiClearLine[] = "\r\033[K";

// Part of the maximum that `position` covers, scaled to `scale` and kept
// within [0, scale]; an unknown maximum (0 or below) covers nothing.
int Covered(int position, int maximum, int scale) {
  if (maximum <= 0) return 0;
  const long long covered = static_cast<long long>(position) * scale / maximum;
  return static_cast<int>(std::clamp<long long>(covered, 0, scale));
}

}  // namespace

TTerminalOperationView::TTerminalOperationView() : TTerminalOperationView(stderr, isatty(fileno(stderr)) != 0) {}

TTerminalOperationView::TTerminalOperationView(std::FILE* out, bool terminal) : out_(out), terminal_(terminal) {}

TTerminalOperationView::~TTerminalOperationView() {
  if (drawnColumns_ >= 0) std::fputc('\n', out_);
}

void TTerminalOperationView::AddLog(const std::string& text, TLogColour colour, TLogStyle style) {
  if (!terminal_) {
    std::fprintf(out_, "%s\n", text.c_str());
    return;
  }
  ClearBar();
  const char* colourCode = AnsiColour(colour);
  const char* boldCode = style == TLogStyle::Bold ? kAnsiBold : "";
  const bool plain = *colourCode == '\0' && *boldCode == '\0';
  std::fprintf(out_, "%s%s%s%s\n", boldCode, colourCode, text.c_str(), plain ? "" : kAnsiReset);
  DrawBar();
}

void TTerminalOperationView::ResetProgress(int maximum) {
  position_ = 0;
  maximum_ = maximum;
  if (terminal_) {
    ClearBar();
    DrawBar();
  }
}

void TTerminalOperationView::SetProgress(int position, int maximum) {
  position_ = position;
  maximum_ = maximum;
  if (!terminal_) return;
  // Redraw only what changed: a progress call per received piece of a file
  // must not flood the terminal.
  if (Covered(position_, maximum_, kBarColumns) == drawnColumns_ &&
      Covered(position_, maximum_, kFullPercent) == drawnPercent_) {
    return;
  }
  DrawBar();
}

void TTerminalOperationView::DrawBar() {
  if (!terminal_ || maximum_ <= 0) return;
  const int columns = Covered(position_, maximum_, kBarColumns);
  const int percent = Covered(position_, maximum_, kFullPercent);
  const std::string bar = std::string(static_cast<size_t>(columns), '#') +
                          std::string(static_cast<size_t>(kBarColumns - columns), '.');
  std::fprintf(out_, "%s[%s] %3d%%", kAnsiClearLine, bar.c_str(), percent);
  std::fflush(out_);
  drawnColumns_ = columns;
  drawnPercent_ = percent;
}

void TTerminalOperationView::ClearBar() {
  if (drawnColumns_ < 0) return;
  std::fputs(kAnsiClearLine, out_);
  drawnColumns_ = -1;
  drawnPercent_ = -1;
}
