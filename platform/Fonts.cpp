#include "Fonts.h"

#include <QFontDatabase>

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

} // namespace lumawrite::platform
