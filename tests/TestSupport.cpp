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

// A list's entries, or a grid's data rows as "date vaccine" (the header is
// its own), trimmed.
QStringList rowsOf(QWidget* w)
{
    QStringList rows;
    if (auto* grid = qobject_cast<FlexGrid*>(w)) {
        for (int r = 0; r < grid->rows(); ++r)
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
    int windows = 0;
    for (QWidget* top : QApplication::topLevelWidgets())
        windows += qobject_cast<FormWindow*>(top) != nullptr;
    return w && windows == 1 && w->isVisible() &&
           QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }, 2000);
}

// A step's words: bare words, and texts in double quotes, which may hold
// spaces and are the only way to give them.
struct Word {
    QString text;
    bool quoted = false;
};

std::optional<QList<Word>> wordsOf(const QString& step)
{
    QList<Word> words;
    for (qsizetype at = 0; at < step.size();) {
        if (step[at] == u' ') {
            ++at;
        } else if (step[at] == u'"') {
            const qsizetype end = step.indexOf(u'"', at + 1);
            if (end < 0)
                return std::nullopt;
            words.append({step.mid(at + 1, end - at - 1), true});
            at = end + 1;
        } else {
            const qsizetype end = step.indexOf(u' ', at) < 0 ? step.size() : step.indexOf(u' ', at);
            words.append({step.mid(at, end - at)});
            at = end;
        }
    }
    return words;
}

// What an argument may be. A control is named by its objectName and must
// be of a kind the verb applies to; a text is one bare word or quoted.
enum class Arg {
    Control,
    Shows,
    Box,
    Lockable,
    Picture,
    Rows,
    Text,
    Number,
    Word,
    Date,
    Key,
    Letter,
    Answers,
    Optional
};

bool isBox(QWidget* w)
{
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w);
}

} // namespace

struct Session::Step {
    Session& session;
    QList<Word> words;     // the verb first
    QList<QWidget*> named; // the controls among the arguments
    QString arg(int i) const { return words.value(i).text; }
    QWidget* control() const { return named.value(0); }
    // A check: what the person sees against what the step says.
    QString expect(const QString& got, const QString& want) const
    {
        return got == want ? QString() : QStringLiteral("\"%1\", not \"%2\"").arg(got, want);
    }
};

namespace {

using Step = Session::Step;
const QString kOk;

QString yesNo(bool yes)
{
    return yes ? QStringLiteral("yes") : QStringLiteral("no");
}

// Clicks and keys; a modal dialog that no step answers is closed, and the
// step fails.
QString interact(Step& step, const std::function<QString()>& act)
{
    QObject scope;
    QString unexpected;
    const bool pickerAnswered = std::exchange(step.session.pickerAnswered, false);
    QTimer::singleShot(0, &scope, [&unexpected, pickerAnswered] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog && !pickerAnswered) {
            unexpected = dialog->objectName();
            dialog->done(QDialog::Rejected);
        }
    });
    const QString error = act();
    settle();
    return !error.isEmpty()      ? error
           : unexpected.isNull() ? kOk
                                 : QStringLiteral("the dialog %1, which no step answers").arg(unexpected);
}

// A key on a window that has first taken the keyboard.
QString press(QWidget* target, QWidget* receiver, QKeyCombination key)
{
    target->activateWindow();
    if (!QTest::qWaitFor([target] { return QApplication::activeWindow() == target; }, 2000))
        return QStringLiteral("a window that would not take the keyboard");
    receiver->setFocus();
    QTest::keyClick(receiver, key.key(), key.keyboardModifiers());
    return kOk;
}

// Clicks the entry of a list or a grid's row that shows `text`, the
// `occurrence`th of those that do.
QString clickRow(QAbstractItemView* view, const QString& text, int occurrence)
{
    const QStringList rows = rowsOf(view);
    int row = -1;
    for (int i = qobject_cast<FlexGrid*>(view) ? 1 : 0, seen = 0; i < rows.size() && row < 0; ++i)
        row = rows[i] == text && ++seen == occurrence ? i - (qobject_cast<FlexGrid*>(view) ? 1 : 0) : -1;
    if (row < 0)
        return QStringLiteral("no row \"%1\" (%2) in %3: %4")
            .arg(text)
            .arg(occurrence)
            .arg(view->objectName(), rows.join(u'|'));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row, 0)).center());
    return kOk;
}

struct Verb {
    QList<Arg> args;
    std::function<QString(Step&)> run; // what went wrong, or nothing
};

const std::map<QString, Verb>& verbs()
{
    using A = Arg;
    static const QMap<QString, Screen> screens = {
        {"main", Screen::Main}, {"dogs", Screen::Doggies}, {"health", Screen::Health}, {"journal", Screen::Journal}};
    static const QMap<QString, QString> statuses = {
        {"ready", "Select doggie then click on a doggie bone to add, edit, erase, or print."},
        {"DogRegisterWindow", "Enter your information and then click the save doggie bone."},
        {"HealthWindow", "Enter information and click on the save bone to save."},
        {"JournalWindow", "Add your information and click on the save bone to save."}};
    const auto click = [](Qt::MouseButton button) {
        return Verb{{A::Control}, [button](Step& s) {
                        return interact(s, [&] {
                            QTest::mouseClick(s.control(), button);
                            return kOk;
                        });
                    }};
    };
    const auto pickIn = [](const char* fixedList) {
        return Verb{
            {A::Text, A::Optional}, [fixedList](Step& s) {
                QWidget* w = s.session.window();
                const QString list = fixedList ? fixedList : w->findChild<FlexGrid*>() ? "vaccinationGrid" : "lbDates";
                auto* view = w->findChild<QAbstractItemView*>(list);
                const int occurrence = s.words.size() > 2 ? s.arg(2).toInt() : 1;
                return interact(s, [&] { return clickRow(view, s.arg(1), occurrence); });
            }};
    };
    const auto fileStep = [](const std::function<bool(const QString&, const QString&)>& make) {
        return Verb{{A::Word, A::Optional}, [make](Step& s) {
                        QFile::remove(s.session.folder.path(s.arg(1)));
                        return make(s.session.folder.path(s.arg(1)), s.arg(2)) ? kOk
                                                                               : QStringLiteral("could not make it");
                    }};
    };
    static const std::map<QString, Verb> table = {
        // What a person does
        {"go",
         {{A::Word},
          [](Step& s) {
              if (!screens.contains(s.arg(1)))
                  return QStringLiteral("no screen %1 (main, dogs, health, journal)").arg(s.arg(1));
              s.session.navigator.go(screens.value(s.arg(1)));
              return kOk;
          }}},
        {"pick", pickIn("lbDoggieList")},
        {"row", pickIn(nullptr)},
        {"click", click(Qt::LeftButton)},
        {"rclick", click(Qt::RightButton)},
        {"double",
         {{A::Control},
          [](Step& s) {
              return interact(s, [&] {
                  doubleClick(s.control());
                  return kOk;
              });
          }}},
        {"drag",
         {{A::Control},
          [](Step& s) { // pressed on the control, released off it
              return interact(s, [&] {
                  QTest::mousePress(s.control(), Qt::LeftButton);
                  QTest::mouseRelease(s.control(), Qt::LeftButton, {},
                                      s.control()->rect().bottomRight() + QPoint(20, 20));
                  return kOk;
              });
          }}},
        {"alt",
         {{A::Letter},
          [](Step& s) {
              const auto key = Qt::Key(Qt::Key_A + s.arg(1).at(0).unicode() - u'A');
              return interact(s, [&] {
                  return press(s.session.window(), s.session.window(), QKeyCombination(Qt::AltModifier, key));
              });
          }}},
        {"key",
         {{A::Control, A::Key},
          [](Step& s) {
              return interact(s, [&] { return press(s.control()->window(), s.control(), QKeySequence(s.arg(2))[0]); });
          }}},
        {"type",
         {{A::Box, A::Text},
          [](Step& s) { // in place of what it held
              if (s.control()->property("plainText").isValid()) {
                  s.control()->setProperty("plainText", s.arg(2));
              } else {
                  s.control()->setProperty("text", QString());
                  QTest::keyClicks(s.control(), s.arg(2));
              }
              return kOk;
          }}},
        {"keys",
         {{A::Box, A::Text},
          [](Step& s) { // where the cursor is
              QTest::keyClicks(s.control(), s.arg(2));
              return kOk;
          }}},
        {"paste",
         {{A::Box, A::Text},
          [](Step& s) { // where the cursor is, over what is selected
              QGuiApplication::clipboard()->setText(s.arg(2));
              s.control()->setFocus();
              QTest::keyClick(s.control(), Qt::Key_V, Qt::ControlModifier);
              return kOk;
          }}},
        {"date",
         {{A::Date, A::Optional},
          [](Step& s) { // answers the picker the next step opens
              if (s.words.size() > 2 && s.arg(2) != u"keys")
                  return QStringLiteral("\"%1\" where only keys may follow a date").arg(s.arg(2));
              answerDatePicker(s.arg(1) == u"today" ? QDate::currentDate() : QDate::fromString(s.arg(1), Qt::ISODate),
                               s.words.size() > 2);
              s.session.pickerAnswered = true;
              return kOk;
          }}},
        {"answer",
         {{A::Answers},
          [](Step& s) {
              for (const Word& a : s.words.mid(1))
                  s.session.prompts->answers.push_back(a.text == u"yes");
              return kOk;
          }}},
        {"choose",
         {{A::Word},
          [](Step& s) {
              const QString file = s.arg(1);
              s.session.prompts->files.append(file == u"cancel"     ? QString()
                                              : file.contains(u'/') ? file
                                                                    : s.session.folder.path(file));
              return kOk;
          }}},
        {"write", fileStep([](const QString& path, const QString& text) {
             QFile file(path);
             const QByteArray bytes = QByteArray::fromPercentEncoding(text.toUtf8());
             return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
         })},
        {"mkdir", fileStep([](const QString& path, const QString&) { return QDir().mkdir(path); })},
        {"mkfifo", fileStep([](const QString& path, const QString&) {
             return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
         })},
        {"remove", fileStep([](const QString&, const QString&) { return true; })},
        {"elsewhere",
         {{},
          [](Step& s) { // another window with boxes, as a file chooser has
              s.session.elsewhere = std::make_unique<QWidget>();
              new QLineEdit(s.session.elsewhere.get());
              (new QLineEdit(s.session.elsewhere.get()))->setObjectName(QStringLiteral("elsewhereBox"));
              s.session.elsewhere->show();
              return kOk;
          }}},
        {"erasedog",
         {{A::Text},
          [](Step& s) { // as another Pawfolio would, behind this window's back
              QByteArray bytes = s.session.folder.read(files::Doggies);
              const qsizetype at = bytes.indexOf(rawbytes::field(s.arg(1).toLatin1(), 40));
              if (at < 4)
                  return QStringLiteral("no dog %1").arg(s.arg(1));
              s.session.folder.write(files::Doggies, bytes.replace(at - 4, 439, QByteArray(439, '\0')));
              return kOk;
          }}},
        // What the person sees
        {"is",
         {{A::Shows, A::Text},
          [](Step& s) { // spaces at the end aside
              static const QRegularExpression end(QStringLiteral(" +$"));
              return s.expect(shownText(s.control()).remove(end), s.arg(2).remove(end));
          }}},
        {"pad",
         {{A::Box, A::Number},
          [](Step& s) { return s.expect(QString::number(shownText(s.control()).size()), s.arg(2)); }}},
        {"cursor",
         {{A::Box, A::Number},
          [](Step& s) { return s.expect(s.control()->property("cursorPosition").toString(), s.arg(2)); }}},
        {"picture",
         {{A::Picture, A::Word},
          [](Step& s) {
              return s.expect(QFileInfo(qobject_cast<PictureControl*>(s.control())->pictureFile()).fileName(),
                              s.arg(2));
          }}},
        {"status",
         {{A::Word},
          [](Step& s) {
              QWidget* w = s.session.window();
              if (s.arg(1) != u"ready" && s.arg(1) != u"entry")
                  return QStringLiteral("no status %1 (ready, entry)").arg(s.arg(1));
              return s.expect(w->findChild<QLabel*>(QStringLiteral("statusLine"))->text(),
                              statuses.value(s.arg(1) == u"ready" ? s.arg(1) : w->objectName()));
          }}},
        {"rows",
         {{A::Rows, A::Text},
          [](Step& s) {
              QStringList rows = rowsOf(s.control());
              if (qobject_cast<FlexGrid*>(s.control()))
                  rows.removeFirst(); // the header
              return s.expect(rows.join(u'|'), s.arg(2));
          }}},
        {"locked",
         {{A::Lockable, A::Word},
          [](Step& s) {
              return s.expect(yesNo(s.control()->property("readOnly").toBool() || !s.control()->isEnabled()), s.arg(2));
          }}},
        {"shown", {{A::Control, A::Word}, [](Step& s) { return s.expect(yesNo(s.control()->isVisible()), s.arg(2)); }}},
        {"state",
         {{A::Word, A::Text},
          [](Step& s) {
              const SharedState& state = s.session.state;
              const QMap<QString, QString> fields = {{"DoggieRecNo", QString::number(state.DoggieRecNo)},
                                                     {"HealthRecNo", QString::number(state.HealthRecNo)},
                                                     {"SelectedDate", state.SelectedDate.trimmed()},
                                                     {"ReportType", state.ReportType},
                                                     {"quits", QString::number(s.session.quitCount)}};
              if (!fields.contains(s.arg(1)))
                  return QStringLiteral("no field %1").arg(s.arg(1));
              return s.expect(fields.value(s.arg(1)), s.arg(2));
          }}},
        {"window",
         {{A::Word},
          [](Step& s) { return s.expect(s.session.window() ? s.session.window()->objectName() : "none", s.arg(1)); }}},
        {"alone", {{}, [](Step& s) { return s.expect(yesNo(alone(s.session.window())), "yes"); }}},
        {"focus",
         {{A::Word},
          [](Step& s) {
              QWidget* focus = QApplication::focusWidget();
              return s.expect(focus ? focus->objectName() : "none", s.arg(1));
          }}},
        {"asked",
         {{A::Number}, [](Step& s) { return s.expect(QString::number(s.session.prompts->shown.size()), s.arg(1)); }}},
        {"said",
         {{A::Text},
          [](Step& s) { // the last message holds it
              if (s.arg(1).isEmpty())
                  return QStringLiteral("an empty expectation, which any message holds");
              const QString last =
                  s.session.prompts->shown.isEmpty() ? "(nothing)" : s.session.prompts->shown.last().text;
              return s.expect(last.contains(s.arg(1)) ? s.arg(1) : last, s.arg(1));
          }}},
        {"title",
         {{A::Text},
          [](Step& s) {
              return s.expect(s.session.prompts->shown.isEmpty() ? "(nothing)" : s.session.prompts->shown.last().title,
                              s.arg(1));
          }}},
        {"chooser", {{A::Word}, [](Step& s) { // where the last file chooser started
                         return s.expect(QFileInfo(s.session.prompts->chooserStarts.value(
                                                       s.session.prompts->chooserStarts.size() - 1))
                                             .fileName(),
                                         s.arg(1));
                     }}}};
    return table;
}

// Whether the words fit what the verb takes; what does not, otherwise.
QString checkArgs(Step& step, const Verb& verb)
{
    const QList<Word>& words = step.words;
    int at = 1;
    for (const Arg arg : verb.args) {
        if (arg == Arg::Optional) {
            at = words.size() > at ? at + 1 : at;
            continue;
        }
        if (at >= words.size())
            return QStringLiteral("too few words");
        const Word& word = words[at++];
        if (arg != Arg::Text && word.quoted)
            return QStringLiteral("\"%1\" quoted where a name or number goes").arg(word.text);
        if (arg == Arg::Text)
            continue;
        if (arg == Arg::Number && !QRegularExpression(QStringLiteral("^\\d+$")).match(word.text).hasMatch())
            return QStringLiteral("%1 where a number goes").arg(word.text);
        if (arg == Arg::Date && word.text != u"today" && word.text != u"close" &&
            !QDate::fromString(word.text, Qt::ISODate).isValid())
            return QStringLiteral("%1 is no date (YYYY-MM-DD, today, close)").arg(word.text);
        if (arg == Arg::Key && QKeySequence(word.text).count() != 1)
            return QStringLiteral("%1 is no key").arg(word.text);
        if (arg == Arg::Key && QKeySequence(word.text)[0].key() == Qt::Key_unknown)
            return QStringLiteral("%1 is no key").arg(word.text);
        if (arg == Arg::Letter && !QRegularExpression(QStringLiteral("^[A-Z]$")).match(word.text).hasMatch())
            return QStringLiteral("%1 is no letter A to Z").arg(word.text);
        if (arg == Arg::Answers) {
            for (const Word& a : words.mid(at - 1))
                if (a.text != u"yes" && a.text != u"no")
                    return QStringLiteral("%1 is no answer (yes, no)").arg(a.text);
            at = int(words.size());
        }
        if (arg < Arg::Control || arg > Arg::Rows)
            continue;
        QWidget* w = step.session.window();
        QWidget* control = w ? w->findChild<QWidget*>(word.text) : nullptr;
        if (!control && step.session.elsewhere)
            control = step.session.elsewhere->findChild<QWidget*>(word.text);
        if (!control)
            return QStringLiteral("no control %1").arg(word.text);
        const bool picture = qobject_cast<PictureControl*>(control);
        const bool fits =
            arg == Arg::Control || (arg == Arg::Box && isBox(control)) ||
            (arg == Arg::Shows && (isBox(control) || picture || qobject_cast<QLabel*>(control))) ||
            (arg == Arg::Lockable && (isBox(control) || picture)) || (arg == Arg::Picture && picture) ||
            (arg == Arg::Rows && (qobject_cast<FlexGrid*>(control) || qobject_cast<QListWidget*>(control)));
        if (!fits)
            return QStringLiteral("%1 is a %2, which this step does not apply to")
                .arg(word.text, QString::fromLatin1(control->metaObject()->className()));
        step.named.append(control);
    }
    return at < words.size() ? QStringLiteral("\"%1\" left over").arg(words[at].text) : kOk;
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
    const QStringList steps = script.split(u';', Qt::SkipEmptyParts);
    for (int n = 0; n < steps.size(); ++n) {
        const QString text = steps[n].trimmed();
        const auto words = wordsOf(text);
        const auto verb = words && !words->isEmpty() ? verbs().find(words->first().text) : verbs().end();
        Step step{*this, words.value_or(QList<Word>{}), {}};
        QString error = !words                  ? QStringLiteral("a quote left open")
                        : verb == verbs().end() ? QStringLiteral("a step this language does not know")
                                                : checkArgs(step, verb->second);
        if (error.isEmpty())
            error = verb->second.run(step);
        if (error.isEmpty() && QTest::currentTestFailed())
            error = QStringLiteral("a failure above");
        if (!error.isEmpty()) {
            QTest::qFail(qPrintable(QStringLiteral("step %1, \"%2\": %3").arg(n + 1).arg(text, error)), __FILE__,
                         __LINE__);
            return false;
        }
    }
    return true;
}
