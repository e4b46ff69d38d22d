#include "ui/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace umbra::ui {
namespace {

// The button pictures' background, the classic 3-D face colour. The button
// leaves out the bottom-left pixel's colour; smoothed edges blend into the
// same grey, so they sit well on any button face.
const QColor kPictureBackground(212, 208, 200);

QImage Canvas(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

// The drawing as a 24-bit picture on the background colour.
QImage ButtonPicture(const QImage& drawing) {
  QImage picture(drawing.size(), QImage::Format_RGB888);
  picture.fill(kPictureBackground);
  QPainter painter(&picture);
  painter.drawImage(0, 0, drawing);
  return picture;
}

}  // namespace

QIcon ProgramIcon() {
  // The images are rendered from the icon's drawing in data/icons, the same
  // the desktop shows for the installed program.
  QIcon icon;
  for (const int size : {16, 24, 32, 48}) {
    icon.addFile(QStringLiteral(":/umbrascope/icon-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

QImage GirlFacePicture() {
  QImage image = Canvas(37, 41);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const QColor hair(138, 70, 190);
  const QColor hairShade(100, 45, 150);
  const QColor skin(255, 224, 196);

  painter.setPen(Qt::NoPen);
  // Hair behind the face, falling to the shoulders.
  painter.setBrush(hairShade);
  painter.drawRoundedRect(QRectF(3, 10, 31, 30), 10, 10);
  painter.setBrush(hair);
  painter.drawEllipse(QRectF(2, 1, 33, 30));
  // Face.
  painter.setBrush(skin);
  painter.drawEllipse(QRectF(8, 10, 21, 25));
  // Fringe over the forehead.
  painter.setBrush(hair);
  QPainterPath fringe;
  fringe.moveTo(6, 16);
  fringe.cubicTo(10, 4, 27, 4, 31, 16);
  fringe.lineTo(27, 13);
  fringe.lineTo(23, 17);
  fringe.lineTo(18, 12);
  fringe.lineTo(13, 17);
  fringe.lineTo(10, 13);
  fringe.closeSubpath();
  painter.drawPath(fringe);
  // Eyes with a glint.
  painter.setBrush(QColor(40, 30, 60));
  painter.drawEllipse(QRectF(12, 20, 4.5, 5.5));
  painter.drawEllipse(QRectF(20.5, 20, 4.5, 5.5));
  painter.setBrush(Qt::white);
  painter.drawEllipse(QRectF(13.2, 20.8, 1.6, 1.6));
  painter.drawEllipse(QRectF(21.7, 20.8, 1.6, 1.6));
  // Cheeks.
  painter.setBrush(QColor(255, 160, 170));
  painter.drawEllipse(QRectF(10, 26, 4, 2.5));
  painter.drawEllipse(QRectF(23, 26, 4, 2.5));
  // Smile.
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(200, 50, 70), 1.2, Qt::SolidLine, Qt::RoundCap));
  painter.drawArc(QRectF(15, 26, 7, 5), 200 * 16, 140 * 16);
  // A bow in the hair.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 120, 190));
  painter.drawEllipse(QRectF(25, 3, 6, 5));
  painter.drawEllipse(QRectF(30, 3, 6, 5));
  painter.end();
  return ButtonPicture(image);
}

QImage PenguinPicture() {
  QImage image = Canvas(39, 41);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const QColor black(25, 25, 35);
  const QColor orange(250, 160, 20);
  const QColor red(215, 25, 30);

  painter.setPen(Qt::NoPen);
  // Feet.
  painter.setBrush(orange);
  painter.drawEllipse(QRectF(9, 35, 9, 5));
  painter.drawEllipse(QRectF(21, 35, 9, 5));
  // Body, head and belly.
  painter.setBrush(black);
  painter.drawEllipse(QRectF(6, 13, 27, 25));
  painter.drawEllipse(QRectF(9, 1, 21, 19));
  painter.setBrush(Qt::white);
  painter.drawEllipse(QRectF(11, 18, 17, 19));
  painter.drawEllipse(QRectF(12, 5, 6.5, 8));
  painter.drawEllipse(QRectF(20.5, 5, 6.5, 8));
  // Eyes and beak.
  painter.setBrush(black);
  painter.drawEllipse(QRectF(14.5, 7.5, 3, 4));
  painter.drawEllipse(QRectF(21.5, 7.5, 3, 4));
  painter.setBrush(orange);
  painter.drawEllipse(QRectF(15.5, 12, 8, 4));
  // Scarf round the neck, one end hanging down.
  painter.setBrush(red);
  painter.drawRoundedRect(QRectF(8, 16.5, 23, 4.5), 2, 2);
  painter.drawRoundedRect(QRectF(23, 18, 5, 11), 1.5, 1.5);
  painter.setBrush(QColor(255, 230, 80));
  painter.drawRect(QRectF(23, 26, 5, 1.2));
  // Flippers.
  painter.setBrush(black);
  painter.drawEllipse(QRectF(2, 19, 7, 13));
  painter.drawEllipse(QRectF(30, 19, 7, 13));
  painter.end();
  return ButtonPicture(image);
}

}  // namespace umbra::ui
