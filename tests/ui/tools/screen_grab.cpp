// Saves what an X display shows as a PNG: the whole screen, or one window
// given by its X window id (decimal or 0x hex), the way it appears there.
//
//   umbrascope_screen_grab out.png [window-id]

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s out.png [window-id]\n", argv[0]);
    return 2;
  }
  QGuiApplication application(argc, argv);
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    std::fprintf(stderr, "no screen\n");
    return 1;
  }
  WId window = 0;
  if (argc == 3) {
    bool ok = false;
    window = QString::fromLocal8Bit(argv[2]).toULongLong(&ok, 0);
    if (!ok) {
      std::fprintf(stderr, "not a window id: %s\n", argv[2]);
      return 2;
    }
  }
  const QPixmap shot = screen->grabWindow(window);
  if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "cannot grab or save\n");
    return 1;
  }
  return 0;
}
