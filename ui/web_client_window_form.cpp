#include "ui/web_client_window_form.h"

namespace umbra::ui {
namespace {

constexpr ControlDescription kControls[] = {
    {"WebBrowser1", ControlKind::WebBrowser, nullptr, 0, 0, 753, 446, "", nullptr, true,
     Picture::None, Align::Client},
};

constexpr const char* kTabOrder[] = {"WebBrowser1"};

constexpr FormDescription kForm{
    "Form4", "网页QQ", WindowFrame::FixedDialog, 199, 167, 753, 446, kFormFont, kControls, kTabOrder,
};

}  // namespace

const FormDescription& WebClientWindowForm() { return kForm; }

}  // namespace umbra::ui
