// The second yardstick of the startup benchmark: a main window with the program's three menus
// and their entries, and nothing else, built with the same compiler and options as the program.
// Built with BENCH_NO_PICTURE_FILES, the third: the same window whose style gives no standard
// icon, so that, like the program, it loads no image-format plugin (Qt's own icon for the menu
// bar's overflow button is a picture file, and reading one loads every such plugin).
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

#ifdef BENCH_NO_PICTURE_FILES
#include <QProxyStyle>

namespace {
class NoPictureFiles : public QProxyStyle
{
public:
    QIcon standardIcon(StandardPixmap, const QStyleOption * = nullptr,
                       const QWidget * = nullptr) const override
    {
        return QIcon();
    }
};
} // namespace
#define BENCH_TITLE "bench_startup_menus_no_pictures"
#else
#define BENCH_TITLE "bench_startup_menus_window"
#endif

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
#ifdef BENCH_NO_PICTURE_FILES
    QApplication::setStyle(new NoPictureFiles);
#endif
    QMainWindow window;
    window.setWindowTitle(QStringLiteral(BENCH_TITLE));
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
