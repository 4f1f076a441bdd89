#include "platform/PictureControl.h"

#include "platform/Controls.h"

#include <QImageReader>
#include <QPainter>

PictureControl::PictureControl(QWidget* parent) : QWidget(parent) {}

bool PictureControl::load(const QString& filePath)
{
    QImageReader reader(filePath);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    m_picture = QPixmap::fromImage(image);
    m_scaled = QPixmap();
    m_file = filePath;
    update();
    return true;
}

void PictureControl::clear()
{
    m_picture = QPixmap();
    m_scaled = QPixmap();
    m_file.clear();
    update();
}

void PictureControl::setTip(const QString& tip)
{
    m_tip = tip;
    setToolTip(controls::withKey(tip, m_key));
    setAccessibleName(tip);
}

void PictureControl::setKey(const QKeySequence& key)
{
    m_key = key;
    setToolTip(controls::withKey(m_tip, m_key));
    controls::addKey(this, key, [this] { emit clicked(); });
    setCursor(Qt::PointingHandCursor);
}

void PictureControl::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull() || width() <= 0 || height() <= 0)
        return;
    const qreal ratio = devicePixelRatioF();
    const QSize target = (QSizeF(size()) * ratio).toSize();
    if (m_scaled.size() != target) {
        m_scaled = m_picture.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_scaled.setDevicePixelRatio(ratio);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_scaled);
}

void PictureControl::mousePressEvent(QMouseEvent* event)
{
    m_clicks.press(event);
}

void PictureControl::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_clicks.release(event, rect()))
        emit clicked();
}

void PictureControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_clicks.doubleClick(event);
}
