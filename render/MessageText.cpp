#include "MessageText.h"

namespace lumawrite::render {

QString plainLineBreaks(const QString &text)
{
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    s.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    s.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return s;
}

QString storedMessageText(const QString &text)
{
    QString s = plainLineBreaks(text);
    s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return s;
}

int countChars(const QString &plainText)
{
    return int(plainText.size() + plainText.count(QLatin1Char('\n')));
}

QString fitChars(const QString &plainText, int room)
{
    int used = 0;
    qsizetype n = 0;
    for (; n < plainText.size(); ++n) {
        const int cost = plainText[n] == QLatin1Char('\n') ? 2 : 1;
        if (used + cost > room)
            break;
        used += cost;
    }
    // Never split a surrogate pair.
    if (n > 0 && n < plainText.size() && plainText[n - 1].isHighSurrogate())
        --n;
    return plainText.left(n);
}

} // namespace lumawrite::render
