#include "Surface.h"

#include <QRegularExpression>

namespace lumawrite::render {

QStringList splitLines(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    return text.split(lineBreak);
}

} // namespace lumawrite::render
