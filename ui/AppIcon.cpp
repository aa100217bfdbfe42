#include "AppIcon.h"

namespace lumawrite::ui {

QIcon appIcon()
{
    QIcon icon;
    for (int size : {48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/lumawrite/icons/lumawrite-%1.png").arg(size),
                     QSize(size, size));
    return icon;
}

} // namespace lumawrite::ui
