#include "records/FixedText.h"

#include "records/Win1252.h"

namespace fixedtext {

QByteArray toField(const QString& value, int width)
{
    QByteArray bytes = win1252::encode(value);
    if (bytes.size() > width)
        bytes.truncate(width);
    else
        bytes.append(width - bytes.size(), ' ');
    return bytes;
}

QString fit(const QString& value, int width)
{
    return win1252::decode(toField(value, width));
}

QString trimSpaces(const QString& value)
{
    qsizetype begin = 0;
    qsizetype end = value.size();
    while (begin < end && value[begin] == u' ')
        ++begin;
    while (end > begin && value[end - 1] == u' ')
        --end;
    return value.mid(begin, end - begin);
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
