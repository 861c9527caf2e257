// The second yardstick of the startup benchmark: a main window with the program's three menus
// and their entries, and nothing else, built with the same compiler and options as the program.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bench_startup_menus_window"));
    QMenu *options = window.menuBar()->addMenu(QStringLiteral("&Rubriques"));
    options->addAction(QStringLiteral("&Commencer"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    options->addAction(QStringLiteral("Charger exercice"));
    options->addSeparator();
    options->addAction(QStringLiteral("&Evaluations"))->setEnabled(false);
    options->addAction(QStringLiteral("Progression"));
    options->addAction(QStringLiteral("&Bilan des élèves"));
    options->addAction(QStringLiteral("&Paramètres"));
    options->addSeparator();
    options->addAction(QStringLiteral("&Quitter"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    window.menuBar()->addMenu(QStringLiteral("&Editer"))->addAction(QStringLiteral("Editer les phrases"));
    window.menuBar()->addMenu(QStringLiteral("&?"))->addAction(QStringLiteral("&A propos de ..."));
    window.resize(640, 480);
    window.show();
    return app.exec();
}
