// The yardstick of the startup benchmark: an empty Qt window of the main window's size, built
// with the same compiler and options as the program.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bench_startup_empty_window"));
    window.resize(640, 480);
    window.show();
    return app.exec();
}
