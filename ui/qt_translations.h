#pragma once
// Qt's own texts (the standard buttons' OK, Retry, Cancel...) in the
// desktop's language, next to the program's Chinese texts.

#include <QLocale>

class QTranslator;

namespace umbra::ui {

// Loads and installs Qt's translations for `locale` from Qt's translations
// folder; returns the installed translator (owned by the application), or
// nullptr when none exists for that language.
QTranslator* InstallQtTranslations(const QLocale& locale);

}  // namespace umbra::ui
