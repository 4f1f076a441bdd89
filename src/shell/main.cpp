#include "platform/Fonts.h"
#include "platform/FormWindow.h"
#include "platform/Prompts.h"
#include "records/DoggieErase.h"
#include "records/FileError.h"
#include "records/SharedState.h"
#include "shell/Navigator.h"
#include "shell/RecordsFolder.h"
#include "shell/Screens.h"
#include "shell/SingleInstance.h"

#include <QApplication>
#include <QSessionManager>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

// What Qt says while the application looks for its display is held back:
// without a display, one line says so and the program ends.
QStringList s_heldBack;

void printHeldBack()
{
    for (const QString& held : std::exchange(s_heldBack, {}))
        std::fprintf(stderr, "%s\n", qPrintable(held));
}

void whileStarting(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg) {
        s_heldBack.append(qFormatLogMessage(type, context, text));
        return;
    }
    if (text.contains(QLatin1String("platform plugin"))) {
        std::fputs("Pawfolio: no display was found. Start it from your desktop session, or without one through "
                   "xvfb-run (xvfb-run pawfolio).\n",
                   stderr);
        std::_Exit(1);
    }
    printHeldBack();
    std::fprintf(stderr, "%s\n", qPrintable(text));
    std::abort();
}

} // namespace

int main(int argc, char* argv[])
{
#ifdef SIGXFSZ
    // A write past the file-size limit fails with an error we report, rather
    // than ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    const QtMessageHandler ordinary = qInstallMessageHandler(whileStarting);
    QApplication app(argc, argv);
    qInstallMessageHandler(ordinary);
    printHeldBack();
    QApplication::setApplicationName(QStringLiteral("Pawfolio"));
    QApplication::setWindowIcon(programIcon());     // the message boxes' and the file chooser's too
    QApplication::setQuitOnLastWindowClosed(false); // only Quit ends the program

    const QString programFolder = QCoreApplication::applicationDirPath();
    fonts::loadBundled(programFolder);
    QString problem;
    const QString records = recordsFolderFor(programFolder, problem);
    // A second start on the same records folder hands over to the first.
    SingleInstance instance(records);
    if (!instance.start())
        return 0;
    if (problem.isEmpty())
        problem = instance.problem();

    SharedState state(programFolder, records);
    state.picturesFolder = picturesFolderFor(programFolder);
    // A dog erase that a stop cut short is finished before any window reads
    // the records.
    QString erased;
    try {
        erased = finishInterruptedErase(state);
    } catch (const FileError& error) {
        erased = error.message(QStringLiteral("The erase will be finished at the next start."));
    }
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
#ifndef QT_NO_SESSIONMANAGER
    // A logout closes the window shown as its title bar would; a register with
    // unsaved typing asks first, and No keeps the session.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &navigator, [&navigator](QSessionManager& session) {
        if (session.allowsInteraction()) {
            if (!navigator.closeForSession())
                session.cancel();
            session.release();
        }
    });
#endif
    navigator.go(Screen::Main);
    for (const QString& said : {problem, erased}) {
        if (!said.isEmpty())
            prompts().message(navigator.current(), QString(), said, Prompts::Icon::Warning);
    }
    return app.exec();
}
