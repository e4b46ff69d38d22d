#pragma once
// The fonts the forms name, and what stands in for them where they are not
// installed.

#include <QFont>

namespace umbra::ui {

enum class TextColor {
  WindowText,
  Red,
};

struct FontDescription {
  const char* family;  // UTF-8
  int pixelSize;
  bool bold = false;
  TextColor color = TextColor::WindowText;
};

// The forms' font, "MS Sans Serif" 11 px (8 pt at 96 dpi), and its variants.
inline constexpr FontDescription kFormFont{"MS Sans Serif", 11};
inline constexpr FontDescription kBoldFormFont{"MS Sans Serif", 11, true};
inline constexpr FontDescription kRedFormFont{"MS Sans Serif", 13, false, TextColor::Red};
inline constexpr FontDescription kRedBoldFormFont{"MS Sans Serif", 11, true, TextColor::Red};
// The gradient buttons' "宋体" (SimSun) 12 px (9 pt).
inline constexpr FontDescription kGradientButtonFont{"\xE5\xAE\x8B\xE4\xBD\x93", 12};
inline constexpr FontDescription kPictureButtonFont{"MS Sans Serif", 16, true};

// Tells Qt which installed families to use for the Windows families the
// forms name; the Chinese captions then come from a CJK font such as
// WenQuanYi Micro Hei.
void InstallFontSubstitutes();

QFont MakeFont(const FontDescription& description);

}  // namespace umbra::ui
