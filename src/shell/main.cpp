#include "records/SharedState.h"
#include "shell/Navigator.h"
#include "shell/Screens.h"

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
    QApplication::setQuitOnLastWindowClosed(false); // only Quit ends the program

    SharedState state(QCoreApplication::applicationDirPath());
    Navigator navigator(state);
    registerScreens(navigator);
    navigator.go(Screen::Main);
    return app.exec();
}
