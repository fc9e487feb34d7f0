#include <algorithm>
#include <stdexcept>
#include <string>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTextCursor>
#include <QTextEdit>

#include "ClientErrors.h"
#include "ClientTestBase.h"
#include "ErrorReport.h"

namespace {

int Lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

// Each level is a frame of its own: the call after the recursion keeps the
// compiler from turning it into a loop.
[[gnu::noinline]] void RaiseFromDepth(int depth, volatile int* after) {
  if (depth == 0) throw ETOMOError("falha no fundo");
  RaiseFromDepth(depth - 1, after);
  *after = *after + 1;
}

TEST(ErrorReportStack, IsTheStackWhereTheErrorWasRaised) {
  constexpr int kDepth = 20;
  volatile int after = 0;
  try {
    RaiseFromDepth(kDepth, &after);
  } catch (const ELxException& error) {
    const TErrorReport raised = MakeErrorReport(error);
    const TErrorReport here = MakeErrorReport(ETOMOError("aqui"));
    EXPECT_GE(Lines(raised.CallStack), Lines(here.CallStack) + kDepth);
    EXPECT_EQ(raised.Message, "falha no fundo");
  }
  // Errors from outside the program keep the stack where they are reported.
  EXPECT_GT(Lines(MakeErrorReport(std::runtime_error("externo")).CallStack), 0);
}

class ReaderFaultsTest : public ClientTest {};

TEST_F(ReaderFaultsTest, CopyAndSelectAllNeedSomethingToActOn) {
  AddDocument(1, 0, "Texto");
  SaveIndex();
  WriteBody(1, TextBody(RtfLines({"Primeira linha", "Segunda linha"})));
  OpenWindow();
  QAction& copy = *Window().Actions().EditCopyAction;
  QAction& selectAll = *Window().Actions().EditSelectAllAction;
  // The root's list: no text to copy or select.
  EXPECT_FALSE(copy.isEnabled());
  EXPECT_FALSE(selectAll.isEnabled());

  ShowId(1);
  auto& text = *Window().findChild<QTextEdit*>("TextEdit");
  EXPECT_FALSE(copy.isEnabled());
  EXPECT_TRUE(selectAll.isEnabled());
  selectAll.trigger();
  EXPECT_TRUE(text.textCursor().hasSelection());
  EXPECT_TRUE(copy.isEnabled());
  QTextCursor caret = text.textCursor();
  caret.clearSelection();
  text.setTextCursor(caret);
  EXPECT_FALSE(copy.isEnabled());

  // A focused field decides by its own contents.
  auto& query = *Window().findChild<QLineEdit*>("SearchDocText");
  Window().Actions().SearchDocumentsAction->trigger();
  QApplication::setActiveWindow(&Window());
  query.setFocus();
  QCoreApplication::processEvents();
  if (QApplication::focusWidget() == &query) {
    EXPECT_FALSE(selectAll.isEnabled());
    query.setText("renda");
    EXPECT_TRUE(selectAll.isEnabled());
    query.selectAll();
    EXPECT_TRUE(copy.isEnabled());
  }
}

TEST_F(ReaderFaultsTest, PrintingABitmapThatFailedToLoadSaysSo) {
  AddDocument(1, 0, "Figura", kKindBitmap);
  SaveIndex();
  WriteBody(1, TextBody("isto não é um bitmap"));
  OpenWindow();
  ShowId(1);
  ASSERT_EQ(errors_.size(), 1u);  // the picture could not be loaded
  ASSERT_TRUE(Window().Actions().PrintAction->isEnabled());
  Window().Actions().PrintAction->trigger();
  ASSERT_EQ(errors_.size(), 2u);
  EXPECT_EQ(errors_[1].ClassName, "ETOMOError");
  EXPECT_NE(errors_[1].Message.find("não há o que imprimir"), std::string::npos);
}

}  // namespace
