#pragma once

#include <QString>

#include <memory>

class QWidget;
class FileError;

// Every message box and file chooser of the program goes through here, so
// that tests can install scripted answers in place of the real dialogs.
class Prompts {
public:
    enum class Icon { None, Information, Critical };

    virtual ~Prompts() = default;

    // Yes and No, Yes the default, the stop icon. True for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
    // An OK box; an empty title gives the program's own title.
    virtual void message(QWidget* parent, const QString& title, const QString& text, Icon icon) = 0;
};

// The Qt dialogs.
class QtPrompts : public Prompts {
public:
    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override;
    void message(QWidget* parent, const QString& title, const QString& text, Icon icon) override;
};

// The prompts in use: the Qt dialogs unless another set was installed.
Prompts& prompts();
// Installs `replacement` (nullptr restores the Qt dialogs); returns the old set.
std::unique_ptr<Prompts> installPrompts(std::unique_ptr<Prompts> replacement);

// The message for a record or report file that could not be used.
void reportFileError(QWidget* parent, const FileError& error);
