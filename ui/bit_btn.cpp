#include "ui/bit_btn.h"

#include <QIcon>
#include <QPixmap>

namespace umbra::ui {

TBitBtn::TBitBtn(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
  setAutoDefault(false);
}

void TBitBtn::SetGlyph(const QImage& picture) {
  glyph_ = picture;
  QImage shown = picture.convertToFormat(QImage::Format_ARGB32);
  if (!shown.isNull()) {
    const QRgb transparent = shown.pixel(0, shown.height() - 1);
    for (int y = 0; y < shown.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(shown.scanLine(y));
      for (int x = 0; x < shown.width(); ++x) {
        if (line[x] == transparent) line[x] = qRgba(0, 0, 0, 0);
      }
    }
  }
  setIcon(QIcon(QPixmap::fromImage(shown)));
  setIconSize(picture.size());
}

}  // namespace umbra::ui
