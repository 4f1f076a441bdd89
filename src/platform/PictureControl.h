#pragma once

#include "platform/ClickTracker.h"

#include <QKeySequence>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <functional>

// A picture in a frame that acts as a button: it emits clicked(), carries a
// tag text that says its state, and takes no clicks while disabled. The program's own
// pictures fill their frames; a photo keeps its proportions.
class PictureControl : public QWidget {
    Q_OBJECT
public:
    explicit PictureControl(QWidget* parent = nullptr);

    // Loads one of the program's pictures (GIF, BMP, JPEG, PNG), to fill the
    // frame. On failure the control keeps the picture it had and false is
    // returned.
    bool load(const QString& filePath);
    // Reads a dog's photo off the window's thread, which goes on meanwhile,
    // and shows it in its proportions when it arrives; `shown` then hears
    // whether it was. On failure the control keeps the picture it had. A
    // later load or clear() drops what is still being read; a read that
    // never ends (a network share gone dead) holds up nothing.
    // A photo being read has a QFutureWatcher, the control's child, until it is shown.
    void loadPhoto(const QString& filePath, std::function<void(bool shown)> shown = {});
    const QPixmap& picture() const { return m_picture; }
    // Where a photo of `picture`'s proportions stands inside `frame`: fitted
    // whole and centred.
    static QRectF fitted(const QSizeF& picture, const QRectF& frame);
    void clear();
    bool hasPicture() const { return !m_picture.isNull(); }
    // A free text that says the control's state (a bone's ADD or SAVE), as a
    // screen reader reads it.
    void setTag(const QString& tag) { setAccessibleDescription(tag); }

    // The tooltip doubles as the name a screen reader announces.
    void setTip(const QString& tip);

    // An Alt key that does what a click does, in the control's window and
    // only while the control is enabled and shown: the control is a command.
    // The tooltip names the key, and the pointer over it is the pointing hand.
    void setKey(const QKeySequence& key);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void show(const QImage& image, bool keepProportions);
    void dropReading();

    QPixmap m_picture;
    QPixmap m_scaled; // cached at the control's size in device pixels
    bool m_keepProportions = false;
    QObject* m_reading = nullptr; // the watcher of the photo being read
    QString m_tip;
    QKeySequence m_key;
    ClickTracker m_clicks;
};
