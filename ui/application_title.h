#pragma once

namespace umbra::ui {

// Names the program to the desktop and captions every message box and error
// box the program shows.
inline constexpr char kApplicationTitle[] = "QQ2011Umbrascope";

}  // namespace umbra::ui
