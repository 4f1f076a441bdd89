#pragma once

#include "platform/FormWindow.h"
#include "platform/Prompts.h"
#include "records/SharedState.h"
#include "shell/Navigator.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <deque>
#include <memory>

using namespace Qt::StringLiterals; // u"text"_s, a QString made at compile time

// A failing disk, put in the way of the program's own writes, syncs and
// renames (on Windows too): while a field is set, the calls on the files whose
// names start with one of `on` (any file while `on` is empty) fail so.
struct FailingDisk {
    bool lying = false;             // keeps half of each write and says it took it all
    bool failingSync = false;       // a file's sync fails
    bool failingFolderSync = false; // the sync of a folder, after a rename, fails
    bool failingRename = false;
    bool stops = false; // the program stops at the failing call instead, as if killed: it throws Stopped
    QStringList on;
};
struct Stopped {};
extern FailingDisk failingDisk;
// Beneath the program, at the system's own calls: the syncs of a folder that
// reached the system so far (what puts a rename on the disk), and the error
// (errno) that such a sync gives while it is set.
extern int folderSyncs;
extern int folderSyncError;
// Whether the two above work: Windows gives a test no way in beneath the program.
constexpr bool kBeneathTheProgram =
#ifdef Q_OS_WIN
    false;
#else
    true;
#endif
// Acts as the user nobody from here, or as root again: false where it cannot.
bool actAsNobody(bool nobody);

// While it lives, no file grows past the size given, as on a full disk. On
// Linux the system holds it, beneath every write of the test and of the
// programs it starts (a lock, a printed PDF too); Windows has no such limit,
// and there the program's own writes are held to it at the seam.
struct FullDisk {
    explicit FullDisk(qint64 bytes);
    ~FullDisk();
    bool beneath = false;
};

// A control of a window, by its name, as the steps find them.
template <typename T>
T* part(const QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

// Answers message boxes from a script and remembers what was asked.
class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        QString title, text;
    };
    bool askYesNo(QWidget* parent, const QString& title, const QString& text, Answer byDefault) override;
    void message(QWidget*, const QString& title, const QString& text, Icon) override { shown.append({title, text}); }
    std::optional<QString> chooseOpenFile(QWidget* parent, const QString& title, const QStringList& filters,
                                          const QString& defaultSuffix, const QString& startWith) override;

    std::deque<bool> answers; // the next Yes/No answers; No when empty
    QStringList files;        // the next chosen files; a null text, or none left, cancels
    QList<Shown> shown;
};

// A program folder of its own for one test, with the pictures beside it.
class DataFolder {
public:
    explicit DataFolder(bool withPictures = true);
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString folder() const { return m_dir.path(); }
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const { return QFile::exists(path(name)); }

private:
    QTemporaryDir m_dir;
};

// Record bytes laid out by hand, so that the reader is tested against the
// file format and not only against our own writer.
namespace rawbytes {
QByteArray doggie(qint32 id, const QByteArray& name, const QByteArray& picture = {});
// All twelve texts in the record's order, Name first and Picture last.
QByteArray doggie(qint32 id, const QList<QByteArray>& texts);
QByteArray health(qint32 id, qint32 doggieId, const QByteArray& date, const QByteArray& vaccine);
QByteArray journal(qint32 id, qint32 doggieId, const QByteArray& date, const QByteArray& entry);
QByteArray field(const QByteArray& text, int width); // padded with spaces
} // namespace rawbytes

// The records most tests start from. Dogs: Bella (1), Rex (2, every
// particular and the picture rex.gif), Max (3), an erased slot (4) and a dog
// without a name whose picture is gone (5). Vaccinations: Max's 1, 4 and 5,
// Rex's 2 and 6, an erased slot 3. Journal entries: Max's 1, 4 and 5 (1 and 5
// of one day), Bella's 2, an erased slot 3.
namespace standard {
QString picturesFolder(); // where rex.gif lies, the same for every test
QList<QByteArray> rexTexts();
QByteArray dog(int n);
QByteArray vaccination(int n);
QByteArray entry(int n);
// The records numbered, in that order; 0 is an erased slot.
QByteArray of(QByteArray (*record)(int), const QList<int>& numbers);
inline const auto dogs = [](const QList<int>& numbers = {1, 2, 3, 4, 5}) { return of(dog, numbers); };
inline const auto health = [](const QList<int>& numbers = {1, 2, 3, 4, 5, 6}) { return of(vaccination, numbers); };
inline const auto journal = [](const QList<int>& numbers = {1, 2, 3, 4, 5}) { return of(entry, numbers); };
} // namespace standard

// The whole program on a folder of its own, on the standard records, with
// scripted message boxes. run() takes what a person does and should see as
// steps separated by ";", each a verb and its words; free text goes in
// double quotes, where a ";" is text too and \" is a quote, for example
//   "go health; pick Max; row \"12/5/2004 Distemper\"; click imgEdit; type txtvaccine Booster; click imgEdit".
// The verbs, each with the words it takes and what it does or checks, are
// the table verbs() in TestSupport.cpp. A step whose verb or words do not
// fit fails, naming its number and text; so does a modal dialog that no step
// expects, and answers or chosen files that no step used fail the test.
struct Session {
    Session();
    ~Session();
    bool run(const QString& script); // false after a failed check
    FormWindow* window() const { return navigator.current(); }
    DataFolder folder;
    SharedState state{folder.folder()};
    Navigator navigator{state};
    int quitCount = 0;
    ScriptedPrompts* prompts;
    bool pickerAnswered = false; // by the step "date", for the next click or key
    struct Step;

private:
    std::unique_ptr<Prompts> m_previousPrompts;
};
#define RUN(session, script)                                                                                           \
    do {                                                                                                               \
        if (!(session).run(script))                                                                                    \
            return;                                                                                                    \
    } while (false)
