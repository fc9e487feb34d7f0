// The plain body of a document: properties, content and links.

#include <gtest/gtest.h>

#include "LxMemoryStream.h"
#include "TOMODocumentBody.h"

namespace {

TTOMODocumentBody Read(const std::string& bytes) {
  TLxMemoryStream stream(bytes);
  return ReadDocumentBody(stream);
}

}  // namespace

TEST(DocumentBody, WrittenBodyReadsBackWithItsLinksAndTheirVersions) {
  const std::vector<TBodyLink> links = {{false, {0, 10, 4, 77, ""}},
                                        {true, {2, 20, 3, 0, "http://x.br/a b,c"}}};
  TLxMemoryStream stream;
  WriteDocumentBody(stream, EncodeDate(2003, 2, 1), "{\\rtf1 texto}", links, "; notas");
  stream.SetPosition(0);
  const TTOMODocumentBody body = ReadDocumentBody(stream);
  EXPECT_EQ(body.Values.Values("data"), "01/02/2003");
  EXPECT_EQ(body.Content, "{\\rtf1 texto}");
  EXPECT_EQ(body.Hyperlinks, links);
  EXPECT_NE(stream.Bytes().find("Hyperlinks\r\n; notas\r\n\r\nv2,0,10,4,77\r\nv1,2,20"), std::string::npos);
}

TEST(DocumentBody, ReadsAHandWrittenLinkSection) {
  const TTOMODocumentBody body = Read(
      "Data: 01/02/2003\r\nTamanho: 5\r\n\r\nabcde rest of line\r\nhyperlinks\r\nskipped\r\n\r\n"
      "v1,3,10,4,12\r\nv3,1,1,1,1\r\nv2,0,99,2,0,\"http://a.b/\"\r\n\r\nv2,0,0,0,5\r\n");
  EXPECT_EQ(body.Content, "abcde");
  ASSERT_EQ(body.Hyperlinks.size(), 2u);
  EXPECT_EQ(body.Hyperlinks[0], (TBodyLink{true, {3, 10, 4, 12, ""}}));
  EXPECT_FALSE(body.Hyperlinks[1].Version1);
  EXPECT_EQ(body.Hyperlinks[1].Record.URL, "http://a.b/");
}

// A body the view could not show is refused whole, whoever reads it.
TEST(DocumentBody, DamagedLinkLinesRaiseClearErrors) {
  const std::string head = "Tamanho: 1\r\n\r\nx\r\nHyperlinks\r\n\r\n";
  EXPECT_THROW(Read(head + "v2,1\r\n"), ELxException);
  EXPECT_THROW(Read(head + "v2,0,1x,2,3\r\n"), ELxException);
  EXPECT_THROW(Read(head + "v1,,1,2,3\r\n"), ELxException);
  EXPECT_THROW(Read(head + "v2,0,1,2,99999999999\r\n"), ELxException);
  EXPECT_NO_THROW(Read(head + "v9,whatever\r\n"));
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

TEST(HyperlinkLine, TagsNumbersAndRoundTrip) {
  EXPECT_EQ(ParseHyperlinkLine("v2,0,120,9,5531"), (TBodyLink{false, {0, 120, 9, 5531, ""}}));
  EXPECT_FALSE(ParseHyperlinkLine("V2,0,120,9,5531"));  // tags compare exactly
  EXPECT_FALSE(ParseHyperlinkLine(""));
  try {
    ParseHyperlinkLine("v1,x,-1,9,1");
    FAIL() << "a number field that is not a number must raise";
  } catch (const ELxException& error) {
    EXPECT_STREQ(error.what(), "'x' não é um valor inteiro válido");
  }
  EXPECT_EQ(ParseHyperlinkLine("v1,0,-1,9,1")->Record.Position, -1);  // placing it is the view's business
  const TBodyLink link{true, {1, 2, 3, 4, "http://s/\"q\""}};
  EXPECT_EQ(ParseHyperlinkLine(FormatHyperlinkLine(link)), link);
}
