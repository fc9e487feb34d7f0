// The terminal view: plain lines into files and pipes; colours and a
// progress bar only on a terminal.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "TerminalOperationView.h"

namespace {

// Collects what a view writes.
class Capture {
 public:
  Capture() : file_(open_memstream(&buffer_, &size_)) {}
  ~Capture() {
    std::fclose(file_);
    std::free(buffer_);
  }
  std::FILE* File() { return file_; }
  std::string Text() {
    std::fflush(file_);
    return std::string(buffer_, size_);
  }

 private:
  char* buffer_ = nullptr;
  size_t size_ = 0;
  std::FILE* file_;
};

TEST(TerminalViewTest, AFileGetsThePlainLinesOnly) {
  Capture out;
  TTerminalOperationView view(out.File(), false);
  view.AddLog(": Contando documentos", TLogColour::Blue, TLogStyle::Plain);
  view.ResetProgress(1000);
  view.SetProgress(500, 1000);
  view.AddLog("!! Concluído.", TLogColour::Green, TLogStyle::Bold);
  view.AddLog("", TLogColour::WindowText, TLogStyle::Plain);
  EXPECT_EQ(out.Text(), ": Contando documentos\n!! Concluído.\n\n");
}

TEST(TerminalViewTest, ATerminalGetsColoursAndABarThatLogLinesPushDown) {
  Capture out;
  {
    TTerminalOperationView view(out.File(), true);
    view.AddLog("# Erro", TLogColour::Red, TLogStyle::Bold);
    view.ResetProgress(1000);
    view.SetProgress(500, 1000);
    view.SetProgress(501, 1000);  // the same columns and percent: not drawn again
    view.AddLog("  detalhe", TLogColour::WindowText, TLogStyle::Plain);
  }
  const std::string bar = "[" + std::string(20, '#') + std::string(20, '.') + "]  50%";
  const std::string empty = "[" + std::string(40, '.') + "]   0%";
  EXPECT_EQ(out.Text(), "\033[1m\033[31m# Erro\033[0m\n"  // bold red, then back to normal
                        "\r\033[K" + empty +               // the reset bar
                        "\r\033[K" + bar +                 // 500 of 1000
                        "\r\033[K" + "  detalhe\n" +        // the bar gives way to the line...
                        "\r\033[K" + bar +                 // ...and comes back under it
                        "\n");                              // the view ends the bar's line
}

TEST(TerminalViewTest, AnUnknownMaximumDrawsNoBar) {
  Capture out;
  TTerminalOperationView view(out.File(), true);
  view.ResetProgress(-1);
  view.SetProgress(4000, -1);
  view.ResetProgress(0);
  EXPECT_EQ(out.Text(), "");
}

}  // namespace
