#include "Fonts.h"

#include <QCollator>
#include <QFontDatabase>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace lumawrite::platform {

QStringList screenFontFamilies()
{
    QStringList names;
    for (const QString &family : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(family))
            names.append(family);
    }
    return names;
}

QString plainFamilyName(const QString &name)
{
    static const QRegularExpression foundry(QStringLiteral("\\s+\\[[^\\[\\]]*\\]$"));
    return QString(name).remove(foundry);
}

QStringList fontListOrder(const QStringList &families)
{
    // A plain family name selects one of its foundries when drawing.
    QStringList names;
    QSet<QString> seen;
    for (const QString &family : families) {
        const QString name = plainFamilyName(family);
        const QString key = name.toCaseFolded();
        if (!seen.contains(key)) {
            seen.insert(key);
            names.append(name);
        }
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(), [&](const QString &a, const QString &b) {
        return collator.compare(a, b) < 0;
    });
    return names;
}

bool drawsSymbols(const QString &family)
{
    return QFontDatabase::writingSystems(plainFamilyName(family)).contains(QFontDatabase::Symbol);
}

int textFontPosition(const QStringList &fontList)
{
    if (fontList.isEmpty())
        return -1;
    const QString general = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    for (qsizetype i = 0; i < fontList.size(); ++i)
        if (fontList[i].compare(plainFamilyName(general), Qt::CaseInsensitive) == 0)
            return int(i);
    for (qsizetype i = 0; i < fontList.size(); ++i) {
        const QList<QFontDatabase::WritingSystem> systems =
            QFontDatabase::writingSystems(fontList[i]);
        if (systems.contains(QFontDatabase::Latin) && !systems.contains(QFontDatabase::Symbol))
            return int(i);
    }
    return 0;
}

} // namespace lumawrite::platform
