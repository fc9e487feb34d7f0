#include <gtest/gtest.h>

#include "RichTextPlainText.h"
#include "RichTextTestSupport.h"

// Documents that word processors wrote: the plain text must yield exactly the
// words that the word processor itself shows, in the same order.
TEST(RtfFixtureTest, PlainTextHasTheWordsTheWordProcessorShows) {
  const std::vector<std::string> names = RtfFixtureNames();
  ASSERT_GE(names.size(), 4u);
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const std::vector<std::string> expected = WordsOf(ReadExpectedText(name));
    const std::vector<std::string> actual = WordsOf(RtfToPlainText(ReadRtfFixture(name)));
    EXPECT_GT(expected.size(), 20u);
    EXPECT_EQ(actual, expected);
  }
}
