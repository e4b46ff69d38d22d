#pragma once
// The push button with a picture left of its caption.

#include <QImage>
#include <QPushButton>

namespace umbra::ui {

class TBitBtn : public QPushButton {
  Q_OBJECT
 public:
  explicit TBitBtn(const QString& caption, QWidget* parent = nullptr);

  // The picture, shown at its own size. Its bottom-left pixel's colour counts
  // as transparent, the way such button pictures have always been drawn.
  void SetGlyph(const QImage& picture);
  const QImage& Glyph() const { return glyph_; }

 private:
  QImage glyph_;
};

}  // namespace umbra::ui
