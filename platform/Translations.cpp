#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace lumawrite::platform {

namespace {

QTranslator *loaded(QCoreApplication &app, const QLocale &locale, const char *name,
                    const QString &folder)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(locale, QLatin1String(name), QStringLiteral("_"), folder) &&
        QCoreApplication::installTranslator(translator))
        return translator;
    delete translator;
    return nullptr;
}

} // namespace

std::vector<QTranslator *> installTranslations(QCoreApplication &app, const QLocale &locale)
{
    // The first of the desktop's languages, in its order of preference, that ours are
    // translated into (they are compiled in: translations/*.ts). English, the language the
    // texts are written in, ends the search (LANGUAGE=en:de stays English).
    std::vector<QTranslator *> installed;
    for (const QString &language : locale.uiLanguages()) {
        const QLocale preferred(language);
        if (preferred.language() == QLocale::English || preferred.language() == QLocale::C)
            break;
        if (QTranslator *ours = loaded(app, preferred, "lumawrite", QStringLiteral(":/i18n"))) {
            installed.push_back(ours);
            // Qt's own texts (standard buttons, option errors) in the same language, so that
            // no window or line mixes two.
            if (QTranslator *qt = loaded(app, preferred, "qtbase",
                                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
                installed.push_back(qt);
            break;
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
