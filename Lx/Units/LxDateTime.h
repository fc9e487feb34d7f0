#pragma once

#include <ctime>
#include <string>
#include <string_view>

// Date-times are doubles counting days since 30 December 1899; the fraction is
// the time of day. 0.0 is 30/12/1899 00:00:00, 45658.5 is 01/01/2025 12:00:00.
using TDateTime = double;

struct TDateParts {
  int Year = 1899, Month = 12, Day = 30;
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

// Whole days since 30/12/1899 for a calendar date (proleptic Gregorian).
// Raises ELxException when the date does not exist (31/02/2020).
TDateTime EncodeDate(int year, int month, int day);
// The fraction of a day for a time of day; raises for 24:00:00 and the like.
TDateTime EncodeTime(int hour, int minute, int second, int millisecond = 0);
TDateTime EncodeDateTime(const TDateParts& parts);
// A whole-day date plus a time of day. Before 30/12/1899 the day count is
// negative and the time still counts away from zero: 29/12/1899 06:00 is
// -1.25, not -0.75. Adding the two directly is wrong for such dates.
TDateTime CombineDateAndTime(TDateTime date, TDateTime timeOfDay);

// Splits a date-time into its calendar parts. The time of day is rounded to
// the nearest millisecond, so 0.5 - 1e-12 still reads as 12:00:00.000.
TDateParts DecodeDateTime(TDateTime value);

// The text form used in every file and message:
//   45658.0 gives "01/01/2025", 45658.75 gives "01/01/2025 18:00:00".
// The time is shown unless hours, minutes and seconds are all zero.
std::string DateTimeToStr(TDateTime value);
// The same text appended to `text`, for writers that build long lines.
void AppendDateTimeText(std::string& text, TDateTime value);
// Only the date part: 45658.75 gives "01/01/2025".
std::string DateToStr(TDateTime value);

// Reads the text form back: "d/m/yyyy", optionally followed by "h:n" or
// "h:n:s"; blanks around the text are ignored. A two-digit year counts in the
// 1950..2049 window. Anything else raises ELxException with class name
// "EConvertError" and the message "'%s' não é uma data e hora válida".
TDateTime StrToDateTime(std::string_view text);

// The current local date-time.
TDateTime Now();
// A moment of the system clock (seconds since the Unix epoch) as a local date-time.
TDateTime UnixTimeToLocalDateTime(std::time_t seconds);
// The reverse, for setting file times from a local date-time.
std::time_t LocalDateTimeToUnixTime(TDateTime value);
