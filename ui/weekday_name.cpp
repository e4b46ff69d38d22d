#include "ui/weekday_name.h"

namespace umbra::ui {

const QString& WeekdayName(int weekday) {
  static const QString kNames[] = {QStringLiteral("周一"), QStringLiteral("周二"), QStringLiteral("周三"),
                                   QStringLiteral("周四"), QStringLiteral("周五"), QStringLiteral("周六"),
                                   QStringLiteral("周日")};
  return kNames[weekday];
}

}  // namespace umbra::ui
