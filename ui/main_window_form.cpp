#include "ui/main_window_form.h"

namespace umbra::ui {
namespace {

using enum ControlKind;

// Adjacent literals keep the blanks inside captions countable.
constexpr ControlDescription kControls[] = {
    {"Label1", Label, nullptr, 10, 111, 64, 13, "QQ号码：" " ", &kBoldFormFont},
    {"QQhaoma", Edit, nullptr, 72, 106, 401, 21, ""},
    {"Label2", Label, nullptr, 80, 136, 378, 16,
     "可以批量查询例" "\"" "123456,88888,99999,批量查询逗号隔开"
     "            " "            ",  // 24 blanks
     &kRedFormFont},
    {"Label3", Label, nullptr, 35, 160, 64, 13, "在线状态", &kBoldFormFont},
    {"Label4", Label, nullptr, 173, 160, 68, 13, "离线状态", &kBoldFormFont},
    {"Label7", Label, nullptr, 296, 160, 128, 13, "隐身状态" "    " "时隔" "  " "：" "   ",
     &kBoldFormFont},
    {"jiange", ComboBox, nullptr, 424, 157, 73, 21, ""},
    {"ListBox1", ListBox, nullptr, 12, 180, 125, 61, ""},
    {"ListBox2", ListBox, nullptr, 144, 180, 129, 61, ""},
    {"ListBox3", ListBox, nullptr, 277, 180, 228, 61, ""},
    {"Button1", Button, nullptr, 32, 246, 73, 35, "查询"},
    {"Button2", Button, nullptr, 179, 246, 70, 35, "停" "    " "止", nullptr, false},
    {"Button4", Button, nullptr, 304, 248, 65, 33, "设" " " "置"},
    {"Button3", Button, nullptr, 409, 247, 80, 34, "使用说明"},
    // The banner. The box's caption lies above the window's client area.
    {"GroupBox3", GroupBox, nullptr, 0, -24, 513, 129, "GroupBox3"},
    {"WebBrowser2", WebBrowser, "GroupBox3", -136, -112, 809, 873, ""},
    // The right-hand page panel; WebBrowser3 covers the foot of WebBrowser1.
    {"GroupBox1", GroupBox, nullptr, 512, 0, 297, 465, ""},
    {"WebBrowser1", WebBrowser, "GroupBox1", -80, -120, 849, 401, ""},
    {"WebBrowser3", WebBrowser, "GroupBox1", 0, 248, 300, 209, ""},
    {"GroupBox2", GroupBox, nullptr, 8, 288, 497, 177, "其他功能"},
    {"Edit1", Edit, "GroupBox2", 16, 32, 97, 21, "输入QQ号码"},
    {"XPButton1", GradientButton, "GroupBox2", 120, 32, 75, 25, "强行聊天", &kGradientButtonFont},
    {"XPButton2", GradientButton, "GroupBox2", 208, 32, 81, 25, "登陆3GQQ", &kGradientButtonFont},
    {"XPButton3", GradientButton, "GroupBox2", 312, 32, 73, 25, "QQ秀查询", &kGradientButtonFont},
    {"XPButton4", GradientButton, "GroupBox2", 400, 32, 73, 25, "QQ问问资料", &kGradientButtonFont},
    {"XPButton5", GradientButton, "GroupBox2", 24, 72, 81, 25, "QQ空间查看", &kGradientButtonFont},
    {"XPButton6", GradientButton, "GroupBox2", 120, 72, 73, 25, "QQ相册查看", &kGradientButtonFont},
    {"XPButton7", GradientButton, "GroupBox2", 208, 72, 81, 25, "是否加好友", &kGradientButtonFont},
    {"XPButton8", GradientButton, "GroupBox2", 312, 72, 73, 25, "网页QQ", &kGradientButtonFont},
    {"XPButton9", GradientButton, "GroupBox2", 400, 72, 81, 25, "好友业务查看", &kGradientButtonFont},
    {"BitBtn1", PictureButton, "GroupBox2", 24, 112, 145, 49, "同城MM搜索", &kPictureButtonFont, true,
     Picture::GirlFace},
    {"BitBtn2", PictureButton, "GroupBox2", 272, 112, 161, 49, "查看局域网QQ", &kPictureButtonFont,
     true, Picture::Penguin},
    // Right of the client area at the design size; shows only in a widened window.
    {"WebBrowser4", WebBrowser, nullptr, 880, 160, 300, 150, ""},
};

constexpr const char* kTabOrder[] = {
    "ListBox1", "QQhaoma", "jiange", "ListBox3", "Button1", "Button2", "ListBox2", "Button3",
    "GroupBox1", "WebBrowser1", "WebBrowser3",
    "GroupBox2", "XPButton1", "Edit1", "XPButton2", "XPButton3", "XPButton4", "XPButton5",
    "XPButton6", "XPButton7", "XPButton8", "XPButton9", "BitBtn1", "BitBtn2",
    "GroupBox3", "WebBrowser2",
    "WebBrowser4", "Button4",
};

// The outer frame measures 824 × 511 at 207, 123. The client size is that
// less a classic Windows frame (4 px at each side, a 19 px caption bar), as
// the desktop's own frame is not known before the window is shown.
constexpr FormDescription kForm{
    "Form1", "VE2013QQUmbrascope6.9", WindowFrame::Resizable, 207, 123, 816, 484,
    kFormFont, kControls, kTabOrder,
};

}  // namespace

const FormDescription& MainWindowForm() { return kForm; }

}  // namespace umbra::ui
