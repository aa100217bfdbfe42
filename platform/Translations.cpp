#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace lumawrite::platform {

std::vector<QTranslator *> installTranslations(QCoreApplication &app, const QLocale &locale)
{
    // Ours are compiled in (translations/*.ts); Qt's come with the system's Qt.
    const struct {
        const char *name;
        QString folder;
    } sources[] = {
        {"lumawrite", QStringLiteral(":/i18n")},
        {"qtbase", QLibraryInfo::path(QLibraryInfo::TranslationsPath)},
    };
    std::vector<QTranslator *> installed;
    for (const auto &source : sources) {
        // The languages in the desktop's order of preference; English, the language the
        // texts are written in, ends the search (LANGUAGE=en:de stays English).
        for (const QString &language : locale.uiLanguages()) {
            const QLocale preferred(language);
            if (preferred.language() == QLocale::English || preferred.language() == QLocale::C)
                break;
            auto *translator = new QTranslator(&app);
            if (translator->load(preferred, QLatin1String(source.name), QStringLiteral("_"),
                                 source.folder) &&
                QCoreApplication::installTranslator(translator)) {
                installed.push_back(translator);
                break;
            }
            delete translator;
        }
    }
    return installed;
}

void removeTranslations(QCoreApplication &app, const std::vector<QTranslator *> &translators)
{
    Q_UNUSED(app);
    for (QTranslator *translator : translators) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

} // namespace lumawrite::platform
