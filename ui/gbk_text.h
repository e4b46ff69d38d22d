#pragma once
// The window's edge: widgets hold QString, everything behind them holds the
// program's GBK bytes. Nothing else in ui/ converts between the two.

#include <QString>
#include <string>

namespace umbra::ui {

// GBK bytes as the widget shows them; a byte that starts no GBK character
// shows as U+FFFD.
QString FromGbk(const std::string& gbk);

// A widget's text as GBK bytes; a character GBK cannot hold becomes "?".
std::string ToGbk(const QString& text);

}  // namespace umbra::ui
