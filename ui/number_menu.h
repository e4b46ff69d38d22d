#pragma once
// The context menu of the online and the offline list: "历史记录…" for the
// number under the pointer.

#include <QByteArray>
#include <functional>

namespace umbra::ui {

class TListBox;

// Gives `list` the menu; choosing its entry selects the number's line and
// calls `openHistory` with the number's own bytes (GBK).
void AddHistoryMenu(TListBox& list, std::function<void(const QByteArray& number)> openHistory);

}  // namespace umbra::ui
