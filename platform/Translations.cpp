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
        auto *translator = new QTranslator(&app);
        if (translator->load(locale, QLatin1String(source.name), QStringLiteral("_"),
                             source.folder) &&
            QCoreApplication::installTranslator(translator))
            installed.push_back(translator);
        else
            delete translator;
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
