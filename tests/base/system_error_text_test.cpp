#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <string>

#include "base/files.h"
#include "base/gbk.h"
#include "base/regional_format.h"

namespace umbra {
namespace {

// The system's texts come in the character set of the locale; the program's
// texts are GBK. Each locale runs in a test of its own and puts the previous
// one back.
class SystemErrorTextTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    previous_ = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, GetParam()) == nullptr) {
      GTEST_SKIP() << "the locale " << GetParam() << " is not generated (see scripts/install-deps.sh)";
    }
  }
  void TearDown() override { std::setlocale(LC_ALL, previous_.c_str()); }

  std::string previous_;
};

TEST_P(SystemErrorTextTest, IsGbkThatReadsAsTheSystemsText) {
  for (const int error : {EACCES, ENOENT, ENOSPC, EISDIR, EROFS, 12345}) {
    const std::string system = std::strerror(error);  // in the locale's own character set
    const std::string text = SystemErrorText(error);
    std::string asUtf8;
    ASSERT_NO_THROW(asUtf8 = GbkToUtf8(text, OnInvalid::Throw)) << "not GBK for error " << error;
    EXPECT_EQ(asUtf8, system) << "error " << error;
    EXPECT_EQ(FileError(error).what(), text) << "error " << error;
  }
}

INSTANTIATE_TEST_SUITE_P(Locales, SystemErrorTextTest, ::testing::Values("C", "C.UTF-8", "zh_CN.UTF-8"),
                         [](const auto& info) {
                           std::string name = info.param;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

TEST(SystemErrorText, ChineseTextIsNotLeftAsUtf8) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "zh_CN.UTF-8") == nullptr) {
    GTEST_SKIP() << "the locale zh_CN.UTF-8 is not generated (see scripts/install-deps.sh)";
  }
  const std::string system = std::strerror(EACCES);
  const std::string text = SystemErrorText(EACCES);
  std::setlocale(LC_ALL, previous.c_str());
  if (system == "Permission denied") GTEST_SKIP() << "the C library has no Chinese messages here";
  // "权限不够" in GBK, where the C library words it so.
  if (system == "权限不够") {
    EXPECT_EQ(text, "\xC8\xA8\xCF\xDE\xB2\xBB\xB9\xBB");
  }
  EXPECT_NE(text, system);
}

}  // namespace
}  // namespace umbra
