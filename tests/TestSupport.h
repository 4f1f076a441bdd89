#pragma once

#include "platform/Prompts.h"
#include "records/SharedState.h"
#include "shell/Navigator.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QPoint>
#include <QTemporaryDir>

#include <deque>
#include <memory>

// Answers message boxes from a script and remembers what was asked.
class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        QString title;
        QString text;
        Icon icon;
        bool question;
    };

    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override;
    void message(QWidget* parent, const QString& title, const QString& text, Icon icon) override;
    std::optional<QString> chooseOpenFile(QWidget* parent, const QString& title, const QStringList& filters,
                                          const QString& defaultSuffix, const QString& startWith) override;

    std::deque<bool> answers;  // the next Yes/No answers; No when empty
    QStringList files;         // the next chosen files; a null text, or none left, cancels
    QStringList chooserStarts; // what each file chooser opened on
    QList<Shown> shown;
};

// Installs scripted prompts for the life of the object.
class ScriptedPromptsScope {
public:
    ScriptedPromptsScope();
    ~ScriptedPromptsScope();
    ScriptedPrompts& operator*() { return *m_prompts; }
    ScriptedPrompts* operator->() { return m_prompts; }

private:
    ScriptedPrompts* m_prompts;
    std::unique_ptr<Prompts> m_previous;
};

// A program folder of its own for one test, with the pictures beside it.
class DataFolder {
public:
    explicit DataFolder(bool withPictures = true);
    QString path(const QString& name) const;
    QString folder() const { return m_dir.path(); }
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;

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
QByteArray int32le(qint32 value);
} // namespace rawbytes

// The whole program on a test folder: shared state, navigator, all screens.
class QAbstractItemView;
class QLineEdit;

struct App {
    explicit App(const QString& folder);
    ~App();
    SharedState state;
    Navigator navigator;
    int quitCount = 0;
};

// A left click in the middle of a control.
void click(QWidget* widget);
// A double-click at `at` (the middle when null) of a shown control, through
// its window, so that Qt makes the second press the double-click it is.
void doubleClick(QWidget* widget, QPoint at = {});
// Clicks entry `row` of the window's dog list.
void pickDog(QWidget* window, int row);
// Clicks row `row` (from 0) of a list or grid.
void pickRow(QAbstractItemView* view, int row);
// Types into a box what it should hold, in place of what it held.
void type(QLineEdit* box, const QString& text);
// Answers the date picker that the next click opens: OK on `day`, or Close
// when `day` is not valid.
void answerDatePicker(const QDate& day);
// The file name of the picture a picture control of the window shows.
QString pictureOf(QWidget* window, const char* name);

// Deletes windows that were unloaded, as the event loop would.
void settle();
// The program's top-level windows still alive and visible.
QList<QWidget*> visibleWindows();
