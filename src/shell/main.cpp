#include "platform/FormWindow.h"
#include "platform/Prompts.h"
#include "records/SharedState.h"
#include "shell/Navigator.h"
#include "shell/Screens.h"
#include "shell/SingleInstance.h"

#include <QApplication>

#include <csignal>

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

    // A second start on the same program folder hands over to the first.
    SingleInstance instance(QCoreApplication::applicationDirPath());
    if (!instance.start())
        return 0;

    SharedState state(QCoreApplication::applicationDirPath());
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
    if (!instance.problem().isEmpty())
        prompts().message(navigator.current(), QString(), instance.problem(), Prompts::Icon::Warning);
    return app.exec();
}
