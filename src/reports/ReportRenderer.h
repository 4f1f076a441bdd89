#pragma once

#include <QByteArray>
#include <QFile>
#include <QFont>
#include <QString>

#include <functional>

class QPainter;
class QPaintDevice;

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

// Draws the lines from the top of the page down, one under the other, each
// whole and never wrapped (the page's right edge cuts a line too wide).
// Lengths are in device units. Without `newPage` drawing stops at the bottom
// of the page; with it, a line that would pass the bottom goes on a new page.
void drawLines(QPainter& painter, LineReader& lines, qreal unitsPerTwip, qreal pageHeight,
               const std::function<void()>& newPage = {});

} // namespace reportpage
