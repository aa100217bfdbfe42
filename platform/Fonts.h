#pragma once

#include <QStringList>

#include <functional>

namespace lumawrite::platform {

// The names of the fonts available for the screen, as the system gives them.
QStringList screenFontFamilies();

// A family's name without the foundry the system adds when several foundries supply it:
// "C059 [urw]" is "C059".
QString plainFamilyName(const QString &name);

// The font list: each family once, under its plain name (names that differ only in case are
// one family; the first spelling stays), alphabetical, ignoring case. The stored font is a
// position in this list, so every reader of the settings must build it the same way.
QStringList fontListOrder(const QStringList &families);

using FontFamilySource = std::function<QStringList()>;

// Whether the family draws symbols (dingbats, arrows, Greek letters for formulas) in the place
// of letters.
bool drawsSymbols(const QString &family);

// The position in the font list of a typeface that draws text: the desktop's general font when
// the list has it, else the first family that writes Latin and draws no symbols, else the first
// family; -1 for an empty list.
int textFontPosition(const QStringList &fontList);

} // namespace lumawrite::platform
