#include <gtest/gtest.h>

#include <random>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include "LxCodePage.h"
#include "RichTextEditing.h"
#include "RichTextPlainText.h"
#include "RichTextTestSupport.h"
#include "RichTextView.h"
#include "RtfReader.h"

namespace {

constexpr char16_t kParagraphSeparator = 0x2029;
constexpr char16_t kFrameStart = 0xFDD0;
constexpr char16_t kFrameEnd = 0xFDD1;

// The plain-text byte that the view's character at a position must give.
char ExpectedByte(QChar character) {
  switch (character.unicode()) {
    case kParagraphSeparator:
    case kLineBreakCharacter:
    case kFrameEnd: return '\n';
    case kPictureCharacter: return ' ';
    default: break;
  }
  const int code = UnicodeToWin1252(character.unicode());
  return code < 0 ? '?' : static_cast<char>(code);
}

// Checks the invariant character by character. A cell start is a line break
// at the start of a row and a tab elsewhere; both count as one position.
void ExpectPositionsMatch(const TRichTextDocument& model) {
  const std::string plain = CollapseLineBreaks(RichTextPlainText(model));
  const std::unique_ptr<QTextDocument> view = BuildTextDocument(model);
  ASSERT_EQ(static_cast<int>(plain.size()), view->characterCount() - 1);
  for (int position = 0; position < static_cast<int>(plain.size()); ++position) {
    const QChar character = view->characterAt(position);
    if (character.unicode() == kFrameStart) {
      ASSERT_TRUE(plain[position] == '\n' || plain[position] == '\t') << "at " << position;
      continue;
    }
    ASSERT_EQ(plain[position], ExpectedByte(character)) << "at " << position;
  }
}

std::string PngBytes() {
  QImage image(4, 3, QImage::Format_RGB32);
  image.fill(Qt::red);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes.toStdString();
}

std::string Hex(const std::string& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char byte : bytes) {
    hex.push_back(kDigits[byte >> 4]);
    hex.push_back(kDigits[byte & 15]);
  }
  return hex;
}

// Random documents from the pieces that shape positions: text with accents and
// characters outside Windows-1252, breaks, tabs, pictures, fields, tables with
// paragraphs in cells, rows of changing width, empty paragraphs.
std::string GeneratedRtf(std::mt19937& random) {
  static const char* const kPieces[] = {
      "Art. 1\\'ba ", "a\\'e7\\'e3o ", "\\u8364?", "\\u20013?", "\\u-10179?\\u-8704?", "\\par ",
      "\\line ", "\\tab ", "{\\b negrito}", "\\~", "{\\pict\\wmetafile8 0102}", "\\par\\par ",
      "{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt ligado}}", "\\emdash ", "\\pard ",
      "\\intbl c\\cell ", "\\intbl d\\par e\\cell ", "\\row ", "\\trowd\\cellx900 ", "\\page ",
      "{\\*\\bkmkstart x}", "\\u8233?", "\\u65532?", "{\\pntext 1.\\tab}", "\\'80\\'81\\'9d ",
      "\\u65279?\\u8203?\\u11?\\u-1?\\u-2?", "\\u-10179?x", "\\u-8704?", "\\u8232?\\u64977?"};
  std::string rtf = "{\\rtf1\\ansi ";
  const int pieces = 1 + static_cast<int>(random() % 60);
  for (int i = 0; i < pieces; ++i) rtf += kPieces[random() % std::size(kPieces)];
  return rtf + "}";
}

}  // namespace

TEST(RichTextViewTest, PlainTextPositionsAreViewPositionsInEveryFixture) {
  for (const std::string& name : RtfFixtureNames()) {
    SCOPED_TRACE(name);
    ExpectPositionsMatch(ReadRtf(ReadRtfFixture(name)));
  }
}

TEST(RichTextViewTest, PlainTextPositionsAreViewPositionsInGeneratedDocuments) {
  std::mt19937 random(4242);
  for (int round = 0; round < 400; ++round) {
    const std::string rtf = GeneratedRtf(random);
    SCOPED_TRACE(rtf);
    ExpectPositionsMatch(ReadRtf(rtf));
  }
}

TEST(RichTextViewTest, PlainTextPositionsAreViewPositionsForTablesAtTheEdges) {
  ExpectPositionsMatch(ReadRtf(R"({\rtf1\intbl a\cell b\cell\row})"));
  ExpectPositionsMatch(ReadRtf(R"({\rtf1\intbl a\cell\row\intbl b\cell c\cell\row\pard\par x})"));
  ExpectPositionsMatch(ReadRtf(R"({\rtf1 x\par\intbl \cell\row})"));
  ExpectPositionsMatch(ReadRichText("texto simples\r\nsegunda linha\r\n"));
  ExpectPositionsMatch(ReadRtf(""));
}

TEST(RichTextViewTest, FormatsTablesAndLinksReachTheView) {
  const std::unique_ptr<QTextDocument> view = BuildTextDocumentFromBody(
      R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Courier New;}}{\colortbl;\red255\green0\blue0;})"
      R"(\pard\qc\f1\fs28\b\cf1 Titulo\par\pard\intbl A\cell B\cell\row\pard )"
      R"({\field{\*\fldinst HYPERLINK "http://www.sefaz.gov.br"}{\fldrslt site}}})");
  QTextCursor cursor = SelectRange(*view, 0, 1);
  const QTextCharFormat title = cursor.charFormat();
  EXPECT_EQ(title.fontFamilies().toStringList(), QStringList{"Courier New"});
  EXPECT_EQ(title.fontPointSize(), 14.0);
  EXPECT_EQ(title.fontWeight(), QFont::Bold);
  EXPECT_EQ(title.foreground().color(), QColor(255, 0, 0));
  EXPECT_EQ(cursor.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  EXPECT_NE(SelectRange(*view, 8, 1).currentTable(), nullptr);
  const int link = view->toPlainText().indexOf("site");
  const QTextCharFormat anchor = SelectRange(*view, link, 1).charFormat();
  EXPECT_TRUE(anchor.isAnchor());
  EXPECT_EQ(anchor.anchorHref(), "http://www.sefaz.gov.br");
}

TEST(RichTextViewTest, DecodablePicturesShowAndOthersAreBlank) {
  const std::string rtf = "{\\rtf1 a{\\pict\\pngblip\\picwgoal600\\pichgoal450 " + Hex(PngBytes()) +
                          "}b{\\pict\\emfblip\\picwgoal1440\\pichgoal720 0102}c{\\pict\\wmetafile8 0102}}";
  const std::unique_ptr<QTextDocument> view = BuildTextDocumentFromBody(rtf);
  const QTextImageFormat png = SelectRange(*view, 1, 1).charFormat().toImageFormat();
  ASSERT_TRUE(png.isValid());
  EXPECT_EQ(png.width(), 40.0);
  const QImage decoded = view->resource(QTextDocument::ImageResource, QUrl(png.name())).value<QImage>();
  EXPECT_EQ(decoded.size(), QSize(4, 3));
  // A metafile is blank: at its declared size, or taking no room without one.
  const QTextImageFormat sized = SelectRange(*view, 3, 1).charFormat().toImageFormat();
  EXPECT_EQ(sized.width(), 96.0);
  EXPECT_EQ(sized.height(), 48.0);
  const QImage blank = view->resource(QTextDocument::ImageResource, QUrl(sized.name())).value<QImage>();
  ASSERT_FALSE(blank.isNull());
  EXPECT_EQ(qAlpha(blank.pixel(0, 0)), 0);
  const QTextImageFormat unsized = SelectRange(*view, 5, 1).charFormat().toImageFormat();
  EXPECT_TRUE(unsized.hasProperty(QTextFormat::ImageWidth));
  EXPECT_EQ(unsized.width(), 0.0);
  EXPECT_EQ(unsized.height(), 0.0);
}

// Every picture of the fixtures either decodes or is invisible: no document
// shows a broken-picture mark.
TEST(RichTextViewTest, FixturePicturesDecodeOrAreInvisible) {
  int pictures = 0;
  for (const std::string& name : RtfFixtureNames()) {
    SCOPED_TRACE(name);
    const TRichTextDocument model = ReadRtf(ReadRtfFixture(name));
    const std::unique_ptr<QTextDocument> view = BuildTextDocument(model);
    for (size_t i = 0; i < model.pictures.size(); ++i, ++pictures) {
      const QImage image =
          view->resource(QTextDocument::ImageResource, QUrl(QString("rtfpicture:%1").arg(i))).value<QImage>();
      ASSERT_FALSE(image.isNull());
      const bool decodable = model.pictures[i].kind == TRichPictureKind::Png ||
                             model.pictures[i].kind == TRichPictureKind::Jpeg ||
                             model.pictures[i].kind == TRichPictureKind::Bitmap;
      EXPECT_EQ(decodable, image.size() != QSize(1, 1) || qAlpha(image.pixel(0, 0)) != 0) << "picture " << i;
    }
  }
  EXPECT_GE(pictures, 4);
}

TEST(RichTextViewTest, SelectRangeSelectsByPlainTextPositionAndClamps) {
  const char* rtf = R"({\rtf1 Um\par\intbl ICMS\cell 17%\cell\row\pard Fim})";
  const std::string plain = CollapseLineBreaks(RtfToPlainText(rtf));
  const std::unique_ptr<QTextDocument> view = BuildTextDocumentFromBody(rtf);
  const int fim = static_cast<int>(plain.find("Fim"));
  EXPECT_EQ(SelectRange(*view, fim, 3).selectedText(), "Fim");
  const int rate = static_cast<int>(plain.find("17%"));
  EXPECT_EQ(SelectRange(*view, rate, 3).selectedText(), "17%");
  EXPECT_EQ(SelectRange(*view, fim, 999).selectedText(), "Fim");
  EXPECT_FALSE(SelectRange(*view, -5, 2).hasSelection());
}

TEST(RichTextViewTest, LinkNumbersAndMarksStayOnTheirRange) {
  const std::unique_ptr<QTextDocument> view = BuildTextDocumentFromBody(R"({\rtf1 ver artigo 5 da lei})");
  SetLinkNumber(*view, 4, 6, 7);
  EXPECT_EQ(LinkNumberAt(*view, 3), -1);
  EXPECT_EQ(LinkNumberAt(*view, 4), 7);
  EXPECT_EQ(LinkNumberAt(*view, 9), 7);
  EXPECT_EQ(LinkNumberAt(*view, 10), -1);
  EXPECT_EQ(LinkNumberAt(*view, 999), -1);

  MarkRange(*view, 4, 6, TRichTextMark{QColor(Qt::blue), QColor(Qt::yellow), true, std::nullopt, std::nullopt});
  const QTextCharFormat marked = SelectRange(*view, 4, 6).charFormat();
  EXPECT_EQ(marked.foreground().color(), QColor(Qt::blue));
  EXPECT_EQ(marked.background().color(), QColor(Qt::yellow));
  EXPECT_EQ(marked.fontWeight(), QFont::Bold);
  EXPECT_EQ(LinkNumberAt(*view, 5), 7);  // marking keeps the link
  EXPECT_NE(SelectRange(*view, 0, 1).charFormat().fontWeight(), QFont::Bold);
}

int main(int argc, char** argv) {
  // The build lists the tests by running this program, outside the test
  // runner's environment and often without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
