#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace umbra::ui {
namespace {

// The frame a window has before it is shown is not known; this is the
// classic one the forms' sizes were measured with.
constexpr int kFrameSide = 4;
constexpr int kFrameTop = 23;

int PlaceAlong(int start, int length, int areaStart, int areaLength) {
  if (length >= areaLength) return areaStart;
  return std::clamp(start, areaStart, areaStart + areaLength - length);
}

}  // namespace

QPoint PlaceWhole(const QRect& frame, const QRect& available) {
  return {PlaceAlong(frame.x(), frame.width(), available.x(), available.width()),
          PlaceAlong(frame.y(), frame.height(), available.y(), available.height())};
}

void PlaceWholeOnScreen(QWidget& window) {
  // A top-level window's position is that of its outer frame.
  QRect frame = window.frameGeometry();
  if (!window.isVisible()) {
    frame = QRect(window.pos(), window.size() + QSize(2 * kFrameSide, kFrameTop + kFrameSide));
  }
  QScreen* screen = QGuiApplication::screenAt(frame.topLeft());
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QPoint placed = PlaceWhole(frame, screen->availableGeometry());
  window.move(placed);
}

}  // namespace umbra::ui
