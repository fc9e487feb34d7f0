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
// Collapsed borders are laid out on a 1/64-pixel grid and shared between
// neighbours: a cell's text may sit up to a border's width off (0.4 mm).
constexpr double kCellTolerancePixels = 1.5;

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

namespace {

// Word's usual table: cells 108 twips in from their edges, the first edge
// 108 to the left of the margin so the text lines up with the paragraphs.
constexpr char kWordTable[] =
    R"({\rtf1\trowd\trgaph108\trleft-108)"
    R"(\clbrdrt\brdrs\brdrw10\clbrdrl\brdrs\brdrw10\clbrdrb\brdrs\brdrw10\clbrdrr\brdrs\brdrw10\cellx2000)"
    R"(\clvertalc\clbrdrt\brdrs\brdrw10\clbrdrl\brdrs\brdrw10\clbrdrb\brdrs\brdrw10\clbrdrr\brdrs\brdrw10\cellx5000)"
    R"(\pard\intbl Primeira\line segunda\line terceira\cell Meio\cell\row})";

QTextTable* FirstTable(const QTextDocument& view) {
  for (QTextFrame* frame : view.rootFrame()->childFrames()) {
    if (auto* table = qobject_cast<QTextTable*>(frame)) return table;
  }
  return nullptr;
}

}  // namespace

TEST(RichTextViewLayoutTest, TableColumnsStartWhereTheRowDefinitionSays) {
  const auto view = LaidOut(kWordTable);
  EXPECT_NEAR(XOf(*view, Find(*view, "Primeira")), 0, kCellTolerancePixels);
  EXPECT_NEAR(XOf(*view, Find(*view, "Meio")), Twips(2000 + 108), kCellTolerancePixels);
  // One border between cells and around them, not a table border plus cell borders.
  const QTextTable* table = FirstTable(*view);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->format().border(), 0);
  EXPECT_EQ(table->format().cellSpacing(), 0);
  EXPECT_TRUE(table->format().borderCollapse());
  const QTextTableCellFormat cell = table->cellAt(0, 1).format().toTableCellFormat();
  EXPECT_EQ(cell.leftBorderStyle(), QTextFrameFormat::BorderStyle_Solid);
  EXPECT_GE(cell.leftBorder(), 1.0);
}

TEST(RichTextViewLayoutTest, TablesKeepTheirWidthAndShrinkOnlyToFitTheWindow) {
  const auto wide = LaidOut(kWordTable, kPageWidthPixels);
  const QTextTable* natural = FirstTable(*wide);
  ASSERT_NE(natural, nullptr);
  EXPECT_NEAR(natural->format().width().rawValue(), Twips(5000 + 108), kTolerancePixels);

  constexpr double kNarrowPixels = 200;
  const auto narrow = LaidOut(kWordTable, kNarrowPixels);
  const QTextTable* fitted = FirstTable(*narrow);
  ASSERT_NE(fitted, nullptr);
  EXPECT_LE(fitted->format().width().rawValue(), kNarrowPixels);
  const QVector<QTextLength> columns = fitted->format().columnWidthConstraints();
  ASSERT_EQ(columns.size(), 2);
  // Both columns shrink alike.
  EXPECT_NEAR(columns[0].rawValue() / columns[1].rawValue(), 2108.0 / 3000.0, 0.01);

  // Widening the window again gives the table back its own width.
  narrow->setTextWidth(kPageWidthPixels);
  FitTablesToWidth(*narrow);
  EXPECT_NEAR(FirstTable(*narrow)->format().width().rawValue(), Twips(5000 + 108), kTolerancePixels);
}

TEST(RichTextViewLayoutTest, CellsAlignVerticallyAsDeclared) {
  const auto view = LaidOut(kWordTable);
  const double top = view->documentLayout()->blockBoundingRect(view->findBlock(Find(*view, "Primeira"))).y();
  const QTextBlock middle = view->findBlock(Find(*view, "Meio"));
  const QTextTable* table = FirstTable(*view);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->cellAt(0, 1).format().verticalAlignment(), QTextCharFormat::AlignMiddle);
  // The table layout moves the middle cell's text down when drawing; its
  // format says so, and the first cell's three lines leave it the room.
  EXPECT_EQ(table->cellAt(0, 0).format().verticalAlignment(), QTextCharFormat::AlignNormal);
  EXPECT_GT(view->findBlock(Find(*view, "Primeira")).layout()->lineCount(), 0);
  EXPECT_GE(view->documentLayout()->blockBoundingRect(middle).y(), top);
}

TEST(RichTextViewLayoutTest, CenteredTablesSitInTheMiddleOfThePage) {
  const auto view = LaidOut(R"({\rtf1\trowd\trqc\trgaph0\cellx3000\pard\intbl x\cell\row})");
  EXPECT_NEAR(XOf(*view, Find(*view, "x")), (kPageWidthPixels - Twips(3000)) / 2, kCellTolerancePixels);
}

TEST(RichTextViewLayoutTest, RowsWithoutUsableEdgesAreLeftToTheView) {
  // Edges that go backwards cannot be widths: the table keeps the view's own sizing.
  const auto view = LaidOut(R"({\rtf1\trowd\cellx3000\cellx1000\pard\intbl a\cell b\cell\row})");
  const QTextTable* table = FirstTable(*view);
  ASSERT_NE(table, nullptr);
  EXPECT_TRUE(table->format().columnWidthConstraints().isEmpty());
  EXPECT_EQ(RtfToPlainText(R"({\rtf1\trowd\cellx3000\cellx1000\pard\intbl a\cell b\cell\row})"), "\r\na\tb\r\n");
}
