#include <gtest/gtest.h>

#include <variant>

#include "RichTextPlainText.h"
#include "RtfReader.h"

namespace {

std::string Text(std::string_view rtf) { return RtfToPlainText(rtf); }

const TRichParagraph& ParagraphAt(const TRichTextDocument& document, size_t index) {
  return std::get<TRichParagraph>(document.blocks.at(index));
}

const TRichRun& RunAt(const TRichTextDocument& document, size_t paragraph, size_t run) {
  return ParagraphAt(document, paragraph).runs.at(run);
}

}  // namespace

TEST(RtfReaderTest, ParagraphsAreSeparatedByCrLfWithoutATrailingBreak) {
  EXPECT_EQ(Text(R"({\rtf1 Um\par Dois\par})"), "Um\r\nDois");
  EXPECT_EQ(Text(R"({\rtf1 Um\par\par Tres})"), "Um\r\n\r\nTres");
  EXPECT_EQ(Text(R"({\rtf1 })"), "");
}

TEST(RtfReaderTest, BreaksTabsAndSectionsTakeOnePositionEach) {
  EXPECT_EQ(Text(R"({\rtf1 a\line b\tab c\page d\sect e})"), "a\r\nb\tc\r\nd\r\ne");
  EXPECT_EQ(Text("{\\rtf1 a\\\nb}"), "a\r\nb");  // backslash before a line end is \par
}

TEST(RtfReaderTest, RawLineEndsAndTheBlankAfterAControlWordAreNotText) {
  EXPECT_EQ(Text("{\\rtf1 Lei\r\n com\\b  negrito}"), "Lei com negrito");
}

TEST(RtfReaderTest, EscapesAndSpecialCharacters) {
  EXPECT_EQ(Text(R"({\rtf1 \{x\}\\})"), "{x}\\");
  EXPECT_EQ(Text(R"({\rtf1 a\emdash b\endash c\bullet d})"), "a\x97" "b\x96" "c\x95" "d");
  EXPECT_EQ(Text(R"({\rtf1 \lquote x\rquote \ldblquote y\rdblquote})"), "\x91x\x92\x93y\x94");
  EXPECT_EQ(Text(R"({\rtf1 n\~1 sub\-sidio 2\_3})"), "n\xA0" "1 subsidio 2-3");
}

TEST(RtfReaderTest, HexEscapesFollowTheDocumentAndFontCodePages) {
  EXPECT_EQ(Text(R"({\rtf1\ansi a\'e7\'e3o})"), "a\xE7\xE3o");
  // 1250: 0xB9 is U+0105 'ą', outside Windows-1252.
  EXPECT_EQ(Text(R"({\rtf1\ansi\ansicpg1250 \'b9\'e9})"), "?\xE9");
  // A DOS page: 0x87 is 'ç' in 437 and 850.
  EXPECT_EQ(Text(R"({\rtf1\pc \'87})"), "\xE7");
  const char* fonts = R"({\rtf1\ansi{\fonttbl{\f0\fcharset0 Arial;}{\f1\fcharset204 Arial Cyr;}})"
                      R"(\f1\'c0\f0\'c0})";
  EXPECT_EQ(Text(fonts), "?\xC0");
}

TEST(RtfReaderTest, UnicodeEscapesDropTheirFallbackBytes) {
  EXPECT_EQ(Text(R"({\rtf1 \u231\'e7a\u8364?b})"), "\xE7" "a\x80" "b");
  EXPECT_EQ(Text(R"({\rtf1\uc2 \u20013\'a4\'a4x})"), "?x");
  EXPECT_EQ(Text(R"({\rtf1\uc0 \u231 x})"), "\xE7x");
  // Negative values are the unit plus 65536: -3913 is U+F0B7.
  const TRichTextDocument document = ReadRtf(R"({\rtf1 \u-3913?})");
  EXPECT_EQ(ParagraphAt(document, 0).text, std::u16string(1, char16_t(0xF0B7)));
}

TEST(RtfReaderTest, SurrogatePairsTakeTwoPositions) {
  const TRichTextDocument document = ReadRtf(R"({\rtf1 a\u-10179?\u-8704?b})");
  EXPECT_EQ(ParagraphAt(document, 0).text, u"a\U0001F600b");
  EXPECT_EQ(RichTextPlainText(document), "a??b");
}

TEST(RtfReaderTest, UnicodeSkipCountIsScopedToItsGroup) {
  EXPECT_EQ(Text(R"({\rtf1 {\uc2 \u231 xy}\u231 xy})"), "\xE7\xE7y");
}

TEST(RtfReaderTest, TablesFontsStylesInfoHeadersAndNotesAreNotShown) {
  const char* rtf =
      R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red255\green0\blue0;}{\stylesheet{\s0 Normal;}})"
      R"({\info{\title Titulo}{\author Autor}}{\header Cabecalho}{\footer Rodape})"
      R"(Corpo{\footnote Nota}{\*\bkmkstart marca}{\*\desconhecido oculto}\v escondido\v0  fim})";
  EXPECT_EQ(Text(rtf), "Corpo fim");
}

TEST(RtfReaderTest, UnknownWordsWithoutStarKeepTheirText) {
  EXPECT_EQ(Text(R"({\rtf1 {\palavranova texto}})"), "texto");
}

TEST(RtfReaderTest, OldStyleListNumbersAreShownButTheirTemplatesAreNot) {
  const char* rtf = R"({\rtf1{\pntext 1.\tab}{\*\pn\pnlvlbody{\pntxta .}}Item\par)"
                    R"({\listtext\pard\plain 2.\tab}Outro})";
  EXPECT_EQ(Text(rtf), "1.\tItem\r\n2.\tOutro");
}

TEST(RtfReaderTest, CharacterFormatsAreReadAndPlainResetsThem) {
  const char* rtf = R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Courier New;}}{\colortbl;\red255\green0\blue0;})"
                    R"(\f1\fs28\b\i\ul\strike\cf1\highlight1\super A\plain B\b0 C})";
  const TRichTextDocument document = ReadRtf(rtf);
  const TRichCharFormat& first = RunAt(document, 0, 0).format;
  EXPECT_EQ(document.fonts.at(first.font), u"Courier New");
  EXPECT_EQ(first.sizeHalfPoints, 28);
  EXPECT_TRUE(first.bold && first.italic && first.underline && first.strikeOut);
  EXPECT_EQ(first.foreground, 0xFF0000);
  EXPECT_EQ(first.background, 0xFF0000);
  EXPECT_EQ(first.verticalAlign, TRichVerticalAlign::Superscript);
  const TRichCharFormat& second = RunAt(document, 0, 1).format;
  EXPECT_EQ(second, TRichCharFormat{});
  EXPECT_EQ(RunAt(document, 0, 1).length, 2);  // "B" and "C" share the plain format
}

TEST(RtfReaderTest, FormatsEndWithTheirGroup) {
  const TRichTextDocument document = ReadRtf(R"({\rtf1 a{\b b}c})");
  ASSERT_EQ(ParagraphAt(document, 0).runs.size(), 3u);
  EXPECT_TRUE(RunAt(document, 0, 1).format.bold);
  EXPECT_FALSE(RunAt(document, 0, 2).format.bold);
}

TEST(RtfReaderTest, ParagraphFormatsApplyToTheParagraphTheyEnd) {
  const TRichTextDocument document =
      ReadRtf(R"({\rtf1\pard\qc\li720\ri360\fi-360\sb120\sa240 Centro\par\pard Esquerda\par})");
  const TRichParagraphFormat& centred = ParagraphAt(document, 0).format;
  EXPECT_EQ(centred.alignment, TRichAlignment::Center);
  EXPECT_EQ(centred.leftIndent, 720);
  EXPECT_EQ(centred.rightIndent, 360);
  EXPECT_EQ(centred.firstLineIndent, -360);
  EXPECT_EQ(centred.spaceBefore, 120);
  EXPECT_EQ(centred.spaceAfter, 240);
  EXPECT_EQ(ParagraphAt(document, 1).format.alignment, TRichAlignment::Left);
}

TEST(RtfReaderTest, TableCellsAndRowsMapToTabsAndLineBreaks) {
  const char* rtf = R"({\rtf1 Antes\par\trowd\cellx1000\cellx2000\intbl ICMS\cell 17%\cell\row)"
                    R"(\intbl ISS\cell 5%\cell\row\pard Depois\par})";
  const TRichTextDocument document = ReadRtf(rtf);
  ASSERT_EQ(document.blocks.size(), 3u);
  const TRichTable& table = std::get<TRichTable>(document.blocks[1]);
  EXPECT_EQ(table.rows.size(), 2u);
  EXPECT_EQ(table.columnCount, 2);
  EXPECT_EQ(table.rows[0].cells[1].format.rightEdge, 2000);
  EXPECT_EQ(RichTextPlainText(document), "Antes\r\nICMS\t17%\r\nISS\t5%\r\nDepois");
}

TEST(RtfReaderTest, ParagraphsInsideACellStayInTheCell) {
  EXPECT_EQ(Text(R"({\rtf1\intbl a\par b\cell c\cell\row})"), "\r\na\r\nb\tc\r\n");
}

TEST(RtfReaderTest, ARowOfAnotherWidthStartsANewTable) {
  const TRichTextDocument document =
      ReadRtf(R"({\rtf1\intbl a\cell b\cell c\cell\row\intbl d\cell\row\pard x})");
  ASSERT_EQ(document.blocks.size(), 3u);
  EXPECT_EQ(std::get<TRichTable>(document.blocks[0]).columnCount, 3);
  EXPECT_EQ(std::get<TRichTable>(document.blocks[1]).columnCount, 1);
  EXPECT_EQ(RichTextPlainText(document), "\r\na\tb\tc\r\n\r\nd\r\nx");
}

TEST(RtfReaderTest, AnUnfinishedRowEndsWithTheTable) {
  EXPECT_EQ(Text(R"({\rtf1\intbl a\cell b\cell\pard fim})"), "\r\na\tb\r\nfim");
}

TEST(RtfReaderTest, HyperlinkFieldsShowTheirResultAndKeepTheTarget) {
  const char* rtf = R"({\rtf1 Ver {\field{\*\fldinst {HYPERLINK "http://www.sefaz.gov.br/a" }})"
                    R"({\fldrslt {\ul\cf1 o site}}} e {\field{\*\fldinst PAGE}{\fldrslt 3}}.})";
  const TRichTextDocument document = ReadRtf(rtf);
  EXPECT_EQ(RichTextPlainText(document), "Ver o site e 3.");
  ASSERT_EQ(document.links.size(), 1u);
  EXPECT_EQ(document.links[0].url, "http://www.sefaz.gov.br/a");
  const TRichParagraph& paragraph = ParagraphAt(document, 0);
  for (const TRichRun& run : paragraph.runs) {
    const bool inLink = run.start >= 4 && run.start < 10;
    EXPECT_EQ(run.format.link, inLink ? 0 : -1) << "run at " << run.start;
  }
}

TEST(RtfReaderTest, PicturesAreOneBlankAndKeepPngAndJpegData) {
  const char* rtf = R"({\rtf1 a{\pict\pngblip\picwgoal1440\pichgoal720\picscalex50 89504e47}b)"
                    R"({\pict\wmetafile8 0102}c{\*\shppict{\pict\jpegblip ffd8}}{\nonshppict{\pict\wmetafile8 00}}})";
  const TRichTextDocument document = ReadRtf(rtf);
  EXPECT_EQ(RichTextPlainText(document), "a b c ");
  ASSERT_EQ(document.pictures.size(), 3u);
  EXPECT_EQ(document.pictures[0].kind, TRichPictureKind::Png);
  EXPECT_EQ(document.pictures[0].data, "\x89PNG");
  EXPECT_EQ(document.pictures[0].widthTwips, 720);
  EXPECT_EQ(document.pictures[0].heightTwips, 720);
  EXPECT_EQ(document.pictures[1].kind, TRichPictureKind::Metafile);
  EXPECT_TRUE(document.pictures[1].data.empty());
  EXPECT_EQ(document.pictures[2].data, "\xFF\xD8");
}

TEST(RtfReaderTest, BinaryDataIsTakenByCountEvenWithBraces) {
  const std::string rtf = std::string("{\\rtf1 a{\\pict\\pngblip\\bin4 ") + "}{\\}" + "}b}";
  const TRichTextDocument document = ReadRtf(rtf);
  EXPECT_EQ(RichTextPlainText(document), "a b");
  EXPECT_EQ(document.pictures.at(0).data, "}{\\}");
  EXPECT_EQ(Text("{\\rtf1 x\\bin3 {{{y}"), "xy");
}

TEST(RtfReaderTest, TextAfterTheDocumentIsIgnored) {
  EXPECT_EQ(Text(R"({\rtf1 dentro} fora)"), "dentro");
}

TEST(RtfReaderTest, ControlCharactersInTheInputCannotForgeStructure) {
  // U+2029, U+FDD0 and U+FFFC would be structure to the view; controls vanish.
  EXPECT_EQ(Text(R"({\rtf1 a\u8233?b\u64976?c\u65532?d\u7?e\u0?f})"), "a?b?c?def");
}

TEST(RtfReaderTest, BodiesThatAreNotRtfAreLinesOfText) {
  EXPECT_FALSE(LooksLikeRtf("Lei n\xBA 1\r\n"));
  EXPECT_TRUE(LooksLikeRtf("\r\n {\\rtf1 x}"));
  EXPECT_EQ(RtfToPlainText("Linha 1\r\nLinha 2\nLinha 3\rfim\r\n"), "Linha 1\r\nLinha 2\r\nLinha 3\r\nfim");
  EXPECT_EQ(RtfToPlainText("{sem rtf}\tA\x01" "\xE7"), "{sem rtf}\tA\xE7");
}

TEST(RtfReaderTest, TabStopsAreKeptInOrderWithTheirKind) {
  const TRichTextDocument document =
      ReadRtf(R"({\rtf1\deftab709\pard\tx2835\tqr\tx7000\tqc\tx1000\tx2835 a\tab b\par\pard c})");
  EXPECT_EQ(document.defaultTabTwips, 709);
  const std::vector<TRichTabStop> expected = {
      {1000, TRichTabKind::Center}, {2835, TRichTabKind::Left}, {7000, TRichTabKind::Right}};
  EXPECT_EQ(ParagraphAt(document, 0).format.tabs, expected);
  EXPECT_TRUE(ParagraphAt(document, 1).format.tabs.empty());  // \pard clears them
  EXPECT_EQ(ReadRtf(R"({\rtf1\deftab0 x})").defaultTabTwips, kDefaultTabTwips);
}

TEST(RtfReaderTest, RowDefinitionsGiveCellEdgesBordersAndAlignment) {
  const char* rtf =
      R"({\rtf1{\colortbl;\red217\green217\blue217;\red255\green0\blue0;})"
      R"(\trowd\trgaph108\trleft-108\trqc\trpaddl100\trbrdrt\brdrs\brdrw30 )"
      R"(\clvertalc\clbrdrt\brdrs\brdrw10\clbrdrl\brdrdb\brdrw5\brdrcf2\clcbpat1\clpadl28\cellx2000)"
      R"(\clvertalb\clbrdrb\brdrnone\cellx5000)"
      R"(\pard\intbl a\cell b\cell\row})";
  const TRichTextDocument document = ReadRtf(rtf);
  const TRichTable& table = std::get<TRichTable>(document.blocks.at(0));
  const TRichRowFormat& row = table.rows.at(0).format;
  EXPECT_EQ(row.leftEdge, -108);
  EXPECT_EQ(row.halfGap, 108);
  EXPECT_EQ(row.paddingLeft, 100);
  EXPECT_EQ(row.paddingRight, kUnsetPadding);
  EXPECT_EQ(row.alignment, TRichAlignment::Center);
  const TRichCellFormat& first = table.rows[0].cells.at(0).format;
  EXPECT_EQ(first.rightEdge, 2000);
  EXPECT_EQ(first.verticalAlignment, TRichCellAlignment::Center);
  EXPECT_EQ(first.top, (TRichBorder{TRichBorderStyle::Single, 10, kAutoColor}));
  EXPECT_EQ(first.left, (TRichBorder{TRichBorderStyle::Double, 5, 0xFF0000}));
  EXPECT_EQ(first.bottom.style, TRichBorderStyle::None);  // never declared
  EXPECT_EQ(first.background, 0xD9D9D9);
  EXPECT_EQ(first.paddingLeft, 28);
  const TRichCellFormat& second = table.rows[0].cells.at(1).format;
  EXPECT_EQ(second.rightEdge, 5000);
  EXPECT_EQ(second.verticalAlignment, TRichCellAlignment::Bottom);
  EXPECT_EQ(second.bottom.style, TRichBorderStyle::None);  // \brdrnone
  EXPECT_EQ(second.top.style, TRichBorderStyle::None);     // a row's border is not a cell's
}

TEST(RtfReaderTest, ParagraphBordersDoNotLeakIntoCells) {
  const char* rtf = R"({\rtf1\trowd\clbrdrt\brdrs\cellx1000\pard\intbl\brdrt\brdrdb\brdrw40 a\cell\row})";
  const TRichTextDocument document = ReadRtf(rtf);
  const TRichTable& table = std::get<TRichTable>(document.blocks.at(0));
  EXPECT_EQ(table.rows[0].cells[0].format.top, (TRichBorder{TRichBorderStyle::Single, 0, kAutoColor}));
}

TEST(RtfReaderTest, FontNamesSurviveGroupsInsideTheirEntry) {
  // Word writes {\*\panose ...} before the name, LibreOffice {\*\falt ...} after it.
  const TRichTextDocument document = ReadRtf(
      R"({\rtf1{\fonttbl{\f0\froman{\*\panose 02020603050405020304}Times New Roman;})"
      R"({\f1\fswiss Liberation Sans{\*\falt Arial};}{\f2 Courier New}}\f1 x})");
  const std::vector<std::u16string> expected = {u"Times New Roman", u"Liberation Sans", u"Courier New"};
  EXPECT_EQ(document.fonts, expected);
  EXPECT_EQ(RunAt(document, 0, 0).format.font, 1);
}

TEST(RtfReaderTest, DeviceIndependentBitmapsBecomeBmpFilesAndMetafilesKeepTheirSize) {
  // A 1x1 24-bit bitmap: 40-byte info header, then one padded row.
  const char* rtf = R"({\rtf1{\pict\dibitmap0\picwgoal300\pichgoal300 )"
                    R"(28000000010000000100000001001800000000000400000000000000000000000000000000000000)"
                    R"(0000ff00}{\pict\emfblip\picw2540\pich1270 0100}{\pict\wmetafile8\picwgoal0\pichgoal0 01}})";
  const TRichTextDocument document = ReadRtf(rtf);
  ASSERT_EQ(document.pictures.size(), 3u);
  const TRichPicture& bitmap = document.pictures[0];
  EXPECT_EQ(bitmap.kind, TRichPictureKind::Bitmap);
  ASSERT_EQ(bitmap.data.size(), 14u + 44u);
  EXPECT_EQ(bitmap.data.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<unsigned char>(bitmap.data[10]), 14 + 40);  // the pixels follow the headers
  const TRichPicture& emf = document.pictures[1];
  EXPECT_EQ(emf.kind, TRichPictureKind::Metafile);
  EXPECT_TRUE(emf.data.empty());
  EXPECT_EQ(emf.widthTwips, 1440);  // 2540 hundredths of a millimetre
  EXPECT_EQ(emf.heightTwips, 720);
  EXPECT_EQ(document.pictures[2].widthTwips, 0);
}
