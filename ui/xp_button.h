#pragma once
// The gradient push button: a face shading from white into the 3-D face
// colour, a drawn border, the caption centred.

#include <QPushButton>

namespace umbra::ui {

class TXPButton : public QPushButton {
  Q_OBJECT
 public:
  explicit TXPButton(const QString& caption, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  bool hovered_ = false;
};

}  // namespace umbra::ui
