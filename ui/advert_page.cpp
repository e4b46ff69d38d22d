#include "ui/advert_page.h"

#include <QtGlobal>

// Outside any namespace: Q_INIT_RESOURCE names a global function.
static void InitUmbrascopeResources() { Q_INIT_RESOURCE(umbrascope); }

namespace umbra::ui {

void RegisterAdvertPage() {
  // The resources live in a static library, where nothing else would pull
  // them into the program.
  InitUmbrascopeResources();
}

QUrl AdvertPageUrl() { return QUrl(QStringLiteral("qrc:/umbrascope/advert.html")); }

}  // namespace umbra::ui
