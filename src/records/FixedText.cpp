#include "records/FixedText.h"

#include "records/Win1252.h"

namespace fixedtext {

QByteArray toField(const QString& value, int width)
{
    return win1252::encode(value).leftJustified(width, ' ', true); // cut or padded to the width
}

QString fit(const QString& value, int width)
{
    return win1252::decode(toField(value, width));
}

QString trimEnd(const QString& value)
{
    qsizetype end = value.size();
    while (end > 0 && value[end - 1] == u' ')
        --end;
    return value.left(end);
}

QString trimSpaces(const QString& value)
{
    const QString kept = trimEnd(value);
    qsizetype begin = 0;
    while (begin < kept.size() && kept[begin] == u' ')
        ++begin;
    return kept.mid(begin);
}

bool isBlank(const QString& value)
{
    return trimSpaces(value).isEmpty();
}

QString shown(const QString& value)
{
    const qsizetype nul = value.indexOf(QChar(u'\0'));
    return trimSpaces(nul < 0 ? value : value.left(nul));
}

} // namespace fixedtext
