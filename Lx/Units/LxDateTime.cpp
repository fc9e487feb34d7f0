#include "LxDateTime.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <vector>

#include "LxExcept.h"

namespace {

constexpr int64_t kMillisecondsPerDay = 86'400'000;
// Days from 1970-01-01 (the epoch of the civil-day formulas) back to 1899-12-30.
constexpr int64_t kUnixEpochInDays = 25569;

// Days since 1970-01-01 for a Gregorian date (Howard Hinnant's days_from_civil).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

bool IsValidTime(int hour, int minute, int second, int millisecond) {
  return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 &&
         millisecond >= 0 && millisecond < 1000;
}

[[noreturn]] void RaiseInvalidDateTime(std::string_view text) {
  throw ELxException(FormatMessage("'%.*s' não é uma data e hora válida",
                                   static_cast<int>(text.size()), text.data()),
                     "EConvertError");
}

// Splits "12/05/2024" on `separator` into numbers; false unless every piece is
// a run of 1..4 digits.
bool SplitNumbers(std::string_view text, char separator, std::vector<int>& numbers) {
  numbers.clear();
  size_t start = 0;
  while (true) {
    const size_t end = text.find(separator, start);
    const std::string_view piece = text.substr(start, end == std::string_view::npos ? end : end - start);
    if (piece.empty() || piece.size() > 4) return false;
    int value = 0;
    const auto [ptr, error] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
    if (error != std::errc() || ptr != piece.data() + piece.size()) return false;
    numbers.push_back(value);
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

TDateTime EncodeDate(int year, int month, int day) {
  if (!IsValidDate(year, month, day)) {
    throw ELxException(FormatMessage("Data inválida: %02d/%02d/%04d", day, month, year), "EConvertError");
  }
  return static_cast<double>(DaysFromCivil(year, month, day) + kUnixEpochInDays);
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  if (!IsValidTime(hour, minute, second, millisecond)) {
    throw ELxException(FormatMessage("Hora inválida: %02d:%02d:%02d", hour, minute, second), "EConvertError");
  }
  const int64_t ms = ((hour * 60 + minute) * 60 + second) * 1000LL + millisecond;
  return static_cast<double>(ms) / kMillisecondsPerDay;
}

TDateTime EncodeDateTime(const TDateParts& p) {
  const TDateTime date = EncodeDate(p.Year, p.Month, p.Day);
  return CombineDateAndTime(date, EncodeTime(p.Hour, p.Minute, p.Second, p.Millisecond));
}

TDateTime CombineDateAndTime(TDateTime date, TDateTime timeOfDay) {
  return date < 0 ? date - timeOfDay : date + timeOfDay;
}

TDateParts DecodeDateTime(TDateTime value) {
  int64_t days = static_cast<int64_t>(std::trunc(value));
  int64_t ms = std::llround(std::fabs(value - std::trunc(value)) * kMillisecondsPerDay);
  if (ms >= kMillisecondsPerDay) {  // rounding reached the next midnight
    ms -= kMillisecondsPerDay;
    days += value < 0 ? -1 : 1;
  }
  TDateParts parts;
  CivilFromDays(days - kUnixEpochInDays, parts.Year, parts.Month, parts.Day);
  parts.Millisecond = static_cast<int>(ms % 1000);
  parts.Second = static_cast<int>(ms / 1000 % 60);
  parts.Minute = static_cast<int>(ms / 60'000 % 60);
  parts.Hour = static_cast<int>(ms / 3'600'000);
  return parts;
}

namespace {

// Years of four digits are written digit by digit: an index file holds
// hundreds of thousands of dates, and printf took most of the time of
// writing one. Other years keep printf's "%04d" form.
constexpr int kLastFourDigitYear = 9999;

char* PutTwoDigits(char* out, int value) {
  *out++ = static_cast<char>('0' + value / 10);
  *out++ = static_cast<char>('0' + value % 10);
  return out;
}

void AppendDateParts(std::string& text, const TDateParts& p, bool withTime) {
  if (p.Year < 0 || p.Year > kLastFourDigitYear) {
    text += FormatMessage("%02d/%02d/%04d", p.Day, p.Month, p.Year);
    if (withTime) text += FormatMessage(" %02d:%02d:%02d", p.Hour, p.Minute, p.Second);
    return;
  }
  char buffer[sizeof "dd/mm/yyyy hh:nn:ss"];
  char* out = PutTwoDigits(buffer, p.Day);
  *out++ = '/';
  out = PutTwoDigits(out, p.Month);
  *out++ = '/';
  out = PutTwoDigits(PutTwoDigits(out, p.Year / 100), p.Year % 100);
  if (withTime) {
    *out++ = ' ';
    out = PutTwoDigits(out, p.Hour);
    *out++ = ':';
    out = PutTwoDigits(out, p.Minute);
    *out++ = ':';
    out = PutTwoDigits(out, p.Second);
  }
  text.append(buffer, static_cast<std::size_t>(out - buffer));
}

}  // namespace

void AppendDateTimeText(std::string& text, TDateTime value) {
  const TDateParts p = DecodeDateTime(value);
  AppendDateParts(text, p, p.Hour != 0 || p.Minute != 0 || p.Second != 0);
}

std::string DateToStr(TDateTime value) {
  std::string text;
  AppendDateParts(text, DecodeDateTime(value), false);
  return text;
}

std::string DateTimeToStr(TDateTime value) {
  std::string text;
  AppendDateTimeText(text, value);
  return text;
}

TDateTime StrToDateTime(std::string_view original) {
  const std::string_view text = TrimBlanks(original);
  const size_t blank = text.find(' ');
  const std::string_view datePart = text.substr(0, blank);
  const std::string_view timePart =
      blank == std::string_view::npos ? std::string_view() : TrimBlanks(text.substr(blank));

  std::vector<int> date;
  if (!SplitNumbers(datePart, '/', date) || date.size() != 3) RaiseInvalidDateTime(original);
  TDateParts parts;
  parts.Day = date[0];
  parts.Month = date[1];
  parts.Year = date[2];
  const size_t yearDigits = datePart.size() - datePart.rfind('/') - 1;
  if (yearDigits <= 2) parts.Year += parts.Year < 50 ? 2000 : 1900;
  if (!IsValidDate(parts.Year, parts.Month, parts.Day)) RaiseInvalidDateTime(original);

  parts.Hour = parts.Minute = parts.Second = 0;
  if (!timePart.empty()) {
    std::vector<int> time;
    if (!SplitNumbers(timePart, ':', time) || time.size() < 2 || time.size() > 3) {
      RaiseInvalidDateTime(original);
    }
    parts.Hour = time[0];
    parts.Minute = time[1];
    parts.Second = time.size() == 3 ? time[2] : 0;
    if (!IsValidTime(parts.Hour, parts.Minute, parts.Second, 0)) RaiseInvalidDateTime(original);
  }
  return EncodeDateTime(parts);
}

TDateTime UnixTimeToLocalDateTime(std::time_t seconds) {
  std::tm local{};
  localtime_r(&seconds, &local);
  TDateParts parts;
  parts.Year = local.tm_year + 1900;
  parts.Month = local.tm_mon + 1;
  parts.Day = local.tm_mday;
  parts.Hour = local.tm_hour;
  parts.Minute = local.tm_min;
  parts.Second = local.tm_sec == 60 ? 59 : local.tm_sec;  // a leap second reads as :59
  parts.Millisecond = 0;
  return EncodeDateTime(parts);
}

std::time_t LocalDateTimeToUnixTime(TDateTime value) {
  const TDateParts p = DecodeDateTime(value);
  std::tm local{};
  local.tm_year = p.Year - 1900;
  local.tm_mon = p.Month - 1;
  local.tm_mday = p.Day;
  local.tm_hour = p.Hour;
  local.tm_min = p.Minute;
  local.tm_sec = p.Second;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

TDateTime Now() {
  const std::time_t seconds = std::time(nullptr);
  return UnixTimeToLocalDateTime(seconds);
}
