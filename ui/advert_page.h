#pragma once
// The advertising page: the program's own page, built into the binary, shown
// cut out in the main window's banner and in the notice window.

#include <QUrl>

namespace umbra::ui {

// Makes the page reachable; the application object calls it once.
void RegisterAdvertPage();

QUrl AdvertPageUrl();

}  // namespace umbra::ui
