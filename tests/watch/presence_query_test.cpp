#include "watch/presence_query.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace umbra {
namespace {

StatusTable Rows(std::initializer_list<const char*> numbers) {
  StatusTable table;
  for (const char* n : numbers) table.push_back({n, ""});
  return table;
}

TEST(PresenceQuery, TargetEndsEveryNumberWithAColon) {
  EXPECT_EQ(PresenceQueryTarget(Rows({"123456", "88888", "99999"})),
            "/getonline?Type=1&123456:88888:99999:");
  EXPECT_EQ(PresenceQueryTarget(Rows({"123", "456", ""})), "/getonline?Type=1&123:456::");
  EXPECT_EQ(PresenceQueryTarget(Rows({" 1"})), "/getonline?Type=1& 1:");
}

TEST(PresenceQuery, UrlJoinsBaseAndTarget) {
  EXPECT_EQ(PresenceQueryUrl("http://127.0.0.1:8080", Rows({"1"})),
            "http://127.0.0.1:8080/getonline?Type=1&1:");
  EXPECT_EQ(PresenceQueryUrl("http://example.test/", Rows({"1"})),
            "http://example.test/getonline?Type=1&1:");
}

struct ReplyCase {
  const char* name;
  std::string body;
  PieceList entries;
};
void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.name; }

class ReplyEntriesTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyEntriesTest, AreThePiecesBeforeTheLastSemicolon) {
  EXPECT_EQ(ReplyEntries(GetParam().body), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplyEntriesTest,
    ::testing::Values(ReplyCase{"TwoEntries", "1=1;2=0;", {"1=1", "2=0"}},
                      ReplyCase{"EmptyBody", "", {}},
                      ReplyCase{"NoSemicolon", "1=1", {}},
                      ReplyCase{"LastEntryWithoutSemicolonIsLost", "1=1;2=0", {"1=1"}},
                      ReplyCase{"LineEndsStayInTheEntry", "1=1\r\n;", {"1=1\r\n"}},
                      ReplyCase{"BodyEndsAtNul", std::string("1=1;\0" "2=0;", 9), {"1=1"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PresenceQuery, StateCodeIsBetweenTheFirstTwoEqualSigns) {
  EXPECT_EQ(EntryStateCode("online[0]=1"), "1");
  EXPECT_EQ(EntryStateCode("5=1=9"), "1");
  EXPECT_EQ(EntryStateCode("k="), "");
  EXPECT_EQ(EntryStateCode("=2"), "2");
  EXPECT_EQ(EntryStateCode("1=1\r\n"), "1\r\n");
  try {
    EntryStateCode("nothing");
    FAIL();
  } catch (const ListIndexError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (1)");
  }
}

// What ForEachStateCode must hand out: the entries as ReplyEntries cuts them,
// each read by EntryStateCode, the first `limit` of them.
struct Walked {
  std::vector<std::string> codes;
  bool threw = false;
  bool operator==(const Walked&) const = default;
};
void PrintTo(const Walked& w, std::ostream* os) {
  *os << ::testing::PrintToString(w.codes) << (w.threw ? " then the index error" : "");
}

Walked ByTheEntries(std::string_view body, std::size_t limit) {
  Walked walked;
  for (const std::string& entry : ReplyEntries(body)) {
    if (walked.codes.size() == limit) break;
    try {
      walked.codes.emplace_back(EntryStateCode(entry));
    } catch (const ListIndexError&) {
      walked.threw = true;
      break;
    }
  }
  return walked;
}

Walked ByTheWalk(std::string_view body, std::size_t limit) {
  Walked walked;
  try {
    const std::size_t taken =
        ForEachStateCode(body, limit, [&](std::string_view code) { walked.codes.emplace_back(code); });
    EXPECT_EQ(taken, walked.codes.size());
  } catch (const ListIndexError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (1)");
    walked.threw = true;
  }
  return walked;
}

struct WalkCase {
  const char* name;
  std::string body;
  std::size_t limit;
  Walked expected;
};
void PrintTo(const WalkCase& c, std::ostream* os) { *os << c.name; }

class StateCodeWalkTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(StateCodeWalkTest, HandsOutTheCodesOfTheEntries) {
  const WalkCase& c = GetParam();
  EXPECT_EQ(ByTheWalk(c.body, c.limit), c.expected);
  EXPECT_EQ(ByTheEntries(c.body, c.limit), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StateCodeWalkTest,
    ::testing::Values(
        WalkCase{"TwoEntries", "online[0]=1;online[1]=0;", 5, {{"1", "0"}}},
        WalkCase{"StopsAtTheLimit", "a=1;b=0;c=1;", 2, {{"1", "0"}}},
        WalkCase{"NothingAskedNothingRead", "broken;", 0, {}},
        WalkCase{"LastEntryWithoutSemicolonIsLost", "a=1;b=0", 5, {{"1"}}},
        WalkCase{"CodeUpToSecondEquals", "k=1=9;k=2", 5, {{"1"}}},
        WalkCase{"EmptyCodeAndEmptyKey", "k=;=2;", 5, {{"", "2"}}},
        WalkCase{"LineEndsStayInTheCode", "a=1\r\n;", 5, {{"1\r\n"}}},
        WalkCase{"EntryWithoutEqualsSign", "a=1;broken;c=0;", 5, {{"1"}, true}},
        WalkCase{"BrokenEntryBeyondTheLimitIsNotRead", "a=1;broken;", 1, {{"1"}}},
        WalkCase{"BodyEndsAtNul", std::string("a=1;\0b=0;", 9), 5, {{"1"}}},
        // A ";" or "=" right behind a lead byte is the second byte of a
        // character; behind two lead bytes it is a byte of its own.
        WalkCase{"SemicolonBehindALeadByte", "a=1\x81;b=0;", 5, {{"1\x81;b"}}},
        WalkCase{"EqualsBehindALeadByte", "a\x81=1;b=0;", 5, {{}, true}},
        WalkCase{"BehindTwoLeadBytes", "a\x81\x81=1\x81\x81;", 5, {{"1\x81\x81"}}},
        WalkCase{"LongEntriesAcrossWords", std::string(40, 'k') + "=" + std::string(20, '1') + ";", 5,
                 {{std::string(20, '1')}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Bodies of entries, lead bytes, "=", ";" and NUL in every arrangement: the
// walk must agree with the entries read one by one.
TEST(StateCodeWalk, AgreesWithTheEntriesOnMixedBodies) {
  const std::string alphabet = std::string("==;;;ab1\x81\xfe\x7c", 11) + std::string(1, '\0');
  std::mt19937 random(20261211);
  for (int round = 0; round < 5000; ++round) {
    std::string body(random() % 40, ' ');
    for (char& c : body) c = alphabet[random() % alphabet.size()];
    const std::size_t limit = random() % 8;
    ASSERT_EQ(ByTheWalk(body, limit), ByTheEntries(body, limit)) << ::testing::PrintToString(body) << " limit " << limit;
  }
}

}  // namespace
}  // namespace umbra
