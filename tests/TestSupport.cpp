#include "TestSupport.h"

#include "datepicker/DatePickerDialog.h"
#include "health/FlexGrid.h"
#include "platform/FormWindow.h"
#include "platform/PictureControl.h"
#include "shell/Screens.h"

#include <QApplication>
#include <QCalendarWidget>
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

namespace standard {

QString picturesFolder()
{
    static QTemporaryDir pictures;
    static const bool copied =
        QFile::copy(QStringLiteral(PAWFOLIO_ASSETS "/poorlydog.gif"), pictures.filePath(QStringLiteral("rex.gif")));
    Q_UNUSED(copied);
    return pictures.path();
}

QList<QByteArray> rexTexts()
{
    return {"Rex",      "Rex of Riverside", "5/12/2003",       "L-123",
            "Kennel",   "Dr. Vet",          "1 High St, Town", "555-0100",
            "555-0199", "Groomy",           "555-0123",        QFile::encodeName(picturesFolder() + "/rex.gif")};
}

QByteArray dog(int n)
{
    switch (n) {
    case 1:
        return rawbytes::doggie(1, "Bella");
    case 2:
        return rawbytes::doggie(2, rexTexts());
    case 3:
        return rawbytes::doggie(3, "Max");
    case 5:
        return rawbytes::doggie(5, "", QFile::encodeName(picturesFolder() + "/gone.gif"));
    }
    return QByteArray(439, '\0');
}

QByteArray vaccination(int n)
{
    static const struct {
        qint32 dog;
        const char* date;
        const char* vaccine;
    } all[] = {{0, "", ""},
               {3, "10/20/2003", "Rabies"},
               {2, "1/1/2004", "Parvo"},
               {0, "", ""},
               {3, "12/5/2004", "Distemper"},
               {3, "9/1/2003", "Lepto"},
               {2, "4/4/2004", "Kennel cough"}};
    return all[n].dog ? rawbytes::health(n, all[n].dog, all[n].date, all[n].vaccine) : QByteArray(68, '\0');
}

QByteArray entry(int n)
{
    static const struct {
        qint32 dog;
        const char* date;
        const char* text;
    } all[] = {{0, "", ""},
               {3, "3-2-2005", "Park\r\nand a nap"},
               {1, "3-3-2005", "Bella's"},
               {0, "", ""},
               {3, "1-5-2005", "Snow"},
               {3, "3-2-2005", "Later"}};
    return all[n].dog ? rawbytes::journal(n, all[n].dog, all[n].date, all[n].text) : QByteArray(4114, '\0');
}

QByteArray dogs(const QList<int>& numbers)
{
    QByteArray bytes;
    for (int n : numbers)
        bytes += dog(n);
    return bytes;
}

QByteArray health(const QList<int>& numbers)
{
    QByteArray bytes;
    for (int n : numbers)
        bytes += vaccination(n);
    return bytes;
}

QByteArray journal(const QList<int>& numbers)
{
    QByteArray bytes;
    for (int n : numbers)
        bytes += entry(n);
    return bytes;
}

} // namespace standard

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

Session::Session(bool standardFiles)
{
    if (!standardFiles)
        return;
    folder.write(files::Doggies, standard::dogs());
    folder.write(files::Health, standard::health());
    folder.write(files::Journal, standard::journal());
}

FormWindow* Session::window() const
{
    return app.navigator.current();
}

namespace {

QString shownText(QWidget* w)
{
    if (auto* picture = qobject_cast<PictureControl*>(w))
        return picture->tag();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* box = qobject_cast<QLineEdit*>(w))
        return box->text();
    if (auto* notes = qobject_cast<QPlainTextEdit*>(w))
        return notes->toPlainText();
    return QStringLiteral("(no text)");
}

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

QString yesNo(bool yes)
{
    return yes ? QStringLiteral("yes") : QStringLiteral("no");
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

bool Session::run(const QString& script)
{
    static const QMap<QString, QString> statuses = {
        {"ready", "Select doggie then click on a doggie bone to add, edit, erase, or print."},
        {"DogRegisterWindow", "Enter your information and then click the save doggie bone."},
        {"HealthWindow", "Enter information and click on the save bone to save."},
        {"JournalWindow", "Add your information and click on the save bone to save."}};
    static const QMap<QString, Screen> screens = {
        {"main", Screen::Main}, {"dogs", Screen::Doggies}, {"health", Screen::Health}, {"journal", Screen::Journal}};
    static const QMap<QString, QPair<Qt::Key, Qt::KeyboardModifier>> keys = {
        {"Return", {Qt::Key_Return, Qt::NoModifier}},
        {"Enter", {Qt::Key_Enter, Qt::NoModifier}},
        {"Down", {Qt::Key_Down, Qt::NoModifier}},
        {"Ctrl+End", {Qt::Key_End, Qt::ControlModifier}}};
    bool pickerAnswered = false;
    for (QString step : script.split(u';', Qt::SkipEmptyParts)) {
        while (step.startsWith(u' '))
            step.remove(0, 1);
        const QString verb = step.section(u' ', 0, 0);
        const QString name = step.section(u' ', 1, 1);
        const QString tail = step.section(u' ', 1);
        const bool quoted = step.section(u' ', 2).startsWith(u'"') && step.endsWith(u'"') && step.count(u'"') == 2;
        const QString rest = quoted ? step.section(u' ', 2).chopped(1).mid(1) : step.section(u' ', 2).trimmed();
        QWidget* w = window();
        QWidget* control = w && !name.isEmpty() ? w->findChild<QWidget*>(name) : nullptr;
        auto fail = [&](const QString& got) {
            QTest::qFail(qPrintable(QStringLiteral("step \"%1\": got %2").arg(step, got)), __FILE__, __LINE__);
            return false;
        };
        const QStringList onControls = {"click", "double", "key",    "keys",  "type", "is",
                                        "pad",   "rows",   "locked", "shown", "tip"};
        if (onControls.contains(verb) && !control)
            return fail(QStringLiteral("no control %1").arg(name));

        if (verb == u"go") {
            app.navigator.go(screens.value(name));
        } else if (verb == u"date") { // answers the picker the next step opens
            const QDate day = name == u"today" ? QDate::currentDate() : QDate::fromString(name, Qt::ISODate);
            answerDatePicker(day, rest == u"keys");
            pickerAnswered = true;
        } else if (verb == u"answer") {
            for (const QString& a : tail.split(u' '))
                prompts->answers.push_back(a == u"yes");
        } else if (verb == u"choose") {
            prompts->files.append(name == u"cancel" ? QString() : name.contains(u'/') ? name : folder.path(name));
        } else if (verb == u"type" && qobject_cast<QPlainTextEdit*>(control)) {
            qobject_cast<QPlainTextEdit*>(control)->setPlainText(rest);
        } else if (verb == u"type" || verb == u"keys") {
            if (verb == u"type")
                qobject_cast<QLineEdit*>(control)->clear();
            QTest::keyClicks(control, verb == u"type" ? rest : step.section(u' ', 2));
        } else if (verb == u"remove" || verb == u"write" || verb == u"mkdir") {
            QFile::remove(folder.path(name));
            if (verb == u"write")
                folder.write(name, rest.toUtf8());
            if (verb == u"mkdir")
                QDir(folder.folder()).mkdir(name);
        } else if (verb == u"erasedog") { // as another Pawfolio would, behind this window's back
            QByteArray bytes = folder.read(files::Doggies);
            folder.write(files::Doggies, bytes.replace((name.toInt() - 1) * 439, 439, QByteArray(439, '\0')));
        } else if (QStringList{"click", "double", "alt", "key", "pick", "row"}.contains(verb)) {
            // A modal dialog that no step answers is closed, and the test fails.
            QObject scope;
            QString unexpected;
            if (!pickerAnswered) {
                QTimer::singleShot(0, &scope, [&unexpected] {
                    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                        unexpected = dialog->objectName();
                        dialog->done(QDialog::Rejected);
                    }
                });
            }
            pickerAnswered = false;
            if (verb == u"click") {
                click(control);
            } else if (verb == u"double") {
                doubleClick(control);
            } else if (verb == u"pick") {
                pickDog(w, name.toInt());
            } else if (verb == u"row") {
                auto* view = w->findChild<QAbstractItemView*>(QStringLiteral("vaccinationGrid"));
                pickRow(view ? view : w->findChild<QAbstractItemView*>(QStringLiteral("lbDates")), name.toInt());
            } else {
                w->activateWindow();
                if (!QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }, 2000))
                    return fail(QStringLiteral("a window that would not take the keyboard"));
                if (verb == u"alt") {
                    QTest::keyClick(w, Qt::Key(Qt::Key_A + name.at(0).unicode() - u'A'), Qt::AltModifier);
                } else {
                    control->setFocus();
                    QTest::keyClick(control, keys.value(rest).first, keys.value(rest).second);
                }
            }
            QCoreApplication::processEvents();
            settle();
            if (!unexpected.isNull())
                return fail(QStringLiteral("the dialog %1, which no step answers").arg(unexpected));
        } else {
            // A check: what the person sees against what the step says.
            QWidget* focus = QApplication::focusWidget();
            const ScriptedPrompts::Shown last = prompts->shown.value(prompts->shown.size() - 1);
            const QString lastStart =
                QFileInfo(prompts->chooserStarts.value(prompts->chooserStarts.size() - 1)).fileName();
            const std::map<QString, std::function<QString()>> checks = {
                {"is",
                 [&] { return quoted ? shownText(control) : shownText(control).remove(QRegularExpression(" +$")); }},
                {"pad", [&] { return QString::number(shownText(control).size()); }},
                {"picture", [&] { return pictureOf(w, qPrintable(name)); }},
                {"status", [&] { return w->findChild<QLabel*>(QStringLiteral("statusLine"))->text(); }},
                {"rows", [&] { return rowsOf(control); }},
                {"locked",
                 [&] {
                     return yesNo(qobject_cast<QLineEdit*>(control) ? qobject_cast<QLineEdit*>(control)->isReadOnly()
                                  : qobject_cast<QPlainTextEdit*>(control)
                                      ? qobject_cast<QPlainTextEdit*>(control)->isReadOnly()
                                      : !control->isEnabled());
                 }},
                {"shown", [&] { return yesNo(control->isVisible()); }},
                {"tip", [&] { return control->toolTip(); }},
                {"caption", [&] { return w->windowTitle(); }},
                {"state", [&] { return stateOf(name); }},
                {"window", [&] { return w ? w->objectName() : QStringLiteral("none"); }},
                {"alone", [&] { return yesNo(alone(w)); }},
                {"focus", [&] { return focus ? focus->objectName() : QStringLiteral("none"); }},
                {"asked", [&] { return QString::number(prompts->shown.size()); }},
                {"said", [&] { return last.text.contains(tail) ? tail : last.text; }},
                {"title", [&] { return last.title; }},
                {"chooser", [&] { return lastStart; }}};
            const auto check = checks.find(verb);
            if (check == checks.end())
                return fail(QStringLiteral("a step this script does not know"));
            QString want = QStringList{"is", "pad", "rows", "locked", "shown", "tip", "state", "picture"}.contains(verb)
                               ? rest
                               : tail;
            if (verb == u"status")
                want = statuses.value(name == u"ready" ? name : w->objectName());
            if (verb == u"alone")
                want = QStringLiteral("yes");
            if (verb == u"caption" && tail.startsWith(u'"'))
                want = tail.chopped(1).mid(1);
            const QString got = check->second();
            if (got != want)
                return fail(QStringLiteral("\"%1\", not \"%2\"").arg(got, want));
        }
        if (QTest::currentTestFailed())
            return false;
    }
    return true;
}

QString Session::stateOf(const QString& field) const
{
    const SharedState& s = app.state;
    const std::map<QString, QString> fields = {{"DoggieRecNo", QString::number(s.DoggieRecNo)},
                                               {"HealthRecNo", QString::number(s.HealthRecNo)},
                                               {"JournalRecNo", QString::number(s.JournalRecNo)},
                                               {"SelectedDate", s.SelectedDate.trimmed()},
                                               {"ReportType", s.ReportType},
                                               {"quits", QString::number(app.quitCount)}};
    const auto found = fields.find(field);
    return found == fields.end() ? QStringLiteral("(no such field)") : found->second;
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

void answerDatePicker(const QDate& day, bool keys)
{
    QTimer::singleShot(0, [day, keys] {
        auto* picker = qobject_cast<DatePickerDialog*>(QApplication::activeModalWidget());
        if (!picker)
            QFAIL("no date picker");
        if (keys) {
            picker->activateWindow();
            (void)QTest::qWaitFor([picker] { return QApplication::activeWindow() == picker; }, 2000);
            QTest::keyClick(picker, Qt::Key_Return); // Enter and Escape do nothing there
            QTest::keyClick(picker, Qt::Key_Escape);
            QTest::keyClick(picker, day.isValid() ? Qt::Key_O : Qt::Key_C, Qt::AltModifier);
        } else {
            if (day.isValid())
                picker->calendar->setSelectedDate(day);
            click(day.isValid() ? picker->imgOk : picker->imgClose);
        }
        if (picker->isVisible()) { // fail now rather than wait on the dialog
            picker->done(QDialog::Rejected);
            QFAIL("the date picker stayed open");
        }
    });
}
