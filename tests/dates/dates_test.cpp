#include "dates/dates.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <limits>
#include <string>

#include "tests/dates/clock_guards.h"
#include "text/text_area.h"

namespace quentara {
namespace {

using testing::FixedClock;
using testing::TimeZoneGuard;

constexpr DateValue march7th = 1078650302;  // 2004-03-07 09:05:02

struct ComposeRow {
  std::int32_t year, month, day, hour, minute, second;
  DateValue value;
};

constexpr ComposeRow composeRows[] = {
    {2004, 3, 7, 9, 5, 2, march7th},
    {1970, 1, 1, 0, 0, 0, 0},
    {1969, 12, 31, 23, 59, 59, -1},
    {2038, 1, 19, 3, 14, 7, 2147483647},
    {2038, 1, 19, 3, 14, 8, 2147483648},
    {2200, 12, 31, 0, 0, 0, 7289568000},
    {9999, 12, 31, 23, 59, 59, 253402300799},
    {10000, 1, 1, 0, 0, 0, -1},
    {2004, 2, 29, 0, 0, 0, 1078012800},
    {2000, 2, 29, 0, 0, 0, 951782400},
    {2003, 2, 29, 0, 0, 0, -1},
    {1900, 2, 29, 0, 0, 0, -1},
    {2004, 2, 30, 0, 0, 0, -1},
    {2004, 4, 31, 0, 0, 0, -1},
    {2004, 11, 31, 0, 0, 0, -1},
    {2004, 5, 31, 0, 0, 0, 1085961600},
    {2004, 1, 32, 0, 0, 0, -1},
    {2004, 1, 0, 0, 0, 0, -1},
    {2004, 13, 1, 0, 0, 0, -1},
    {2004, 0, 1, 0, 0, 0, -1},
    {2004, 1, 1, 24, 0, 0, -1},
    {2004, 1, 1, 0, 60, 0, -1},
    {2004, 1, 1, 0, 0, -1, -1},
    {0, 1, 1, 0, 0, 0, -1},
    {std::numeric_limits<std::int32_t>::max(), 1, 1, 0, 0, 0, -1},
};

TEST(ComposeDate, CountsZoneFreeSecondsOrGivesNoDate) {
  for (const ComposeRow& row : composeRows) {
    EXPECT_EQ(ComposeDate(row.year, row.month, row.day, row.hour, row.minute, row.second),
              row.value)
        << row.year << "-" << row.month << "-" << row.day << " " << row.hour << ":" << row.minute
        << ":" << row.second;
  }
}

struct MaskRow {
  const char* mask;
  DateValue date;
  const char* text;
};

constexpr DateValue christmas = 1103932800;  // 2004-12-25 00:00:00

constexpr MaskRow maskRows[] = {
    {"%mm/%dd/%yyyy", march7th, "03/07/2004"},
    {"%MM/%DD/%YYYY", march7th, "03/07/2004"},
    {"%hh:%ii:%ss", march7th, "09:05:02"},
    {"%Hh:%iI:%sS", 1078703999, "23:59:59"},
    {"%dd.%mm.%yy", christmas, "25.12.04"},
    {"%yyy", march7th, "04y"},
    {"%yyyyy", march7th, "2004y"},
    {"100%", march7th, "100%"},
    {"%x", march7th, "%x"},
    {"%%dd", march7th, "%07"},
    {"%m%", march7th, "%m%"},
    {"", march7th, ""},
    {nullptr, march7th, ""},
    {"%mm/%dd", -1, "00/00"},
    {"%yyyy %yy %hh%ii%ss", -1, "0000 00 000000"},
    {"%dd/%mm/%yyyy", 0, "01/01/1970"},
    {"%yyyy-%mm-%dd %hh:%ii:%ss", 2147483647, "2038-01-19 03:14:07"},
    {"%yyyy-%mm-%dd %hh:%ii:%ss", 2147483648, "2038-01-19 03:14:08"},
    {"%yyyy-%mm-%dd %hh:%ii:%ss", 253402300799, "9999-12-31 23:59:59"},
    {"%yyyy-%mm-%dd %hh:%ii:%ss", 253402300800, "0000-00-00 00:00:00"},
};

TEST(FormatDateMask, ReplacesTokensInTableOrder) {
  for (const MaskRow& row : maskRows) {
    SetTextAreaEnd(TextAreaStart());
    char* text = FormatDateMask(row.mask, row.date);
    EXPECT_EQ(text, TextAreaStart());
    EXPECT_STREQ(text, row.text) << (row.mask ? row.mask : "absent");
    EXPECT_EQ(TextAreaEnd(), text + std::string(row.text).size());
  }
}

TEST(FormatDateMask, MaskBuiltInTheAreaIsReplacedByItsResult) {
  char* start = TextAreaStart();
  SetTextAreaEnd(start);
  char* mask = AppendText("%mm/%dd/%yyyy");
  SkipTextAreaTerminator();
  EXPECT_STREQ(FormatDateMask(mask, march7th, start), "03/07/2004");

  // A mask built further on, behind a result position before it.
  SetTextAreaEnd(start + 40);
  mask = AppendText("%yyyy!");
  SkipTextAreaTerminator();
  EXPECT_STREQ(FormatDateMask(mask, march7th, start + 1), "2004!");
  EXPECT_EQ(TextAreaEnd(), start + 6);
}

TEST(FormatDateMask, OverlongMaskIsCutAtTheAreaEnd) {
  std::string mask(textAreaSize + 10, 'x');
  SetTextAreaEnd(TextAreaStart());
  EXPECT_EQ(std::string(FormatDateMask(mask.c_str(), march7th)).size(), textAreaSize - 1);
  EXPECT_EQ(TextAreaEnd(), TextAreaLimit() - 1);
}

// A date value counts the seconds of the local wall clock's fields as if they were UTC, so
// CurrentDate() minus the seconds since 1970 is the zone's offset from UTC at the moment.
TEST(CurrentDate, ReadsTheLocalWallClockInEveryZone) {
  struct Zone {
    const char* rule;
    std::int32_t standardOffset;
    std::int32_t summerOffset;  // the same as standardOffset for a zone without summer time
  };
  for (const Zone zone :
       {Zone{"UTC0", 0, 0}, Zone{"<+14>-14", 50400, 50400}, Zone{"<-12>12", -43200, -43200},
        Zone{"<+0545>-5:45", 20700, 20700}, Zone{"EST5EDT,M3.2.0,M11.1.0", -18000, -14400},
        Zone{"<-0330>3:30<-0230>,M3.2.0,M11.1.0", -12600, -9000}}) {
    TimeZoneGuard guard(zone.rule);
    std::int64_t offset = 0;
    for (std::time_t before = 0; before != std::time(nullptr);) {  // both within one second
      before = std::time(nullptr);
      offset = std::int64_t{CurrentDate()} - before;
    }
    EXPECT_TRUE(offset == zone.standardOffset || offset == zone.summerOffset)
        << zone.rule << ": " << offset;
  }
}

// Today's date as the form presets it, for clocks past the 32-bit count of seconds.
TEST(CurrentDate, GivesTodayUpToTheYear2200AndBeyond) {
  const struct {
    std::time_t now;  // seconds since 1970 UTC
    const char* zone;
    const char* today;
  } rows[] = {
      {2147601600, "UTC0", "01/20/2038"},      // 2038-01-20 12:00 UTC
      {7289652600, "UTC0", "12/31/2200"},      // 2200-12-31 23:30 UTC
      {7289652600, "<+14>-14", "01/01/2201"},  // the next day already, 14 hours east
  };
  for (const auto& row : rows) {
    TimeZoneGuard zone(row.zone);
    FixedClock clock(row.now);
    SetTextAreaEnd(TextAreaStart());
    EXPECT_STREQ(FormatDateMask("%mm/%dd/%yyyy", CurrentDate()), row.today) << row.now;
    SetTextAreaEnd(TextAreaStart());
  }
}

TEST(CurrentDate, ZonesFarApartGiveValuesADayApart) {
  auto dateIn = [](const char* zone) {
    TimeZoneGuard guard(zone);
    return CurrentDate();
  };
  DateValue east = noDate;
  DateValue west = noDate;
  std::time_t before = 0;
  do {
    before = std::time(nullptr);
    east = dateIn("<+14>-14");
    west = dateIn("<-12>12");
  } while (std::time(nullptr) != before);
  EXPECT_EQ(east - west, 26 * 3600);
}

}  // namespace
}  // namespace quentara
