#include "reports/ReportRenderer.h"

#include "records/FileError.h"
#include "records/Win1252.h"

#include <QFontMetricsF>
#include <QPainter>

namespace reportpage {

LineReader::LineReader(const QString& path) : m_file(path)
{
    if (!m_file.open(QIODevice::ReadOnly))
        throw FileError(path, QStringLiteral("opened"), m_file.errorString());
}

bool LineReader::fill()
{
    if (m_atEnd)
        return false;
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    const QByteArray more = m_file.read(1 << 16);
    if (m_file.error() != QFileDevice::NoError)
        throw FileError(m_file.fileName(), QStringLiteral("read"), m_file.errorString());
    if (more.isEmpty()) {
        m_atEnd = true;
        return false;
    }
    m_buffer += more;
    return true;
}

bool LineReader::next(QString& line)
{
    qsizetype searched = 0; // bytes after m_pos known to hold no line end
    for (;;) {
        qsizetype end = m_pos + searched;
        while (end < m_buffer.size() && m_buffer[end] != '\r' && m_buffer[end] != '\n')
            ++end;
        searched = end - m_pos;
        // A CR last in the buffer may be the first half of a CR LF: look further.
        const bool found = end < m_buffer.size() && !(m_buffer[end] == '\r' && end + 1 == m_buffer.size() && !m_atEnd);
        if (found) {
            line = win1252::decode(m_buffer.mid(m_pos, end - m_pos));
            m_pos = end + 1;
            if (m_buffer[end] == '\r' && m_pos < m_buffer.size() && m_buffer[m_pos] == '\n')
                ++m_pos;
            return true;
        }
        if (!fill()) {
            if (end < m_buffer.size())
                continue; // the CR last in the file ends its line
            if (m_pos >= m_buffer.size())
                return false;
            line = win1252::decode(m_buffer.mid(m_pos)); // a last line without its line end
            m_pos = m_buffer.size();
            return true;
        }
    }
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

void drawLines(QPainter& painter, LineReader& lines, qreal unitsPerTwip, qreal pageHeight,
               const std::function<void()>& newPage)
{
    const QFont f = font(unitsPerTwip);
    painter.setFont(f);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(f, painter.device());
    const qreal step = metrics.lineSpacing();
    const qreal x = TextLeftTwips * unitsPerTwip;
    qreal y = 0;
    QString line;
    while (lines.next(line)) {
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
