#include "LxDateTime.h"

#include <gtest/gtest.h>

#include "LxExcept.h"

TEST(DateTime, DayZeroIsThirtiethOfDecember1899) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(2025, 1, 1), 45658.0);
  EXPECT_EQ(EncodeDate(2000, 2, 29), 36585.0);
}

TEST(DateTime, TextShowsTheTimeUnlessMidnight) {
  EXPECT_EQ(DateTimeToStr(45658.0), "01/01/2025");
  EXPECT_EQ(DateTimeToStr(45658.75), "01/01/2025 18:00:00");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 5, 12) + EncodeTime(0, 0, 1)), "12/05/2024 00:00:01");
  EXPECT_EQ(DateToStr(45658.75), "01/01/2025");
}

TEST(DateTime, DecodingRoundsToTheNearestMillisecond) {
  const TDateParts noon = DecodeDateTime(45658.5 - 1e-12);
  EXPECT_EQ(noon.Hour, 12);
  EXPECT_EQ(noon.Minute, 0);
  EXPECT_EQ(noon.Second, 0);
  // Just before midnight rounds over into the next day.
  const TDateParts next = DecodeDateTime(45659.0 - 1e-10);
  EXPECT_EQ(next.Day, 2);
  EXPECT_EQ(next.Hour, 0);
}

TEST(DateTime, TextRoundTripKeepsSeconds) {
  for (const char* text : {"29/02/2024 23:59:59", "01/01/1900", "31/12/2099 00:00:01", "15/08/1985 07:05:09",
                           "02/01/0200 08:30:00", "29/12/1899 06:00:00", "01/01/0001 00:00:01"}) {
    EXPECT_EQ(DateTimeToStr(StrToDateTime(text)), text);
  }
}

TEST(DateTime, TimeOfDayCountsAwayFromZeroBeforeDayZero) {
  EXPECT_EQ(CombineDateAndTime(EncodeDate(1899, 12, 29), 0.25), -1.25);
  EXPECT_EQ(CombineDateAndTime(EncodeDate(1900, 1, 1), 0.25), 2.25);
  EXPECT_EQ(DateTimeToStr(CombineDateAndTime(EncodeDate(200, 1, 2), EncodeTime(8, 30, 0))), "02/01/0200 08:30:00");
}

TEST(DateTime, ParsingAcceptsShortFormsAndBlanks) {
  EXPECT_EQ(StrToDateTime(" 1/2/2024 "), EncodeDate(2024, 2, 1));
  EXPECT_EQ(StrToDateTime("01/02/24"), EncodeDate(2024, 2, 1));
  EXPECT_EQ(StrToDateTime("01/02/99"), EncodeDate(1999, 2, 1));
  EXPECT_EQ(StrToDateTime("01/02/2024 8:30"), EncodeDate(2024, 2, 1) + EncodeTime(8, 30, 0));
}

TEST(DateTime, BadTextRaisesAConvertError) {
  for (const char* text : {"", "31/02/2024", "2024-01-01", "01/13/2024", "1/1/2024 24:00:00", "1/1/2024 10",
                           "a/b/c", "01/01/2024 10:00:00:00", "01/01/20245", "01//2024"}) {
    try {
      StrToDateTime(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const ELxException& error) {
      EXPECT_EQ(error.ClassName(), "EConvertError");
      EXPECT_EQ(error.Message(), std::string("'") + text + "' não é uma data e hora válida");
    }
  }
}

TEST(DateTime, UnixTimeConversionRoundTrips) {
  const std::time_t moment = 1'700'000'000;
  EXPECT_EQ(LocalDateTimeToUnixTime(UnixTimeToLocalDateTime(moment)), moment);
}
