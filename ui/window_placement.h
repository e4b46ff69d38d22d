#pragma once
// Windows open at their design position where that fits on the screen; a
// window that would hang over the edge of the available area (a small or
// scaled screen, a panel) is moved just enough to be whole on it.

#include <QPoint>
#include <QRect>

class QWidget;

namespace umbra::ui {

// Where a window with the outer rectangle `frame` goes so that it lies whole
// on `available`: unchanged when it does already; otherwise moved along each
// axis by the least that brings it inside, and to the area's top left edge
// on an axis along which it is larger than the area.
QPoint PlaceWhole(const QRect& frame, const QRect& available);

// Moves a top-level window before it is shown, by its outer frame on the
// screen its design position lies on.
void PlaceWholeOnScreen(QWidget& window);

}  // namespace umbra::ui
