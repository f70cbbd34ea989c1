// Date values for the first-payment field: today's date and its text through a mask. The
// calendar arithmetic is the civil calendar of <chrono>, applied to fields as they are, so
// no time zone or summer time ever enters a date value; only CurrentDate looks at the
// machine's zone, to read the wall clock. Values are 64-bit, so dates after 2038 work.

#include "dates/dates.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ctime>

#include "dates/calendar.h"
#include "text/text_area.h"

namespace quentara {

namespace {

constexpr std::int64_t secondsPerDay = 86400;
constexpr DateValue largestDate = 253402300799;  // 9999-12-31 23:59:59
constexpr std::int32_t largestYear = 9999;

std::time_t SystemClock() {
  return std::time(nullptr);
}

ClockFunction clockNow = SystemClock;

// The parts of a date value that the mask tokens write; all 0 for a value before 1970 or
// after 9999.
struct DateParts {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::int32_t hour = 0;
  std::int32_t minute = 0;
  std::int32_t second = 0;
};

DateParts SplitDate(DateValue date) {
  DateParts parts;
  if (date < 0 || date > largestDate) return parts;
  using namespace std::chrono;
  sys_seconds moment{seconds{date}};
  sys_days day = floor<days>(moment);
  year_month_day ymd{day};
  hh_mm_ss time{moment - day};
  parts.year = static_cast<int>(ymd.year());
  parts.month = static_cast<std::int32_t>(static_cast<unsigned>(ymd.month()));
  parts.day = static_cast<std::int32_t>(static_cast<unsigned>(ymd.day()));
  parts.hour = static_cast<std::int32_t>(time.hours().count());
  parts.minute = static_cast<std::int32_t>(time.minutes().count());
  parts.second = static_cast<std::int32_t>(time.seconds().count());
  return parts;
}

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when `text` begins with `token` (lower case), ignoring the case of `text`. Stops at
// the first difference, so it never reads past the text's terminator.
bool StartsWithToken(const char* text, const char* token) {
  for (; *token != '\0'; ++text, ++token) {
    if (AsciiLower(*text) != *token) return false;
  }
  return true;
}

enum class DatePart { year, yearInCentury, month, day, hour, minute, second };

struct MaskToken {
  const char* letters;
  DatePart part;
};

// Tried in this order: "yyyy" must win over "yy".
constexpr MaskToken maskTokens[] = {
    {"yyyy", DatePart::year}, {"yy", DatePart::yearInCentury}, {"mm", DatePart::month},
    {"dd", DatePart::day},    {"hh", DatePart::hour},          {"ii", DatePart::minute},
    {"ss", DatePart::second},
};

// Writes into [position, limit), never past it; reading may be at the same place as
// writing as long as it is never behind it (every token is longer than what it writes).
class MaskWriter {
 public:
  MaskWriter(char* position, char* limit) : position_(position), limit_(limit) {}
  void Put(char c) {
    if (position_ < limit_) *position_++ = c;
  }
  void PutDigits(std::int32_t value, int count) {
    char digits[4];
    for (int i = count - 1; i >= 0; --i) {
      digits[i] = static_cast<char>('0' + value % 10);
      value /= 10;
    }
    for (int i = 0; i < count; ++i) Put(digits[i]);
  }
  char* Position() const { return position_; }

 private:
  char* position_;
  char* limit_;
};

void WritePart(MaskWriter& out, const DateParts& parts, DatePart part) {
  switch (part) {
    case DatePart::year:
      out.PutDigits(parts.year, 4);
      return;
    case DatePart::yearInCentury:
      out.PutDigits(parts.year % 100, 2);
      return;
    case DatePart::month:
      out.PutDigits(parts.month, 2);
      return;
    case DatePart::day:
      out.PutDigits(parts.day, 2);
      return;
    case DatePart::hour:
      out.PutDigits(parts.hour, 2);
      return;
    case DatePart::minute:
      out.PutDigits(parts.minute, 2);
      return;
    case DatePart::second:
      out.PutDigits(parts.second, 2);
      return;
  }
}

}  // namespace

void SetClock(ClockFunction clock) {
  clockNow = clock != nullptr ? clock : SystemClock;
}

DateValue CurrentDate() {
  std::time_t now = clockNow();
  // localtime_r need not look at the zone again once it has read it; the user may have
  // changed it since the program started.
  tzset();
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return noDate;
  // A leap second reads as the last second of its minute: a date value has no second 60.
  int second = local.tm_sec > 59 ? 59 : local.tm_sec;
  return ComposeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                     local.tm_min, second);
}

DateValue ComposeDate(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
                      std::int32_t minute, std::int32_t second) {
  if (!IsCalendarDate(year, month, day)) return noDate;
  if (second < 0 || second > 59 || minute < 0 || minute > 59) return noDate;
  if (hour < 0 || hour > 23) return noDate;
  // Checking the year first also keeps it within what the civil calendar type holds.
  if (year <= 0 || year > largestYear) return noDate;

  using namespace std::chrono;
  year_month_day ymd{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                     std::chrono::day{static_cast<unsigned>(day)}};
  std::int64_t days = sys_days{ymd}.time_since_epoch().count();
  const DateValue value = days * secondsPerDay + std::int64_t{hour} * 3600 + minute * 60 + second;
  return value < 0 ? noDate : value;
}

char* FormatDateMask(const char* mask, DateValue date, char* resultAt) {
  if (TextAreaRoom(resultAt) == 0) resultAt = TextAreaEnd();
  if (mask == nullptr || *mask == '\0') return WriteTextAt(resultAt, "", 0);

  // A mask built in the area is first moved to where the result begins; from there every
  // token is read before the shorter text that replaces it is written, so the result can be
  // produced in place.
  const char* read = mask;
  if (TextAreaRoom(mask) != 0 && mask != resultAt) {
    read = WriteTextAt(resultAt, mask, std::strlen(mask));
  }

  DateParts parts = SplitDate(date);
  MaskWriter out(resultAt, TextAreaLimit() - 1);
  while (*read != '\0') {
    if (*read != '%') {
      out.Put(*read++);
      continue;
    }
    const MaskToken* match = nullptr;
    for (const MaskToken& token : maskTokens) {
      if (StartsWithToken(read + 1, token.letters)) {
        match = &token;
        break;
      }
    }
    if (match == nullptr) {
      // Not a token: the "%" stands for itself and the next character is looked at anew.
      out.Put(*read++);
      continue;
    }
    std::size_t tokenLength = 1 + std::strlen(match->letters);
    read += tokenLength;
    WritePart(out, parts, match->part);
  }
  char* end = out.Position();
  *end = '\0';
  SetTextAreaEnd(end);
  return resultAt;
}

}  // namespace quentara
