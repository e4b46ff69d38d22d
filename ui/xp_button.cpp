#include "ui/xp_button.h"

#include <QLinearGradient>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace umbra::ui {
namespace {

const QColor kBorder(0, 60, 116);        // the dark blue edge of the XP look
const QColor kHoverEdge(255, 184, 52);   // the warm inner edge under the mouse

}  // namespace

TXPButton::TXPButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
  setAutoDefault(false);
  setAttribute(Qt::WA_Hover);
}

void TXPButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const QRectF face = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const QColor faceColour = palette().color(QPalette::Button);

  QLinearGradient gradient(face.topLeft(), face.bottomLeft());
  if (isDown()) {
    gradient.setColorAt(0.0, faceColour.darker(112));
    gradient.setColorAt(1.0, Qt::white);
  } else {
    gradient.setColorAt(0.0, Qt::white);
    gradient.setColorAt(1.0, faceColour);
  }
  painter.setPen(QPen(isEnabled() ? kBorder : palette().color(QPalette::Mid), 1.0));
  painter.setBrush(gradient);
  painter.drawRoundedRect(face, 3, 3);

  if (hovered_ && isEnabled() && !isDown()) {
    painter.setPen(QPen(kHoverEdge, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(face.adjusted(1, 1, -1, -1), 2, 2);
  }

  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                 QPalette::ButtonText));
  QRect textArea = rect();
  if (isDown()) textArea.translate(1, 1);
  painter.drawText(textArea, Qt::AlignCenter | Qt::TextShowMnemonic, text());

  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(3, 3, -3, -3);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
}

void TXPButton::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  update();
  QPushButton::enterEvent(event);
}

void TXPButton::leaveEvent(QEvent* event) {
  hovered_ = false;
  update();
  QPushButton::leaveEvent(event);
}

}  // namespace umbra::ui
