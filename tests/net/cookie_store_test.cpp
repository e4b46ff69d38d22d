#include "net/cookie_store.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "net/cookie_date.h"

namespace umbra::net {
namespace {

using namespace std::chrono;

const sys_seconds kNow = sys_days{year{2024} / 5 / 17} + hours{12};

struct SetCookie {
  std::string header;  // "Set-Cookie" or "Set-Cookie2"
  std::string value;
  std::string host = "presence.example.com";
  std::string target = "/getonline?Type=1&1:";
};

struct CookieCase {
  const char* name;
  std::vector<SetCookie> replies;
  std::string host;
  std::string target;
  std::string expectedHeader;
  seconds later{0};  // how long after the cookies were set the request goes
};

void PrintTo(const CookieCase& c, std::ostream* os) { *os << c.name; }

class CookieTable : public ::testing::TestWithParam<CookieCase> {};

TEST_P(CookieTable, SendsBackWhatMatchesTheAddress) {
  const CookieCase& c = GetParam();
  CookieStore store;
  for (const SetCookie& set : c.replies) store.Take(set.header, set.value, set.host, set.target, kNow);
  EXPECT_EQ(store.HeaderFor(c.host, c.target, kNow + c.later), c.expectedHeader);
}

const std::string kHost = "presence.example.com";
const std::string kTarget = "/getonline?Type=1&1:2:";

INSTANTIATE_TEST_SUITE_P(
    Cookies, CookieTable,
    ::testing::Values(
        CookieCase{"SentBackToSameHost", {{"Set-Cookie", "sid=abc; path=/; HttpOnly"}}, kHost, kTarget, "sid=abc"},
        CookieCase{"HostNameAnyCase", {{"Set-Cookie", "sid=abc"}}, "PRESENCE.example.com", kTarget, "sid=abc"},
        CookieCase{"SeveralJoined",
                   {{"Set-Cookie", "a=1"}, {"set-cookie", "b=2"}},
                   kHost,
                   kTarget,
                   "a=1; b=2"},
        CookieCase{"NotSentToOtherHost", {{"Set-Cookie", "sid=abc"}}, "other.example.com", kTarget, ""},
        CookieCase{"HostOnlyNotSentToSubdomain", {{"Set-Cookie", "sid=abc"}}, "a.presence.example.com", kTarget, ""},
        CookieCase{"DomainCoversSiblings", {{"Set-Cookie", "sid=abc; Domain=.example.com"}}, "api.example.com",
                   kTarget, "sid=abc"},
        CookieCase{"DomainCoversItself", {{"Set-Cookie", "sid=abc; Domain=example.com"}}, "example.com", kTarget,
                   "sid=abc"},
        CookieCase{"DomainOfAnotherSiteRejected", {{"Set-Cookie", "sid=abc; Domain=example.org"}},
                   "example.org", kTarget, ""},
        CookieCase{"PathLimitsCookie", {{"Set-Cookie", "sid=abc; Path=/admin"}}, kHost, kTarget, ""},
        CookieCase{"PathCoversSubpaths", {{"Set-Cookie", "sid=abc; Path=/admin"}}, kHost, "/admin/page?x=1",
                   "sid=abc"},
        CookieCase{"PathIsNoMerePrefix", {{"Set-Cookie", "sid=abc; Path=/admin"}}, kHost, "/administrator", ""},
        CookieCase{"DefaultPathIsRequestDirectory",
                   {{"Set-Cookie", "sid=abc", kHost, "/dir/page?x=/y"}},
                   kHost,
                   "/dir/other",
                   "sid=abc"},
        CookieCase{"DefaultPathExcludesOtherDirectories",
                   {{"Set-Cookie", "sid=abc", kHost, "/dir/page"}},
                   kHost,
                   kTarget,
                   ""},
        CookieCase{"LaterValueReplacesEarlierInPlace",
                   {{"Set-Cookie", "a=1"}, {"Set-Cookie", "b=2"}, {"Set-Cookie", "a=3"}},
                   kHost,
                   kTarget,
                   "a=3; b=2"},
        CookieCase{"LongerPathFirst",
                   {{"Set-Cookie", "short=1; Path=/"}, {"Set-Cookie", "long=2; Path=/getonline"}},
                   kHost,
                   kTarget,
                   "long=2; short=1"},
        CookieCase{"MaxAgeZeroDeletes", {{"Set-Cookie", "a=1"}, {"Set-Cookie", "a=1; Max-Age=0"}}, kHost, kTarget,
                   ""},
        CookieCase{"PastExpiresDeletes",
                   {{"Set-Cookie", "a=1"}, {"Set-Cookie", "a=1; Expires=Thu, 01 Jan 1970 00:00:00 GMT"}},
                   kHost,
                   kTarget,
                   ""},
        CookieCase{"FutureExpiresKept", {{"Set-Cookie", "a=1; Expires=Fri, 31 Dec 2100 23:59:59 GMT"}}, kHost,
                   kTarget, "a=1"},
        CookieCase{"ExpiresPassesDuringRun", {{"Set-Cookie", "a=1; Max-Age=60"}}, kHost, kTarget, "", seconds{61}},
        CookieCase{"MaxAgeBeatsExpires",
                   {{"Set-Cookie", "a=1; Max-Age=60; Expires=Fri, 31 Dec 2100 23:59:59 GMT"}},
                   kHost,
                   kTarget,
                   "",
                   seconds{61}},
        CookieCase{"SessionCookieLastsTheRun", {{"Set-Cookie", "a=1"}}, kHost, kTarget, "a=1", hours{24 * 365}},
        CookieCase{"SetCookie2HoldsSeveral",
                   {{"Set-Cookie2", "a=\"1,2\"; Version=\"1\"; Path=\"/\", b=2; Version=1"}},
                   kHost,
                   kTarget,
                   "a=\"1,2\"; b=2"},
        CookieCase{"SecureCookieNeverSentOverPlainHttp", {{"Set-Cookie", "a=1; Secure"}}, kHost, kTarget, ""},
        CookieCase{"ControlByteInValueRejected", {{"Set-Cookie", "a=1\rX: y"}}, kHost, kTarget, ""},
        CookieCase{"WithoutEqualsIgnored", {{"Set-Cookie", "justtext"}}, kHost, kTarget, ""},
        CookieCase{"OtherHeadersIgnored", {{"X-Set-Cookie", "a=1"}}, kHost, kTarget, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CookieStore, OldestCookieGivesWayBeyondTheLimit) {
  CookieStore store;
  for (std::size_t i = 0; i <= CookieStore::kMaxCookies; ++i) {
    store.Take("Set-Cookie", "c" + std::to_string(i) + "=1", kHost, "/", kNow);
  }
  const std::string header = store.HeaderFor(kHost, "/", kNow);
  EXPECT_EQ(header.find("c0="), std::string::npos);
  EXPECT_EQ(header.rfind("c1=1; ", 0), 0u);
  EXPECT_NE(header.find("c300=1"), std::string::npos);
}

struct DateCase {
  const char* name;
  std::string text;
  bool valid;
  sys_seconds expected{};
};

void PrintTo(const DateCase& c, std::ostream* os) { *os << c.name; }

class CookieDateTable : public ::testing::TestWithParam<DateCase> {};

TEST_P(CookieDateTable, ReadsTheShapesServersWrite) {
  const auto parsed = ParseCookieDate(GetParam().text);
  ASSERT_EQ(parsed.has_value(), GetParam().valid);
  if (parsed) {
    EXPECT_EQ(*parsed, GetParam().expected);
  }
}

const sys_seconds kJune9 = sys_days{year{2021} / 6 / 9} + hours{10} + minutes{18} + seconds{14};

INSTANTIATE_TEST_SUITE_P(
    Dates, CookieDateTable,
    ::testing::Values(DateCase{"Rfc1123", "Wed, 09 Jun 2021 10:18:14 GMT", true, kJune9},
                      DateCase{"Rfc850TwoDigitYear", "Wednesday, 09-Jun-21 10:18:14 GMT", true, kJune9},
                      DateCase{"Asctime", "Wed Jun  9 10:18:14 2021", true, kJune9},
                      DateCase{"SeventiesYear", "Thu, 01-Jan-70 00:00:00 GMT", true, sys_days{year{1970} / 1 / 1}},
                      DateCase{"FarFuture", "Fri, 31 Dec 9999 23:59:59 GMT", true,
                               sys_days{year{9999} / 12 / 31} + hours{23} + minutes{59} + seconds{59}},
                      DateCase{"NoTime", "Wed, 09 Jun 2021", false},
                      DateCase{"NoMonth", "Wed, 09 2021 10:18:14", false},
                      DateCase{"February30", "30 Feb 2021 10:18:14", false},
                      DateCase{"HourOutOfRange", "09 Jun 2021 24:00:00", false},
                      DateCase{"Empty", "", false},
                      // Endless runs of digits name nothing; reading them must
                      // not overflow (the sanitizer build checks that).
                      DateCase{"LongDay", "Wed, 99999999999 Jun 2021 10:18:14 GMT", false},
                      DateCase{"LongYear", "Wed, 09 Jun 99999999999999999999 10:18:14 GMT", false},
                      DateCase{"LongTimeParts", "Wed, 09 Jun 2021 99999999999:18:99999999999 GMT", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace umbra::net
