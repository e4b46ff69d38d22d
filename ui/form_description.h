#pragma once
// A window described as its form file would: the window's own settings and
// every control with its kind, parent, place, size, caption and font, in
// creation order, plus the tab order. FormBuilder makes the widgets from it.

#include <span>

#include "ui/fonts.h"

namespace umbra::ui {

enum class ControlKind {
  Label,           // QLabel, text at the top left
  Edit,            // QLineEdit
  ComboBox,        // editable QComboBox with a drop-down list
  ListBox,         // TListBox
  Button,          // QPushButton
  GroupBox,        // QGroupBox
  WebBrowser,      // QWebEngineView
  GradientButton,  // TXPButton
  PictureButton,   // TBitBtn
};

enum class Picture {
  None,
  GirlFace,  // 37 × 41
  Penguin,   // 39 × 41
};

enum class Align {
  None,    // left, top, width and height as given, for good
  Client,  // fills the parent's client area and follows its size
};

struct ControlDescription {
  const char* name;           // the designer's name, the widget's objectName
  ControlKind kind;
  const char* parent;         // nullptr: the window's client area
  int left;
  int top;
  int width;
  int height;
  const char* caption;        // UTF-8; an edit's or combo box's initial text
  const FontDescription* font = nullptr;  // nullptr: the parent's font
  bool enabled = true;
  Picture picture = Picture::None;
  Align align = Align::None;
};

enum class WindowFrame {
  Resizable,    // normal resizable frame, system menu, minimise, no maximise
  None,         // no frame and no title bar
  FixedDialog,  // dialog frame, caption and close box only, not resizable
};

struct FormDescription {
  const char* name;           // objectName of the window
  const char* caption;        // UTF-8
  WindowFrame frame;
  int left;                   // screen position of the window's outer frame
  int top;
  int clientWidth;
  int clientHeight;
  FontDescription font;
  std::span<const ControlDescription> controls;  // creation order: a later sibling lies above
  // Tab order, window-level controls and, right after a container, the
  // controls inside it.
  std::span<const char* const> tabOrder;
};

}  // namespace umbra::ui
