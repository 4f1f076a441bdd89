#include "reports/ReportRenderer.h"

#include "records/FileError.h"
#include "records/Win1252.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPainter>

namespace reportpage {

QStringList readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(path, QStringLiteral("opened"), file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(path, QStringLiteral("read"), file.errorString());
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.append(win1252::decode(bytes.mid(start, i - start)));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append(win1252::decode(bytes.mid(start)));
    return lines;
}

QFont font(qreal unitsPerTwip)
{
    QFont f;
    f.setFamilies({QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue")});
    f.setStyleHint(QFont::Cursive);
    f.setBold(true);
    f.setPixelSize(qMax(1, qRound(9 * 20 * unitsPerTwip))); // 9 points of 20 twips
    return f;
}

void drawLines(QPainter& painter, const QStringList& lines, qreal unitsPerTwip, qreal pageHeight,
               const std::function<void()>& newPage)
{
    const QFont f = font(unitsPerTwip);
    painter.setFont(f);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(f, painter.device());
    const qreal step = metrics.lineSpacing();
    const qreal x = TextLeftTwips * unitsPerTwip;
    qreal y = 0;
    for (const QString& line : lines) {
        if (!newPage && y >= pageHeight)
            return; // the bottom of the page cuts the rest
        if (newPage && y > 0 && y + step > pageHeight) {
            newPage();
            y = 0;
        }
        // Trailing blanks show nothing; leaving them out spares the layout.
        qsizetype end = line.size();
        while (end > 0 && line[end - 1] == u' ')
            --end;
        if (end > 0)
            painter.drawText(QPointF(x, y + metrics.ascent()), line.left(end));
        y += step;
    }
}

} // namespace reportpage
