#include "about/frmapropos.h"
#include "about/sysinfo.h"
#include "fakes/fakes.h"
#include "fakes/windowchecks.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>

class TestApropos : public QObject
{
    Q_OBJECT
private slots:
    void texts();
    void layout();
    void creditsKeepTheirLines();
    void centring_data();
    void centring();
    void mainWindowMovedLater();
    void closesAndIsDestroyed_data();
    void closesAndIsDestroyed();
    void sysInfoUnavailableHere();
    void sysInfoSearch_data();
    void sysInfoSearch();
    void decodeRegistryValue_data();
    void decodeRegistryValue();
};

void TestApropos::texts()
{
    TestEnv env;
    QWidget main;
    main.setGeometry(80, 60, 640, 480);
    frmApropos box(env.messages, env.system, &main);
    QCOMPARE(box.windowTitle(), QStringLiteral("Ecole Primaire - Plumalin"));
    QCOMPARE(control<QLabel>(&box, "lblTitle")->text(),
             QStringLiteral("Ecole Primaire - Plumalin v1.0.0"));
    QCOMPARE(control<QLabel>(&box, "lblVersion")->text(),
             QStringLiteral("Par l'équipe Plumalin, le 15 Nov 1999"));
    const QStringList lines
        = control<QLabel>(&box, "lblDescription")->text().split(QLatin1Char('\n'));
    QCOMPARE(lines,
             QStringList({QStringLiteral("Progrmmes d 'aide pédagogique pour Ecole primaire."),
                          QString(), QStringLiteral("Distribué sur plumalin.example.org"),
                          QStringLiteral("Email : contact@plumalin.example.org")}));
    QCOMPARE(control<QLabel>(&box, "lblDescription")->palette().color(QPalette::WindowText),
             QColor(0, 0, 255));
    QCOMPARE(control<QLabel>(&box, "lblTitle")->palette().color(QPalette::WindowText),
             QColor(Qt::black));
    QCOMPARE(control<QPushButton>(&box, "cmdSysInfo")->text(), QStringLiteral("&System Info..."));
    QCOMPARE(control<QPushButton>(&box, "cmdOK")->text(), QStringLiteral("OK"));
    QVERIFY(!control<QLabel>(&box, "picIcon")->pixmap().isNull());
    QVERIFY(!box.isVisible()); // shown by whoever opens it, once complete
}

void TestApropos::layout()
{
    TestEnv env;
    QWidget main;
    frmApropos box(env.messages, env.system, &main);
    QCOMPARE(box.minimumSize(), box.maximumSize()); // fixed border
    QVERIFY(control<QPushButton>(&box, "cmdOK")->isDefault());
    QVERIFY(!(box.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(box.windowFlags() & Qt::WindowMaximizeButtonHint));
    // A dialog of the main window: no task bar entry of its own.
    QCOMPARE(box.windowType(), Qt::Dialog);
    QCOMPARE(box.parentWidget(), &main);

    const QStringList names{"picIcon",        "lblTitle",   "lblVersion",
                            "lblDescription", "cmdSysInfo", "cmdOK"};
    QCOMPARE(WindowChecks::outside(&box, names), QStringList());
    // The title's box reaches 2 pixels into the credit's, as drawn; their texts do not meet.
    QCOMPARE(WindowChecks::overlaps(&box, names, {{"lblTitle", "lblVersion"}}), QStringList());
    const QLabel *title = control<QLabel>(&box, "lblTitle");
    QVERIFY(title->y() + title->fontMetrics().height() <= control<QLabel>(&box, "lblVersion")->y());
    QCOMPARE(WindowChecks::textsCut(&box, names), QStringList());
    // The logo is drawn whole in its place.
    const QLabel *logo = control<QLabel>(&box, "picIcon");
    QCOMPARE(logo->pixmap().deviceIndependentSize().toSize(), logo->size());
    QCOMPARE(WindowChecks::objectNames(WindowChecks::tabChain(control(&box, "cmdOK"))),
             (QStringList{"cmdOK", "cmdSysInfo"}));
}

void TestApropos::creditsKeepTheirLines()
{
    TestEnv env;
    QWidget main;
    frmApropos box(env.messages, env.system, &main);
    // Each credit on a line of its own: an address broken in the middle reads wrong. Only the
    // description's first line is long enough to wrap, between words.
    const auto fits = [](const QLabel *label, const QString &line) {
        return QFontMetrics(label->font()).horizontalAdvance(line)
               <= label->contentsRect().width();
    };
    QVERIFY(fits(control<QLabel>(&box, "lblTitle"), control<QLabel>(&box, "lblTitle")->text()));
    QVERIFY(fits(control<QLabel>(&box, "lblVersion"), control<QLabel>(&box, "lblVersion")->text()));
    const QStringList lines
        = control<QLabel>(&box, "lblDescription")->text().split(QLatin1Char('\n'));
    for (const QString &line : lines.mid(1))
        QVERIFY2(fits(control<QLabel>(&box, "lblDescription"), line), qPrintable(line));
}

void TestApropos::centring_data()
{
    QTest::addColumn<QRect>("mainWindow");
    QTest::addColumn<QPoint>("boxAt"); // before it is shown, when it has no frame yet
    // (640 - 301) / 2 = 169.5 and (480 - 203) / 2 = 138.5: real division, rounded.
    QTest::newRow("640x480 centred on 800x600") << QRect(80, 60, 640, 480) << QPoint(250, 199);
    QTest::newRow("smaller than the box") << QRect(300, 300, 201, 103) << QPoint(250, 250);
    QTest::newRow("main window partly off the screen")
        << QRect(-400, -300, 640, 480) << QPoint(-230, -161);
}

// The box's frame lies centred on the main window's frame, overhanging it equally on each side
// when it is larger.
static QString rectText(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

static void verifyCentred(const QWidget &box, const QWidget &main)
{
    const QRect b = box.frameGeometry();
    const QRect m = main.frameGeometry();
    QVERIFY2(qAbs((b.left() - m.left()) - (m.right() - b.right())) <= 1,
             qPrintable(QStringLiteral("box %1, main window %2").arg(rectText(b), rectText(m))));
    QVERIFY(qAbs((b.top() - m.top()) - (m.bottom() - b.bottom())) <= 1);
}

void TestApropos::centring()
{
    QFETCH(QRect, mainWindow);
    QFETCH(QPoint, boxAt);
    TestEnv env;
    QWidget main;
    main.setGeometry(mainWindow);
    frmApropos box(env.messages, env.system, &main);
    QCOMPARE(box.pos(), boxAt);
    // Shown, the box gets its frame and a first resize: centred again with its outer size. (The
    // offscreen platform does not move windows lying off its screen: not checked there.)
    if (!QGuiApplication::primaryScreen()->geometry().contains(mainWindow))
        return;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    verifyCentred(box, main);
    QCOMPARE(box.size(), QSize(301, 203));
}

void TestApropos::mainWindowMovedLater()
{
    TestEnv env;
    QWidget main;
    main.setGeometry(80, 60, 640, 480);
    frmApropos box(env.messages, env.system, &main);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QPoint at = box.pos();
    main.move(10, 10);
    QCoreApplication::processEvents();
    QCOMPARE(box.pos(), at);
}

void TestApropos::closesAndIsDestroyed_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
    QTest::newRow("OK clicked") << 0;
}

void TestApropos::closesAndIsDestroyed()
{
    QFETCH(int, key);
    TestEnv env;
    QWidget main;
    QPointer<frmApropos> box = new frmApropos(env.messages, env.system, &main);
    box->show();
    box->activateWindow();
    QVERIFY(QTest::qWaitForWindowExposed(box));
    if (key)
        QTest::keyClick(box, Qt::Key(key));
    else
        QTest::mouseClick(control<QPushButton>(box, "cmdOK"), Qt::LeftButton);
    QTRY_VERIFY(box.isNull());
    QVERIFY(env.messages.shown.isEmpty());
}

void TestApropos::sysInfoUnavailableHere()
{
#ifdef Q_OS_WIN
    QSKIP("Windows may have the tool");
#endif
    TestEnv env;
    QtSystemTools system;
    QWidget main;
    frmApropos box(env.messages, system, &main);
    QTest::mouseClick(control<QPushButton>(&box, "cmdSysInfo"), Qt::LeftButton);
    QCOMPARE(env.messages.shown.size(), 1);
    const auto &shown = env.messages.shown.first();
    QCOMPARE(shown.text,
             QStringLiteral("Les informations systèmes ne sont pas disponible actuellement!"));
    QCOMPARE(shown.title, QStringLiteral("Ecole Primaire - Plumalin"));
    QCOMPARE(shown.buttons, MessageBoxes::Buttons(MessageBoxes::Ok));
}

void TestApropos::sysInfoSearch_data()
{
    QTest::addColumn<QString>("pathValue");     // null: not in the registry
    QTest::addColumn<QString>("locationValue"); // null: not in the registry
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<bool>("startWorks");
    QTest::addColumn<QString>("started"); // null: nothing started
    QTest::addColumn<bool>("message");

    const QString tool = QStringLiteral("C:\\Outils\\msinfo32.exe");
    QTest::newRow("PATH found and starts") << tool << QString() << true << true << tool << false;
    QTest::newRow("PATH found, file missing: started anyway, fails")
        << tool << QString() << false << false << tool << true;
    QTest::newRow("only the folder, file there")
        << QString() << QStringLiteral("C:\\Outils") << true << true
        << QStringLiteral("C:\\Outils\\MSINFO32.EXE") << false;
    QTest::newRow("only the folder, file missing")
        << QString() << QStringLiteral("C:\\Outils") << false << true << QString() << true;
    QTest::newRow("neither value") << QString() << QString() << true << true << QString() << true;
}

void TestApropos::sysInfoSearch()
{
    QFETCH(QString, pathValue);
    QFETCH(QString, locationValue);
    QFETCH(bool, fileThere);
    QFETCH(bool, startWorks);
    QFETCH(QString, started);
    QFETCH(bool, message);

    TestEnv env;
    if (!pathValue.isNull())
        env.system.registry.insert(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH"),
                                   pathValue);
    if (!locationValue.isNull())
        env.system.registry.insert(
            QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO"), locationValue);
    env.system.filesExist = fileThere;
    env.system.startWorks = startWorks;
    QWidget main;
    frmApropos box(env.messages, env.system, &main);
    box.StartSysInfo();

    QCOMPARE(env.system.started, started.isNull() ? QStringList() : QStringList{started});
    QCOMPARE(env.messages.shown.size(), message ? 1 : 0);
}

void TestApropos::decodeRegistryValue_data()
{
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("text with its zero") << SysInfo::RegSz << QByteArray("C:\\msinfo32.exe", 16)
                                        << QStringLiteral("C:\\msinfo32.exe");
    QTest::newRow("text without zero") << SysInfo::RegSz << QByteArray("abc")
                                       << QStringLiteral("abc");
    QTest::newRow("text with two zeros") << SysInfo::RegSz << QByteArray("abc\0\0", 5)
                                         << QStringLiteral("abc");
    QTest::newRow("Windows-1252 text") << SysInfo::RegSz << QByteArray("Syst\xe8me\0", 7)
                                       << QStringLiteral("Système");
    QTest::newRow("empty text") << SysInfo::RegSz << QByteArray() << QString();
    QTest::newRow("number") << SysInfo::RegDword << QByteArray("\x2a\x01\x00\x01", 4)
                            << QStringLiteral("16777514");
    QTest::newRow("number whose top byte was taken for the zero")
        << SysInfo::RegDword << QByteArray("\x03\x02\x01\x00", 4) << QStringLiteral("66051");
    QTest::newRow("zero") << SysInfo::RegDword << QByteArray(4, '\0') << QStringLiteral("0");
    QTest::newRow("largest number") << SysInfo::RegDword << QByteArray(4, '\xff')
                                    << QStringLiteral("4294967295");
    QTest::newRow("other type") << quint32(3) << QByteArray("\x01\x02") << QString();
}

void TestApropos::decodeRegistryValue()
{
    QFETCH(quint32, type);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(SysInfo::decodeRegistryValue(type, bytes), text);
}

QTEST_MAIN(TestApropos)
#include "tst_apropos.moc"
