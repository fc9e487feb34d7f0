#include <gtest/gtest.h>

#include "RtfCodePages.h"
#include "RtfFieldInstruction.h"

TEST(RtfFieldInstructionTest, HyperlinkTargetsAsWordAndLibreOfficeWriteThem) {
  EXPECT_EQ(HyperlinkTarget(u" HYPERLINK \"http://www.sefaz.gov.br/x\" "), "http://www.sefaz.gov.br/x");
  EXPECT_EQ(HyperlinkTarget(u"hyperlink http://a.b/c"), "http://a.b/c");
  EXPECT_EQ(HyperlinkTarget(u"HYPERLINK \\l \"art5\""), "#art5");
  EXPECT_EQ(HyperlinkTarget(u"HYPERLINK \"doc.htm\" \\l \"art5\" \\o \"ver artigo\""), "doc.htm#art5");
  EXPECT_EQ(HyperlinkTarget(u"HYPERLINK \\o \"dica\" \"doc.htm\""), "doc.htm");
  EXPECT_EQ(HyperlinkTarget(u"HYPERLINK \"C:\\\\Leis\\\\lei.doc\""), "C:\\Leis\\lei.doc");
  EXPECT_EQ(HyperlinkTarget(u"HYPERLINK \"http://x/a\u00e7\u00e3o\""), "http://x/a\xC3\xA7\xC3\xA3o");
}

TEST(RtfFieldInstructionTest, OtherFieldsAndBrokenInstructionsHaveNoTarget) {
  EXPECT_FALSE(HyperlinkTarget(u"PAGE \\* MERGEFORMAT"));
  EXPECT_FALSE(HyperlinkTarget(u""));
  EXPECT_FALSE(HyperlinkTarget(u"HYPERLINKX \"a\""));
  EXPECT_EQ(HyperlinkTarget(u"HYPERLINK \"sem fim"), "sem fim");
  EXPECT_EQ(HyperlinkTarget(u"HYPERLINK \\l"), "");
  EXPECT_EQ(HyperlinkTarget(u"HYPERLINK \"a\\"), "a\\");
}

TEST(RtfCodePagesTest, CharsetsNameTheirCodePages) {
  EXPECT_EQ(CodePageOfCharset(0), 1252);
  EXPECT_EQ(CodePageOfCharset(238), 1250);
  EXPECT_EQ(CodePageOfCharset(204), 1251);
  EXPECT_EQ(CodePageOfCharset(1), 0);
  EXPECT_EQ(CodePageOfCharset(9999), 0);
}

TEST(RtfCodePagesTest, BytesDecodeInTheirPage) {
  EXPECT_EQ(DecodeCodePageByte(1252, 0x80), u'\u20AC');
  EXPECT_EQ(DecodeCodePageByte(1250, 0x8A), u'\u0160');
  EXPECT_EQ(DecodeCodePageByte(1250, 0xB3), u'\u0142');
  EXPECT_EQ(DecodeCodePageByte(1251, 0xC0), u'\u0410');
  EXPECT_EQ(DecodeCodePageByte(437, 0x80), u'\u00C7');
  EXPECT_EQ(DecodeCodePageByte(850, 0xC6), u'\u00E3');
  EXPECT_EQ(DecodeCodePageByte(1250, 0x81), u'\u0081');  // undefined: the C1 control
  EXPECT_EQ(DecodeCodePageByte(932, 0xE3), u'\u00E3');   // unknown page: read as 1252
  EXPECT_EQ(DecodeCodePageByte(1251, 'A'), u'A');
}
