#include "platform/PictureControl.h"

#include "platform/Controls.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <future>
#include <memory>
#include <thread>

namespace {

QImage readPicture(const QString& path)
{
    // A pipe or a device would wait until something wrote to it.
    if (!QFileInfo(path).isFile())
        return QImage();
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

// A dog's photo may lie anywhere, on a network share gone dead among other
// places: it is read off the window's thread and given up after a moment,
// its reader left to end when it can. The program's own pictures lie in its
// folder and are read at once.
QImage readPhoto(const QString& path)
{
    auto promise = std::make_shared<std::promise<QImage>>();
    std::future<QImage> image = promise->get_future();
    std::thread([promise, path] { promise->set_value(readPicture(path)); }).detach();
    return image.wait_for(std::chrono::seconds(3)) == std::future_status::ready ? image.get() : QImage();
}

} // namespace

PictureControl::PictureControl(QWidget* parent) : QWidget(parent) {}

QRectF PictureControl::fitted(const QSizeF& picture, const QRectF& frame)
{
    if (picture.isEmpty())
        return frame;
    const QSizeF size = picture.scaled(frame.size(), Qt::KeepAspectRatio);
    return QRectF(frame.center() - QPointF(size.width(), size.height()) / 2, size);
}

bool PictureControl::load(const QString& filePath, Scaling scaling)
{
    const QImage image = scaling == Scaling::KeepProportions ? readPhoto(filePath) : readPicture(filePath);
    if (image.isNull())
        return false;
    m_picture = QPixmap::fromImage(image);
    m_scaled = QPixmap();
    m_scaling = scaling;
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
    if (m_picture.isNull())
        return;
    const qreal ratio = devicePixelRatioF();
    // A photo leaves the rest of its frame to the window behind.
    const QRectF frame(QPointF(0, 0), QSizeF(size()) * ratio);
    const QRectF target = m_scaling == Scaling::KeepProportions ? fitted(m_picture.size(), frame) : frame;
    if (m_scaled.size() != target.size().toSize()) {
        m_scaled = m_picture.scaled(target.size().toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_scaled.setDevicePixelRatio(ratio);
    }
    QPainter painter(this);
    painter.drawPixmap(target.topLeft() / ratio, m_scaled);
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
