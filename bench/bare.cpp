// The yardstick for the start-up of Pawfolio: a bare Qt window of the main
// window's size, shown and left open.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(540, 400);
    window.show();
    return app.exec();
}
