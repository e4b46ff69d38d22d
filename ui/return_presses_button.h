#pragma once
// Return on a focused push button presses it, as on the program's original
// platform. Qt leaves Return to a dialog's default button, and a window that
// is no dialog has none.

class QAbstractButton;

namespace umbra::ui {

void PressOnReturn(QAbstractButton& button);

}  // namespace umbra::ui
