#include "shell/frmmain.h"
#include "shell/appicon.h"
#include "shell/logoarea.h"
#include "shell/nomfichier.h"
#include "shell/welcomedesign.h"
#include "shell/welcomepictures.h"
#include "ui/fixedturn.h"
#include "fakes/fakes.h"
#include "fakes/windowchecks.h"

#include "common/programfolder.h"
#include "common/sentencefile.h"
#include "editor/frmphrases.h"
#include "exercise/frmsac2mot.h"
#include "exercise/sentencedeck.h"
#include "platform/steadystyle.h"
#include "journal/frmprogression.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTest>
#include <QWindow>

#include <algorithm>

namespace {
// The main window over fakes, with "end the program" counted instead of done.
struct MainFixture {
    TestEnv env;
    frmMain window{env.services};
    int ended = 0;
    MainFixture() { window.setEndProgram([this] { ++ended; }); }

    QString setting(const SettingKey& key)
    {
        return env.settings.GetSetting(key, QStringLiteral("absent"));
    }
};

QStringList entries(QMenu *menu)
{
    QStringList texts;
    for (QAction *action : menu->actions())
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}
}

class TestFrmMain : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void startupSizing_data();
    void startupSizing();
    void startupFrame_data();
    void startupFrame();
    void menuBar();
    void logoOnWhite();
    void iconAsTheDesktopShowsIt_data();
    void iconAsTheDesktopShowsIt();
    void outlinesAsDesigned();
    void fixedTurns_data();
    void fixedTurns();
    void commandJournalLines_data();
    void commandJournalLines();
    void commandTwiceOneWindow_data();
    void commandTwiceOneWindow();
    void recordFailureToldInTheJournal();
    void exerciseFillsTheInnerArea();
    void fullScreen();
    void exerciseNeverRestoredSmaller();
    void escapeClosesParametresFirst();
    void parametresStaysOverTheExercise();
    void parametresSaysWhyNoReadingAloud_data();
    void parametresSaysWhyNoReadingAloud();
    void openingsShareTheirDrawings();
    void chargerExercice_data();
    void chargerExercice();
    void chargerFailedCopy();
    void chargerProposesLastPath();
    void extraitNomFichier_data();
    void extraitNomFichier();
    void quitterRightAfterStart();
    void quitterAsks_data();
    void quitterAsks();
    void quitterAfterVider();
    void closeBoxClosesEverything();
    void closeBoxOrder();
    void closeBoxPosition_data();
    void closeBoxPosition();
    void unsavedSentencesKept_data();
    void unsavedSentencesKept();
};

void TestFrmMain::initTestCase()
{
    // Drawn as the program draws.
    useSteadyStyle();
}

void TestFrmMain::startupSizing_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<bool>("maximised");
    QTest::addColumn<QPoint>("topLeft");

    QTest::newRow("800x600: centred") << QRect(0, 0, 800, 600) << false << QPoint(80, 60);
    QTest::newRow("641 wide: centred") << QRect(0, 0, 641, 481) << false << QPoint(0, 0);
    QTest::newRow("640x480: maximised") << QRect(0, 0, 640, 480) << true << QPoint();
    QTest::newRow("second screen at 1024") << QRect(1024, 0, 1024, 768) << false
                                           << QPoint(1216, 144);
}

void TestFrmMain::startupSizing()
{
    QFETCH(QRect, screen);
    QFETCH(bool, maximised);
    QFETCH(QPoint, topLeft);
    MainFixture f;
    f.window.MDIForm_Load(screen);
    QCOMPARE(f.window.isMaximized(), maximised);
    QCOMPARE(f.window.windowTitle(), QStringLiteral("Plumalin pour Ecole Primaire"));
    // Sizing the window opens nothing and writes nothing.
    QVERIFY(!f.env.journal.exists());
    if (maximised)
        return;
    QCOMPARE(f.window.windowState(), Qt::WindowNoState);
    // The whole window, frame included, once the window is framed.
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    QTRY_COMPARE(f.window.frameGeometry(), QRect(topLeft, QSize(640, 480)));
    QVERIFY(f.window.isVisible() && !f.window.isMaximized());
}

void TestFrmMain::startupFrame_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QRect>("outer");
    QTest::addColumn<QSize>("inner");

    // The offscreen platform frames a window with 2 pixels on each side.
    QTest::newRow("framed on showing") << QString() << QRect(80, 60, 640, 480)
                                       << QSize(636, 476);
    QTest::newRow("frame known at start-up") << QStringLiteral("created")
                                             << QRect(80, 60, 640, 480) << QSize(636, 476);
    QTest::newRow("no frame") << QStringLiteral("frameless") << QRect(80, 60, 640, 480)
                              << QSize(640, 480);
    QTest::newRow("resized before showing") << QStringLiteral("resized")
                                            << QRect(80, 60, 704, 504) << QSize(700, 500);
}

void TestFrmMain::startupFrame()
{
    QFETCH(QString, before);
    QFETCH(QRect, outer);
    QFETCH(QSize, inner);
    MainFixture f;
    if (before == QLatin1String("created"))
        f.window.winId();
    if (before == QLatin1String("frameless"))
        f.window.setWindowFlag(Qt::FramelessWindowHint);
    f.window.MDIForm_Load(QRect(0, 0, 800, 600));
    if (before == QLatin1String("created"))
        QCOMPARE(f.window.frameGeometry(), outer); // at once, before it is shown
    if (before == QLatin1String("resized"))
        f.window.resize(700, 500);
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    QTRY_COMPARE(f.window.frameGeometry(), outer);
    QCOMPARE(f.window.size(), inner);

    // Fitted once, at start-up: a frame that appears later changes nothing, and the person's
    // later sizes and places stay.
    if (before == QLatin1String("frameless")) {
        QTest::qWait(20); // painted once
        f.window.setWindowFlag(Qt::FramelessWindowHint, false);
        f.window.windowHandle()->destroy(); // the new frame is known only to a new window
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QTest::qWait(20);
        QCOMPARE(f.window.size(), inner);
    }
    f.window.resize(500, 400);
    f.window.move(10, 20);
    QTest::qWait(20);
    QCOMPARE(f.window.size(), QSize(500, 400));
    QCOMPARE(f.window.pos(), QPoint(10, 20));
}

void TestFrmMain::menuBar()
{
    MainFixture f;
    const QList<QAction *> menus = f.window.menuBar()->actions();
    QCOMPARE(menus.size(), 3);
    QCOMPARE(menus.at(0)->text(), QStringLiteral("&Rubriques"));
    QCOMPARE(menus.at(1)->text(), QStringLiteral("&Editer"));
    QCOMPARE(menus.at(2)->text(), QStringLiteral("&?"));
    QCOMPARE(entries(control<QMenu>(&f.window, "mnuOptions")),
             QStringList({QStringLiteral("&Commencer"), QStringLiteral("Charger exercice"),
                          QStringLiteral("-"), QStringLiteral("&Evaluations"),
                          QStringLiteral("Progression"), QStringLiteral("&Bilan des élèves"),
                          QStringLiteral("&Paramètres"), QStringLiteral("-"),
                          QStringLiteral("&Quitter")}));
    // Within a menu, no two entries share an access key.
    for (const char *name : {"mnuOptions", "mnuEditer", "frmPoint"}) {
        QSet<QChar> keys;
        for (QAction *action : control<QMenu>(&f.window, name)->actions()) {
            const qsizetype amp = action->text().indexOf(QLatin1Char('&'));
            if (amp < 0)
                continue;
            const QChar key = action->text().at(amp + 1).toLower();
            QVERIFY2(!keys.contains(key), qPrintable(action->text()));
            keys.insert(key);
        }
    }
    QCOMPARE(entries(control<QMenu>(&f.window, "mnuEditer")),
             QStringList{QStringLiteral("Editer les phrases")});
    QCOMPARE(entries(control<QMenu>(&f.window, "frmPoint")),
             QStringList{QStringLiteral("&A propos de ...")});
    QCOMPARE(control<QAction>(&f.window, "mnuSac2Mot")->shortcut(),
             QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(control<QAction>(&f.window, "mnuExit")->shortcut(),
             QKeySequence(QStringLiteral("Ctrl+Q")));
    QVERIFY(!control<QAction>(&f.window, "mnuConfig")->isEnabled());
    for (QAction *action : control<QMenu>(&f.window, "mnuOptions")->actions())
        QCOMPARE(action->isEnabled(), action != control<QAction>(&f.window, "mnuConfig"));
}

void TestFrmMain::logoOnWhite()
{
    MainFixture f;
    f.window.MDIForm_Load(QRect(0, 0, 800, 600));
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    auto *area = static_cast<LogoArea *>(f.window.mdiArea());
    const QImage image = area->viewport()->grab().toImage();
    QCOMPARE(image.pixelColor(1, 1), QColor(Qt::white));
    QCOMPARE(image.pixelColor(image.width() - 2, image.height() - 2), QColor(Qt::white));
    const QRect logo = area->logoRect();
    QCOMPARE(logo.size(), QSize(480, 360));
    QVERIFY(qAbs(logo.center().x() - area->viewport()->width() / 2) <= 1);
    QVERIFY(qAbs(logo.center().y() - area->viewport()->height() / 2) <= 1);
    // The logo draws something in its area.
    int coloured = 0;
    for (int x = logo.left(); x < logo.right(); x += 8)
        for (int y = logo.top(); y < logo.bottom(); y += 8)
            coloured += image.pixelColor(x, y) != QColor(Qt::white);
    QVERIFY(coloured > 100);
}

void TestFrmMain::iconAsTheDesktopShowsIt_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("16") << 16;
    QTest::newRow("32") << 32;
    QTest::newRow("256") << 256;
}

// The window icon is drawn by code, the desktop's from the installed SVG: both show the same.
void TestFrmMain::iconAsTheDesktopShowsIt()
{
    QFETCH(int, size);
    const QImage drawn = appIcon().pixmap(size, size).toImage().convertToFormat(
        QImage::Format_ARGB32);
    QSvgRenderer desktop(QStringLiteral(PLUMALIN_DESKTOP_ICON));
    QVERIFY(desktop.isValid());
    QImage expected(size, size, QImage::Format_ARGB32);
    expected.fill(Qt::transparent);
    QPainter painter(&expected);
    desktop.render(&painter);
    painter.end();
    QCOMPARE(drawn.size(), expected.size());
    // Antialiasing may differ by a shade along the edges, never more.
    qint64 difference = 0;
    int far = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb a = drawn.pixel(x, y);
            const QRgb b = expected.pixel(x, y);
            const int d = qMax(qMax(qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b))),
                               qMax(qAbs(qBlue(a) - qBlue(b)), qAbs(qAlpha(a) - qAlpha(b))));
            difference += d;
            far += d > 64;
        }
    }
    QVERIFY2(difference / (size * size) <= 3,
             qPrintable(QStringLiteral("mean difference %1").arg(difference / (size * size))));
    QVERIFY2(far <= size * size / 100, qPrintable(QStringLiteral("%1 pixels apart").arg(far)));
}

// The pictures are drawn from outlines written beforehand from their design, with the fonts
// installed: the file written is the design's (tools/welcome_outlines.cpp writes it again).
void TestFrmMain::outlinesAsDesigned()
{
    const QList<WelcomeOutline> designed = welcomeOutlines();
    QVERIFY(designed.size() > 10);
    for (const WelcomeOutline &outline : designed) {
        const QPainterPath baked = bakedWelcomeOutline(outline.name);
        QVERIFY2(baked.elementCount() == outline.path.elementCount(),
                 qPrintable(QStringLiteral("%1: %2 elements, designed %3").arg(outline.name)
                                .arg(baked.elementCount()).arg(outline.path.elementCount())));
        for (int i = 0; i < baked.elementCount(); ++i) {
            const QPainterPath::Element a = baked.elementAt(i);
            const QPainterPath::Element b = outline.path.elementAt(i);
            QVERIFY2(a.type == b.type && qAbs(a.x - b.x) < 0.002 && qAbs(a.y - b.y) < 0.002,
                     qPrintable(QStringLiteral("%1, element %2").arg(outline.name).arg(i)));
        }
    }
    QVERIFY(bakedWelcomeOutline(QStringLiteral("nothing")).isEmpty());
}

void TestFrmMain::fixedTurns_data()
{
    QTest::addColumn<double>("degrees");
    for (const double degrees : {0.0, 20.0, 28.0, -10.0, 90.0, -180.0, 359.0, 725.0, -1000.5})
        QTest::newRow(qPrintable(QString::number(degrees))) << degrees;
}

// A turn worked out when building is Qt's turn by the same angle.
void TestFrmMain::fixedTurns()
{
    QFETCH(double, degrees);
    const QTransform fixed = fixedTurn(degrees).transform();
    const QTransform qt = QTransform().rotate(degrees);
    for (const QPointF &p : {QPointF(1, 0), QPointF(0, 1), QPointF(-37.5, 12.25)}) {
        const QPointF d = fixed.map(p) - qt.map(p);
        QVERIFY2(qAbs(d.x()) < 1e-9 && qAbs(d.y()) < 1e-9, qPrintable(QString::number(d.x())));
    }
}

void TestFrmMain::commandJournalLines_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("line");
    QTest::newRow("Commencer") << QStringLiteral("&Commencer")
                               << QStringLiteral("Debut de l'exercice.");
    QTest::newRow("Editer les phrases") << QStringLiteral("Editer les phrases")
                                        << QStringLiteral("Editer les exercices");
    QTest::newRow("Progression") << QStringLiteral("Progression")
                                 << QStringLiteral("Consultation de la progression");
    QTest::newRow("Paramètres") << QStringLiteral("&Paramètres")
                                << QStringLiteral("Consultation de la boite 'Paramètres'");
    QTest::newRow("Bilan") << QStringLiteral("&Bilan des élèves")
                           << QStringLiteral("Consultation du bilan des élèves");
    QTest::newRow("A propos") << QStringLiteral("&A propos de ...")
                              << QStringLiteral("Consultation de la boite 'A propos de...'");
}

static QAction *actionNamed(frmMain &window, const QString &text)
{
    for (QMenu* menu : {control<QMenu>(&window, "mnuOptions"), control<QMenu>(&window, "mnuEditer"),
                        control<QMenu>(&window, "frmPoint")})
        for (QAction *action : menu->actions())
            if (action->text() == text)
                return action;
    return nullptr;
}

// The window a command shows, once it has run.
static QWidget *shownBy(frmMain &window, const QString &command)
{
    if (command == QStringLiteral("Progression"))
        return window.journalWindow();
    if (command == QStringLiteral("&Paramètres"))
        return window.settingsWindow();
    if (command == QStringLiteral("&A propos de ..."))
        return window.aboutWindow();
    if (command == QStringLiteral("&Commencer"))
        return window.exerciseWindow();
    if (command == QStringLiteral("Editer les phrases"))
        return window.editorWindow();
    if (command == QStringLiteral("&Bilan des élèves"))
        return window.summaryWindow();
    return nullptr;
}

void TestFrmMain::commandJournalLines()
{
    QFETCH(QString, command);
    QFETCH(QString, line);
    MainFixture f;
    f.window.show();
    QAction *action = actionNamed(f.window, command);
    QVERIFY(action);
    action->trigger();
    // Line 1 is the journal's own; the command's line comes next, an ordinary one.
    QCOMPARE(f.env.journal.Rows(), 3);
    QCOMPARE(f.env.lastJournalText(), line);
    QVERIFY(!f.env.journal.model().lines().back().red);
    QWidget *shown = shownBy(f.window, command);
    QVERIFY(shown);
    QVERIFY(shown->isVisible());
}

void TestFrmMain::commandTwiceOneWindow_data()
{
    commandJournalLines_data();
}

void TestFrmMain::commandTwiceOneWindow()
{
    QFETCH(QString, command);
    QFETCH(QString, line);
    MainFixture f;
    f.window.show();
    QAction *action = actionNamed(f.window, command);
    action->trigger();
    QPointer<QWidget> first = shownBy(f.window, command);
    QVERIFY(first);
    // A window of its own that the teacher minimised comes back into view.
    const bool topLevel = first->isWindow() && !qobject_cast<QMdiSubWindow *>(first.data());
    if (topLevel) {
        first->showMinimized();
        QVERIFY(first->isMinimized());
    }
    action->trigger();
    QCOMPARE(shownBy(f.window, command), first.data());
    QVERIFY(!first->isMinimized());
    QVERIFY(first->isVisible());
    QCOMPARE(f.env.journal.Rows(), 4);
    QCOMPARE(f.env.journalText(2), line);
    QCOMPARE(f.env.journalText(3), line);
    // Inner windows stay one: the area holds no second copy.
    if (qobject_cast<QMdiSubWindow *>(first.data()))
        QCOMPARE(f.window.mdiArea()->subWindowList().size(), 1);
}

// Records the disk refuses are told once to the teacher who opens the journal, and never
// while the pupil plays.
void TestFrmMain::recordFailureToldInTheJournal()
{
    MainFixture f;
    f.window.show();
    QFile blocker(f.env.records.folder());
    QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    f.env.journal.AjoutProgress(QStringLiteral("Le"), true);
    f.env.records.flush();
    QVERIFY(f.env.messages.shown.isEmpty());
    QVERIFY(!f.env.records.failure().isEmpty());

    actionNamed(f.window, QStringLiteral("Progression"))->trigger();
    QCOMPARE(f.env.messages.shown.size(), 1);
    QCOMPARE(f.env.messages.shown.first().text, f.env.records.failure());
    actionNamed(f.window, QStringLiteral("Progression"))->trigger();
    QCOMPARE(f.env.messages.shown.size(), 1);
}

// The exercise's inner window fills the main window's inner area at every size, so that its
// whole scene shows without scrolling; the settings dialog opens over it at its own size.
void TestFrmMain::exerciseFillsTheInnerArea()
{
    MainFixture f;
    f.window.resize(640, 480);
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    control<QAction>(&f.window, "mnuSac2Mot")->trigger();
    QMdiSubWindow *sub = f.window.exerciseWindow();
    QVERIFY(sub);
    auto *exercise = qobject_cast<frmSac2Mot *>(sub->widget());
    QVERIFY(exercise);
    QWidget *viewport = f.window.mdiArea()->viewport();
    double lastScale = 0;
    for (const QSize size : {QSize(640, 480), QSize(1024, 768), QSize(1920, 1080)}) {
        f.window.resize(size);
        QTRY_COMPARE(sub->geometry(), viewport->rect());
        QCOMPARE(exercise->size(), sub->contentsRect().size());
        QVERIFY(exercise->rect().contains(exercise->sceneScale().sceneRect()));
        QVERIFY(exercise->sceneScale().factor() > lastScale);
        lastScale = exercise->sceneScale().factor();
    }
    control<QAction>(&f.window, "mnuParam")->trigger();
    QVERIFY(f.window.settingsWindow()->isVisible());
    QVERIFY(!f.window.settingsWindow()->isMaximized());
    QVERIFY(sub->isMaximized());
}

// Qt's picture cache keeps for good the name of every picture it was given, and names a button's
// picture by its palette and an icon's by the icon: a second opening that drew from a new
// palette or new window-button icons would leave the program larger at every opening.
void TestFrmMain::openingsShareTheirDrawings()
{
    MainFixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    const auto opening = [&f] {
        control<QAction>(&f.window, "mnuSac2Mot")->trigger();
        QMdiSubWindow *sub = f.window.exerciseWindow();
        const QList<qint64> drawings{
            control<QPushButton>(sub, "Nouveau")->palette().cacheKey(),
            control<QPushButton>(sub, "Quitter")->palette().cacheKey(),
            sub->style()->standardIcon(QStyle::SP_TitleBarCloseButton, nullptr, sub).cacheKey(),
            sub->style()->standardIcon(QStyle::SP_TitleBarNormalButton, nullptr, sub).cacheKey(),
            sub->style()->standardIcon(QStyle::SP_TitleBarMinButton, nullptr, sub).cacheKey()};
        sub->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return drawings;
    };
    const QList<qint64> first = opening();
    QCOMPARE(opening(), first);
    // The ground stays white without a palette of its own.
    control<QAction>(&f.window, "mnuSac2Mot")->trigger();
    QWidget *exercise = f.window.exerciseWindow()->widget();
    QTRY_VERIFY(exercise->isVisible());
    QCOMPARE(exercise->grab().toImage().pixelColor(1, 1), QColor(Qt::white));
}

void TestFrmMain::fullScreen()
{
    MainFixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    control<QAction>(&f.window, "mnuSac2Mot")->trigger();
    QMdiSubWindow *sub = f.window.exerciseWindow();
    // Escape does nothing of ours out of full screen.
    QTest::keyClick(&f.window, Qt::Key_Escape);
    QVERIFY(!f.window.isFullScreen());
    QTest::keyClick(&f.window, Qt::Key_F11);
    QTRY_VERIFY(f.window.isFullScreen());
    QTRY_COMPARE(sub->geometry(), f.window.mdiArea()->viewport()->rect());
    QTest::keyClick(&f.window, Qt::Key_F11);
    QTRY_VERIFY(!f.window.isFullScreen());
    QTest::keyClick(&f.window, Qt::Key_F11);
    QTRY_VERIFY(f.window.isFullScreen());
    QTest::keyClick(&f.window, Qt::Key_Escape);
    QTRY_VERIFY(!f.window.isFullScreen());
    QCOMPARE(f.env.journal.Rows(), 3); // only "Commencer" wrote
}

// The exercise offers no button that would leave it smaller than the inner area, and a
// restore asked all the same gives the whole area back.
void TestFrmMain::exerciseNeverRestoredSmaller()
{
    MainFixture f;
    f.window.resize(640, 480);
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    control<QAction>(&f.window, "mnuSac2Mot")->trigger();
    QMdiSubWindow *sub = f.window.exerciseWindow();
    QTRY_COMPARE(sub->geometry(), f.window.mdiArea()->viewport()->rect());
    QVERIFY(!(sub->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    for (QAction *action : sub->systemMenu()->actions()) {
        if (action->isVisible() && action->isEnabled())
            QVERIFY2(!action->text().contains(QStringLiteral("estaur"))
                         && !action->text().contains(QStringLiteral("inimi")),
                     qPrintable(action->text()));
    }
    sub->showNormal();
    QTRY_VERIFY(sub->isMaximized());
    QTRY_COMPARE(sub->geometry(), f.window.mdiArea()->viewport()->rect());
}

// In full screen, Escape in "Paramètres" closes "Paramètres"; the next one leaves full screen.
void TestFrmMain::escapeClosesParametresFirst()
{
    MainFixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    control<QAction>(&f.window, "mnuSac2Mot")->trigger();
    QTest::keyClick(&f.window, Qt::Key_F11);
    QTRY_VERIFY(f.window.isFullScreen());
    control<QAction>(&f.window, "mnuParam")->trigger();
    QPointer<QMdiSubWindow> settings = f.window.settingsWindow();
    QTRY_VERIFY(settings->widget()->isAncestorOf(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTRY_VERIFY(!settings || !settings->isVisible());
    QVERIFY(f.window.isFullScreen());
    QTest::keyClick(&f.window, Qt::Key_Escape);
    QTRY_VERIFY(!f.window.isFullScreen());
}

// A click on the exercise leaves "Paramètres" in view over it.
void TestFrmMain::parametresStaysOverTheExercise()
{
    MainFixture f;
    f.window.resize(1024, 768);
    f.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    control<QAction>(&f.window, "mnuSac2Mot")->trigger();
    control<QAction>(&f.window, "mnuParam")->trigger();
    QMdiSubWindow *exercise = f.window.exerciseWindow();
    QMdiSubWindow *settings = f.window.settingsWindow();
    QTRY_VERIFY(settings->isVisible());
    QWidget *scene = exercise->widget();
    QPoint free = scene->rect().bottomRight() - QPoint(5, 5);
    QVERIFY(!settings->geometry().contains(scene->mapTo(f.window.mdiArea()->viewport(), free)));
    QTest::mouseClick(scene, Qt::LeftButton, Qt::NoModifier, free);
    QTRY_COMPARE(f.window.mdiArea()->activeSubWindow(), exercise);
    QCOMPARE(f.window.mdiArea()->subWindowList(QMdiArea::StackingOrder).last(), settings);
    QVERIFY(settings->isVisible());
}

void TestFrmMain::parametresSaysWhyNoReadingAloud_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<bool>("device");
    QTest::addColumn<QString>("why");
    QTest::newRow("voice") << QString() << true << QString();
    QTest::newRow("no library") << QStringLiteral("La voix française n'est pas installée.") << true
                                << QStringLiteral("La voix française n'est pas installée.");
    QTest::newRow("no sound output")
        << QString() << false
        << QStringLiteral("Aucune sortie son n'est disponible sur cet ordinateur.");
}

// Reading aloud is tried when the teacher turns it on; when it cannot work, its two lists are
// greyed with the reason, and stay so at the next opening.
void TestFrmMain::parametresSaysWhyNoReadingAloud()
{
    QFETCH(QString, failure);
    QFETCH(bool, device);
    QFETCH(QString, why);
    MainFixture f;
    f.env.speechFailure = failure;
    f.env.soundDevice = device;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    control<QAction>(&f.window, "mnuParam")->trigger();
    auto *lecture = control<QComboBox>(f.window.settingsWindow(), "saisieLecture");
    auto *vitesse = control<QComboBox>(f.window.settingsWindow(), "saisieVitesse");
    QVERIFY(lecture->isEnabled()); // nothing loaded while reading aloud is off
    lecture->setCurrentIndex(1);
    emit lecture->activated(1);
    QTRY_VERIFY(f.env.sound.speechState() == SoundPlayer::SpeechState::Ready
                || f.env.sound.speechState() == SoundPlayer::SpeechState::Unavailable);
    for (QComboBox *list : {lecture, vitesse}) {
        QCOMPARE(list->isEnabled(), why.isEmpty());
        QCOMPARE(list->toolTip(), why);
    }

    f.window.settingsWindow()->close();
    QTRY_VERIFY(!f.window.settingsWindow());
    control<QAction>(&f.window, "mnuParam")->trigger();
    lecture = control<QComboBox>(f.window.settingsWindow(), "saisieLecture");
    QCOMPARE(lecture->isEnabled(), why.isEmpty());
    QCOMPARE(lecture->toolTip(), why);
}

void TestFrmMain::chargerExercice_data()
{
    // %1 stands for a folder of the test's own, outside the user's and the program's folders.
    QTest::addColumn<QString>("answer"); // null: cancelled
    QTest::addColumn<QString>("line");   // null: no line
    QTest::addColumn<QString>("fichier");

    QTest::newRow("cancel") << QString() << QString() << QStringLiteral("absent");
    QTest::newRow("blanks only") << QStringLiteral("   ") << QString() << QStringLiteral("absent");
    QTest::newRow("file elsewhere: bare name stored")
        << QStringLiteral("%1/phrases/animaux.txt")
        << QStringLiteral("Editer - Charger les phrases (Fichier:%1/phrases/animaux.txt)")
        << QStringLiteral("animaux.txt");
    QTest::newRow("name ending in blanks")
        << QStringLiteral("%1/ski.txt  ")
        << QStringLiteral("Editer - Charger les phrases (Fichier:%1/ski.txt)")
        << QStringLiteral("ski.txt");
}

void TestFrmMain::chargerExercice()
{
    QFETCH(QString, answer);
    QFETCH(QString, line);
    QFETCH(QString, fichier);
    MainFixture f;
    const QString elsewhere = f.env.dir.path() + QStringLiteral("/ailleurs");
    answer.replace(QStringLiteral("%1"), elsewhere);
    line.replace(QStringLiteral("%1"), elsewhere);
    if (!answer.trimmed().isEmpty()) {
        QDir().mkpath(QFileInfo(answer).absolutePath());
        QVERIFY(SentenceFile::write(answer, {QStringLiteral("Le chat dort.")}));
    }
    f.env.files.answers = {answer};
    control<QAction>(&f.window, "mnuCharger")->trigger();

    QCOMPARE(f.env.files.requests.size(), 1);
    const FileChooser::Request &request = f.env.files.requests.first();
    QCOMPARE(request.title, QStringLiteral("Sélection de la photographie"));
    QCOMPARE(request.filters, QStringList({QStringLiteral("Fichier des phrases (*.txt)"),
                                           QStringLiteral("Tous les fichiers (*.*)")}));
    QVERIFY(!request.mustExist);
    QVERIFY(request.initialPath.isEmpty());
    QCOMPARE(request.initialFolder, userPlumalinFolder());
    QVERIFY(QFileInfo(userPlumalinFolder()).isDir());

    if (line.isNull()) {
        QVERIFY(!f.env.journal.exists() || f.env.journal.Rows() == 2);
    } else {
        QCOMPARE(f.env.journal.Rows(), 3);
        QCOMPARE(f.env.lastJournalText(), line);
    }
    QCOMPARE(f.setting(Settings::Fichier), fichier);
    QVERIFY(f.env.messages.shown.isEmpty());
    // Nothing opens: the exercise reads the name at its next sentence, and finds the file.
    QVERIFY(!f.window.exerciseWindow());
    if (fichier != QStringLiteral("absent")) {
        SentenceDeck deck;
        QCOMPARE(deck.ChargePhrases(f.env.settings, f.env.programFolder), SentenceLoad::Loaded);
        QCOMPARE(deck.sentence(0), QStringLiteral("Le chat dort."));
    }
}

void TestFrmMain::chargerFailedCopy()
{
    MainFixture f;
    f.env.settings.SaveSetting(Settings::Fichier, QStringLiteral("plumalin.txt"));
    const QString missing = f.env.dir.path() + QStringLiteral("/ailleurs/disparu.txt");
    f.env.files.answers = {missing};
    control<QAction>(&f.window, "mnuCharger")->trigger();

    QCOMPARE(f.env.lastJournalText(),
             QStringLiteral("Editer - Charger les phrases (Fichier:") + missing + QLatin1Char(')'));
    QCOMPARE(f.env.messages.shown.size(), 1);
    QVERIFY(f.env.messages.shown.first().text.startsWith(
        QStringLiteral("Le fichier de phrases n'a pas pu être copié")));
    QCOMPARE(f.setting(Settings::Fichier), QStringLiteral("plumalin.txt"));
}

void TestFrmMain::chargerProposesLastPath()
{
    MainFixture f;
    const QString chosen = f.env.programFolder + QStringLiteral("/animaux.txt");
    f.env.files.answers = {chosen, QString()};
    control<QAction>(&f.window, "mnuCharger")->trigger();
    control<QAction>(&f.window, "mnuCharger")->trigger(); // cancelled: the first choice stays
    QCOMPARE(f.env.files.requests.at(1).initialPath, chosen);
    QCOMPARE(f.setting(Settings::Fichier), QStringLiteral("animaux.txt"));
    QCOMPARE(f.env.journal.Rows(), 3);
}

void TestFrmMain::extraitNomFichier_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("folders") << QStringLiteral("/home/prof/a.txt") << QStringLiteral("a.txt");
    QTest::newRow("no separator") << QStringLiteral("a.txt") << QStringLiteral("a.txt");
    QTest::newRow("ends with separator") << QStringLiteral("/home/prof/") << QString();
    QTest::newRow("root file") << QStringLiteral("/a.txt") << QStringLiteral("a.txt");
    QTest::newRow("blanks kept") << QStringLiteral("/x/ b.txt ") << QStringLiteral(" b.txt ");
    QTest::newRow("empty") << QString() << QString();
#ifdef Q_OS_WIN
    QTest::newRow("backslash") << QStringLiteral("C:\\Phrases\\a.txt") << QStringLiteral("a.txt");
#endif
}

void TestFrmMain::extraitNomFichier()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(ExtraitNomFichier(path), name);
}

void TestFrmMain::quitterRightAfterStart()
{
    MainFixture f;
    f.window.show();
    control<QAction>(&f.window, "mnuExit")->trigger();
    QCOMPARE(f.ended, 1);
    QVERIFY(f.env.messages.shown.isEmpty());
    // The question about its rows created the journal, with its line 1 only.
    QCOMPARE(f.env.journal.Rows(), 2);
    QCOMPARE(f.setting(Settings::MainLeft), QStringLiteral("absent"));
}

void TestFrmMain::quitterAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("ended");
    QTest::newRow("Oui") << int(MessageBoxes::Yes) << 1;
    QTest::newRow("Non") << int(MessageBoxes::No) << 0;
}

void TestFrmMain::quitterAsks()
{
    QFETCH(int, answer);
    QFETCH(int, ended);
    MainFixture f;
    f.window.show();
    control<QAction>(&f.window, "mnuParam")->trigger();
    f.window.settingsWindow()->close();
    f.env.messages.answers.push_back(MessageBoxes::Button(answer));
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QTest::keyClick(&f.window, Qt::Key_Q, Qt::ControlModifier);

    QCOMPARE(f.env.messages.shown.size(), 1);
    const auto &question = f.env.messages.shown.first();
    QCOMPARE(question.text, QStringLiteral("Voulez-vous réellement quitter 'Plumalin' ?"));
    QCOMPARE(question.title, QStringLiteral("Quitter ..."));
    QCOMPARE(question.buttons, MessageBoxes::Yes | MessageBoxes::No);
    QCOMPARE(question.defaultButton, MessageBoxes::Yes);
    QCOMPARE(question.icon, MessageBoxes::Critical);
    QCOMPARE(f.ended, ended);
    // No line for the question, and no closing: nothing written to the "Position" entries.
    QCOMPARE(f.env.journal.Rows(), 3);
    QCOMPARE(f.setting(Settings::MainLeft), QStringLiteral("absent"));
    QVERIFY(f.window.isVisible());
}

void TestFrmMain::quitterAfterVider()
{
    MainFixture f;
    control<QAction>(&f.window, "mnuProgression")->trigger();
    f.env.journal.Vider();
    control<QAction>(&f.window, "mnuExit")->trigger();
    QCOMPARE(f.ended, 1);
    QVERIFY(f.env.messages.shown.isEmpty());
}

void TestFrmMain::closeBoxClosesEverything()
{
    MainFixture f;
    f.window.MDIForm_Load(QRect(0, 0, 800, 600));
    f.window.show();
    control<QAction>(&f.window, "mnuProgression")->trigger();
    f.window.journalWindow()->hide(); // hidden or shown, it goes
    control<QAction>(&f.window, "mnuParam")->trigger();
    control<QAction>(&f.window, "mnuApropos")->trigger();
    control<QAction>(&f.window, "mnuBilan")->trigger();
    QPointer<QWidget> settings = f.window.settingsWindow();
    QPointer<QWidget> about = f.window.aboutWindow();
    QPointer<QWidget> journal = f.window.journalWindow();
    QPointer<QWidget> summary = f.window.summaryWindow();

    QVERIFY(f.window.close());
    QCOMPARE(f.ended, 1);
    QVERIFY(!f.env.journal.exists());
    QVERIFY(journal.isNull());
    QVERIFY(!settings || !settings->isVisible());
    QVERIFY(!about || !about->isVisible());
    QVERIFY(summary.isNull() || !summary->isVisible());
    QTRY_VERIFY(settings.isNull() && about.isNull() && summary.isNull());
}

namespace {
// Notes, in order, each window that receives its close or is destroyed.
struct CloseRecorder : QObject {
    QStringList order;
    void watch(QWidget *window, const QString &name)
    {
        window->setObjectName(name);
        window->installEventFilter(this);
        connect(window, &QObject::destroyed, this, [this, name] { note(name); });
    }
    void note(const QString &name)
    {
        if (!order.contains(name))
            order.append(name);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Close)
            note(watched->objectName());
        return false;
    }
};
}

void TestFrmMain::closeBoxOrder()
{
    MainFixture f;
    f.window.show();
    // Created in this order: the journal (by the first command's line, its window shown by that
    // command), the settings dialog, the About box, the editor.
    control<QAction>(&f.window, "mnuProgression")->trigger();
    control<QAction>(&f.window, "mnuParam")->trigger();
    control<QAction>(&f.window, "mnuApropos")->trigger();
    control<QAction>(&f.window, "mnuPhrases")->trigger();
    CloseRecorder recorder;
    recorder.watch(f.window.journalWindow(), QStringLiteral("journal"));
    recorder.watch(f.window.settingsWindow(), QStringLiteral("paramètres"));
    recorder.watch(f.window.aboutWindow(), QStringLiteral("à propos"));
    recorder.watch(f.window.editorWindow(), QStringLiteral("éditeur"));

    QVERIFY(f.window.close());
    // The inner window first, with its container; then the others, newest first.
    QCOMPARE(recorder.order, QStringList({QStringLiteral("paramètres"), QStringLiteral("éditeur"),
                                          QStringLiteral("à propos"), QStringLiteral("journal")}));
}

void TestFrmMain::closeBoxPosition_data()
{
    QTest::addColumn<int>("state");
    QTest::newRow("normal") << int(Qt::WindowNoState);
    QTest::newRow("maximised") << int(Qt::WindowMaximized);
    QTest::newRow("minimised") << int(Qt::WindowMinimized);
}

void TestFrmMain::closeBoxPosition()
{
    QFETCH(int, state);
    MainFixture f;
    f.window.MDIForm_Load(QRect(0, 0, 800, 600));
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.window.setWindowState(Qt::WindowState(state));
    QTRY_COMPARE(f.window.windowState(), Qt::WindowStates(Qt::WindowState(state)));
    if (state == Qt::WindowMaximized)
        QTRY_VERIFY(f.window.width() > 640);
    const QRect outer = f.window.frameGeometry();

    QVERIFY(f.window.close());
    QCOMPARE(f.ended, 1);
    if (state == Qt::WindowMinimized) {
        for (const SettingKey &key : {Settings::MainLeft, Settings::MainTop, Settings::MainWidth,
                                      Settings::MainHeight})
            QCOMPARE(f.setting(key), QStringLiteral("absent"));
        return;
    }
    QCOMPARE(f.setting(Settings::MainLeft), QString::number(outer.x() * 15));
    QCOMPARE(f.setting(Settings::MainTop), QString::number(outer.y() * 15));
    QCOMPARE(f.setting(Settings::MainWidth), QString::number(outer.width() * 15));
    QCOMPARE(f.setting(Settings::MainHeight), QString::number(outer.height() * 15));
    if (state == Qt::WindowNoState) {
        // As it opened: the whole window centred on the 800 x 600 screen.
        QCOMPARE(outer, QRect(80, 60, 640, 480));
        QCOMPARE(f.setting(Settings::MainWidth), QStringLiteral("9600"));
        QCOMPARE(f.setting(Settings::MainHeight), QStringLiteral("7200"));
    }
}

void TestFrmMain::unsavedSentencesKept_data()
{
    QTest::addColumn<bool>("byCloseBox");
    QTest::addColumn<int>("answer"); // to the editor's question about its unsaved list
    QTest::addColumn<bool>("ends");
    QTest::newRow("close box, Annuler") << true << int(MessageBoxes::Cancel) << false;
    QTest::newRow("close box, Non") << true << int(MessageBoxes::No) << true;
    QTest::newRow("Quitter, Annuler") << false << int(MessageBoxes::Cancel) << false;
    QTest::newRow("Quitter, Non") << false << int(MessageBoxes::No) << true;
}

void TestFrmMain::unsavedSentencesKept()
{
    QFETCH(bool, byCloseBox);
    QFETCH(int, answer);
    QFETCH(bool, ends);
    MainFixture f;
    f.window.MDIForm_Load(QRect(0, 0, 800, 600));
    f.window.show();
    control<QAction>(&f.window, "mnuPhrases")->trigger();
    auto *editor = qobject_cast<frmPhrases *>(f.window.editorWindow());
    QVERIFY(editor);
    editor->Nouveau_Click();
    control<QPlainTextEdit>(editor, "Text1")->setPlainText(QStringLiteral("Le chat dort."));
    editor->Valider_Click();
    QVERIFY(editor->hasUnsavedChanges());

    if (byCloseBox) {
        f.env.messages.answers = {MessageBoxes::Button(answer)};
        QCOMPARE(f.window.close(), ends);
    } else {
        f.env.messages.answers = {MessageBoxes::Yes, MessageBoxes::Button(answer)};
        control<QAction>(&f.window, "mnuExit")->trigger();
    }
    QCOMPARE(f.ended, ends ? 1 : 0);
    // Asked once: the answer holds for the rest of the closing.
    const auto questions = std::count_if(f.env.messages.shown.cbegin(), f.env.messages.shown.cend(),
                                         [](const FakeMessageBoxes::Shown& s) {
                                             return s.text == "Enregistrer les modifications ?";
                                         });
    QCOMPARE(questions, 1);
    if (!ends) {
        // Everything stays as it was: the list, the journal, the windows.
        QVERIFY(f.window.isVisible());
        QVERIFY(editor->isVisible());
        QVERIFY(f.env.journal.exists());
        QCOMPARE(f.setting(Settings::MainLeft), QStringLiteral("absent"));
    }
}

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
