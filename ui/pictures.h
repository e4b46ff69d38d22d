#pragma once
// The program's own pictures, drawn when first asked for.

#include <QIcon>
#include <QImage>

namespace umbra::ui {

// The program icon, with images of 16, 24, 32 and 48 pixels.
QIcon ProgramIcon();

// BitBtn1's picture: a cartoon girl's face with purple hair, 37 × 41, 24-bit.
QImage GirlFacePicture();

// BitBtn2's picture: a penguin in a red scarf, 39 × 41, 24-bit.
QImage PenguinPicture();

}  // namespace umbra::ui
