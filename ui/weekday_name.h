#pragma once
// The short Chinese weekday names the history view labels its rows with.

#include <QString>

namespace umbra::ui {

// "周一" for 0 (Monday) .. "周日" for 6 (Sunday), the numbering of Weekday().
const QString& WeekdayName(int weekday);

}  // namespace umbra::ui
