#include "watch/history_csv.h"

#include <gtest/gtest.h>

#include <string>

#include "base/gbk.h"
#include "tests/support/scoped_time_zone.h"
#include "watch/iso_date_time.h"

namespace umbra {
namespace {

class HistoryCsvTest : public ::testing::Test {
 protected:
  test::ScopedTimeZone zone_{test::kChinaTime};
  HistoryLog log_ = ReadHistoryText(Utf8ToGbk(
      "2026/12/11 3:41:30-----在线!\r\n2026/12/11 4:00:00-----隐身中!\r\n"
      "2026年12月11日 05时00分00秒-----上线了!!!\r\n"));
};

TEST_F(HistoryCsvTest, SessionsHaveStartEndAndSecondsAndAnOpenOneHasNoEnd) {
  EXPECT_EQ(SessionsCsvHeader() + SessionsCsvRows("10001", OnlineSessions(log_.events)),
            "number,start,end,seconds\r\n"
            "10001,2026-12-11T03:41:30+08:00,2026-12-11T04:00:00+08:00,1110\r\n"
            "10001,2026-12-11T05:00:00+08:00,,\r\n");
}

TEST_F(HistoryCsvTest, EventsHaveTheirTimeAndTextInUtf8) {
  EXPECT_EQ(EventsCsvHeader() + EventsCsvRows("10001", log_.events),
            "number,time,event\r\n"
            "10001,2026-12-11T03:41:30+08:00,在线!\r\n"
            "10001,2026-12-11T04:00:00+08:00,隐身中!\r\n"
            "10001,2026-12-11T05:00:00+08:00,上线了!!!\r\n");
}

TEST_F(HistoryCsvTest, NumberThatNeedsQuotingIsQuotedInEveryRow) {
  const std::string rows = EventsCsvRows("1,\"2\"", log_.events);
  EXPECT_EQ(rows.substr(0, rows.find("\r\n")), "\"1,\"\"2\"\"\",2026-12-11T03:41:30+08:00,在线!");
}

struct FieldCase {
  std::string in;
  std::string out;
};

class CsvFieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(CsvFieldTest, QuotesOnlyWhatNeedsIt) { EXPECT_EQ(CsvField(GetParam().in), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(Cases, CsvFieldTest,
                         ::testing::Values(FieldCase{"10001", "10001"}, FieldCase{"", ""},
                                           FieldCase{" 10001", " 10001"}, FieldCase{"你好", "你好"},
                                           FieldCase{"a,b", "\"a,b\""}, FieldCase{"a\"b", "\"a\"\"b\""},
                                           FieldCase{"a\r\nb", "\"a\r\nb\""}, FieldCase{"a\nb", "\"a\nb\""}));

struct IsoCase {
  LocalDateTime at;
  std::string text;
};

class IsoDateTimeTest : public ::testing::TestWithParam<IsoCase> {};

TEST_P(IsoDateTimeTest, HasTheOffsetItWasTakenWith) { EXPECT_EQ(IsoDateTime(GetParam().at), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Cases, IsoDateTimeTest,
    ::testing::Values(IsoCase{{2026, 12, 11, 3, 41, 30, 8 * 3600}, "2026-12-11T03:41:30+08:00"},
                      IsoCase{{2027, 1, 2, 0, 0, 0, 0}, "2027-01-02T00:00:00+00:00"},
                      IsoCase{{2026, 7, 1, 23, 59, 59, -(3 * 3600 + 30 * 60)}, "2026-07-01T23:59:59-03:30"},
                      IsoCase{{2026, 7, 1, 12, 0, 0, 5 * 3600 + 45 * 60}, "2026-07-01T12:00:00+05:45"}));

}  // namespace
}  // namespace umbra
