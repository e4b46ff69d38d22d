#include "ui/notice_window_form.h"

namespace umbra::ui {
namespace {

using enum ControlKind;

// The box is wider than the window and starts above it, and the page lies at
// a negative offset inside the box: the window shows page pixels x 400 to
// 987, y 136 to 249, and no scroll bar.
constexpr ControlDescription kControls[] = {
    {"GroupBox1", GroupBox, nullptr, 0, -8, 657, 121, ""},
    {"WebBrowser1", WebBrowser, "GroupBox1", -400, -128, 1137, 489, ""},
    {"Label1", Label, nullptr, 16, 112, 554, 13,
     "程序为免费版本，在您使用前请依次点击↑上面全部文字或图片查询更准确"
     "               " "                ",  // 31 blanks
     &kRedBoldFormFont},
    {"Button1", Button, nullptr, 112, 128, 89, 25, "我已点击"},
    {"Button2", Button, nullptr, 296, 128, 89, 25, "忽略"},
};

constexpr const char* kTabOrder[] = {"GroupBox1", "WebBrowser1", "Button1", "Button2"};

constexpr FormDescription kForm{
    "Form3", "设置", WindowFrame::None, 208, 286, 587, 166, kFormFont, kControls, kTabOrder,
};

}  // namespace

const FormDescription& NoticeWindowForm() { return kForm; }

}  // namespace umbra::ui
