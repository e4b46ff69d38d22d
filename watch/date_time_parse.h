#pragma once
// Reading back the date-time texts that start the program's history and
// event-log lines.

#include <optional>
#include <string_view>

#include "base/local_time.h"

namespace umbra {

// The date and time a date-time text names, for every form the program has
// written into history files: "2026/12/11 3:41:30" and "2026/12/10 20:34:05"
// (the regional format of the C and Chinese locales, old and new), glibc's
// Chinese "2026年12月11日 03时41分30秒" (GBK), "2026-12-11 03:41:30", and in
// each form the date alone, which stands for midnight. The year has four
// digits, minutes and seconds two, the others one or two. Nothing for any
// other text, or for a date or time that does not exist (2月30日,
// 24:00:00). utcOffsetSeconds stays 0.
std::optional<LocalDateTime> ParseDateTimeText(std::string_view gbk);

}  // namespace umbra
