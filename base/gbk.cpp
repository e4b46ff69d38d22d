#include "base/gbk.h"

#include <iconv.h>
#include <strings.h>

#include <cerrno>
#include <memory>

namespace umbra {

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) {
      throw EncodingError(std::string("No converter from ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // `skip` tells how many bytes at the given position make up the one
  // character that could not be converted.
  std::string Convert(std::string_view in, OnInvalid onInvalid, std::string_view replacement,
                      const char* what, std::size_t (*skip)(const char*, std::size_t)) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // fresh shift state
    std::string out;
    out.reserve(in.size() * 3 / 2 + 8);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buffer[4096];
    while (srcLeft > 0) {
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      const std::size_t rc = iconv(handle_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (rc != static_cast<std::size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: the byte at `src` starts nothing convertible.
      if (onInvalid == OnInvalid::Throw) {
        throw EncodingError(std::string("Text is not valid ") + what);
      }
      out.append(replacement);
      const std::size_t n = skip(src, srcLeft);
      src += n;
      srcLeft -= n;
      iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  iconv_t handle_;
};

// iconv handles are costly to open and not thread-safe: one per thread.
Converter& GbkToUtf8Converter() {
  thread_local Converter converter("UTF-8", "CP936");
  return converter;
}

Converter& Utf8ToGbkConverter() {
  thread_local Converter converter("CP936", "UTF-8");
  return converter;
}

std::size_t OneByte(const char*, std::size_t) { return 1; }

// A character that GBK cannot hold is replaced once, not once per byte.
std::size_t Utf8SequenceLength(const char* p, std::size_t left) {
  const auto lead = static_cast<unsigned char>(*p);
  const std::size_t want = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  std::size_t n = 1;
  while (n < want && n < left && (static_cast<unsigned char>(p[n]) & 0xC0) == 0x80) ++n;
  return n;
}

bool IsUtf8(const char* charset) {
  return strcasecmp(charset, "UTF-8") == 0 || strcasecmp(charset, "UTF8") == 0;
}

bool IsGbk(const char* charset) {
  return strcasecmp(charset, "GBK") == 0 || strcasecmp(charset, "CP936") == 0;
}

std::string AsciiOnly(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (static_cast<unsigned char>(c) >= 0x80) c = '?';
  }
  return out;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk, OnInvalid onInvalid) {
  return GbkToUtf8Converter().Convert(gbk, onInvalid, "\xEF\xBF\xBD", "GBK", OneByte);
}

std::string Utf8ToGbk(std::string_view utf8, OnInvalid onInvalid) {
  return Utf8ToGbkConverter().Convert(utf8, onInvalid, "?", "UTF-8 or has no GBK form",
                                      Utf8SequenceLength);
}

std::string CharsetToGbk(std::string_view text, const char* charset) {
  if (IsUtf8(charset)) return Utf8ToGbk(text);
  // Valid GBK stays as it is; a byte that starts no character is marked.
  if (IsGbk(charset)) return Utf8ToGbk(GbkToUtf8(text));
  // Any other set goes through UTF-8, so that GBK's gaps are marked one
  // character at a time whatever the width of the character in `charset`.
  std::unique_ptr<Converter> toUtf8;
  try {
    toUtf8 = std::make_unique<Converter>("UTF-8", charset);
  } catch (const EncodingError&) {
    return AsciiOnly(text);
  }
  return Utf8ToGbk(toUtf8->Convert(text, OnInvalid::Replace, "?", charset, OneByte));
}

}  // namespace umbra
