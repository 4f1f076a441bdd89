#pragma once

#include <QByteArray>
#include <QFile>
#include <QFont>
#include <QList>
#include <QRect>
#include <QString>

class QPainter;

// Draws report.txt on a page: the preview's picture of the page and the
// printer use this one routine, so that what is printed is what is previewed.
namespace reportpage {

constexpr int WidthTwips = 12240; // US Letter, portrait
constexpr int HeightTwips = 15840;
constexpr int TextLeftTwips = 360 + 5;

// Reads report.txt line by line as it stands in the file (Windows-1252, lines
// ended by CR LF, CR or LF), so that a report of any size is drawn without
// being held whole. Throws FileError.
class LineReader {
public:
    explicit LineReader(const QString& path);
    // The next line; false at the end of the file.
    bool next(QString& line);

private:
    bool fill();

    QFile m_file;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_atEnd = false;
};

// Bold Comic Sans MS 9 pt (Comic Neue where that is missing), sized for a
// device with `unitsPerTwip` device units to the twip.
QFont font(qreal unitsPerTwip);

// The printer keeps this much paper blank all round; the text of a page
// starts there, and the preview lays its pages out the same way, so that the
// preview shows the pages that Print prints, line for line.
constexpr int MarginTwips = 360;
constexpr int TextHeightTwips = HeightTwips - 2 * MarginTwips;
// Lines wrap here, as far from the printed area's right edge as they start
// from its left.
constexpr int TextRightTwips = WidthTwips - 2 * MarginTwips - TextLeftTwips;
// Where the dog's photo stands on the first page; no text runs under it.
inline const QRect PhotoTwips(5280, 960, 1335, 1455);

// A line as it is drawn: its top on its page and its text.
struct Line {
    int topTwips;
    QString text;
};
using Page = QList<Line>;

// Lays the report's lines out on pages of TextHeightTwips, wrapping a line
// too wide at the right margin (at a space where there is one, else
// anywhere) and, with `besidePhoto`, the lines beside the photo before it;
// a rule of dashes or equals signs is shortened to fit instead.
// There is always a first page, empty for an empty report.
QList<Page> layOut(LineReader& lines, bool besidePhoto);

// Draws a page's lines with their tops at `origin` (device units).
void drawPage(QPainter& painter, const Page& page, qreal unitsPerTwip, QPointF origin = {});

} // namespace reportpage
