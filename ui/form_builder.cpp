#include "ui/form_builder.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <limits>
#include <string>
#include <vector>

#include "ui/bit_btn.h"
#include "ui/list_box.h"
#include "ui/pictures.h"
#include "ui/return_presses_button.h"
#include "ui/tab_order.h"
#include "ui/xp_button.h"

namespace umbra::ui {
namespace {

// An edit in the original form takes any length; Qt's default would cut a
// long numbers list at 32767 characters and save it cut.
constexpr int kNoLengthLimit = std::numeric_limits<int>::max();

QWidget* MakeControl(const ControlDescription& control, QWidget* parent) {
  const QString caption = QString::fromUtf8(control.caption);
  switch (control.kind) {
    case ControlKind::Label: {
      auto* label = new QLabel(caption, parent);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      return label;
    }
    case ControlKind::Edit: {
      auto* edit = new QLineEdit(caption, parent);
      edit->setMaxLength(kNoLengthLimit);
      return edit;
    }
    case ControlKind::ComboBox: {
      auto* combo = new QComboBox(parent);
      combo->setEditable(true);
      // The text stays exactly as typed: no item is added on Enter and
      // nothing is completed from the choices.
      combo->setInsertPolicy(QComboBox::NoInsert);
      combo->setCompleter(nullptr);
      combo->lineEdit()->setMaxLength(kNoLengthLimit);
      combo->setEditText(caption);
      return combo;
    }
    case ControlKind::ListBox:
      return new TListBox(parent);
    case ControlKind::Button: {
      auto* button = new QPushButton(caption, parent);
      // No button is the form's default: Return presses the focused button
      // only (PressOnReturn), never another one of the form's own accord.
      button->setAutoDefault(false);
      PressOnReturn(*button);
      return button;
    }
    case ControlKind::GroupBox:
      return new QGroupBox(caption, parent);
    case ControlKind::WebBrowser:
      return new QWebEngineView(parent);
    case ControlKind::GradientButton: {
      auto* button = new TXPButton(caption, parent);
      PressOnReturn(*button);
      return button;
    }
    case ControlKind::PictureButton: {
      auto* button = new TBitBtn(caption, parent);
      PressOnReturn(*button);
      if (control.picture == Picture::GirlFace) button->SetGlyph(GirlFacePicture());
      if (control.picture == Picture::Penguin) button->SetGlyph(PenguinPicture());
      return button;
    }
  }
  throw std::logic_error("unknown control kind");
}

void ApplyFont(QWidget& widget, const FontDescription& description) {
  widget.setFont(MakeFont(description));
  if (description.color == TextColor::Red) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    palette.setColor(QPalette::Text, Qt::red);
    palette.setColor(QPalette::ButtonText, Qt::red);
    widget.setPalette(palette);
  }
}

void ApplyFrame(QWidget& window, const FormDescription& form) {
  const Qt::WindowFlags type = window.windowType();
  switch (form.frame) {
    case WindowFrame::Resizable:
      window.setWindowFlags(type | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                            Qt::WindowCloseButtonHint);
      break;
    case WindowFrame::None:
      window.setWindowFlags(type | Qt::FramelessWindowHint);
      break;
    case WindowFrame::FixedDialog:
      window.setWindowFlags(type | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint);
      window.setFixedSize(form.clientWidth, form.clientHeight);
      break;
  }
}

void FillParent(QWidget& control) {
  QWidget* parent = control.parentWidget();
  auto* layout = qobject_cast<QVBoxLayout*>(parent->layout());
  if (layout == nullptr) {
    layout = new QVBoxLayout(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
  }
  layout->addWidget(&control);
}

}  // namespace

FormControls BuildForm(QWidget& window, const FormDescription& form) {
  window.setObjectName(QString::fromUtf8(form.name));
  window.setWindowTitle(QString::fromUtf8(form.caption));
  ApplyFrame(window, form);
  window.move(form.left, form.top);
  window.resize(form.clientWidth, form.clientHeight);
  ApplyFont(window, form.font);

  FormControls built;
  for (const ControlDescription& control : form.controls) {
    QWidget* parent = &window;
    if (control.parent != nullptr) parent = built.Get<QWidget>(control.parent);
    QWidget* widget = MakeControl(control, parent);
    widget->setObjectName(QString::fromUtf8(control.name));
    if (control.font != nullptr) ApplyFont(*widget, *control.font);
    widget->setEnabled(control.enabled);
    if (control.align == Align::Client) {
      FillParent(*widget);
    } else {
      widget->setGeometry(control.left, control.top, control.width, control.height);
    }
    built.controls_.insert(widget->objectName(), widget);
  }

  // Qt keeps controls that take no focus (group boxes, labels) out of the
  // chain and refuses to order them, so the order is set among the others.
  std::vector<QWidget*> order;
  for (const char* name : form.tabOrder) order.push_back(built.Get<QWidget>(name));
  KeepTabOrder(window, order);
  return built;
}

}  // namespace umbra::ui
