// Where the view puts text: indents, tab stops, list text, table columns,
// cell alignment and pictures, on small hand-written RTF.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

#include "RichTextPlainText.h"
#include "RichTextTables.h"
#include "RichTextTestSupport.h"
#include "RichTextView.h"

namespace {

constexpr double kTwipsPerPixel = 15.0;
constexpr double kPageWidthPixels = 800.0;
constexpr double kTolerancePixels = 0.5;

std::unique_ptr<QTextDocument> LaidOut(const std::string& rtf, double width = kPageWidthPixels) {
  std::unique_ptr<QTextDocument> view = BuildTextDocumentFromBody(rtf);
  view->setDocumentMargin(0);
  view->setTextWidth(width);
  FitTablesToWidth(*view);
  view->documentLayout()->documentSize();  // lays the whole document out
  return view;
}

// The left edge of the character at `position`, in pixels from the page's
// text margin.
double XOf(const QTextDocument& view, int position) {
  const QTextBlock block = view.findBlock(position);
  const QTextLayout* layout = block.layout();
  const QTextLine line = layout->lineForTextPosition(position - block.position());
  const QRectF frame = view.documentLayout()->blockBoundingRect(block);
  return frame.x() + line.cursorToX(position - block.position());
}

// The position of the first occurrence of `text` in the view.
int Find(const QTextDocument& view, const char* text) {
  return view.find(QString::fromUtf8(text)).selectionStart();
}

double Twips(double twips) { return twips / kTwipsPerPixel; }

}  // namespace

TEST(RichTextViewLayoutTest, IndentsPlaceFirstAndWrappedLines) {
  const std::string words(400, 'x');
  std::string rtf = R"({\rtf1\pard\li1440\fi-720\ri720 )";
  for (int i = 0; i < 60; ++i) rtf += "palavra ";
  rtf += "fim\\par}";
  const auto view = LaidOut(rtf);
  EXPECT_NEAR(XOf(*view, 0), Twips(720), kTolerancePixels);
  const QTextBlock block = view->begin();
  ASSERT_GT(block.layout()->lineCount(), 1);
  const QTextLine second = block.layout()->lineAt(1);
  EXPECT_NEAR(XOf(*view, second.textStart()), Twips(1440), kTolerancePixels);
  EXPECT_LE(block.layout()->lineAt(0).naturalTextWidth() + Twips(720), kPageWidthPixels - Twips(720) + 1);
}

TEST(RichTextViewLayoutTest, ListTextEndsAtTheHangingIndent) {
  // The tab after the number stops where the wrapped lines start, whatever
  // the default stops are.
  const auto view = LaidOut(R"({\rtf1\deftab1134\pard\fi-360\li720{\listtext 1.\tab}Texto do inciso\par}")");
  EXPECT_NEAR(XOf(*view, 0), Twips(360), kTolerancePixels);
  EXPECT_NEAR(XOf(*view, Find(*view, "Texto")), Twips(720), kTolerancePixels);
}

TEST(RichTextViewLayoutTest, TabStopsCountFromTheMarginNotFromTheIndent) {
  const auto view = LaidOut(
      R"({\rtf1\deftab708\pard\fi709 Art. 4\tab Anexo\par)"
      R"(\pard\tx2835\tqr\tx7000 Faixa\tab Valor\tab 200\par})");
  EXPECT_NEAR(XOf(*view, Find(*view, "Anexo")), Twips(1416), kTolerancePixels);
  EXPECT_NEAR(XOf(*view, Find(*view, "Valor")), Twips(2835), kTolerancePixels);
  const int amount = Find(*view, "200");
  EXPECT_NEAR(XOf(*view, amount + 3), Twips(7000), kTolerancePixels);  // right tab: the text ends there
}
