#include "Fonts.h"

#include <QCollator>
#include <QFontDatabase>

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

QStringList fontListOrder(QStringList families)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(families.begin(), families.end(), [&](const QString &a, const QString &b) {
        return collator.compare(a, b) < 0;
    });
    return families;
}

} // namespace lumawrite::platform
