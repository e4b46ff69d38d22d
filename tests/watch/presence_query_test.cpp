#include "watch/presence_query.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace umbra
