#pragma once

#include "ui/form_description.h"

namespace umbra::ui {

// The notice window TForm3 and its controls.
const FormDescription& NoticeWindowForm();

}  // namespace umbra::ui
