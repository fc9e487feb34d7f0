// The plain body of a document: properties, content and links.

#include <gtest/gtest.h>

#include "TOMODocumentBody.h"

namespace {

TTOMODocumentBody Read(const std::string& bytes) {
  TLxMemoryStream stream(bytes);
  return ReadDocumentBody(stream);
}

}  // namespace

TEST(DocumentBody, WrittenBodyReadsBackWithItsLinks) {
  const std::vector<TTOMOHyperlinkRecord> links = {{0, 10, 4, 77, ""}, {0, 20, 3, 0, "http://x.br/a b,c"}};
  TLxMemoryStream stream;
  WriteDocumentBody(stream, EncodeDate(2003, 2, 1), "{\\rtf1 texto}", links);
  stream.SetPosition(0);
  const TTOMODocumentBody body = ReadDocumentBody(stream);
  EXPECT_EQ(body.Values.Values("data"), "01/02/2003");
  EXPECT_EQ(body.Content, "{\\rtf1 texto}");
  EXPECT_EQ(body.Hyperlinks, links);
}

TEST(DocumentBody, ReadsAHandWrittenLinkSection) {
  const TTOMODocumentBody body = Read(
      "Data: 01/02/2003\r\nTamanho: 5\r\n\r\nabcde rest of line\r\nhyperlinks\r\nskipped\r\n\r\n"
      "v1,3,10,4,12\r\nv3,1,1,1,1\r\nv2,0,99,2,0,\"http://a.b/\"\r\nv2,1\r\n\r\nv2,0,0,0,5\r\n");
  EXPECT_EQ(body.Content, "abcde");
  ASSERT_EQ(body.Hyperlinks.size(), 2u);
  EXPECT_EQ(body.Hyperlinks[0], (TTOMOHyperlinkRecord{3, 10, 4, 12, ""}));
  EXPECT_EQ(body.Hyperlinks[1].URL, "http://a.b/");
}

TEST(DocumentBody, WithoutPropertiesEverythingIsContent) {
  EXPECT_EQ(Read("\r\nBM raw bitmap\r\nHyperlinks\r\n").Content, "BM raw bitmap\r\nHyperlinks\r\n");
}

TEST(DocumentBody, BadOrLyingSizesRaiseClearErrors) {
  EXPECT_THROW(Read("Tamanho: abc\r\n\r\nx"), ELxException);
  EXPECT_THROW(Read("Tamanho: -1\r\n\r\nx"), ELxException);
  EXPECT_THROW(Read("Data: 1/1/2000\r\n\r\nx"), ELxException);  // no size at all
  EXPECT_THROW(Read("Tamanho: 99999999999\r\n\r\nx"), ELxException);
  EXPECT_THROW(Read("Tamanho: 2000000000\r\n\r\nshort"), ELxReadError);
}

TEST(HyperlinkLine, TagsAndMissingItems) {
  EXPECT_EQ(ParseHyperlinkLine("v2,0,120,9,5531"), (TTOMOHyperlinkRecord{0, 120, 9, 5531, ""}));
  EXPECT_FALSE(ParseHyperlinkLine("V2,0,120,9,5531"));
  EXPECT_FALSE(ParseHyperlinkLine("v2,0,120,9"));
  EXPECT_EQ(ParseHyperlinkLine("v1,x,-1,9,1")->Line, 0);
  const TTOMOHyperlinkRecord link{1, 2, 3, 4, "http://s/\"q\""};
  EXPECT_EQ(ParseHyperlinkLine(FormatHyperlinkLine(link, kHyperlinkVersion1)), link);
}
