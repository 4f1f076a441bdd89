#include "platform/Fonts.h"

#include <QDir>
#include <QFontDatabase>
#include <QtMath>

namespace fonts {
namespace {

QFont sized(QFont font, qreal points, bool bold)
{
    font.setPixelSize(qRound(points * 96.0 / 72.0));
    font.setBold(bold);
    return font;
}

} // namespace

QFont comic(qreal points, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue")});
    font.setStyleHint(QFont::Cursive);
    return sized(font, points, bold);
}

QStringList loadBundled(const QString& programFolder)
{
    // The folder first: only a program that brings fonts asks the font
    // database, which start-up would otherwise fill early for nothing.
    QStringList families;
    const QDir bundled(QDir(programFolder).filePath(QStringLiteral("fonts")));
    if (!bundled.exists() || QFontDatabase::hasFamily(QStringLiteral("Comic Sans MS")))
        return families;
    for (const QString& name : bundled.entryList({QStringLiteral("*.otf"), QStringLiteral("*.ttf")}, QDir::Files))
        families += QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(bundled.filePath(name)));
    families.removeDuplicates();
    return families;
}

QFont plain(qreal points, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    font.setStyleHint(QFont::SansSerif);
    return sized(font, points, bold);
}

} // namespace fonts
