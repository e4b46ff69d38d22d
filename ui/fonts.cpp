#include "ui/fonts.h"

#include <QStringList>

namespace umbra::ui {

void InstallFontSubstitutes() {
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                             {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma"),
                              QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                              QStringLiteral("WenQuanYi Micro Hei")});
  QFont::insertSubstitutions(QString::fromUtf8(kGradientButtonFont.family),
                             {QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                              QStringLiteral("WenQuanYi Micro Hei"),
                              QStringLiteral("Noto Sans CJK SC"),
                              QStringLiteral("AR PL UMing CN")});
}

QFont MakeFont(const FontDescription& description) {
  QFont font(QString::fromUtf8(description.family));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(description.pixelSize);
  font.setBold(description.bold);
  return font;
}

}  // namespace umbra::ui
