#include "TestSupport.h"

#include "datepicker/DatePickerDialog.h"
#include "platform/FormWindow.h"
#include "platform/PictureControl.h"
#include "shell/Screens.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <QtEndian>

bool ScriptedPrompts::askYesNo(QWidget*, const QString& title, const QString& text)
{
    shown.append({title, text, Icon::Critical, true});
    if (answers.empty())
        return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedPrompts::message(QWidget*, const QString& title, const QString& text, Icon icon)
{
    shown.append({title, text, icon, false});
}

std::optional<QString> ScriptedPrompts::chooseOpenFile(QWidget*, const QString& title, const QStringList&,
                                                       const QString&, const QString& startWith)
{
    shown.append({title, QString(), Icon::None, false});
    chooserStarts.append(startWith);
    const QString file = files.isEmpty() ? QString() : files.takeFirst();
    if (file.isNull())
        return std::nullopt;
    return file;
}

ScriptedPromptsScope::ScriptedPromptsScope()
{
    auto prompts = std::make_unique<ScriptedPrompts>();
    m_prompts = prompts.get();
    m_previous = installPrompts(std::move(prompts));
}

ScriptedPromptsScope::~ScriptedPromptsScope()
{
    installPrompts(std::move(m_previous));
}

DataFolder::DataFolder(bool withPictures)
{
    if (!withPictures)
        return;
    const QDir assets(QStringLiteral(PAWFOLIO_ASSETS));
    for (const QString& name : assets.entryList({QStringLiteral("*.gif")}, QDir::Files))
        QFile::copy(assets.filePath(name), path(name));
}

QString DataFolder::path(const QString& name) const
{
    return m_dir.filePath(name);
}

void DataFolder::write(const QString& name, const QByteArray& bytes) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(name));
}

QByteArray DataFolder::read(const QString& name) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool DataFolder::exists(const QString& name) const
{
    return QFile::exists(path(name));
}

namespace rawbytes {

QByteArray int32le(qint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian<qint32>(value, bytes.data());
    return bytes;
}

QByteArray field(const QByteArray& text, int width)
{
    QByteArray bytes = text.left(width);
    bytes.append(width - bytes.size(), ' ');
    return bytes;
}

QByteArray doggie(qint32 id, const QList<QByteArray>& texts)
{
    static const int widths[] = {40, 40, 10, 40, 40, 40, 40, 15, 15, 40, 15, 100};
    QByteArray bytes = int32le(id);
    for (int i = 0; i < 12; ++i)
        bytes += field(texts.value(i), widths[i]);
    return bytes;
}

QByteArray doggie(qint32 id, const QByteArray& name, const QByteArray& picture)
{
    QList<QByteArray> texts{name};
    texts.resize(11);
    texts.append(picture);
    return doggie(id, texts);
}

QByteArray health(qint32 id, qint32 doggieId, const QByteArray& date, const QByteArray& vaccine)
{
    return int32le(id) + int32le(doggieId) + field(date, 10) + field(vaccine, 50);
}

QByteArray journal(qint32 id, qint32 doggieId, const QByteArray& date, const QByteArray& entry)
{
    return int32le(id) + int32le(doggieId) + field(date, 10) + field(entry, 4096);
}

} // namespace rawbytes

App::App(const QString& folder) : state(folder), navigator(state)
{
    registerScreens(navigator);
    navigator.setQuitAction([this] { ++quitCount; });
}

App::~App()
{
    if (navigator.current())
        navigator.current()->unload();
    settle();
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

QList<QWidget*> visibleWindows()
{
    QList<QWidget*> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            windows.append(w);
    }
    return windows;
}

void click(QWidget* widget)
{
    if (!widget)
        QFAIL("no such control");
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

void doubleClick(QWidget* widget, QPoint at)
{
    if (!widget || !widget->window()->windowHandle())
        QFAIL("no such control on a shown window");
    if (at.isNull())
        at = widget->rect().center();
    QTest::mouseDClick(widget->window()->windowHandle(), Qt::LeftButton, {}, widget->mapTo(widget->window(), at));
}

void pickDog(QWidget* window, int row)
{
    auto* list = window->findChild<QListWidget*>(QStringLiteral("lbDoggieList"));
    if (!list || row >= list->count())
        QFAIL("no such dog list entry");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

QString pictureOf(QWidget* window, const char* name)
{
    auto* picture = window->findChild<PictureControl*>(QLatin1String(name));
    return picture ? QFileInfo(picture->pictureFile()).fileName() : QStringLiteral("(no control)");
}

void pickRow(QAbstractItemView* view, int row)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row, 0)).center());
}

void type(QLineEdit* box, const QString& text)
{
    box->clear();
    QTest::keyClicks(box, text);
}

void answerDatePicker(const QDate& day)
{
    QTimer::singleShot(0, [day] {
        auto* picker = qobject_cast<DatePickerDialog*>(QApplication::activeModalWidget());
        if (!picker)
            QFAIL("no date picker");
        if (day.isValid()) {
            picker->calendar->setSelectedDate(day);
            click(picker->imgOk);
        } else {
            click(picker->imgClose);
        }
        if (picker->isVisible()) { // fail now rather than wait on the dialog
            picker->done(QDialog::Rejected);
            QFAIL("the date picker stayed open");
        }
    });
}
