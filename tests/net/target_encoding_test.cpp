#include "net/target_encoding.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace umbra::net {
namespace {

struct EncodingCase {
  const char* name;
  std::string raw;
  std::string encoded;
};

void PrintTo(const EncodingCase& c, std::ostream* os) { *os << c.name; }

class TargetEncodingTable : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(TargetEncodingTable, EscapesOnlyBytesThatCannotStandInTarget) {
  EXPECT_EQ(EncodeRequestTarget(GetParam().raw), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, TargetEncodingTable,
    ::testing::Values(
        EncodingCase{"PresenceQueryUnchanged", "/getonline?Type=1&123456:88888:", "/getonline?Type=1&123456:88888:"},
        EncodingCase{"OtherPunctuationUnchanged", "/!$&'()*+,-./:;=?@[]_~", "/!$&'()*+,-./:;=?@[]_~"},
        EncodingCase{"Blank", "/1 2:", "/1%202:"},
        EncodingCase{"CrLfCannotEndTheLine", "/1\r\nX-Injected: 1:", "/1%0D%0AX-Injected:%201:"},
        EncodingCase{"NulAndOtherControls", std::string("/\0\x01\x1f", 4), "/%00%01%1F"},
        EncodingCase{"Delete", "/\x7f", "/%7F"},
        EncodingCase{"HighBytesOfGbkText", "/\xc4\xe3\xba\xc3:", "/%C4%E3%BA%C3:"},
        EncodingCase{"HighestByte", "/\xff\x80", "/%FF%80"},
        EncodingCase{"Quote", "/\"", "/%22"},
        EncodingCase{"Hash", "/1#2:", "/1%232:"},
        EncodingCase{"PercentItself", "/100%", "/100%25"},
        EncodingCase{"AngleBrackets", "/<>", "/%3C%3E"},
        EncodingCase{"Backslash", "/a\\b", "/a%5Cb"},
        EncodingCase{"Caret", "/^", "/%5E"},
        EncodingCase{"Backquote", "/`", "/%60"},
        EncodingCase{"Braces", "/{}", "/%7B%7D"},
        EncodingCase{"Bar", "/|", "/%7C"},
        EncodingCase{"Empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Long targets are looked at in blocks: a byte to escape is found wherever
// it stands, at a block's edge and in a short tail too.
TEST(TargetEncoding, FindsEveryByteToEscapeInALongTarget) {
  const std::string digits(200, '7');
  for (std::size_t at : {0u, 1u, 31u, 32u, 33u, 63u, 64u, 95u, 190u, 199u}) {
    for (char bad : {' ', '%', '\x81', 'a'}) {
      std::string raw = digits;
      raw[at] = bad;
      const std::string expected = bad == 'a' ? raw
                                   : digits.substr(0, at) + (bad == ' ' ? "%20" : bad == '%' ? "%25" : "%81") +
                                         digits.substr(at + 1);
      EXPECT_EQ(EncodeRequestTarget(raw), expected) << "byte " << int(static_cast<unsigned char>(bad)) << " at " << at;
    }
  }
}

int HexValue(char c) { return c <= '9' ? c - '0' : c - 'A' + 10; }

// Every byte value: the result holds only bytes a request line can carry,
// and decoding it gives back the input.
TEST(TargetEncoding, EveryByteRoundTripsThroughSafeBytes) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string encoded = EncodeRequestTarget(all);

  std::string decoded;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    const auto b = static_cast<unsigned char>(encoded[i]);
    ASSERT_TRUE(b > 0x20 && b < 0x7F) << "byte " << int(b) << " at " << i;
    if (encoded[i] == '%') {
      ASSERT_LE(i + 2, encoded.size() - 1);
      decoded += static_cast<char>(HexValue(encoded[i + 1]) * 16 + HexValue(encoded[i + 2]));
      i += 2;
    } else {
      decoded += encoded[i];
    }
  }
  EXPECT_EQ(decoded, all);
}

}  // namespace
}  // namespace umbra::net
