#pragma once

#include "ui/form_description.h"

namespace umbra::ui {

// The web-client window TForm4: one browser filling it.
const FormDescription& WebClientWindowForm();

}  // namespace umbra::ui
