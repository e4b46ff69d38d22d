#include "tests/console/flat_json.h"

namespace umbra::test {

namespace {

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  void Expect(char c) {
    if (pos_ >= text_.size() || text_[pos_] != c) Fail(std::string("expected ") + c);
    ++pos_;
  }
  bool Next(char c) const { return pos_ < text_.size() && text_[pos_] == c; }
  bool AtEnd() const { return pos_ == text_.size(); }

  std::string String() {
    Expect('"');
    std::string value;
    while (pos_ < text_.size() && text_[pos_] != '"') {
      const char c = text_[pos_++];
      if (static_cast<unsigned char>(c) < 0x20) Fail("raw control character in a string");
      if (c != '\\') {
        value += c;
        continue;
      }
      if (pos_ >= text_.size()) Fail("escape at the end");
      const char e = text_[pos_++];
      switch (e) {
        case '"': case '\\': case '/': value += e; break;
        case 'n': value += '\n'; break;
        case 'r': value += '\r'; break;
        case 't': value += '\t'; break;
        case 'b': value += '\b'; break;
        case 'f': value += '\f'; break;
        case 'u': {
          if (pos_ + 4 > text_.size()) Fail("short \\u escape");
          const unsigned code = static_cast<unsigned>(std::stoul(std::string(text_.substr(pos_, 4)), nullptr, 16));
          pos_ += 4;
          if (code >= 0x80) Fail("\\u escape beyond ASCII is not expected here");
          value += static_cast<char>(code);
          break;
        }
        default: Fail("unknown escape");
      }
    }
    Expect('"');
    return value;
  }

  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error(what + " at " + std::to_string(pos_) + " in " + std::string(text_));
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

FlatJsonObject ParseFlatJsonObject(std::string_view text) {
  Reader reader(text);
  FlatJsonObject object;
  reader.Expect('{');
  while (!reader.Next('}')) {
    if (!object.empty()) reader.Expect(',');
    std::string name = reader.String();
    reader.Expect(':');
    FlatJsonValue value;
    if (reader.Next('[')) {
      reader.Expect('[');
      std::vector<std::string> items;
      while (!reader.Next(']')) {
        if (!items.empty()) reader.Expect(',');
        items.push_back(reader.String());
      }
      reader.Expect(']');
      value = std::move(items);
    } else {
      value = reader.String();
    }
    if (!object.emplace(std::move(name), std::move(value)).second) reader.Fail("member named twice");
  }
  reader.Expect('}');
  if (!reader.AtEnd()) reader.Fail("text after the object");
  return object;
}

const std::string& StringMember(const FlatJsonObject& object, const std::string& name) {
  const auto it = object.find(name);
  if (it == object.end()) throw std::runtime_error("no member " + name);
  const auto* value = std::get_if<std::string>(&it->second);
  if (value == nullptr) throw std::runtime_error("member " + name + " is no string");
  return *value;
}

}  // namespace umbra::test
