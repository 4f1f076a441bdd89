#include "platform/PictureControl.h"

#include "platform/Controls.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <QFutureWatcher>
#include <QPromise>
#include <QThreadPool>

#include <memory>

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
// places, so it is read by threads of their own. They are never waited for:
// the pool is left standing at the end, so that a read that never ends keeps
// neither a window nor the program's end waiting. The program's own pictures
// lie in its folder and are read at once.
QThreadPool& photoReaders()
{
    static QThreadPool* const pool = [] {
        auto* readers = new QThreadPool;
        readers->setExpiryTimeout(1000);
        return readers;
    }();
    return *pool;
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

bool PictureControl::load(const QString& filePath)
{
    dropReading();
    const QImage image = readPicture(filePath);
    if (image.isNull())
        return false;
    show(image, false);
    return true;
}

void PictureControl::loadPhoto(const QString& filePath, std::function<void(bool)> shown)
{
    dropReading();
    auto promise = std::make_shared<QPromise<QImage>>();
    auto* watcher = new QFutureWatcher<QImage>(this);
    m_reading = watcher;
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, shown = std::move(shown)] {
        const QImage image = watcher->future().resultCount() > 0 ? watcher->result() : QImage();
        m_reading = nullptr;
        watcher->deleteLater();
        if (!image.isNull())
            show(image, true);
        if (shown)
            shown(!image.isNull());
    });
    watcher->setFuture(promise->future());
    promise->start();
    photoReaders().start([promise, filePath] {
        promise->addResult(readPicture(filePath));
        promise->finish();
    });
}

void PictureControl::dropReading()
{
    delete m_reading; // its result, when it comes, goes nowhere
    m_reading = nullptr;
}

void PictureControl::show(const QImage& image, bool keepProportions)
{
    m_picture = QPixmap::fromImage(image);
    m_scaled = QPixmap();
    m_keepProportions = keepProportions;
    update();
}

void PictureControl::clear()
{
    dropReading();
    m_picture = QPixmap();
    m_scaled = QPixmap();
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
    const QRectF target = m_keepProportions ? fitted(m_picture.size(), frame) : frame;
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
