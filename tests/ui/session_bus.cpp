#include "tests/ui/session_bus.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDBusArgument>
#include <QDBusMessage>
#include <cstring>
#include <filesystem>
#include <vector>

extern char** environ;

namespace umbra::test {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kConnectionName = QStringLiteral("test-notification-service");

}  // namespace

SessionBus::SessionBus() {
  char pattern[] = "/tmp/umbrascope-bus-XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    error_ = "mkdtemp failed";
    return;
  }
  dir_ = pattern;
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) {
    error_ = "pipe failed";
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  const std::string address = "--address=unix:path=" + dir_ + "/bus";
  std::vector<std::string> args{"dbus-daemon", "--session", "--nofork", "--nopidfile", address,
                                "--print-address=1"};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const int rc = posix_spawnp(&daemon_, "dbus-daemon", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (rc != 0) {
    daemon_ = -1;
    close(out[0]);
    error_ = std::string("dbus-daemon could not be started: ") + std::strerror(rc);
    return;
  }
  // The daemon prints its address once it listens.
  std::string printed;
  pollfd ready{out[0], POLLIN, 0};
  while (printed.find('\n') == std::string::npos && poll(&ready, 1, 10000) > 0) {
    char buffer[256];
    const ssize_t n = read(out[0], buffer, sizeof buffer);
    if (n <= 0) break;
    printed.append(buffer, static_cast<std::size_t>(n));
  }
  close(out[0]);
  if (printed.find('\n') == std::string::npos) {
    error_ = "dbus-daemon printed no address";
    return;
  }
  address_ = printed.substr(0, printed.find('\n'));
}

SessionBus::~SessionBus() {
  if (daemon_ > 0) {
    kill(daemon_, SIGTERM);
    waitpid(daemon_, nullptr, 0);
  }
  if (!dir_.empty()) std::filesystem::remove_all(dir_);
}

void SessionBus::UseAsSessionBus() const {
  setenv("DBUS_SESSION_BUS_ADDRESS",
         address_.empty() ? ("unix:path=" + dir_ + "/no-bus-here").c_str() : address_.c_str(), 1);
}

NotificationService::NotificationService(const QString& address)
    : connection_(QDBusConnection::connectToBus(address, kConnectionName)) {
  registered_ = connection_.isConnected() &&
                connection_.registerObject(kPath, this, QDBusConnection::ExportAllSlots) &&
                connection_.registerService(kService);
}

NotificationService::~NotificationService() {
  Unregister();
  connection_.unregisterObject(kPath);
  QDBusConnection::disconnectFromBus(kConnectionName);
}

void NotificationService::Unregister() {
  if (registered_) connection_.unregisterService(kService);
  registered_ = false;
}

uint NotificationService::Notify(const QString& appName, uint replacesId, const QString& appIcon,
                                 const QString& summary, const QString& body, const QStringList& actions,
                                 const QVariantMap& hints, int expireTimeout) {
  NotifyCall call;
  call.appName = appName;
  call.replacesId = replacesId;
  call.appIcon = appIcon;
  call.summary = summary;
  call.body = body;
  call.actions = actions;
  call.hintNames = hints.keys();
  call.category = hints.value(QStringLiteral("category")).toString();
  if (hints.contains(QStringLiteral("image-data"))) {
    const QDBusArgument image = hints.value(QStringLiteral("image-data")).value<QDBusArgument>();
    int width = 0, height = 0, stride = 0, bitsPerSample = 0, channels = 0;
    bool alpha = false;
    QByteArray bytes;
    image.beginStructure();
    image >> width >> height >> stride >> alpha >> bitsPerSample >> channels >> bytes;
    image.endStructure();
    if (bytes.size() == stride * height && channels == 4 && bitsPerSample == 8) call.imageSize = QSize(width, height);
  }
  call.expireTimeout = expireTimeout;
  call.id = nextId_++;
  calls_.push_back(call);
  return call.id;
}

QStringList NotificationService::GetCapabilities() {
  return {QStringLiteral("actions"), QStringLiteral("body"), QStringLiteral("body-markup")};
}

void NotificationService::CloseNotification(uint) {}

void NotificationService::Click(uint id) {
  QDBusMessage invoked =
      QDBusMessage::createSignal(kPath, QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("ActionInvoked"));
  invoked << id << QStringLiteral("default");
  connection_.send(invoked);
  QDBusMessage closed =
      QDBusMessage::createSignal(kPath, QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("NotificationClosed"));
  closed << id << 2u;  // dismissed by the user
  connection_.send(closed);
}

}  // namespace umbra::test
