#pragma once
// The program's 8-bit texts are code page 936 (GBK). This is the one crossing
// between them and UTF-8, used at the edges: the window, the terminal and
// file names.

#include <stdexcept>
#include <string>
#include <string_view>

namespace umbra {

// True for the bytes that begin a double-byte character in code page 936.
constexpr bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

class EncodingError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class OnInvalid {
  Replace,  // put a replacement in place of what cannot be converted
  Throw,    // raise EncodingError
};

// GBK bytes to UTF-8. With Replace, each byte that starts no valid GBK
// character becomes U+FFFD.
std::string GbkToUtf8(std::string_view gbk, OnInvalid onInvalid = OnInvalid::Replace);

// UTF-8 to GBK bytes. With Replace, each character GBK cannot hold (and each
// byte of broken UTF-8) becomes "?".
std::string Utf8ToGbk(std::string_view utf8, OnInvalid onInvalid = OnInvalid::Replace);

// Text in the character set `charset` (a name as nl_langinfo(CODESET) gives
// it) to GBK bytes, for texts the system hands over in the user's locale.
// Each character GBK cannot hold and each byte that starts no character
// becomes "?". A character set the converter does not know keeps its ASCII
// bytes only.
std::string CharsetToGbk(std::string_view text, const char* charset);

}  // namespace umbra
