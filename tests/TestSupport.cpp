#include "TestSupport.h"

#include "datepicker/DatePickerDialog.h"
#include "health/FlexGrid.h"
#include "platform/PictureControl.h"
#include "records/Disk.h"
#include "shell/Screens.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#ifndef Q_OS_WIN
#include <dlfcn.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

FailingDisk failingDisk;
int folderSyncs = 0;
int folderSyncError = 0;

namespace {

qint64 s_fullAt = -1; // the size no file grows past at the seam; -1 while the disk has room

int diskFault(disk::Call call, const QString& path, qint64 sizeAfter)
{
    if (call == disk::Call::Write && s_fullAt >= 0 && sizeAfter > s_fullAt)
        return ENOSPC;
    const FailingDisk& d = failingDisk;
    const QString name = QFileInfo(path).fileName();
    if (!d.on.isEmpty() && std::none_of(d.on.begin(), d.on.end(), [&](const QString& f) { return name.startsWith(f); }))
        return 0;
    const bool fails = call == disk::Call::Write        ? d.lying
                       : call == disk::Call::Sync       ? d.failingSync
                       : call == disk::Call::SyncFolder ? d.failingFolderSync
                                                        : d.failingRename;
    if (fails && d.stops)
        throw Stopped();
    return !fails ? 0 : call == disk::Call::Write ? disk::KeepHalf : call == disk::Call::Rename ? EACCES : EIO;
}
const bool s_faultsInPlace = (disk::setFaults(diskFault), true);

} // namespace

#ifdef Q_OS_WIN
FullDisk::FullDisk(qint64 bytes)
{
    s_fullAt = bytes;
}
FullDisk::~FullDisk()
{
    s_fullAt = -1;
}
bool actAsNobody(bool nobody)
{
    return !nobody;
}
#else
bool actAsNobody(bool nobody)
{
    return nobody ? setegid(65534) == 0 && seteuid(65534) == 0 : seteuid(0) == 0 && setegid(0) == 0;
}

static rlimit s_limit;

FullDisk::FullDisk(qint64 bytes)
{
    std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails rather than ending the test
    getrlimit(RLIMIT_FSIZE, &s_limit);
    const rlimit full = {rlim_t(bytes), s_limit.rlim_max};
    beneath = setrlimit(RLIMIT_FSIZE, &full) == 0;
}

FullDisk::~FullDisk()
{
    setrlimit(RLIMIT_FSIZE, &s_limit);
}

// The one call watched beneath the program's own: a folder sync that reaches
// the system.
extern "C" int fsync(int fd)
{
    static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    struct stat st {};
    const bool folder = fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
    folderSyncs += folder;
    if (!folder || folderSyncError == 0)
        return real(fd);
    errno = folderSyncError;
    return -1;
}
#endif

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
    shown.append({title, filters.join(u' ') + u' ' + defaultSuffix + u"\nat "_s + startWith});
    const QString file = files.isEmpty() ? QString() : files.takeFirst();
    return file.isNull() ? std::nullopt : std::optional<QString>(file);
}

DataFolder::DataFolder(bool withPictures)
{
    const QDir assets(QStringLiteral(PAWFOLIO_ASSETS));
    for (const QString& name : withPictures ? assets.entryList({u"*.gif"_s}) : QStringList())
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
    return {"Rex",
            "Rex of Riverside",
            "5/12/2003",
            "L-123",
            "Kennel",
            "Dr. Vet",
            "1 High St, Town",
            "555-0100",
            "555-0199",
            "Groomy",
            "555-0123",
            QDir::toNativeSeparators(picturesFolder() + "/rex.gif").toUtf8()};
}

QByteArray dog(int n)
{
    const QByteArray gone = QDir::toNativeSeparators(picturesFolder() + "/gone.gif").toUtf8();
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

// Events handled, windows let go of deleted, photos read and shown (a photo
// being read has a watcher, its control's child, until then).
void settle()
{
    const auto reading = [](const QWidget* top) { return top->findChild<QFutureWatcherBase*>() != nullptr; };
    (void)QTest::qWaitFor([&] { return std::ranges::none_of(QApplication::topLevelWidgets(), reading); }, 5000);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Types text key by key; a character beyond ASCII, which QTest has no key
// for, comes as the text of a key event, as an input method sends it.
void typeText(QWidget* box, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(box, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
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
// when `day` is not valid; by `way` "keys", Enter and Escape first (which must
// leave it open), then Alt+O or Alt+C; by "titlebar", the title bar's close
// (or Alt+F4), as the window manager sends it.
void answerDatePicker(const QDate& day, const QString& way)
{
    QTimer::singleShot(0, [day, way] {
        auto* picker = qobject_cast<DatePickerDialog*>(QApplication::activeModalWidget());
        if (!picker)
            QFAIL("no date picker");
        const bool calendarHasKeys = part<QCalendarWidget>(picker, "calendar")->isAncestorOf(picker->focusWidget());
        if (!way.isEmpty()) {
            picker->activateWindow();
            (void)QTest::qWaitFor([picker] { return QApplication::activeWindow() == picker; }, 2000);
            QTest::keyClick(picker, Qt::Key_Return); // Enter and Escape do nothing there
            QTest::keyClick(picker, Qt::Key_Escape);
            if (way == u"titlebar")
                picker->windowHandle()->close();
            else
                QTest::keyClick(picker, day.isValid() ? Qt::Key_O : Qt::Key_C, Qt::AltModifier);
        } else {
            if (day.isValid())
                part<QCalendarWidget>(picker, "calendar")->setSelectedDate(day);
            QTest::mouseClick(part<PictureControl>(picker, day.isValid() ? "imgOk" : "imgClose"), Qt::LeftButton);
        }
        if (picker->isVisible()) { // fail now rather than wait on the dialog
            picker->done(QDialog::Rejected);
            QFAIL("the date picker stayed open");
        }
        if (!calendarHasKeys)
            QFAIL("the date picker's keys do not go to its calendar");
        if (!part<QCalendarWidget>(picker, "calendar")->isGridVisible())
            QFAIL("the date picker's days have no grid between them");
        for (PictureControl* picture : picker->findChildren<PictureControl*>()) {
            if (!picture->hasPicture())
                QFAIL("the date picker lacks a picture");
        }
        if (picker->windowIcon().isNull())
            QFAIL("the date picker lacks a picture");
        if (picker->minimumSize() != picker->maximumSize())
            QFAIL("the date picker can be resized");
        if (qAbs(picker->geometry().center().x() - picker->screen()->availableGeometry().center().x()) > 1)
            QFAIL("the date picker is not centred");
    });
}

// What a control shows: a bone's tag, or the text of a label or a box.
QString shownText(QWidget* w)
{
    if (auto* picture = qobject_cast<PictureControl*>(w))
        return picture->accessibleDescription();
    const QVariant text = w->property("text");
    return text.isValid() ? text.toString() : w->property("plainText").toString();
}

// `file` when the control shows the picture of that file, of the program
// folder or the dogs' pictures folder; else what it shows.
QString shows(const PictureControl* control, const QString& file)
{
    const auto pixels = [](const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); };
    const QImage shown = pixels(control->picture().toImage());
    for (const QString& folder : {QStringLiteral(PAWFOLIO_ASSETS), standard::picturesFolder()}) {
        if (QFile::exists(folder + u'/' + file))
            return !shown.isNull() && shown == pixels(QImage(folder + u'/' + file)) ? file : u"another picture"_s;
    }
    return shown.isNull() ? u"no picture"_s : u"a picture"_s;
}

// A list's entries, or a grid's data rows (its header row aside) as "date
// vaccine", trimmed.
QStringList rowsOf(QWidget* w)
{
    QStringList rows;
    if (auto* grid = qobject_cast<FlexGrid*>(w)) {
        for (int r = FlexGrid::fixedRows(); r < grid->rows(); ++r)
            rows.append((grid->text(r, 0).trimmed() + u' ' + grid->text(r, 1).trimmed()).trimmed());
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        for (int i = 0; i < list->count(); ++i)
            rows.append(list->item(i)->text().trimmed());
    }
    return rows;
}

// The window is the only one left, shown, and has the keyboard.
bool alone(QWidget* w)
{
    settle(); // the windows left are gone
    int windows = 0;
    for (QWidget* top : QApplication::topLevelWidgets())
        windows += qobject_cast<FormWindow*>(top) != nullptr;
    return w && windows == 1 && w->isVisible() &&
           QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }, 2000);
}

// A step's words: bare words, and texts in double quotes, which may hold
// spaces and semicolons and are the only way to give them; within the quotes
// \" stands for a quote, and any other backslash for itself (a Windows path).
struct Word {
    QString text;
    bool quoted = false;
};

std::optional<QList<Word>> wordsOf(const QString& step)
{
    static const QRegularExpression word(uR"("((?:\\"|[^"])*)("?)|([^ ]+))"_s), escape(uR"(\\")"_s);
    QList<Word> words;
    for (const QRegularExpressionMatch& m : word.globalMatch(step)) {
        if (m.capturedLength(3) == 0 && m.capturedLength(2) == 0)
            return std::nullopt; // a quote left open
        words.append(
            {m.capturedLength(3) ? m.captured(3) : m.captured(1).replace(escape, u"\""_s), m.capturedLength(3) == 0});
    }
    return words;
}

bool isBox(QWidget* w)
{
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w);
}

// The kinds of control a step may name, by what it applies to.
const std::map<QString, std::function<bool(QWidget*)>> kControls = {
    {"control", [](QWidget*) { return true; }},
    {"box", isBox},
    {"shows", [](QWidget* w) { return isBox(w) || qobject_cast<PictureControl*>(w) || qobject_cast<QLabel*>(w); }},
    {"lockable", [](QWidget* w) { return isBox(w) || qobject_cast<PictureControl*>(w); }},
    {"picture", [](QWidget* w) { return qobject_cast<PictureControl*>(w) != nullptr; }},
    {"rows", [](QWidget* w) { return qobject_cast<FlexGrid*>(w) || qobject_cast<QListWidget*>(w); }}};

} // namespace

struct Session::Step {
    Session& session;
    QList<Word> words; // the verb first
    QList<QWidget*> controls;
    QString error;
    QString arg(int i) const { return words.value(i).text; }
    QWidget* control() const { return controls.value(0); }
};

namespace {

using Step = Session::Step;

// A verb: the words it takes, and what it does or, for a check, what the
// person sees, compared with its last word. Words: a control of a kind
// above; text (bare or quoted); word; n (a number); date (YYYY-MM-DD, today
// or close); key; letter (A to Z); or one of a|b|c. A ? after one makes it
// optional, a * repeats it.
struct Verb {
    const char* words;
    std::function<void(Step&)> act;
    std::function<QString(Step&)> seen;
    bool interacts = false; // a click or key, after which no dialog may be left open
};

Verb act(const char* words, std::function<void(Step&)> act)
{
    return {words, std::move(act), {}, false};
}

// A click or a key.
Verb gesture(const char* words, std::function<void(Step&)> act)
{
    return {words, std::move(act), {}, true};
}

Verb check(const char* words, std::function<QString(Step&)> seen)
{
    return {words, {}, std::move(seen)};
}

// A key on a window that has first taken the keyboard.
void press(Step& s, QWidget* receiver, QKeyCombination key)
{
    QWidget* target = receiver->window();
    target->activateWindow();
    if (!QTest::qWaitFor([target] { return QApplication::activeWindow() == target; }, 2000))
        s.error = u"a window that would not take the keyboard"_s;
    receiver->setFocus();
    QTest::keyClick(receiver, key.key(), key.keyboardModifiers());
}

// Clicks the entry of a list, or the row of a grid, that shows the step's
// text, the Nth of those that do.
Verb clickRow(const char* fixedList)
{
    return gesture("text n?", [fixedList](Step& s) {
        QWidget* w = s.session.window();
        auto* view = w->findChild<QAbstractItemView*>(fixedList                   ? fixedList
                                                      : w->findChild<FlexGrid*>() ? "vaccinationGrid"
                                                                                  : "lbDates");
        const QStringList rows = rowsOf(view);
        for (int i = 0, seen = 0; i < rows.size(); ++i) {
            if (rows[i] == s.arg(1) && ++seen == qMax(1, s.arg(2).toInt()))
                return QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                                         view->visualRect(view->model()->index(i, 0)).center());
        }
        s.error = u"no such row in %1: %2"_s.arg(view->objectName(), rows.join(u'|'));
    });
}

// Makes a file of the folder afresh, after removing what had its name.
Verb makeFile(const std::function<bool(const QString& path, const QString& text)>& make)
{
    return act("word text?", [make](Step& s) {
        QFile::remove(s.session.folder.path(s.arg(1)));
        if (!make(s.session.folder.path(s.arg(1)), s.arg(2)))
            s.error = u"could not make it"_s;
    });
}

QString yesNo(bool yes)
{
    return yes ? u"yes"_s : u"no"_s;
}

QString lastShown(const Session& session, QString ScriptedPrompts::Shown::*part)
{
    return session.prompts->shown.isEmpty() ? u"(nothing)"_s : session.prompts->shown.last().*part;
}

const std::map<QString, Verb>& verbs()
{
    static const QMap<QString, Screen> screens = {
        {"main", Screen::Main}, {"dogs", Screen::Doggies}, {"health", Screen::Health}, {"journal", Screen::Journal}};
    static const QMap<QString, QString> statuses = {
        {"ready", "Select doggie then click on a doggie bone to add, edit, erase, or print."},
        {"DogRegisterWindow", "Enter your information and then click the save doggie bone."},
        {"HealthWindow", "Enter information and click on the save bone to save."},
        {"JournalWindow", "Add your information and click on the save bone to save."}};
    static const QRegularExpression spacesAtEnd(u" +$"_s);
    static const std::map<QString, Verb> table = {
        // What a person does
        // go W: that window, loaded afresh, as the main window's pictures open it
        {"go", act("main|dogs|health|journal", [](Step& s) { s.session.navigator.go(screens.value(s.arg(1))); })},
        {"pick", clickRow("lbDoggieList")}, // a click on the dog list's entry that shows the text (the Nth such)
        {"row", clickRow(nullptr)},         // the same on the grid's row "date vaccine", or a journal date
        {"click", gesture("control", [](Step& s) { QTest::mouseClick(s.control(), Qt::LeftButton); })},
        {"double", gesture("control", [](Step& s) { doubleClick(s.control()); })},
        {"titlebar", gesture("", [](Step& s) { s.session.window()->windowHandle()->close(); })}, // its close, Alt+F4
        // alt X: Alt and the letter, on the window; key C K: the key on the control, which takes the keyboard
        {"alt", gesture("letter", [](Step& s) { press(s, s.session.window(), QKeySequence("Alt+" + s.arg(1))[0]); })},
        {"key", gesture("control key", [](Step& s) { press(s, s.control(), QKeySequence(s.arg(2))[0]); })},
        {"type", act("box text",
                     [](Step& s) { // the text in place of what the box held
                         if (s.control()->property("plainText").isValid())
                             return void(s.control()->setProperty("plainText", s.arg(2)));
                         s.control()->setProperty("text", QString());
                         typeText(s.control(), s.arg(2));
                     })},
        {"keys", act("box text", [](Step& s) { typeText(s.control(), s.arg(2)); })}, // typed at the cursor
        {"paste", act("box text",
                      [](Step& s) { // from the clipboard, at the cursor, over what is selected
                          QGuiApplication::clipboard()->setText(s.arg(2));
                          s.control()->setFocus();
                          QTest::keyClick(s.control(), Qt::Key_V, Qt::ControlModifier);
                      })},
        {"date", act("date keys|titlebar?",
                     [](Step& s) { // the day the picker that the next step opens is given by its keys, or closed
                         const QDate day =
                             s.arg(1) == u"today" ? QDate::currentDate() : QDate::fromString(s.arg(1), Qt::ISODate);
                         s.session.window()->move(0, 0); // the picker is centred on the screen all the same
                         answerDatePicker(day, s.arg(2));
                         s.session.pickerAnswered = true;
                     })},
        // answer: the replies to the next Yes/No questions; choose: the file the next file dialog gives
        {"answer", act("yes|no*",
                       [](Step& s) {
                           for (const Word& answer : s.words.mid(1))
                               s.session.prompts->answers.push_back(answer.text == u"yes");
                       })},
        {"choose", act("word",
                       [](Step& s) {
                           const QString file = s.arg(1) == u"cancel" ? QString() : s.arg(1);
                           s.session.prompts->files.append(
                               file.isNull() || QDir::isAbsolutePath(file) ? file : s.session.folder.path(file));
                       })},
        // The folder's file of that name made afresh: with the text (%XX a byte), a folder, a pipe, or none.
        {"write", makeFile([](const QString& path, const QString& text) {
             QFile file(path);
             const QByteArray bytes = QByteArray::fromPercentEncoding(text.toUtf8());
             return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
         })},
        {"mkdir", makeFile([](const QString& path, const QString&) { return QDir().mkdir(path); })},
#ifndef Q_OS_WIN
        {"mkfifo", makeFile([](const QString& path, const QString&) {
             return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
         })},
#endif
        {"remove", makeFile([](const QString&, const QString&) { return true; })},
        {"erased", act("doggies.dat|health.dat|journal.dat n",
                       [](Step& s) { // record N of the file, as another Pawfolio erases it, behind the window's back
                           const int length = s.arg(1) == files::Doggies  ? DoggieRecord::Length
                                              : s.arg(1) == files::Health ? HealthRecord::Length
                                                                          : JournalRecord::Length;
                           QByteArray bytes = s.session.folder.read(s.arg(1));
                           s.session.folder.write(s.arg(1), bytes.replace((s.arg(2).toInt() - 1) * length, length,
                                                                          QByteArray(length, '\0')));
                       })},
        // What the person sees
        {"is", check("shows text",
                     [](Step& s) { // a bone's tag, a box's or label's text; spaces at the end aside
                         s.words.last().text.remove(spacesAtEnd);
                         return shownText(s.control()).remove(spacesAtEnd);
                     })},
        {"picture", check("picture word", // the picture shown is that file's, a program's or a dog's
                          [](Step& s) { return shows(qobject_cast<PictureControl*>(s.control()), s.arg(2)); })},
        // ready: the register's prompt to pick a dog and a bone; entry: the window's prompt to type and save
        {"status", check("ready|entry",
                         [](Step& s) {
                             const QString shown = s.session.window()->findChild<QLabel*>(u"statusLine"_s)->text();
                             return shown == statuses.value(s.arg(1) == u"ready" ? s.arg(1)
                                                                                 : s.session.window()->objectName())
                                        ? s.arg(1)
                                        : shown;
                         })},
        // A list's entries, or a grid's data rows, trimmed and joined by "|".
        {"rows", check("rows text", [](Step& s) { return rowsOf(s.control()).join(u'|'); })},
        {"locked", // whether it takes no typing or click
         check("lockable yes|no",
               [](Step& s) { return yesNo(s.control()->property("readOnly").toBool() || !s.control()->isEnabled()); })},
        // A value of the shared state, or how often the program was told to quit.
        {"state", check("DoggieRecNo|SelectedDate|ReportType|quits text",
                        [](Step& s) {
                            const SharedState& state = s.session.state;
                            return QMap<QString, QString>{
                                {"DoggieRecNo", QString::number(state.DoggieRecNo)},
                                {"SelectedDate", state.SelectedDate.trimmed()},
                                {"ReportType", state.ReportType ? QStringList{"", "Doggies", "Health", "Journal"}.value(
                                                                      int(*state.ReportType))
                                                                : QString()},
                                {"quits", QString::number(s.session.quitCount)}}
                                .value(s.arg(1));
                        })},
        // A logout: whether the window shown let the session end.
        {"logout", check("yes|no", [](Step& s) { return yesNo(s.session.navigator.closeForSession()); })},
        {"window", // the window shown, by its name (none: no window)
         check("word", [](Step& s) { return s.session.window() ? s.session.window()->objectName() : "none"; })},
        // The window is the only one, shown, with the keyboard.
        {"alone", check("", [](Step& s) { return alone(s.session.window()) ? QString() : u"not alone"_s; })},
        {"focus", check("word", // the control with the keyboard
                        [](Step&) {
                            return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : u"none"_s;
                        })},
        // asked: how many message boxes so far; said: the last one holds the text; title: its title.
        {"asked", check("n", [](Step& s) { return QString::number(s.session.prompts->shown.size()); })},
        {"said", check("text",
                       [](Step& s) {
                           const QString last = lastShown(s.session, &ScriptedPrompts::Shown::text);
                           if (s.arg(1).isEmpty())
                               s.error = u"an empty expectation, which any message holds"_s;
                           return last.contains(s.arg(1)) ? s.arg(1) : last;
                       })},
        {"title", check("text", [](Step& s) { return lastShown(s.session, &ScriptedPrompts::Shown::title); })}};
    return table;
}

// Why a word does not fit its kind, or nothing.
QString misfit(Step& step, const QString& kind, const Word& word)
{
    static const QRegularExpression number(u"^\\d+$"_s), letter(u"^[A-Z]$"_s);
    const auto control = kControls.find(kind);
    QWidget* w = step.session.window();
    QWidget* named = control == kControls.end() || !w ? nullptr : w->findChild<QWidget*>(word.text);
    if (named)
        step.controls.append(named);
    const bool fits =
        kind == u"text"     ? true
        : word.quoted       ? false
        : kind == u"word"   ? true
        : kind == u"n"      ? number.match(word.text).hasMatch()
        : kind == u"letter" ? letter.match(word.text).hasMatch()
        : kind == u"key" ? QKeySequence(word.text).count() == 1 && QKeySequence(word.text)[0].key() != Qt::Key_unknown
        : kind == u"date"
            ? word.text == u"today" || word.text == u"close" || QDate::fromString(word.text, Qt::ISODate).isValid()
        : control != kControls.end() ? named && control->second(named)
                                     : kind.split(u'|').contains(word.text);
    if (fits)
        return {};
    if (control != kControls.end() && named)
        return u"%1 is a %2, which this step does not apply to"_s.arg(word.text, named->metaObject()->className());
    return u"\"%1\" where a %2 goes"_s.arg(word.text, control != kControls.end() ? kind + " control" : kind);
}

// Why the step's words do not fit its verb, or nothing.
QString misfit(Step& step, const Verb& verb)
{
    int at = 1;
    for (QString kind : QString::fromLatin1(verb.words).split(u' ', Qt::SkipEmptyParts)) {
        const bool optional = kind.endsWith(u'?'), repeated = kind.endsWith(u'*');
        kind.remove(QRegularExpression(u"[?*]$"_s));
        if (at >= step.words.size() && !optional)
            return u"too few words"_s;
        for (bool first = true; at < step.words.size() && (first || repeated); first = false) {
            if (const QString why = misfit(step, kind, step.words[at++]); !why.isEmpty())
                return why;
        }
    }
    return at < step.words.size() ? u"\"%1\" left over"_s.arg(step.words[at].text) : QString();
}

// Runs a verb whose words fit; what went wrong, or nothing.
QString perform(Step& step, const Verb& verb)
{
    if (verb.seen) {
        const QString seen = verb.seen(step), want = step.words.size() > 1 ? step.words.last().text : QString();
        return !step.error.isEmpty() ? step.error : seen == want ? QString() : u"\"%1\", not \"%2\""_s.arg(seen, want);
    }
    // After a click or a key, a modal dialog that no step answers is closed.
    QObject scope;
    QString unexpected;
    if (verb.interacts && !std::exchange(step.session.pickerAnswered, false)) {
        QTimer::singleShot(0, &scope, [&unexpected] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                unexpected = dialog->objectName();
                dialog->done(QDialog::Rejected);
            }
        });
    }
    verb.act(step);
    if (verb.interacts)
        settle();
    return !step.error.isEmpty() ? step.error
           : unexpected.isNull() ? QString()
                                 : u"the dialog %1, which no step answers"_s.arg(unexpected);
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
    if (!QTest::currentTestFailed() && (!prompts->answers.empty() || !prompts->files.isEmpty()))
        QTest::qFail("answers or chosen files that no step used", __FILE__, __LINE__);
    if (navigator.current())
        navigator.current()->unload();
    settle();
    installPrompts(std::move(m_previousPrompts));
}

bool Session::run(const QString& script)
{
    // A ";" ends a step, unless it is within quotes.
    static const QRegularExpression oneStep(uR"((?:"(?:\\"|[^"])*"?|[^;"])+)"_s);
    QStringList steps;
    for (const QRegularExpressionMatch& m : oneStep.globalMatch(script))
        steps << m.captured().trimmed();
    steps.removeAll(QString());
    for (int n = 0; n < steps.size(); ++n) {
        const QString& text = steps[n];
        const auto words = wordsOf(text);
        const auto verb = words && !words->isEmpty() ? verbs().find(words->first().text) : verbs().end();
        Step step{*this, words.value_or(QList<Word>{}), {}, {}};
        QString error = !words                  ? u"a quote left open"_s
                        : verb == verbs().end() ? u"a step this language does not know"_s
                                                : misfit(step, verb->second);
        if (error.isEmpty())
            error = perform(step, verb->second);
        if (error.isEmpty() && QTest::currentTestFailed())
            error = u"a failure above"_s;
        if (!error.isEmpty()) {
            QTest::qFail(qPrintable(u"step %1, \"%2\": %3"_s.arg(n + 1).arg(text, error)), __FILE__, __LINE__);
            return false;
        }
    }
    return true;
}
