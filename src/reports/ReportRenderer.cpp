#include "reports/ReportRenderer.h"

#include "platform/Fonts.h"
#include "records/Disk.h"
#include "records/FileError.h"
#include "records/FixedText.h"
#include "records/Win1252.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <QtMath>

#include <functional>

namespace reportpage {

LineReader::LineReader(const QString& path) : m_file(path)
{
    if (const QString why = disk::open(m_file, QIODevice::ReadOnly); !why.isEmpty())
        throw FileError(path, QStringLiteral("opened"), why);
}

bool LineReader::fill()
{
    if (m_atEnd)
        return false;
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    const QByteArray more = m_file.read(1 << 16);
    if (m_file.error() != QFileDevice::NoError)
        throw FileError(m_file.fileName(), QStringLiteral("read"), disk::reasonOf(m_file));
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
            if (m_buffer[end] == '\r' && m_buffer.sliced(m_pos).startsWith('\n'))
                ++m_pos;
            return true;
        }
        if (!fill()) {
            // The CR last in the file ends its line; the fill may have moved the buffer's bytes up.
            if (m_pos + searched < m_buffer.size())
                continue;
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
    QFont f = fonts::comic(9);
    f.setPixelSize(qMax(1, qRound(9 * 20 * unitsPerTwip))); // 9 points of 20 twips
    return f;
}

namespace {

// Pieces of `text` no wider than the width each line is given.
class Wrapper {
public:
    explicit Wrapper(const QFont& f) : m_font(f), m_metrics(f)
    {
        m_option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    }

    template <typename WidthAt>
    void wrap(const QString& text, WidthAt widthAt, const std::function<void(const QString&)>& piece)
    {
        // A line that fits, as most do, is spared the costly layout.
        if (text.isEmpty() || m_metrics.horizontalAdvance(text) <= widthAt()) {
            piece(text);
            return;
        }
        // A rule (a line of one dash or equals sign over) is drawn to the room
        // it has, never wrapped onto a second line.
        if (text.size() > 1 && (text[0] == u'-' || text[0] == u'=') && text.count(text[0]) == text.size()) {
            QString rule = text;
            while (rule.size() > 1 && m_metrics.horizontalAdvance(rule) > widthAt())
                rule.chop(1);
            piece(rule);
            return;
        }
        QTextLayout layout(text, m_font);
        layout.setTextOption(m_option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(widthAt());
            QString part = text.mid(line.textStart(), line.textLength());
            while (part.endsWith(u' '))
                part.chop(1);
            piece(part);
        }
        layout.endLayout();
    }

private:
    QFont m_font;
    QFontMetricsF m_metrics;
    QTextOption m_option;
};

// The height of a line in twips, the same on every device.
int lineStep()
{
    return qCeil(QFontMetricsF(font(1.0)).lineSpacing());
}

} // namespace

QList<Page> layOut(LineReader& lines, bool besidePhoto)
{
    const int step = lineStep();
    constexpr int gap = 240; // between the text and the photo
    QList<Page> pages(1);
    int top = 0;
    auto widthAt = [&] {
        const bool beside =
            besidePhoto && pages.size() == 1 && top < PhotoTwips.bottom() + gap && top + step > PhotoTwips.top() - gap;
        return (beside ? PhotoTwips.left() - gap : TextRightTwips) - TextLeftTwips;
    };
    Wrapper wrapper(font(1.0));
    QString line;
    while (lines.next(line)) {
        // Trailing blanks show nothing; leaving them out spares the layout.
        line = fixedtext::trimEnd(line);
        wrapper.wrap(line, widthAt, [&](const QString& piece) {
            if (top > 0 && top + step > TextHeightTwips) {
                pages.append(Page());
                top = 0;
            }
            pages.last().append({top, piece});
            top += step;
        });
    }
    return pages;
}

void drawPage(QPainter& painter, const Page& page, qreal unitsPerTwip, QPointF origin)
{
    const QFont f = font(unitsPerTwip);
    painter.setFont(f);
    painter.setPen(Qt::black);
    const qreal ascent = QFontMetricsF(f, painter.device()).ascent();
    const qreal x = origin.x() + TextLeftTwips * unitsPerTwip;
    for (const Line& line : page) {
        if (!line.text.isEmpty())
            painter.drawText(QPointF(x, origin.y() + line.topTwips * unitsPerTwip + ascent), line.text);
    }
}

} // namespace reportpage
