#pragma once
// Whether the desktop has an application that will show a plain-text file
// in a window of its own when handed one. A fresh desktop may have none, or
// name a terminal editor, which shows nothing without a terminal around it.

namespace umbra::ui {

// Asks xdg-mime for the default application of text/plain and reads its
// desktop entry: false when there is none, when its entry cannot be found,
// or when it runs in a terminal.
bool DesktopShowsPlainText();

}  // namespace umbra::ui
