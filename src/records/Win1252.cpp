#include "records/Win1252.h"

#include <QList>

#include <array>

namespace win1252 {
namespace {

// 0x80 to 0x9F; every other byte is the Latin-1 character of the same number.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char fromCodePoint(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

char16_t toUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return kHighControls[byte - 0x80];
    return byte;
}

QByteArray encode(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    const QList<uint> codePoints = text.toUcs4(); // a lone surrogate is no character of the table: it becomes '?'
    for (uint cp : codePoints)
        out.append(fromCodePoint(cp));
    return out;
}

QString decode(const QByteArray& bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* data = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        data[i] = QChar(toUnicode(static_cast<unsigned char>(bytes[i])));
    return out;
}

QStringList unstorable(const QString& text)
{
    QStringList found;
    for (uint cp : text.toUcs4()) {
        const auto c = char32_t(cp);
        if (fromCodePoint(c) != '?' || c == U'?')
            continue;
        const QString character = QString::fromUcs4(&c, 1);
        if (!found.contains(character))
            found.append(character);
    }
    return found;
}

} // namespace win1252
