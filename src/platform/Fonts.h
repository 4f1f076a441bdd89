#pragma once

#include <QColor>
#include <QFont>
#include <QStringList>

// The program's fonts and colours.
namespace fonts {

// Comic Sans MS where the machine has it, Comic Neue otherwise; sized in
// points at 96 dots per inch, like the twips of the window geometry.
QFont comic(qreal points, bool bold = true);

// Where the machine lacks Comic Sans MS (a Windows without it, wine), the
// fonts in the program's "fonts" folder, Comic Neue as the Windows zip
// brings it; the families loaded.
QStringList loadBundled(const QString& programFolder);

// The plain sans-serif of buttons and footers.
QFont plain(qreal points, bool bold = false);

} // namespace fonts

namespace colours {
inline const QColor LightYellow(255, 255, 192);
inline const QColor LightCyan(192, 255, 255);
inline const QColor LightGreen(192, 255, 192);
inline const QColor LightPink(255, 192, 255);
inline const QColor LightGrey(224, 224, 224);
inline const QColor Peach(255, 224, 192);
inline const QColor Blue(0, 0, 255);
inline const QColor Red(255, 0, 0);
inline const QColor White(255, 255, 255);
} // namespace colours
