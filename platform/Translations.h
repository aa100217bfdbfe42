#pragma once

#include <vector>

class QCoreApplication;
class QLocale;
class QTranslator;

namespace lumawrite::platform {

// Installs the translations for a language: Luma Write's own (built into the program) and
// Qt's, which words the standard buttons and dialogs, both in the first of the desktop's
// languages that Luma Write is translated into. Where there is none the texts stay English,
// the language they are written in, Qt's included. Returns what was installed, the
// application owning it; call it before the first window is made, which takes its texts then.
std::vector<QTranslator *> installTranslations(QCoreApplication &app, const QLocale &locale);

// Takes translations installed above off again and deletes them.
void removeTranslations(QCoreApplication &app, const std::vector<QTranslator *> &translators);

} // namespace lumawrite::platform
