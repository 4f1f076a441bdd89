#include "platform/Prompts.h"

#include "records/FileError.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

std::unique_ptr<Prompts>& installed()
{
    static std::unique_ptr<Prompts> current = std::make_unique<QtPrompts>();
    return current;
}

// A question or message asked while the program works shows the ordinary
// pointer, not the hourglass.
class OrdinaryPointer {
public:
    OrdinaryPointer() : m_pushed(QApplication::overrideCursor() != nullptr)
    {
        if (m_pushed)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~OrdinaryPointer()
    {
        if (m_pushed)
            QApplication::restoreOverrideCursor();
    }
    OrdinaryPointer(const OrdinaryPointer&) = delete;
    OrdinaryPointer& operator=(const OrdinaryPointer&) = delete;

private:
    bool m_pushed;
};

QString titleOrDefault(const QString& title)
{
    return title.isEmpty() ? QApplication::applicationName() : title;
}

// A box stands over its window once that is on the screen; asked while the
// window loads, before it shows, the box stands in the middle of the screen
// rather than in a corner where the window has yet to be placed.
QWidget* over(QWidget* parent)
{
    return parent && parent->window()->isVisible() ? parent : nullptr;
}

} // namespace

bool QtPrompts::askYesNo(QWidget* parent, const QString& title, const QString& text, Answer byDefault)
{
    const bool yes = byDefault == Answer::Yes;
    QMessageBox box(yes ? QMessageBox::Critical : QMessageBox::Warning, titleOrDefault(title), text,
                    QMessageBox::Yes | QMessageBox::No, over(parent));
    box.setDefaultButton(yes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    const OrdinaryPointer pointer;
    const bool answer = box.exec() == QMessageBox::Yes;
    returnKeyboard(parent);
    return answer;
}

void QtPrompts::message(QWidget* parent, const QString& title, const QString& text, Icon icon)
{
    const QMessageBox::Icon boxIcon = icon == Icon::Critical  ? QMessageBox::Critical
                                      : icon == Icon::Warning ? QMessageBox::Warning
                                                              : QMessageBox::NoIcon;
    QMessageBox box(boxIcon, titleOrDefault(title), text, QMessageBox::Ok, over(parent));
    const OrdinaryPointer pointer;
    box.exec();
    returnKeyboard(parent);
}

std::optional<QString> QtPrompts::chooseOpenFile(QWidget* parent, const QString& title, const QStringList& filters,
                                                 const QString& defaultSuffix, const QString& startWith)
{
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters); // the first one chosen
    dialog.setDefaultSuffix(defaultSuffix);
    if (QFileInfo(startWith).isDir()) {
        dialog.setDirectory(startWith);
    } else if (!startWith.isEmpty()) {
        const QFileInfo start(startWith);
        dialog.setDirectory(start.absolutePath());
        dialog.selectFile(start.fileName());
    }
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    returnKeyboard(parent);
    if (!chosen)
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().first());
}

Prompts& prompts()
{
    return *installed();
}

std::unique_ptr<Prompts> installPrompts(std::unique_ptr<Prompts> replacement)
{
    if (!replacement)
        replacement = std::make_unique<QtPrompts>();
    installed().swap(replacement);
    return replacement;
}

void returnKeyboard(QWidget* owner)
{
    if (owner && owner->window()->isVisible())
        owner->window()->activateWindow();
}

void reportFileError(QWidget* parent, const FileError& error, const QString& outcome)
{
    prompts().message(parent, QStringLiteral("Error!"), outcome.isEmpty() ? error.message() : error.message(outcome),
                      Prompts::Icon::Critical);
}
