#include "ui/fonts.h"

#include <QStringList>
#include <string_view>

namespace umbra::ui {

void InstallFontSubstitutes() {
  // Faces with the original's narrow digits first (6 pixels at 11), so a
  // change line for a ten-digit number fits the event log; DejaVu Sans,
  // with 7-pixel digits, only where none of them is installed.
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                             {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma"),
                              QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                              QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans"),
                              QStringLiteral("WenQuanYi Micro Hei")});
  // "宋体" is a Ming (Song) face: a Ming face stands in for it where one is
  // installed, a sans face only where none is.
  QFont::insertSubstitutions(QString::fromUtf8(kGradientButtonFont.family),
                             {QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                              QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL SungtiL GB"),
                              QStringLiteral("Noto Serif CJK SC"),
                              QStringLiteral("WenQuanYi Micro Hei"),
                              QStringLiteral("Noto Sans CJK SC")});
}

QFont MakeFont(const FontDescription& description) {
  QFont font(QString::fromUtf8(description.family));
  const bool ming = std::string_view(description.family) == kGradientButtonFont.family;
  font.setStyleHint(ming ? QFont::Serif : QFont::SansSerif);
  font.setPixelSize(description.pixelSize);
  font.setBold(description.bold);
  return font;
}

}  // namespace umbra::ui
