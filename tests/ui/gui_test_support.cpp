#include "tests/ui/gui_test_support.h"

#include <QEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>

#include "settings/settings.h"
#include "tests/support/temp_working_dir.h"
#include "ui/background_watch.h"
#include "ui/notice_window.h"
#include "base/gbk.h"

namespace umbra::test {
namespace {

class LoopbackOnlyInterceptor : public QWebEngineUrlRequestInterceptor {
 public:
  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    const QUrl url = info.requestUrl();
    // The program's own pages (qrc:, data:, about:) never leave the process.
    static const QStringList kNetworkSchemes{"http", "https", "ws", "wss", "ftp"};
    if (!kNetworkSchemes.contains(url.scheme())) return;
    const QString host = url.host();
    const bool loopback = host == QStringLiteral("localhost") || host == QStringLiteral("::1") ||
                          host.startsWith(QStringLiteral("127."));
    if (!loopback) info.block(true);
  }
};

}  // namespace

void KeepBrowsersOnThisMachine() {
  static LoopbackOnlyInterceptor interceptor;
  QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(&interceptor);
}

ModalAnswers::ModalAnswers() {
  ui::MessageBox::SetTestHook([this](const ui::ShownMessageBox& box) {
    boxes_.push_back(box);
    events_.push_back(QStringLiteral("box: ") + box.text);
    if (whileBoxUp_) whileBoxUp_(box);
    // The first button of the box: OK, or Retry of Retry / Cancel.
    for (const auto button : {QMessageBox::Ok, QMessageBox::Retry, QMessageBox::Yes}) {
      if (box.buttons.testFlag(button)) return button;
    }
    return QMessageBox::NoButton;
  });
}

ModalAnswers::~ModalAnswers() { ui::MessageBox::SetTestHook({}); }

void ModalAnswers::AnswerNotice(ui::TForm3& notice, const char* buttonName) {
  if (notice_ != &notice) {
    if (notice_) notice_->removeEventFilter(this);
    notice_ = &notice;
    notice.installEventFilter(this);
  }
  noticeButton_ = QString::fromUtf8(buttonName);
}

void ModalAnswers::Clear() {
  boxes_.clear();
  events_.clear();
}

bool ModalAnswers::eventFilter(QObject* watched, QEvent* event) {
  if (watched == notice_ && event->type() == QEvent::Show) {
    events_.push_back(QStringLiteral("notice"));
    // Once the window's own message loop runs.
    QTimer::singleShot(0, this, [this] {
      if (!notice_) return;
      if (whileNoticeUp_) whileNoticeUp_();
      QTest::mouseClick(Find<QPushButton>(*notice_, noticeButton_.toUtf8().constData()),
                        Qt::LeftButton);
    });
  }
  return false;
}

void WriteSettingsFile(const std::string& numbers, const std::string& refreshTime,
                       const std::string& endpoint) {
  using namespace umbra::settings;
  WriteFileBytes(kConfigFileName, std::string("[") + kSection + "]\r\n" + kNumbersKey + "=" +
                                      Utf8ToGbk(numbers) + "\r\n" + kRefreshTimeKey + "=" +
                                      Utf8ToGbk(refreshTime) + "\r\n" + kEndpointKey + "=" +
                                      endpoint + "\r\n");
}

QStringList Lines(QObject& window, const char* listName) {
  auto* list = Find<QListWidget>(window, listName);
  QStringList lines;
  for (int i = 0; i < list->count(); ++i) lines.push_back(list->item(i)->text());
  return lines;
}

bool ScanSettled(QObject& form1) {
  auto* watch = Find<ui::BackgroundWatch>(form1, "BackgroundWatch");
  return QTest::qWaitFor([watch] { return !watch->Busy(); }, 30000);
}

bool ClickAndSettle(QObject& form1, const char* buttonName) {
  QTest::mouseClick(Find<QPushButton>(form1, buttonName), Qt::LeftButton);
  return ScanSettled(form1);
}

bool TickAndSettle(QObject& form1) {
  return QMetaObject::invokeMethod(Find<QTimer>(form1, "ScanUpDate"), "timeout") && ScanSettled(form1);
}

}  // namespace umbra::test
