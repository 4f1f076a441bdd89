#include "TestSupport.h"

#include "datepicker/DatePickerDialog.h"
#include "health/FlexGrid.h"
#include "platform/FormWindow.h"
#include "platform/PictureControl.h"
#include "shell/Screens.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <QtEndian>

#include <dlfcn.h>
#include <sys/stat.h>

bool lyingDisk = false;

extern "C" ssize_t write(int fd, const void* data, size_t size)
{
    static const auto real = reinterpret_cast<ssize_t (*)(int, const void*, size_t)>(dlsym(RTLD_NEXT, "write"));
    struct stat st {};
    if (lyingDisk && size > 1 && fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        return real(fd, data, size / 2) < 0 ? -1 : ssize_t(size);
    return real(fd, data, size);
}

bool failingSync = false;

extern "C" int fsync(int fd)
{
    static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    if (!failingSync)
        return real(fd);
    errno = EIO;
    return -1;
}

bool ScriptedPrompts::askYesNo(QWidget*, const QString& title, const QString& text, Answer)
{
    shown.append({title, text});
    const bool answer = !answers.empty() && answers.front();
    if (!answers.empty())
        answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedPrompts::chooseOpenFile(QWidget*, const QString& title, const QStringList& filters,
                                                       const QString& defaultSuffix, const QString& startWith)
{
    shown.append({title, filters.join(u' ') + u' ' + defaultSuffix});
    chooserStarts.append(startWith);
    const QString file = files.isEmpty() ? QString() : files.takeFirst();
    return file.isNull() ? std::nullopt : std::optional<QString>(file);
}

DataFolder::DataFolder(bool withPictures)
{
    const QDir assets(QStringLiteral(PAWFOLIO_ASSETS));
    for (const QString& name : withPictures ? assets.entryList({QStringLiteral("*.gif")}) : QStringList())
        QFile::copy(assets.filePath(name), path(name));
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
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
    return text.left(width) + QByteArray(qMax(0, width - int(text.size())), ' ');
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
    return doggie(id, {name, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, picture});
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

namespace standard {

QString picturesFolder()
{
    static QTemporaryDir pictures;
    static const bool copied =
        QFile::copy(QStringLiteral(PAWFOLIO_ASSETS "/poorlydog.gif"), pictures.filePath("rex.gif"));
    return copied ? pictures.path() : QString();
}

QList<QByteArray> rexTexts()
{
    return {"Rex",      "Rex of Riverside", "5/12/2003",       "L-123",
            "Kennel",   "Dr. Vet",          "1 High St, Town", "555-0100",
            "555-0199", "Groomy",           "555-0123",        QFile::encodeName(picturesFolder() + "/rex.gif")};
}

QByteArray dog(int n)
{
    const QByteArray gone = QFile::encodeName(picturesFolder() + "/gone.gif");
    const QByteArray all[] = {QByteArray(439, '\0'),      rawbytes::doggie(1, "Bella"), rawbytes::doggie(2, rexTexts()),
                              rawbytes::doggie(3, "Max"), QByteArray(439, '\0'),        rawbytes::doggie(5, "", gone)};
    return all[n];
}

// Record n of a register's list "dog,date,text|..."; an empty one is an erased slot.
static QList<QByteArray> fields(int n, const char* records)
{
    return QByteArray(records).split('|')[n].split(',');
}

QByteArray vaccination(int n)
{
    const auto f = fields(n, "|3,10/20/2003,Rabies|2,1/1/2004,Parvo||3,12/5/2004,Distemper|3,9/1/2003,Lepto|"
                             "2,4/4/2004,Kennel cough");
    return f.size() < 3 ? QByteArray(68, '\0') : rawbytes::health(n, f[0].toInt(), f[1], f[2]);
}

QByteArray entry(int n)
{
    const auto f = fields(n, "|3,3-2-2005,Park\r\nand a nap|1,3-3-2005,Bella's||3,1-5-2005,Snow|3,3-2-2005,Later");
    return f.size() < 3 ? QByteArray(4114, '\0') : rawbytes::journal(n, f[0].toInt(), f[1], f[2]);
}

QByteArray of(QByteArray (*record)(int), const QList<int>& numbers)
{
    QByteArray bytes;
    for (int n : numbers)
        bytes += record(n);
    return bytes;
}

} // namespace standard

namespace {

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// A double-click on a shown control, through its window, so that Qt makes
// the second press the double-click it is.
void doubleClick(QWidget* widget)
{
    if (!widget->window()->windowHandle())
        QFAIL("no such control on a shown window");
    QTest::mouseDClick(widget->window()->windowHandle(), Qt::LeftButton, {},
                       widget->mapTo(widget->window(), widget->rect().center()));
}

// Answers the date picker that the next click opens: OK on `day`, or Close
// when `day` is not valid; with `keys`, Enter, Escape and close() first (which
// must leave it open), then Alt+O or Alt+C.
void answerDatePicker(const QDate& day, bool keys)
{
    QTimer::singleShot(0, [day, keys] {
        auto* picker = qobject_cast<DatePickerDialog*>(QApplication::activeModalWidget());
        if (!picker)
            QFAIL("no date picker");
        if (keys) {
            picker->activateWindow();
            (void)QTest::qWaitFor([picker] { return QApplication::activeWindow() == picker; }, 2000);
            QTest::keyClick(picker, Qt::Key_Return); // Enter, Escape and the title bar do nothing there
            QTest::keyClick(picker, Qt::Key_Escape);
            picker->close();
            QTest::keyClick(picker, day.isValid() ? Qt::Key_O : Qt::Key_C, Qt::AltModifier);
        } else {
            if (day.isValid())
                picker->calendar->setSelectedDate(day);
            QTest::mouseClick(day.isValid() ? picker->imgOk : picker->imgClose, Qt::LeftButton);
        }
        if (picker->isVisible()) { // fail now rather than wait on the dialog
            picker->done(QDialog::Rejected);
            QFAIL("the date picker stayed open");
        }
        if (!picker->doggiePicture->hasPicture() || !picker->imgOk->hasPicture() || !picker->imgClose->hasPicture() ||
            picker->windowIcon().isNull())
            QFAIL("the date picker lacks a picture");
    });
}

// What a control shows: a bone's tag, or the text of a label or a box.
QString shownText(QWidget* w)
{
    if (auto* picture = qobject_cast<PictureControl*>(w))
        return picture->tag();
    const QVariant text = w->property("text");
    return text.isValid() ? text.toString() : w->property("plainText").toString();
}

// A list's entries, or a grid's rows as "date vaccine", header first.
QString rowsOf(QWidget* w)
{
    QStringList rows;
    if (auto* grid = qobject_cast<FlexGrid*>(w)) {
        for (int r = 0; r < grid->rows(); ++r)
            rows.append((grid->text(r, 0).trimmed() + u' ' + grid->text(r, 1).trimmed()).trimmed());
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        for (int i = 0; i < list->count(); ++i)
            rows.append(list->item(i)->text().trimmed());
    }
    return rows.join(u'|');
}

// The window is the only one left, shown, and has the keyboard.
bool alone(QWidget* w)
{
    int windows = 0;
    for (QWidget* top : QApplication::topLevelWidgets())
        windows += qobject_cast<FormWindow*>(top) != nullptr;
    return w && windows == 1 && w->isVisible() &&
           QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }, 2000);
}

} // namespace

Session::Session()
{
    registerScreens(navigator);
    navigator.setQuitAction([this] { ++quitCount; });
    auto scripted = std::make_unique<ScriptedPrompts>();
    prompts = scripted.get();
    m_previousPrompts = installPrompts(std::move(scripted));
    folder.write(files::Doggies, standard::dogs());
    folder.write(files::Health, standard::health());
    folder.write(files::Journal, standard::journal());
}

Session::~Session()
{
    if (navigator.current())
        navigator.current()->unload();
    settle();
    installPrompts(std::move(m_previousPrompts));
}

bool Session::run(const QString& script)
{
    static const QMap<QString, QString> statuses = {
        {"ready", "Select doggie then click on a doggie bone to add, edit, erase, or print."},
        {"DogRegisterWindow", "Enter your information and then click the save doggie bone."},
        {"HealthWindow", "Enter information and click on the save bone to save."},
        {"JournalWindow", "Add your information and click on the save bone to save."}};
    static const QMap<QString, Screen> screens = {
        {"main", Screen::Main}, {"dogs", Screen::Doggies}, {"health", Screen::Health}, {"journal", Screen::Journal}};
    bool pickerAnswered = false;
    for (QString step : script.split(u';', Qt::SkipEmptyParts)) {
        step.remove(QRegularExpression(QStringLiteral("^ +")));
        const QString verb = step.section(u' ', 0, 0), name = step.section(u' ', 1, 1), tail = step.section(u' ', 1);
        const bool quoted = QRegularExpression(QStringLiteral("^\"[^\"]*\"$")).match(step.section(u' ', 2)).hasMatch();
        const QString rest = quoted ? step.section(u' ', 2).chopped(1).mid(1) : step.section(u' ', 2).trimmed();
        QWidget* w = window();
        QWidget* control = w && !name.isEmpty() ? w->findChild<QWidget*>(name) : nullptr;
        if (!control && elsewhere && !name.isEmpty())
            control = elsewhere->findChild<QWidget*>(name);
        auto fail = [&](const QString& got) {
            QTest::qFail(qPrintable(QStringLiteral("step \"%1\": got %2").arg(step, got)), __FILE__, __LINE__);
            return false;
        };
        const QStringList onControls = {"click", "double", "rclick", "drag", "key",    "keys",  "type",   "paste",
                                        "is",    "pad",    "cursor", "rows", "locked", "shown", "picture"};
        if (onControls.contains(verb) && !control)
            return fail(QStringLiteral("no control %1").arg(name));

        if (verb == u"go") {
            navigator.go(screens.value(name));
        } else if (verb == u"date") { // answers the picker the next step opens
            answerDatePicker(name == u"today" ? QDate::currentDate() : QDate::fromString(name, Qt::ISODate),
                             rest == u"keys");
            pickerAnswered = true;
        } else if (verb == u"answer") {
            for (const QString& a : tail.split(u' '))
                prompts->answers.push_back(a == u"yes");
        } else if (verb == u"choose") {
            prompts->files.append(name == u"cancel" ? QString() : name.contains(u'/') ? name : folder.path(name));
        } else if (verb == u"type" && control->property("plainText").isValid()) {
            control->setProperty("plainText", rest);
        } else if (verb == u"type" || verb == u"keys") {
            if (verb == u"type")
                control->setProperty("text", QString());
            QTest::keyClicks(control, verb == u"type" ? rest : step.section(u' ', 2));
        } else if (verb == u"paste") { // where the cursor is, over what is selected
            QGuiApplication::clipboard()->setText(rest);
            control->setFocus();
            QTest::keyClick(control, Qt::Key_V, Qt::ControlModifier);
        } else if (verb == u"remove" || verb == u"write" || verb == u"mkdir" || verb == u"mkfifo") {
            QFile::remove(folder.path(name));
            if (verb == u"write")
                folder.write(name, QByteArray::fromPercentEncoding(rest.toUtf8()));
            if (verb == u"mkdir")
                QDir(folder.folder()).mkdir(name);
            if (verb == u"mkfifo" && ::mkfifo(QFile::encodeName(folder.path(name)).constData(), 0600) != 0)
                return fail(QStringLiteral("no pipe"));
        } else if (verb == u"elsewhere") { // another window with boxes, as a file chooser has
            elsewhere = std::make_unique<QWidget>();
            new QLineEdit(elsewhere.get());
            (new QLineEdit(elsewhere.get()))->setObjectName(QStringLiteral("elsewhereBox"));
            elsewhere->show();
        } else if (verb == u"erasedog") { // as another Pawfolio would, behind this window's back
            QByteArray bytes = folder.read(files::Doggies);
            folder.write(files::Doggies, bytes.replace((name.toInt() - 1) * 439, 439, QByteArray(439, '\0')));
        } else if (QStringList{"click", "double", "rclick", "drag", "alt", "key", "pick", "row"}.contains(verb)) {
            // A modal dialog that no step answers is closed, and the test fails.
            QObject scope;
            QString unexpected;
            QTimer::singleShot(0, &scope, [&unexpected, pickerAnswered] {
                auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                if (dialog && !pickerAnswered) {
                    unexpected = dialog->objectName();
                    dialog->done(QDialog::Rejected);
                }
            });
            pickerAnswered = false;
            if (verb == u"click" || verb == u"rclick") {
                QTest::mouseClick(control, verb == u"click" ? Qt::LeftButton : Qt::RightButton);
            } else if (verb == u"double") {
                doubleClick(control);
            } else if (verb == u"drag") { // pressed on the control, released off it
                QTest::mousePress(control, Qt::LeftButton);
                QTest::mouseRelease(control, Qt::LeftButton, {}, control->rect().bottomRight() + QPoint(20, 20));
            } else if (verb == u"pick" || verb == u"row") { // the dog list's entry, or the grid's or the dates' row
                const QString list = verb == u"pick"             ? "lbDoggieList"
                                     : w->findChild<FlexGrid*>() ? "vaccinationGrid"
                                                                 : "lbDates";
                auto* view = w->findChild<QAbstractItemView*>(list);
                if (!view || name.toInt() >= view->model()->rowCount())
                    return fail(QStringLiteral("no row %1 in %2").arg(name, list));
                const QRect item = view->visualRect(view->model()->index(name.toInt(), 0));
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
            } else {
                QWidget* target = control ? control->window() : w;
                target->activateWindow();
                if (!QTest::qWaitFor([target] { return QApplication::activeWindow() == target; }, 2000))
                    return fail(QStringLiteral("a window that would not take the keyboard"));
                if (verb == u"alt") {
                    QTest::keyClick(w, Qt::Key(Qt::Key_A + name.at(0).unicode() - u'A'), Qt::AltModifier);
                } else {
                    control->setFocus();
                    const QKeyCombination key = QKeySequence(rest)[0];
                    QTest::keyClick(control, key.key(), key.keyboardModifiers());
                }
            }
            settle();
            if (!unexpected.isNull())
                return fail(QStringLiteral("the dialog %1, which no step answers").arg(unexpected));
        } else { // a check: what the person sees against what the step says
            QWidget* focus = QApplication::focusWidget();
            const ScriptedPrompts::Shown last = prompts->shown.value(prompts->shown.size() - 1);
            const auto yesNo = [](bool yes) { return yes ? QStringLiteral("yes") : QStringLiteral("no"); };
            const std::map<QString, std::function<QString()>> checks = {
                {"is",
                 [&] { return quoted ? shownText(control) : shownText(control).remove(QRegularExpression(" +$")); }},
                {"pad", [&] { return QString::number(shownText(control).size()); }},
                {"cursor", [&] { return control->property("cursorPosition").toString(); }},
                {"picture",
                 [&] {
                     auto* picture = qobject_cast<PictureControl*>(control);
                     return picture ? QFileInfo(picture->pictureFile()).fileName() : QStringLiteral("(no picture)");
                 }},
                {"status", [&] { return w->findChild<QLabel*>(QStringLiteral("statusLine"))->text(); }},
                {"rows", [&] { return rowsOf(control); }},
                {"locked", [&] { return yesNo(control->property("readOnly").toBool() || !control->isEnabled()); }},
                {"shown", [&] { return yesNo(control->isVisible()); }},
                {"state",
                 [&] {
                     const QMap<QString, QString> fields = {{"DoggieRecNo", QString::number(state.DoggieRecNo)},
                                                            {"HealthRecNo", QString::number(state.HealthRecNo)},
                                                            {"JournalRecNo", QString::number(state.JournalRecNo)},
                                                            {"SelectedDate", state.SelectedDate.trimmed()},
                                                            {"ReportType", state.ReportType},
                                                            {"quits", QString::number(quitCount)}};
                     return fields.value(name, QStringLiteral("(no such field)"));
                 }},
                {"window", [&] { return w ? w->objectName() : QStringLiteral("none"); }},
                {"alone", [&] { return yesNo(alone(w)); }},
                {"focus", [&] { return focus ? focus->objectName() : QStringLiteral("none"); }},
                {"asked", [&] { return QString::number(prompts->shown.size()); }},
                {"said", [&] { return last.text.contains(tail) ? tail : last.text; }},
                {"title", [&] { return last.title; }},
                {"chooser", [&] {
                     return QFileInfo(prompts->chooserStarts.value(prompts->chooserStarts.size() - 1)).fileName();
                 }}};
            const auto check = checks.find(verb);
            if (check == checks.end())
                return fail(QStringLiteral("a step this script does not know"));
            QString want = onControls.contains(verb) || verb == u"state" ? rest : tail;
            if (verb == u"status")
                want = statuses.value(name == u"ready" ? name : w->objectName());
            if (verb == u"alone")
                want = QStringLiteral("yes");
            if (check->second() != want)
                return fail(QStringLiteral("\"%1\", not \"%2\"").arg(check->second(), want));
        }
        if (QTest::currentTestFailed())
            return false;
    }
    return true;
}
