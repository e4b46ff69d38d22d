#pragma once

#include "ui/form_description.h"

namespace umbra::ui {

// The main window TForm1 and its controls.
const FormDescription& MainWindowForm();

}  // namespace umbra::ui
