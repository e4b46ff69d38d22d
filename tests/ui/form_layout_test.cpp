// The windows as their forms describe them: every control's kind, parent,
// place, size, caption, enabled state and font, the tab order, the window
// settings, and the cut-outs the browsers show. The expected values are
// typed here afresh, not read from the program's own form tables.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegion>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>
#include <optional>

#include "tests/support/temp_working_dir.h"
#include "tests/ui/gui_test_support.h"
#include "ui/bit_btn.h"
#include "ui/list_box.h"
#include "ui/main_window.h"
#include "ui/notice_window.h"
#include "ui/startup.h"
#include "ui/web_client_window.h"

using umbra::test::Find;
using umbra::ui::ProgramWindows;

namespace {

QString CaptionOf(const QWidget& widget) {
  if (auto* label = qobject_cast<const QLabel*>(&widget)) return label->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(&widget)) return button->text();
  if (auto* box = qobject_cast<const QGroupBox*>(&widget)) return box->title();
  if (auto* edit = qobject_cast<const QLineEdit*>(&widget)) return edit->text();
  if (auto* combo = qobject_cast<const QComboBox*>(&widget)) return combo->currentText();
  return {};
}

struct Control {
  const char* name;
  const char* kind;    // class name
  const char* parent;  // objectName of the parent
  int x, y, w, h;
  const char* caption;
  const char* font;    // family, "" where the window's
  int pixelSize;
  bool bold;
  bool enabled;
};

constexpr const char* kSansSerif = "MS Sans Serif";
constexpr const char* kSimSun = "宋体";

// The main window's control table. Blanks in captions are written out.
const Control kMainWindowControls[] = {
    {"Label1", "QLabel", "Form1", 10, 111, 64, 13, "QQ号码： ", kSansSerif, 11, true, true},
    {"QQhaoma", "QLineEdit", "Form1", 72, 106, 401, 21, "", kSansSerif, 11, false, true},
    {"Label2", "QLabel", "Form1", 80, 136, 378, 16,
     "可以批量查询例\"123456,88888,99999,批量查询逗号隔开                        ", kSansSerif,
     13, false, true},
    {"Label3", "QLabel", "Form1", 35, 160, 64, 13, "在线状态", kSansSerif, 11, true, true},
    {"Label4", "QLabel", "Form1", 173, 160, 68, 13, "离线状态", kSansSerif, 11, true, true},
    {"Label7", "QLabel", "Form1", 296, 160, 128, 13, "隐身状态    时隔  ：   ", kSansSerif, 11, true,
     true},
    {"jiange", "QComboBox", "Form1", 424, 157, 73, 21, "30", kSansSerif, 11, false, true},
    {"ListBox1", "umbra::ui::TListBox", "Form1", 12, 180, 125, 61, "", kSansSerif, 11, false, true},
    {"ListBox2", "umbra::ui::TListBox", "Form1", 144, 180, 129, 61, "", kSansSerif, 11, false, true},
    {"ListBox3", "umbra::ui::TListBox", "Form1", 277, 180, 228, 61, "", kSansSerif, 11, false, true},
    {"Button1", "QPushButton", "Form1", 32, 246, 73, 35, "查询", kSansSerif, 11, false, true},
    {"Button2", "QPushButton", "Form1", 179, 246, 70, 35, "停    止", kSansSerif, 11, false, false},
    {"Button4", "QPushButton", "Form1", 304, 248, 65, 33, "设 置", kSansSerif, 11, false, true},
    {"Button3", "QPushButton", "Form1", 409, 247, 80, 34, "使用说明", kSansSerif, 11, false, true},
    {"GroupBox3", "QGroupBox", "Form1", 0, -24, 513, 129, "GroupBox3", kSansSerif, 11, false, true},
    {"WebBrowser2", "QWebEngineView", "GroupBox3", -136, -112, 809, 873, "", kSansSerif, 11, false,
     true},
    {"GroupBox1", "QGroupBox", "Form1", 512, 0, 297, 465, "", kSansSerif, 11, false, true},
    {"WebBrowser1", "QWebEngineView", "GroupBox1", -80, -120, 849, 401, "", kSansSerif, 11, false,
     true},
    {"WebBrowser3", "QWebEngineView", "GroupBox1", 0, 248, 300, 209, "", kSansSerif, 11, false, true},
    {"GroupBox2", "QGroupBox", "Form1", 8, 288, 497, 177, "其他功能", kSansSerif, 11, false, true},
    {"Edit1", "QLineEdit", "GroupBox2", 16, 32, 97, 21, "输入QQ号码", kSansSerif, 11, false, true},
    {"XPButton1", "umbra::ui::TXPButton", "GroupBox2", 120, 32, 75, 25, "强行聊天", kSimSun, 12, false, true},
    {"XPButton2", "umbra::ui::TXPButton", "GroupBox2", 208, 32, 81, 25, "登陆3GQQ", kSimSun, 12, false, true},
    {"XPButton3", "umbra::ui::TXPButton", "GroupBox2", 312, 32, 73, 25, "QQ秀查询", kSimSun, 12, false, true},
    {"XPButton4", "umbra::ui::TXPButton", "GroupBox2", 400, 32, 73, 25, "QQ问问资料", kSimSun, 12, false, true},
    {"XPButton5", "umbra::ui::TXPButton", "GroupBox2", 24, 72, 81, 25, "QQ空间查看", kSimSun, 12, false, true},
    {"XPButton6", "umbra::ui::TXPButton", "GroupBox2", 120, 72, 73, 25, "QQ相册查看", kSimSun, 12, false, true},
    {"XPButton7", "umbra::ui::TXPButton", "GroupBox2", 208, 72, 81, 25, "是否加好友", kSimSun, 12, false, true},
    {"XPButton8", "umbra::ui::TXPButton", "GroupBox2", 312, 72, 73, 25, "网页QQ", kSimSun, 12, false, true},
    {"XPButton9", "umbra::ui::TXPButton", "GroupBox2", 400, 72, 81, 25, "好友业务查看", kSimSun, 12, false, true},
    {"BitBtn1", "umbra::ui::TBitBtn", "GroupBox2", 24, 112, 145, 49, "同城MM搜索", kSansSerif, 16, true, true},
    {"BitBtn2", "umbra::ui::TBitBtn", "GroupBox2", 272, 112, 161, 49, "查看局域网QQ", kSansSerif, 16, true, true},
    {"WebBrowser4", "QWebEngineView", "Form1", 880, 160, 300, 150, "", kSansSerif, 11, false, true},
};

const Control kNoticeWindowControls[] = {
    {"GroupBox1", "QGroupBox", "Form3", 0, -8, 657, 121, "", kSansSerif, 11, false, true},
    {"WebBrowser1", "QWebEngineView", "GroupBox1", -400, -128, 1137, 489, "", kSansSerif, 11, false,
     true},
    {"Label1", "QLabel", "Form3", 16, 112, 554, 13,
     "程序为免费版本，在您使用前请依次点击↑上面全部文字或图片查询更准确                               ",
     kSansSerif, 11, true, true},
    {"Button1", "QPushButton", "Form3", 112, 128, 89, 25, "我已点击", kSansSerif, 11, false, true},
    {"Button2", "QPushButton", "Form3", 296, 128, 89, 25, "忽略", kSansSerif, 11, false, true},
};

// The controls that Tab stops at, in the order it visits them, following
// the real focus chain: a widget without a name of its own (a browser's
// focus widget, the edit inside a combo box) counts as the named control
// that holds it; one that no named control holds shows as its class.
QStringList FocusChain(QWidget& window) {
  QStringList order;
  QWidget* widget = &window;
  do {
    widget = widget->nextInFocusChain();
    if (widget == &window || widget->window() != &window ||
        !(widget->focusPolicy() & Qt::TabFocus)) {
      continue;
    }
    QWidget* named = widget;
    while (named != &window && named->objectName().isEmpty()) named = named->parentWidget();
    const QString name = named == &window ? QString::fromUtf8(widget->metaObject()->className())
                                          : named->objectName();
    if (order.isEmpty() || order.back() != name) order.push_back(name);
  } while (widget != &window);
  return order;
}

QRect InWindow(const QWidget& widget) {
  return QRect(widget.mapTo(widget.window(), QPoint(0, 0)), widget.size());
}

// What part of a browser the window shows: clipped by its box and by the
// window, less what later controls in the same box cover. In the window's
// coordinates.
QRect VisibleInWindow(QWidget& browser) {
  QRegion visible(InWindow(browser));
  for (QWidget* parent = browser.parentWidget(); parent != nullptr; parent = parent->parentWidget()) {
    visible &= InWindow(*parent);
    if (parent->isWindow()) break;
  }
  const QObjectList siblings = browser.parentWidget()->children();
  for (qsizetype i = siblings.indexOf(&browser) + 1; i < siblings.size(); ++i) {
    if (auto* above = qobject_cast<QWidget*>(siblings[i])) visible -= InWindow(*above);
  }
  return visible.boundingRect();
}

// The value of a script run in the page; nothing if it never answers.
std::optional<QVariant> RunScript(QWebEngineView& view, const QString& script) {
  auto result = std::make_shared<std::optional<QVariant>>();
  view.page()->runJavaScript(script, [result](const QVariant& value) { *result = value; });
  (void)QTest::qWaitFor([&] { return result->has_value(); }, 60000);
  return *result;
}

}  // namespace

Q_DECLARE_METATYPE(Control)

class FormLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_.emplace();
    windows_ = std::make_unique<ProgramWindows>();
  }
  void cleanup() {
    windows_.reset();
    dir_.reset();
  }

  void mainWindowSettings() {
    umbra::ui::TForm1& form = windows_->Form1();
    QCOMPARE(form.objectName(), QStringLiteral("Form1"));
    QCOMPARE(form.windowTitle(), QStringLiteral("VE2013QQUmbrascope6.9"));
    QCOMPARE(form.pos(), QPoint(207, 123));
    // 824 × 511 outside, with a classic Windows frame.
    QCOMPARE(form.size(), QSize(816, 484));
    const Qt::WindowFlags flags = form.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::FramelessWindowHint));
    QCOMPARE(form.font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(form.font().pixelSize(), 11);
    const QList<QSize> iconSizes = form.windowIcon().availableSizes();
    for (const int size : {16, 24, 32, 48}) QVERIFY(iconSizes.contains(QSize(size, size)));
    QVERIFY(!form.isVisible());
  }

  void noticeWindowSettings() {
    umbra::ui::TForm3& form = windows_->Form3();
    QCOMPARE(form.windowTitle(), QStringLiteral("设置"));
    QVERIFY(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(form.pos(), QPoint(208, 286));
    QCOMPARE(form.size(), QSize(587, 166));
    QVERIFY(!form.isVisible());
  }

  void webClientWindowSettings() {
    umbra::ui::TForm4& form = windows_->Form4();
    QCOMPARE(form.windowTitle(), QStringLiteral("网页QQ"));
    QCOMPARE(form.pos(), QPoint(199, 167));
    QCOMPARE(form.size(), QSize(753, 446));
    QVERIFY(!form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!form.isVisible());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // It opens maximised; the browser fills whatever size it has.
    auto* browser = Find<QWebEngineView>(form, "WebBrowser1");
    QCOMPARE(browser->geometry(), form.rect());
    // No icon of its own: an empty one, not the program's.
    QVERIFY(form.windowIcon().cacheKey() != QApplication::windowIcon().cacheKey());
    QCOMPARE(form.windowIcon().pixmap(16).toImage().pixelColor(8, 8).alpha(), 0);
    // Restored, it has its design size at its design place.
    form.showNormal();
    QTRY_COMPARE(form.size(), QSize(753, 446));
    QCOMPARE(form.pos(), QPoint(199, 167));
  }

  // "宋体" is a Ming face: one stands in for it where one is installed.
  void gradientButtonsUseAMingFace() {
    const QString face = QFontInfo(Find<QWidget>(windows_->Form1(), "XPButton1")->font()).family();
    if (!QFontDatabase::families().contains(QStringLiteral("AR PL UMing CN"))) {
      QSKIP("no Ming face is installed (fonts-arphic-uming)");
    }
    QCOMPARE(face, QStringLiteral("AR PL UMing CN"));
  }

  void everyControlAsTheFormSays_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<Control>("control");
    for (const Control& control : kMainWindowControls) {
      QTest::addRow("Form1.%s", control.name) << "Form1" << control;
    }
    for (const Control& control : kNoticeWindowControls) {
      QTest::addRow("Form3.%s", control.name) << "Form3" << control;
    }
  }
  void everyControlAsTheFormSays() {
    QFETCH(QString, window);
    QFETCH(Control, control);
    QWidget& form = window == "Form1" ? static_cast<QWidget&>(windows_->Form1())
                                      : static_cast<QWidget&>(windows_->Form3());
    auto* widget = Find<QWidget>(form, control.name);
    QCOMPARE(widget->metaObject()->className(), control.kind);
    QCOMPARE(widget->parentWidget()->objectName(), QString::fromUtf8(control.parent));
    QCOMPARE(widget->geometry(), QRect(control.x, control.y, control.w, control.h));
    QCOMPARE(CaptionOf(*widget), QString::fromUtf8(control.caption));
    QCOMPARE(widget->isEnabled(), control.enabled);
    QCOMPARE(widget->font().family(), QString::fromUtf8(control.font));
    QCOMPARE(widget->font().pixelSize(), control.pixelSize);
    QCOMPARE(widget->font().bold(), control.bold);
  }

  // The event log shows a change line of a ten-digit number whole, the
  // date-time text as the Chinese regional format writes it.
  void eventLogShowsAChangeLineOfATenDigitNumberWhole_data() {
    QTest::addColumn<QString>("line");
    QTest::newRow("gone invisible") << QStringLiteral("2026/12/11 07:17:17-----1234567890隐身中!");
    QTest::newRow("come online") << QStringLiteral("2026/12/11 07:17:17-----1234567890上线了!!!");
  }
  void eventLogShowsAChangeLineOfATenDigitNumberWhole() {
    QFETCH(QString, line);
    umbra::ui::TForm1& form = windows_->Form1();
    auto* log = Find<umbra::ui::TListBox>(form, "ListBox3");
    const QString face = QFontInfo(log->font()).family();
    if (face == QStringLiteral("DejaVu Sans")) QSKIP("no face with narrow digits is installed");
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    log->AppendAndSelect(line, line.toUtf8());
    QTest::qWait(50);
    QVERIFY2(!log->horizontalScrollBar()->isVisible(),
             qPrintable(QStringLiteral("%1: %2 px in a %3 px list")
                            .arg(face)
                            .arg(log->fontMetrics().horizontalAdvance(line))
                            .arg(log->viewport()->width())));
  }

  void redLabels() {
    for (QLabel* label : {Find<QLabel>(windows_->Form1(), "Label2"),
                          Find<QLabel>(windows_->Form3(), "Label1")}) {
      QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::red));
    }
    QCOMPARE(Find<QLabel>(windows_->Form1(), "Label1")->palette().color(QPalette::WindowText),
             QApplication::palette().color(QPalette::WindowText));
  }

  void refreshBoxIsEditableAndKeepsWhatIsTyped() {
    auto* jiange = Find<QComboBox>(windows_->Form1(), "jiange");
    QVERIFY(jiange->isEditable());
    QCOMPARE(jiange->insertPolicy(), QComboBox::NoInsert);
    jiange->lineEdit()->clear();
    QTest::keyClicks(jiange->lineEdit(), "1");
    QTest::keyClick(jiange->lineEdit(), Qt::Key_Return);
    QCOMPARE(jiange->currentText(), QStringLiteral("1"));
    QCOMPARE(jiange->count(), 5);
  }

  void pictureButtonsCarryTheirPictures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::newRow("BitBtn1, the girl") << "BitBtn1" << QSize(37, 41);
    QTest::newRow("BitBtn2, the penguin") << "BitBtn2" << QSize(39, 41);
  }
  void pictureButtonsCarryTheirPictures() {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    auto* button = Find<umbra::ui::TBitBtn>(windows_->Form1(), name.toUtf8().constData());
    QCOMPARE(button->Glyph().size(), size);
    QCOMPARE(button->Glyph().depth(), 24);
    QCOMPARE(button->iconSize(), size);
    QVERIFY(!button->icon().isNull());
  }

  void tabOrder_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("main window")
        << "Form1"
        << QStringList{"ListBox1", "QQhaoma", "jiange", "ListBox3", "Button1", "Button2",
                       "ListBox2", "Button3", "GroupBox1", "WebBrowser1", "WebBrowser3",
                       "GroupBox2", "XPButton1", "Edit1", "XPButton2", "XPButton3", "XPButton4",
                       "XPButton5", "XPButton6", "XPButton7", "XPButton8", "XPButton9", "BitBtn1",
                       "BitBtn2", "GroupBox3", "WebBrowser2", "WebBrowser4", "Button4"};
    QTest::newRow("notice window")
        << "Form3" << QStringList{"GroupBox1", "WebBrowser1", "Button1", "Button2"};
  }
  void tabOrder() {
    QFETCH(QString, window);
    QFETCH(QStringList, order);
    QWidget& form = window == "Form1" ? static_cast<QWidget&>(windows_->Form1())
                                      : static_cast<QWidget&>(windows_->Form3());
    // Group boxes take no focus: Tab passes from the control before them
    // straight to the controls inside. A browser takes it once its page has
    // been made, with the focus widget the page brings.
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::qWait(500);
    QStringList chain = FocusChain(form);
    order.removeIf([&](const QString& name) {
      return !(Find<QWidget>(form, name.toUtf8().constData())->focusPolicy() & Qt::TabFocus) &&
             !chain.contains(name);
    });
    // The chain is a ring; read it from the first control on.
    const qsizetype first = chain.indexOf(order.front());
    QVERIFY(first >= 0);
    chain = chain.mid(first) + chain.mid(0, first);
    QCOMPARE(chain, order);
  }

  void browsersShowTheirCutOut_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("browser");
    QTest::addColumn<QRect>("inWindow");
    QTest::addColumn<QRect>("ofPage");
    QTest::newRow("banner") << "Form1" << "WebBrowser2" << QRect(0, 0, 513, 105)
                            << QRect(136, 136, 513, 105);
    QTest::newRow("right-hand page") << "Form1" << "WebBrowser1" << QRect(512, 0, 297, 248)
                                     << QRect(80, 120, 297, 248);
    QTest::newRow("lookup page") << "Form1" << "WebBrowser3" << QRect(512, 248, 297, 209)
                                 << QRect(0, 0, 297, 209);
    QTest::newRow("outside the client area") << "Form1" << "WebBrowser4" << QRect() << QRect();
    QTest::newRow("notice") << "Form3" << "WebBrowser1" << QRect(0, 0, 587, 113)
                            << QRect(400, 136, 587, 113);
  }
  void browsersShowTheirCutOut() {
    QFETCH(QString, window);
    QFETCH(QString, browser);
    QFETCH(QRect, inWindow);
    QFETCH(QRect, ofPage);
    QWidget& form = window == "Form1" ? static_cast<QWidget&>(windows_->Form1())
                                      : static_cast<QWidget&>(windows_->Form3());
    auto* view = Find<QWebEngineView>(form, browser.toUtf8().constData());
    const QRect visible = VisibleInWindow(*view);
    QCOMPARE(visible, inWindow);
    if (visible.isEmpty()) return;
    QCOMPARE(visible.translated(-view->mapTo(&form, QPoint(0, 0))), ofPage);
  }

  // The advertising page comes from the program itself, and each cut-out
  // shows exactly one of its panels, whole.
  void advertPanelFillsEachCutOut_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("browser");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QRect>("ofPage");
    QTest::newRow("banner") << "Form1" << "WebBrowser2" << "banner" << QRect(136, 136, 513, 105);
    QTest::newRow("notice") << "Form3" << "WebBrowser1" << "notice" << QRect(400, 136, 587, 113);
  }
  void advertPanelFillsEachCutOut() {
    QFETCH(QString, window);
    QFETCH(QString, browser);
    QFETCH(QString, panel);
    QFETCH(QRect, ofPage);
    QWidget& form = window == "Form1" ? static_cast<QWidget&>(windows_->Form1())
                                      : static_cast<QWidget&>(windows_->Form3());
    auto* view = Find<QWebEngineView>(form, browser.toUtf8().constData());
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    QVERIFY(loaded.wait(60000));
    QCOMPARE(loaded.front().front().toBool(), true);
    QCOMPARE(view->url(), QUrl("qrc:/umbrascope/advert.html"));

    // Which panel is at the middle of the cut-out, and where it lies.
    const QPoint middle = ofPage.center();
    const std::optional<QVariant> answer =
        RunScript(*view, QStringLiteral("(() => {"
                                        "  const p = document.elementFromPoint(%1, %2).closest('.panel');"
                                        "  const r = p.getBoundingClientRect();"
                                        "  return [p.id, r.left, r.top, r.width, r.height,"
                                        "          p.scrollWidth <= p.clientWidth && p.scrollHeight <= p.clientHeight];"
                                        "})()")
                                 .arg(middle.x())
                                 .arg(middle.y()));
    QVERIFY(answer.has_value());
    const QVariantList found = answer->toList();
    QCOMPARE(found.size(), 6);
    QCOMPARE(found[0].toString(), panel);
    QCOMPARE(QRect(found[1].toInt(), found[2].toInt(), found[3].toInt(), found[4].toInt()), ofPage);
    QVERIFY2(found[5].toBool(), "the panel's text runs over its edge");
  }

 private:
  std::optional<umbra::test::TempWorkingDir> dir_;
  std::unique_ptr<ProgramWindows> windows_;
};

UMBRASCOPE_GUI_TEST_MAIN(FormLayoutTest)
#include "form_layout_test.moc"
