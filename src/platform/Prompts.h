#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QWidget;
class FileError;

// Every message box and file chooser of the program goes through here, so
// that tests can install scripted answers in place of the real dialogs.
class Prompts {
public:
    enum class Icon { None, Warning, Critical };
    enum class Answer { Yes, No };

    virtual ~Prompts() = default;

    // Yes and No; true for Yes. With Yes the default it is an erase question,
    // with the stop icon; with No the default, a warning.
    virtual bool askYesNo(QWidget* parent, const QString& title, const QString& text,
                          Answer byDefault = Answer::Yes) = 0;
    // An OK box; an empty title gives the program's own title.
    virtual void message(QWidget* parent, const QString& title, const QString& text, Icon icon) = 0;
    // A file-open dialog for one existing file, opening on `startWith`, with
    // the first of `filters` in force. The full path, or nullopt when cancelled.
    virtual std::optional<QString> chooseOpenFile(QWidget* parent, const QString& title, const QStringList& filters,
                                                  const QString& defaultSuffix, const QString& startWith) = 0;
};

// The Qt dialogs.
class QtPrompts : public Prompts {
public:
    bool askYesNo(QWidget* parent, const QString& title, const QString& text, Answer byDefault) override;
    void message(QWidget* parent, const QString& title, const QString& text, Icon icon) override;
    std::optional<QString> chooseOpenFile(QWidget* parent, const QString& title, const QStringList& filters,
                                          const QString& defaultSuffix, const QString& startWith) override;
};

// The prompts in use: the Qt dialogs unless another set was installed.
Prompts& prompts();
// Installs `replacement` (nullptr restores the Qt dialogs); returns the old set.
std::unique_ptr<Prompts> installPrompts(std::unique_ptr<Prompts> replacement);

// Gives the keyboard back to the window of `owner` when a dialog it opened has
// closed: without a window manager nobody else does.
void returnKeyboard(QWidget* owner);

// The message for a record or report file that could not be used; `outcome`
// says what became of the user's files (by default, nothing changed).
void reportFileError(QWidget* parent, const FileError& error, const QString& outcome = {});
