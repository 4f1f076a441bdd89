#include "platform/Fonts.h"
#include "platform/FormWindow.h"
#include "platform/Prompts.h"
#include "records/SharedState.h"
#include "shell/Navigator.h"
#include "shell/Screens.h"
#include "shell/SingleInstance.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <csignal>

namespace {

// The records live beside the program when the person may write its folder
// (built or installed by them, or carried from another computer with its
// record files); otherwise, as for a system-wide install, in their own data
// folder, made here. `problem` says why when that folder cannot be made.
QString recordsFolder(const QString& programFolder, QString& problem)
{
    if (QFileInfo(programFolder).isWritable())
        return programFolder;
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!QDir().mkpath(own))
        problem = QStringLiteral("Pawfolio cannot make the folder for your records, %1, so nothing can be saved.")
                      .arg(QDir::toNativeSeparators(own));
    return own;
}

} // namespace

int main(int argc, char* argv[])
{
#ifdef SIGXFSZ
    // A write past the file-size limit fails with an error we report, rather
    // than ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pawfolio"));
    QApplication::setWindowIcon(programIcon());     // the message boxes' and the file chooser's too
    QApplication::setQuitOnLastWindowClosed(false); // only Quit ends the program

    const QString programFolder = QCoreApplication::applicationDirPath();
    fonts::loadBundled(programFolder);
    QString problem;
    const QString records = recordsFolder(programFolder, problem);
    // A second start on the same records folder hands over to the first.
    SingleInstance instance(records);
    if (!instance.start())
        return 0;
    if (problem.isEmpty())
        problem = instance.problem();

    SharedState state(programFolder, records);
    Navigator navigator(state);
    registerScreens(navigator);
    QObject::connect(&instance, &SingleInstance::raiseRequested, &navigator, [&navigator] {
        QWidget* front = QApplication::activeModalWidget();
        if (!front)
            front = navigator.current();
        if (!front)
            return;
        qInfo("Pawfolio: started again on this folder; bringing %s to the front.", qPrintable(front->objectName()));
        front->showNormal();
        front->raise();
        front->activateWindow();
    });
    navigator.go(Screen::Main);
    if (!problem.isEmpty())
        prompts().message(navigator.current(), QString(), problem, Prompts::Icon::Warning);
    return app.exec();
}
