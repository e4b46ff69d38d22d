// The input is the delimiter, a line end, then the text to cut. The pieces
// joined by the delimiter give back the text up to its first NUL, and they
// are the ones a plain left-to-right search finds that walks the text
// character by character.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/gbk.h"
#include "base/text.h"
#include "tests/fuzz/fuzz_check.h"
#include "watch/text_split.h"

namespace umbra::fuzz {
namespace {

// From the start of the text, and again after each match: a lead byte with
// a byte after it starts a two-byte character, so a match can only begin
// where a character begins.
PieceList CutByWalking(std::string_view text, std::string_view delimiter) {
  PieceList pieces;
  if (delimiter.empty()) return {std::string(text)};
  std::size_t pieceStart = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text.substr(at, delimiter.size()) == delimiter) {
      pieces.emplace_back(text.substr(pieceStart, at - pieceStart));
      at += delimiter.size();
      pieceStart = at;
      continue;
    }
    at += IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
  }
  pieces.emplace_back(text.substr(pieceStart));
  return pieces;
}

std::string Describe(const PieceList& pieces) {
  std::string shown;
  for (const std::string& piece : pieces) shown += " " + Shown(piece);
  return shown;
}

}  // namespace
}  // namespace umbra::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace umbra::fuzz;
  const std::string_view input = AsText(data, size);
  const std::size_t lineEnd = input.find('\n');
  if (lineEnd == std::string_view::npos) return 0;
  const std::string_view delimiter = input.substr(0, lineEnd);
  const std::string_view text = input.substr(lineEnd + 1);

  const umbra::PieceList pieces = umbra::AnalyzeStr(text, delimiter);
  FUZZ_CHECK(!pieces.empty());

  const std::string_view seenDelimiter = umbra::UpToNul(delimiter);
  std::string joined = pieces.front();
  for (std::size_t i = 1; i < pieces.size(); ++i) joined.append(seenDelimiter).append(pieces[i]);
  FUZZ_CHECK_TEXT_EQ(joined, umbra::UpToNul(text));

  const umbra::PieceList expected = CutByWalking(umbra::UpToNul(text), seenDelimiter);
  if (pieces != expected) {
    Broken("the pieces are those a walk through the characters finds", __FILE__, __LINE__,
           "  actual:  " + Describe(pieces) + "\n  expected:" + Describe(expected));
  }
  return 0;
}
