#include "settings_dialog/frmparam.h"

#include "platform/qtfilechooser.h"
#include "platform/qtmessageboxes.h"
#include "platform/standardicons.h"
#include "platform/steadystyle.h"

#include "fakes/fakes.h"
#include "fakes/windowchecks.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QMetaEnum>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {
const QString Absent = QStringLiteral("<absent>");

QString stored(TestEnv &env, const SettingKey &key)
{
    return env.settings.GetSetting(key, Absent);
}

void touch(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("\"Le chat dort.\"\r\n");
}

// Whether Qt has loaded an image-format plugin, as it does to read any picture file.
bool loadedImagePlugins()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

void processDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Picks a line of a list the way a person does: opens it and clicks the line.
void pickLine(QComboBox *list, int row)
{
    list->showPopup();
    QAbstractItemView *view = list->view();
    QTRY_VERIFY(view->isVisible());
    const QRect rect = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    QTRY_VERIFY(!view->isVisible());
}
}

class tst_frmParam : public QObject
{
    Q_OBJECT
private slots:
    // First: they look at what the test program has loaded so far (the second compares with
    // Fusion's own drawing, which reads a picture file).
    void fileDialogAndMessageBoxesDrawnWithoutPictureFiles();
    void drawnWithoutPictureFiles();
    void drawnStandardIcons_data();
    void drawnStandardIcons();
    void layout();
    void emptyStoreShowsFallbacksAndStoresThem();
    void choiceIsStoredAtOnce_data();
    void choiceIsStoredAtOnce();
    void repickingTheSameFileStoresItAgain();
    void closesByOkEnterEscape_data();
    void closesByOkEnterEscape();
    void tabOrder();
    void placedOverTheMainWindowAsFixedInnerWindow();
};

void tst_frmParam::drawnWithoutPictureFiles()
{
    QVERIFY(!loadedImagePlugins());
    SteadyStyle steady(QStringLiteral("Fusion"));
    TestEnv env;
    frmParam dlg(env.settings, env.programFolder, nullptr);
    auto *frame = control<QGroupBox>(&dlg, "Frame1");
    auto grab = [frame](QStyle *style) {
        frame->setStyle(style);
        return frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const QImage drawn = grab(&steady);
    QVERIFY(!loadedImagePlugins());

    // The same frame as Fusion's own.
    std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    QCOMPARE(drawn, grab(fusion.get()));
    frame->setStyle(nullptr);
}

namespace {
// Closes the dialog open when it goes, whatever the checks made meanwhile found: a failure shows
// at once, not as a test left waiting on an open dialog.
auto closingTheOpenDialog()
{
    return qScopeGuard([] {
        if (QWidget *open = QApplication::activeModalWidget())
            open->close();
    });
}
} // namespace

// The teacher's file dialog, and a message box of each kind, under the program's style.
void tst_frmParam::fileDialogAndMessageBoxesDrawnWithoutPictureFiles()
{
    QVERIFY(!loadedImagePlugins());
    const QString styleName = QApplication::style()->name();
    useSteadyStyle();

    // A folder, a file and a shortcut of each, so that the list shows every kind of icon.
    QTemporaryDir folder;
    QDir dir(folder.path());
    QVERIFY(dir.mkdir(QStringLiteral("Classe")));
    touch(dir.filePath(QStringLiteral("phrases.txt")));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("phrases.txt")),
                        dir.filePath(QStringLiteral("raccourci.txt"))));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("Classe")),
                        dir.filePath(QStringLiteral("Lien vers Classe"))));
    bool seen = false;
    QTimer::singleShot(0, this, [&seen] {
        const auto close = closingTheOpenDialog();
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        const auto *view = dialog->findChild<QAbstractItemView *>(QStringLiteral("listView"));
        QVERIFY(view);
        // The names, and the icons with them, come from a thread that reads the folder.
        QTRY_COMPARE(view->model()->rowCount(view->rootIndex()), 4);
        dialog->grab();
        auto *details = dialog->findChild<QToolButton *>(QStringLiteral("detailModeButton"));
        QVERIFY(details);
        details->click();
        dialog->grab();
        seen = true;
    });
    QtFileChooser files;
    const auto chosen = files.choose(
        nullptr, {QStringLiteral("Charger exercice"), {QStringLiteral("Fichier des phrases (*.txt)")},
                  {}, folder.path(), true});
    QVERIFY(seen);
    QVERIFY(!chosen);
    QVERIFY(!loadedImagePlugins());

    QtMessageBoxes messages;
    for (const auto icon : {MessageBoxes::Information, MessageBoxes::Warning,
                            MessageBoxes::Critical, MessageBoxes::Question}) {
        bool shown = false;
        QTimer::singleShot(0, this, [&shown] {
            const auto close = closingTheOpenDialog();
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            QVERIFY(!box->iconPixmap().isNull());
            box->grab();
            shown = true;
        });
        messages.ask(nullptr, icon, QStringLiteral("Plumalin"), QStringLiteral("Continuer ?"),
                     MessageBoxes::Yes | MessageBoxes::No | MessageBoxes::Ok
                         | MessageBoxes::Cancel,
                     MessageBoxes::Ok);
        QVERIFY2(shown, QMetaEnum::fromType<MessageBoxes::Icon>().valueToKey(icon));
    }
    QVERIFY(!loadedImagePlugins());
    QApplication::setStyle(styleName);
}

void tst_frmParam::drawnStandardIcons_data()
{
    QTest::addColumn<int>("which");
    const QMetaEnum names = QMetaEnum::fromType<QStyle::StandardPixmap>();
    for (const QStyle::StandardPixmap which : ::drawnStandardIcons())
        QTest::newRow(names.valueToKey(which)) << int(which);
}

// Each icon the program draws shows something at a list's size and at a message box's, and is
// the same icon at each call.
void tst_frmParam::drawnStandardIcons()
{
    QFETCH(int, which);
    const auto pixmap = QStyle::StandardPixmap(which);
    SteadyStyle steady(QStringLiteral("Fusion"));
    const QIcon icon = steady.standardIcon(pixmap);
    QCOMPARE(steady.standardIcon(pixmap).cacheKey(), icon.cacheKey());
    for (const int side : {16, 32}) {
        const QImage drawn = icon.pixmap(QSize(side, side)).toImage();
        QCOMPARE(drawn.size(), QSize(side, side));
        int inked = 0;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                inked += qAlpha(drawn.pixel(x, y)) > 128 ? 1 : 0;
        // Something a person sees, and not a filled square.
        QVERIFY2(inked >= side * side / 40, qPrintable(QString::number(inked)));
        QVERIFY2(inked < side * side, qPrintable(QString::number(inked)));
    }
    QVERIFY(!steady.standardPixmap(pixmap).isNull());
}

void tst_frmParam::layout()
{
    TestEnv env;
    std::unique_ptr<frmParam> dlg(new frmParam(env.settings, env.programFolder, nullptr));
    QCOMPARE(control<QGroupBox>(dlg, "Frame1")->title(),
             QStringLiteral("Sélectionnez le niveau des exercices"));
    const QList<std::pair<QLabel*, QString>> labels{
        {control<QLabel>(dlg, "Label1"), "Durée de la phrase :"},
        {control<QLabel>(dlg, "Label2"), "Durée entre chaque mot :"},
        {control<QLabel>(dlg, "Label3"), "Nombre d'exercices :"},
        {control<QLabel>(dlg, "Label4"), "Activation du son :"},
        {control<QLabel>(dlg, "Label5"), "Fichier de référence :"},
        {control<QLabel>(dlg, "Label6"), "Lecture à voix haute :"},
        {control<QLabel>(dlg, "Label7"), "Vitesse de lecture :"},
    };
    for (const auto &[label, text] : labels) {
        QCOMPARE(label->text(), text);
        // Whatever the desktop's font, no text is cut by its fixed place.
        QVERIFY2(label->fontMetrics().horizontalAdvance(text) <= label->width(), qPrintable(text));
        QCOMPARE(label->font(), control<QLabel>(dlg, "Label1")->font());
    }
    const QStringList names{"Frame1", "Label1", "saisieNiveau", "Label2", "saisieHasard", "Label3",
                            "saisieExercice", "Label4", "saisieSon", "Label5", "saisieFichier",
                            "Label6", "saisieLecture", "Label7", "saisieVitesse", "cmdOK"};
    QCOMPARE(WindowChecks::outside(dlg.get(), names), QStringList());
    QCOMPARE(WindowChecks::overlaps(dlg.get(), names), QStringList());
    QCOMPARE(WindowChecks::textsCut(dlg.get(), names).join(","), QString());
    // Each label on the row of its list, to its left.
    for (int i = 1; i <= 7; ++i) {
        const QLabel *label = control<QLabel>(dlg, qPrintable(QStringLiteral("Label%1").arg(i)));
        const QWidget *list = label->buddy();
        QVERIFY(list);
        QVERIFY(label->geometry().right() < list->geometry().left());
        QVERIFY(qAbs(label->geometry().center().y() - list->geometry().center().y()) <= 4);
    }
    QVERIFY(control<QLabel>(dlg, "Label3")->alignment() & Qt::AlignLeft);
    QVERIFY(control<QLabel>(dlg, "Label1")->alignment() & Qt::AlignRight);
    QCOMPARE(control<QPushButton>(dlg, "cmdOK")->text(), QStringLiteral("OK"));
}

void tst_frmParam::emptyStoreShowsFallbacksAndStoresThem()
{
    TestEnv env;
    QPointer<frmParam> dlg = new frmParam(env.settings, env.programFolder, nullptr);
    QCOMPARE(dlg->windowTitle(), QStringLiteral("Paramètres"));
    QCOMPARE(dlg->size(), QSize(341, 246)); // two rows for reading aloud, a longer line
    QCOMPARE(control<QComboBox>(dlg, "saisieNiveau")->currentText(), QStringLiteral("15 minutes"));
    QCOMPARE(control<QComboBox>(dlg, "saisieHasard")->currentText(), QStringLiteral("2,5 minutes"));
    QCOMPARE(control<QComboBox>(dlg, "saisieExercice")->currentText(), QStringLiteral("5 phrases"));
    QCOMPARE(control<QComboBox>(dlg, "saisieSon")->currentText(), QStringLiteral("Non"));
    QCOMPARE(control<QComboBox>(dlg, "saisieNiveau")->itemText(0), QStringLiteral("3 minute"));
    QCOMPARE(control<QComboBox>(dlg, "saisieNiveau")->count(), 5);
    QCOMPARE(control<QComboBox>(dlg, "saisieHasard")->count(), 5);
    QCOMPARE(control<QComboBox>(dlg, "saisieExercice")->count(), 4);
    QCOMPARE(control<QComboBox>(dlg, "saisieSon")->count(), 2);
    QVERIFY(!control<QComboBox>(dlg, "saisieNiveau")->isEditable());

    // Stored by the filling alone, before any close.
    QCOMPARE(stored(env, Settings::DureePhrase), QStringLiteral("4"));
    QCOMPARE(stored(env, Settings::DureeMot), QStringLiteral("4"));
    QCOMPARE(stored(env, Settings::NbPhrases), QStringLiteral("0"));
    QCOMPARE(stored(env, Settings::Son), QStringLiteral("0"));
    QCOMPARE(stored(env, Settings::Fichier), Absent); // no sentence file in the folder

    QTest::mouseClick(control<QPushButton>(dlg, "cmdOK"), Qt::LeftButton);
    processDeletes();
    QVERIFY(dlg.isNull());
    QCOMPARE(stored(env, Settings::DureePhrase), QStringLiteral("4"));
    QCOMPARE(stored(env, Settings::Son), QStringLiteral("0"));
}

void tst_frmParam::choiceIsStoredAtOnce_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("Oui") << "saisieSon" << 1 << "Son" << "1";
    QTest::newRow("20 phrases") << "saisieExercice" << 3 << "NbPhrases" << "3";
    QTest::newRow("3 minute") << "saisieNiveau" << 0 << "Durée_Phrase" << "0";
    QTest::newRow("1,5 minutes") << "saisieHasard" << 2 << "Durée_Mot" << "2";
}

void tst_frmParam::choiceIsStoredAtOnce()
{
    QFETCH(QString, list);
    QFETCH(int, row);
    QFETCH(QString, key);
    QFETCH(QString, value);
    TestEnv env;
    QPointer<frmParam> dlg = new frmParam(env.settings, env.programFolder, nullptr);
    dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(dlg));
    const QMap<QString, QComboBox*> byName{
        {"saisieSon", control<QComboBox>(dlg, "saisieSon")},
        {"saisieExercice", control<QComboBox>(dlg, "saisieExercice")},
        {"saisieNiveau", control<QComboBox>(dlg, "saisieNiveau")},
        {"saisieHasard", control<QComboBox>(dlg, "saisieHasard")}};
    QComboBox *combo = byName.value(list);
    QVERIFY(combo);
    pickLine(combo, row);
    QCOMPARE(combo->currentIndex(), row);
    QCOMPARE(env.settings.GetSetting(Settings::Application, Settings::Demarrage, key, Absent),
             value);

    // Closing by the close box writes nothing and undoes nothing.
    dlg->close();
    processDeletes();
    QVERIFY(dlg.isNull());
    QCOMPARE(env.settings.GetSetting(Settings::Application, Settings::Demarrage, key, Absent),
             value);
}

void tst_frmParam::repickingTheSameFileStoresItAgain()
{
    TestEnv env;
    touch(env.programFolder + "/plumalin.txt");
    touch(env.programFolder + "/autre.txt");
    std::unique_ptr<frmParam> dlg(new frmParam(env.settings, env.programFolder, nullptr));
    dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
    QCOMPARE(control<QComboBox>(dlg, "saisieFichier")->currentText(),
             QStringLiteral("plumalin.txt"));
    // The main window's "Charger exercice" changes the store while the dialog is open.
    env.settings.SaveSetting(Settings::Fichier, QStringLiteral("ailleurs.txt"));
    pickLine(control<QComboBox>(dlg, "saisieFichier"), 1);
    QCOMPARE(stored(env, Settings::Fichier), QStringLiteral("plumalin.txt"));
}

void tst_frmParam::closesByOkEnterEscape_data()
{
    QTest::addColumn<int>("key"); // 0: a click on OK
    QTest::newRow("click OK") << 0;
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
}

void tst_frmParam::closesByOkEnterEscape()
{
    QFETCH(int, key);
    TestEnv env;
    QPointer<frmParam> dlg = new frmParam(env.settings, env.programFolder, nullptr);
    dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(dlg));
    QVERIFY(control<QPushButton>(dlg, "cmdOK")->isDefault());
    if (key == 0) {
        QTest::mouseClick(control<QPushButton>(dlg, "cmdOK"), Qt::LeftButton);
    } else {
        // From a list that has the focus, as after a choice.
        control<QComboBox>(dlg, "saisieSon")->setFocus();
        QTest::keyClick(control<QComboBox>(dlg, "saisieSon"), Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    }
    processDeletes();
    QVERIFY(dlg.isNull());
    QCOMPARE(stored(env, Settings::Son), QStringLiteral("0"));
}

void tst_frmParam::tabOrder()
{
    TestEnv env;
    touch(env.programFolder + "/plumalin.txt");
    std::unique_ptr<frmParam> dlg(new frmParam(env.settings, env.programFolder, nullptr));
    dlg->show();
    dlg->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dlg.get()));
    control<QComboBox>(dlg, "saisieNiveau")->setFocus();
    const QList<QWidget*> order{
        control<QComboBox>(dlg, "saisieHasard"),  control<QComboBox>(dlg, "saisieExercice"),
        control<QComboBox>(dlg, "saisieSon"),     control<QComboBox>(dlg, "saisieLecture"),
        control<QComboBox>(dlg, "saisieVitesse"), control<QPushButton>(dlg, "cmdOK"),
        control<QComboBox>(dlg, "saisieFichier"), control<QComboBox>(dlg, "saisieNiveau")};
    for (QWidget *expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), expected);
    }
}

void tst_frmParam::placedOverTheMainWindowAsFixedInnerWindow()
{
    TestEnv env;
    QMainWindow main;
    auto *mdi = new QMdiArea(&main);
    main.setCentralWidget(mdi);
    main.resize(640, 480);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));

    QPointer<frmParam> dlg = new frmParam(env.settings, env.programFolder, &main);
    QMdiSubWindow *sub = mdi->addSubWindow(dlg);
    dlg->placeOverMainWindow();
    sub->show();
    QCOMPARE(dlg->subWindow(), sub);
    QCOMPARE(sub->windowTitle(), QStringLiteral("Paramètres"));
    QCOMPARE(dlg->size(), QSize(341, 246)); // two rows for reading aloud, a longer line
    const QSize outer = main.frameGeometry().size();
    QCOMPARE(sub->pos(), QPoint((outer.width() - sub->width()) / 2,
                                (outer.height() - sub->height()) / 2));
    QVERIFY(!(sub->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(sub->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(sub->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(sub->windowFlags() & Qt::WindowSystemMenuHint); // without it no close box is drawn
    const QSize fixed = sub->size();
    sub->resize(fixed + QSize(100, 100));
    QCOMPARE(sub->size(), fixed);

    // A main window smaller than the dialog: its caption stays inside the area.
    dlg->placeOver(QSize(200, 100));
    QCOMPARE(sub->pos(), QPoint(0, 0));

    // OK closes the inner window with the dialog in it.
    QTest::mouseClick(control<QPushButton>(dlg, "cmdOK"), Qt::LeftButton);
    processDeletes();
    QVERIFY(dlg.isNull());
    QVERIFY(mdi->subWindowList().isEmpty());
}

QTEST_MAIN(tst_frmParam)
#include "tst_frmparam.moc"
