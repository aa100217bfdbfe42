#pragma once

#include <QString>

namespace lumawrite::render {

// A message holds at most this many characters, a line break counting two (carriage return
// and line feed, as the message is stored).
constexpr int MaxMessageChars = 250;

// The text with every line break (CR LF, a lone CR, the Unicode line and paragraph separators)
// as a single LF.
QString plainLineBreaks(const QString &text);

// The text in its stored form: every line break becomes CR LF, so its length counts a line
// break as two.
QString storedMessageText(const QString &text);

// The characters of a text with LF line breaks, as the sign program counts them: a line break
// counts two.
int countChars(const QString &plainText);

// The longest start of a text with LF line breaks that counts at most room characters; a
// surrogate pair is never split.
QString fitChars(const QString &plainText, int room);

} // namespace lumawrite::render
