#include "exercisefixture.h"

#include <QAccessible>

#include "journal/frmprogression.h"

#include <QAbstractEventDispatcher>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QTextDocumentFragment>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

using Phase = frmSac2Mot::Phase;

namespace {
const QColor TileColor(128, 0, 0);
const QColor Blue(0, 0, 255);
const QChar CR(13);

QStringList fileNames(const QStringList &paths)
{
    QStringList names;
    for (const QString &p : paths)
        names << QFileInfo(p).fileName();
    return names;
}
}

class tst_frmSac2Mot : public QObject
{
    Q_OBJECT
private slots:
    void layoutAndLook();
    void sentenceStart();
    void wholeScene_data();
    void wholeScene();
    void scaledDrag_data();
    void scaledDrag();
    void tilesNeverOverlap();
    void longestSentencePlacesEveryTile();
    void activation_data();
    void activation();
    void laterActivationsKeepTheCount();
    void nouveauStartsTheNextSentence();
    void quitter();
    void noSentenceToPlay_data();
    void noSentenceToPlay();
    void checkSequence();
    void wrongDropsInTheCheck_data();
    void wrongDropsInTheCheck();
    void blankTilePasses();
    void backgroundMove();
    void mouseDragging();
    void dropsWithNoEffect();
    void dropOverAnotherWindow();
    void touchDragging();
    void keyboard();
    void keyboardPupilGoesOn();
    void keyboardGivesNothingAway();
    void assistiveTechnologiesFollow();
    void tilesListedInReadingOrder();
    void eachChangeAnnouncedOnce();
    void wordCheck_data();
    void wordCheck();
    void hint();
    void hintColoursAVisibleExpectedTile();
    void timeUp();
    void marks_data();
    void marks();
    void sentenceCountsOnce();
    void activationInTheMainWindow();
    void quitterWhileTheGreetingSounds();
    void mainWindowClosedWhileTheGreetingSounds();
    void eventsWhileTheBravoSounds();
    void noHandlerRunsTheEventLoop();
    void ecouterSaysTheSentence();
    void ecouterWithoutAVoice();
    void sentenceReadBackWordByWord();
    void tilesSayTheirWords();
    void wholeExerciseWithTheMouse();
    void soak();
};

void tst_frmSac2Mot::layoutAndLook()
{
    ExerciseFixture f({"Le chat dort."});
    std::unique_ptr<frmSac2Mot> wOwned(newExercise(f.env));
    frmSac2Mot &w = *wOwned;
    QCOMPARE(w.windowTitle(), QStringLiteral("Sac de mots"));
    QCOMPARE(w.size(), QSize(647, 439));
    QCOMPARE(control<SvgPicture>(&w, "Image1")->geometry(), QRect(3, 3, 188, 104));
    QVERIFY(control<SvgPicture>(&w, "Image1")->isValid()); // the logo is compiled in
    QCOMPARE(label(w, "TexteResultat")->geometry(), QRect(18, 297, 511, 91));
    QVERIFY(label(w, "TexteResultat")->wordWrap());
    QCOMPARE(label(w, "Texte")->geometry(), QRect(9, 399, 367, 16));
    QCOMPARE(button(w, "Nouveau")->geometry(), QRect(381, 393, 76, 22));
    QCOMPARE(button(w, "Quitter")->geometry(), QRect(459, 393, 76, 22));
    QCOMPARE(button(w, "Nouveau")->text(), QStringLiteral("&Nouveau"));
    QCOMPARE(button(w, "Quitter")->text(), QStringLiteral("&Quitter"));
    QCOMPARE(button(w, "Quitter")->nextInFocusChain(), button(w, "Nouveau"));

    // Creation: the bubble greets and the journal exists, hidden.
    QCOMPARE(w.messageText(), QStringLiteral("Bonjour!"));
    QCOMPARE(w.messageTop(), 500);
    QCOMPARE(w.messageFontSize(), 22.0);
    QCOMPARE(label(w, "Message")->pos(), QPoint(341, 33));
    QVERIFY(f.env.journal.exists());
    QCOMPARE(f.env.journal.Rows(), 2);

    QCOMPARE(label(w, "Message")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(label(w, "TexteResultat")->palette().color(QPalette::WindowText), QColor(192, 0, 0));
    const QFont answerFont = label(w, "TexteResultat")->font();
    QVERIFY(answerFont.bold() && answerFont.italic());
    QCOMPARE(answerFont.families().first(), QStringLiteral("Times New Roman"));
    QCOMPARE(answerFont.pixelSize(), 27); // 20.25 points at 96 dots per inch
    QVERIFY(label(w, "Message")->font().bold() && !label(w, "Message")->font().italic());
    QVERIFY(label(w, "Texte")->font().bold());
    // Without the Windows fonts the metric-compatible ones are used.
    const QString used = QFontInfo(answerFont).family();
    QVERIFY2(QStringList({"Times New Roman", "Liberation Serif", "Tinos", "DejaVu Serif"})
                 .contains(used),
             qPrintable(used));

    for (WordTile *tile : w.findChildren<WordTile *>()) {
        QVERIFY(tile->isHidden());
        QVERIFY(!tile->isEnabled());
    }
    for (int clock = 0; clock < 4; ++clock)
        QVERIFY(!w.session().isRunning(clock));
    QCOMPARE(w.phase(), Phase::NotLoaded);
}

void tst_frmSac2Mot::sentenceStart()
{
    ExerciseFixture f({"Une autre phrase ici.", "Le chat dort bien"});
    f.env.random.values = {0.75, 0.0, 0.0, std::nextafter(1.0, 0.0), std::nextafter(1.0, 0.0),
                           0.5, 0.5, 0.25, 0.75, 0.1, 0.9};
    std::unique_ptr<frmSac2Mot> wOwned(newExercise(f.env));
    frmSac2Mot &w = *wOwned;
    f.env.clock.advance(3600);
    w.Form_Load();
    QCOMPARE(f.env.random.seeds, 1);
    QCOMPARE(w.session().deck().current(), 1);
    QCOMPARE(int(w.session().deck().lastWord()), 4);
    QCOMPARE(f.env.journal.heureProgressMs(), f.env.clock.steadyMs);
    QCOMPARE(w.phase(), Phase::InPlay);

    // A sentence of four words gives five visible, enabled tiles: four words and one blank.
    const QStringList texts{" Le ", " chat ", " dort ", " bien ", "  "};
    for (int i = 0; i < 5; ++i) {
        WordTile *t = tileAt(w, i);
        QVERIFY(!t->isHidden());
        QVERIFY(t->isEnabled());
        QCOMPARE(t->text(), texts[i]);
        QCOMPARE(t->toolTip(), texts[i].trimmed());
        QCOMPARE(t->accessibleName(), texts[i].trimmed());
        QCOMPARE(t->textColor(), TileColor);
        QCOMPARE(t->pointSize(), 16.0);
        QCOMPARE(t->size(), t->sizeHint()); // sized to its text
        const QPointF pos = t->twipsPos();
        QVERIFY(pos.x() >= 100 && pos.x() < 6100);
        QVERIFY(pos.y() >= 1700 && pos.y() < 3500);
    }
    QCOMPARE(tileAt(w, 0)->twipsPos(), QPointF(100, 1700));
    QCOMPARE(tileAt(w, 0)->textOrigin(), QPoint(7, 113));
    QCOMPARE(tileAt(w, 2)->twipsPos(), QPointF(3100, 2600));
    for (int i = 5; i < 128; ++i)
        QVERIFY(tileAt(w, i)->isHidden());

    QVERIFY(w.session().isRunning(2) && w.session().isRunning(3));
    QCOMPARE(w.session().clock(2).interval(), 1000);
    QVERIFY(!w.session().isRunning(0) && !w.session().isRunning(1));
    QVERIFY(button(w, "Nouveau")->isHidden());
    QVERIFY(label(w, "TexteResultat")->text().isEmpty());
    QCOMPARE(f.env.journal.Rows(), 2); // the start writes nothing
}

namespace {
// A control's rectangle taken back to pixels of the designed scene.
QRectF atDesign(const frmSac2Mot &w, const QWidget *control)
{
    const SceneScale &scale = w.sceneScale();
    const QRectF g = control->geometry();
    return QRectF((g.topLeft() - scale.origin()) / scale.factor(), g.size() / scale.factor());
}

bool near(const QRectF &a, const QRectF &b, double pixels)
{
    return qAbs(a.left() - b.left()) <= pixels && qAbs(a.top() - b.top()) <= pixels
           && qAbs(a.right() - b.right()) <= pixels && qAbs(a.bottom() - b.bottom()) <= pixels;
}

QString describe(const QRectF &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}
}

void tst_frmSac2Mot::wholeScene_data()
{
    QTest::addColumn<QSize>("inner");
    QTest::newRow("640 x 480 main window") << QSize(632, 415);
    QTest::newRow("1024 x 768 screen") << QSize(1024, 700);
    QTest::newRow("1920 x 1080 screen") << QSize(1900, 1000);
}

// The whole scene fits the window at one scale, keeps its proportions and its texts fit, in
// play and when the sentence's time is up (the bubble's longest text, "Nouveau" shown).
void tst_frmSac2Mot::wholeScene()
{
    QFETCH(QSize, inner);
    ExerciseFixture f({"Le petit chat dort près de la fenêtre ouverte."});
    f.env.settings.SaveSetting(Settings::DureePhrase, "0");
    frmSac2Mot &w = f.open(0, true);
    w.resize(inner);
    QCOMPARE(w.size(), inner);
    const double scale = std::min(inner.width() / 647.0, inner.height() / 439.0);
    QCOMPARE(w.sceneScale().factor(), scale);
    const QRect scene = w.sceneScale().sceneRect();
    QVERIFY(w.rect().contains(scene));
    // Centred: the margins left and right (or above and below) differ by a pixel at most.
    QVERIFY(qAbs(scene.left() - (inner.width() - scene.right() - 1)) <= 1);
    QVERIFY(qAbs(scene.top() - (inner.height() - scene.bottom() - 1)) <= 1);

    // Tiles in play: inside the scene, their text at the scene's font size, each sized to it.
    const int tileFont = w.findChild<WordTile *>()->font().pixelSize();
    for (int i = 0; i <= f.session().deck().lastWord(); ++i) {
        QVERIFY(scene.contains(f.tile(i)->geometry()));
        QCOMPARE(f.tile(i)->font().pixelSize(), tileFont);
        QCOMPARE(f.tile(i)->size(), f.tile(i)->sizeHint());
    }
    QVERIFY(qAbs(tileFont - 16 * 4.0 / 3 * scale) <= 0.5);

    for (int second = 0; second <= 180; ++second)
        QVERIFY(f.tick(3));
    QCOMPARE(w.phase(), Phase::TimeUp);
    QVERIFY(!button(w, "Nouveau")->isHidden());
    struct Designed {
        QWidget *control;
        QRectF rect; // pixels of the designed scene
    };
    const QList<Designed> controls{{control<SvgPicture>(&w, "Image1"), QRectF(3, 3, 188, 104)},
                                   {label(w, "TexteResultat"), QRectF(18, 297, 511, 91)},
                                   {button(w, "Nouveau"), QRectF(381, 393, 76, 22)},
                                   {button(w, "Quitter"), QRectF(459, 393, 76, 22)}};
    for (const Designed &d : controls) {
        QVERIFY2(scene.contains(d.control->geometry()), qPrintable(d.control->objectName()));
        QVERIFY2(near(atDesign(w, d.control), d.rect, 1.0),
                 qPrintable(describe(atDesign(w, d.control))));
    }
    // Button texts and the bubble's two lines fit; the bubble's text stays inside the drawn
    // bubble (x 330..580, y 10..95 of the scene).
    for (QPushButton *button : {button(w, "Nouveau"), button(w, "Quitter")})
        QVERIFY(button->fontMetrics().horizontalAdvance(button->text().remove('&'))
                < button->width());
    QVERIFY(label(w, "Message")->width() >= label(w, "Message")->sizeHint().width());
    const QRectF bubble = atDesign(w, label(w, "Message"));
    QVERIFY2(QRectF(330, 10, 250, 85).contains(bubble), qPrintable(describe(bubble)));
    QVERIFY(scene.contains(label(w, "Texte")->geometry()));
    // The answer box shows the whole sentence inside its box.
    QVERIFY(label(w, "TexteResultat")->heightForWidth(label(w, "TexteResultat")->width())
            <= label(w, "TexteResultat")->height());

    // The picture is drawn at the same scale: the blackboard's corner (x 210..302, y 14..84 of
    // the scene) is where the scale puts it.
    const QImage shot = w.grab().toImage();
    const QColor board(0x5a, 0x8a, 0x73);
    for (const QPointF designed : {QPointF(213, 17), QPointF(299, 81)}) {
        const QPoint at = (w.sceneScale().origin() + designed * scale).toPoint();
        QCOMPARE(shot.pixelColor(at), board);
    }
}

void tst_frmSac2Mot::scaledDrag_data()
{
    QTest::addColumn<QSize>("inner");
    QTest::addColumn<double>("scale");
    QTest::newRow("0.9") << QSize(600, 395) << 395 / 439.0;
    QTest::newRow("2.3") << QSize(1900, 1010) << 1010 / 439.0;
}

// At any scale a tile lands under the pointer where its outline was released, the grab
// offset kept, and the drops are judged where the pointer is.
void tst_frmSac2Mot::scaledDrag()
{
    QFETCH(QSize, inner);
    QFETCH(double, scale);
    ExerciseFixture f({"Le chat dort bien."});
    frmSac2Mot &w = f.open(0, true);
    w.resize(inner);
    QCOMPARE(w.sceneScale().factor(), scale);
    const QRect scene = w.sceneScale().sceneRect();
    // A drop counts only on the screen: the window, larger than the test's screen, is moved so
    // that each release falls in the screen's middle.
    const QPoint middle = w.screen()->geometry().center();
    auto onScreen = [&](QPoint release) { w.move(w.pos() + middle - w.mapToGlobal(release)); };

    const QPoint grab(7, 5); // from the text's corner
    const QPoint release = scene.topLeft() + QPoint(scene.width() / 2, scene.height() / 2);
    const int rows = f.lineCount();
    onScreen(release);
    f.drag(1, release, f.tile(1)->textOrigin() - f.tile(1)->pos() + grab);
    QCOMPARE(f.lineCount(), rows + 1);
    QCOMPARE(f.lastLine(), QStringLiteral("Déplacement du mot ' chat '."));
    const QPoint landed = f.tile(1)->textOrigin();
    QVERIFY2((landed - (release - grab)).manhattanLength() <= 1,
             qPrintable(QStringLiteral("%1,%2").arg(landed.x()).arg(landed.y())));
    // The place kept in twips is the scene's, whatever the scale.
    const QPointF twips = f.tile(1)->twipsPos();
    QVERIFY(qAbs(twips.x() - (release.x() - grab.x() - scene.x()) * 15 / scale) <= 15 / scale);
    QVERIFY(qAbs(twips.y() - (release.y() - grab.y() - scene.y()) * 15 / scale) <= 15 / scale);

    // In the margin beside the scene: nothing moves, nothing is written.
    if (scene.left() > 4) {
        onScreen(QPoint(scene.left() / 2, release.y()));
        f.drag(1, QPoint(scene.left() / 2, release.y()));
        QCOMPARE(f.tile(1)->textOrigin(), landed);
        QCOMPARE(f.lineCount(), rows + 1);
    }

    onScreen(f.answerBox());
    f.dragToAnswer(0);
    onScreen(f.answerBox() + QPoint(label(w, "TexteResultat")->width() / 3, 0));
    f.drag(1, f.answerBox() + QPoint(label(w, "TexteResultat")->width() / 3, 0));
    QCOMPARE(f.answer(), QStringLiteral("Le chat"));
    QVERIFY(f.tile(0)->isHidden() && f.tile(1)->isHidden());
}

// Seeded sentence starts over the program's own sentence file: no tile's target overlaps
// another's, at scale 1 and drawn at 2.3.
void tst_frmSac2Mot::tilesNeverOverlap()
{
    std::optional<QStringList> file =
        SentenceFile::read(QStringLiteral(PLUMALIN_DEFAULT_SENTENCES));
    QVERIFY(file && file->size() > 50);
    // and a sentence of 15 ordinary words
    ExerciseFixture f(*file << QStringLiteral("Le petit chat gris dort près de la grande "
                                              "fenêtre ouverte quand il fait très beau."));
    frmSac2Mot &w = f.open(0, true);
    QRandomGenerator random(20261210);
    auto overlaps = [&f] {
        for (int i = 0; i <= f.session().deck().lastWord(); ++i)
            for (int j = 0; j < i; ++j)
                if (f.tile(i)->geometry().intersects(f.tile(j)->geometry()))
                    return QStringLiteral("«%1» and «%2» in «%3»")
                        .arg(f.tile(j)->word(), f.tile(i)->word(),
                             f.session().deck().currentSentence());
        return QString();
    };
    for (int start = 0; start < 200; ++start) {
        f.env.random.values.clear();
        for (int i = 0; i < 4000; ++i)
            f.env.random.values.push_back(random.generateDouble());
        if (start % 2)
            w.resize(SceneScale::designSize());
        w.Nouveau_Click();
        QCOMPARE(w.phase(), Phase::InPlay);
        QVERIFY(f.session().deck().lastWord() >= 2);
        const QString atOne = overlaps();
        QVERIFY2(atOne.isEmpty(), qPrintable(atOne));
        w.resize(1490, 1010);
        const QString atLarge = overlaps();
        QVERIFY2(atLarge.isEmpty(), qPrintable(atLarge));
    }
}

// A sentence of 127 words has no room for its 128 tiles without overlaps: every one is still
// placed, shown and can be played.
void tst_frmSac2Mot::longestSentencePlacesEveryTile()
{
    QStringList words;
    for (int i = 0; i < 127; ++i)
        words << QStringLiteral("mot%1").arg(i);
    ExerciseFixture f({words.join(' ')});
    f.env.random.values.clear();
    f.env.random.values.push_back(0.0);
    QRandomGenerator random(7);
    for (int i = 0; i < 200000; ++i)
        f.env.random.values.push_back(random.generateDouble());
    std::unique_ptr<frmSac2Mot> wOwned(newExercise(f.env));
    frmSac2Mot &w = *wOwned;
    w.Form_Load();
    QCOMPARE(w.phase(), Phase::InPlay);
    QCOMPARE(int(w.session().deck().lastWord()), 127);
    const QRect scene = w.sceneScale().sceneRect();
    for (WordTile *tile : w.findChildren<WordTile *>()) {
        QVERIFY(!tile->isHidden() && tile->isEnabled());
        QVERIFY(scene.intersects(tile->geometry()));
        QVERIFY(tile->twipsPos().x() >= 100 && tile->twipsPos().x() < 6100);
        QVERIFY(tile->twipsPos().y() >= 1700 && tile->twipsPos().y() < 3500);
    }
    w.TexteResultat_DragDrop(0, 0, 0);
    QCOMPARE(label(w, "TexteResultat")->text(), QStringLiteral("mot0"));
}

void tst_frmSac2Mot::activation_data()
{
    QTest::addColumn<QString>("nbPhrases"); // null: absent
    QTest::addColumn<QString>("son");
    QTest::addColumn<double>("sentences");
    QTest::addColumn<QStringList>("played");
    QTest::addColumn<QStringList>("heard"); // the greeting and the pause that follows it
    QTest::newRow("empty store") << QString() << QString() << 30.0 << QStringList() << QStringList();
    QTest::newRow("15 sentences, sound off") << "2" << "0" << 15.0 << QStringList() << QStringList();
    QTest::newRow("not a number, sound on") << "abc" << "1" << 5.0 << QStringList{"bonjour.mp3"}
                                            << QStringList{"bonjour.mp3", "pause 1000"};
}

void tst_frmSac2Mot::activation()
{
    QFETCH(QString, nbPhrases);
    QFETCH(QString, son);
    ExerciseFixture f({"Le chat dort."});
    if (!nbPhrases.isNull())
        f.env.settings.SaveSetting(Settings::NbPhrases, nbPhrases);
    if (!son.isNull())
        f.env.settings.SaveSetting(Settings::Son, son);
    f.open();
    QTEST(f.session().sentencesPerExercise(), "sentences");
    QTEST(f.session().sentencesLeft(), "sentences");
    QCOMPARE(f.session().totalErrors(), 0);
    QTEST(fileNames(f.env.played()), "played");
    QStringList heard;
    for (const QString &step : f.env.heard)
        heard << (step.contains(QLatin1Char('/')) ? QFileInfo(step).fileName() : step);
    QTEST(heard, "heard");
    QCOMPARE(f.env.sound.ActivationSon(), std::optional<QString>(son.isNull() ? "0" : son));
}

void tst_frmSac2Mot::laterActivationsKeepTheCount()
{
    ExerciseFixture f({"Le chat dort."});
    f.env.settings.SaveSetting(Settings::NbPhrases, "0");
    f.open();
    QCOMPARE(f.session().sentencesLeft(), 5.0);
    f.w().TexteResultat_DragDrop(f.wrongTile(), 0, 0);
    f.placeAll(false);
    QCOMPARE(f.session().sentencesLeft(), 4.0);
    QCOMPARE(f.session().totalErrors(), 1);

    // The teacher looked at the settings: the pupil is greeted again, nothing else changes.
    f.env.settings.SaveSetting(Settings::NbPhrases, "3");
    f.env.settings.SaveSetting(Settings::Son, "1");
    f.w().Form_Activate();
    QCOMPARE(f.session().sentencesPerExercise(), 5.0);
    QCOMPARE(f.session().sentencesLeft(), 4.0);
    QCOMPARE(f.session().totalErrors(), 1);
    QCOMPARE(f.env.sound.ActivationSon(), std::optional<QString>("1"));
    QCOMPARE(fileNames(f.env.played()), QStringList{"bonjour.mp3"});
    QCOMPARE(f.w().phase(), Phase::SentenceDone);
}

void tst_frmSac2Mot::nouveauStartsTheNextSentence()
{
    ExerciseFixture f({"Le chat dort."});
    f.open();
    f.w().TexteResultat_DragDrop(f.wrongTile(), 0, 0);
    f.placeAll(false);
    QVERIFY(!button(f.w(), "Nouveau")->isHidden());
    QCOMPARE(label(f.w(), "Texte")->text(),
             QStringLiteral("Clique sur le bouton 'NOUVEAU' pour continuer."));
    const double left = f.session().sentencesLeft();
    f.queueStart(0);
    f.w().Nouveau_Click();
    QVERIFY(label(f.w(), "Texte")->text().isEmpty());
    QVERIFY(f.answer().isEmpty());
    QVERIFY(button(f.w(), "Nouveau")->isHidden());
    QCOMPARE(f.w().phase(), Phase::InPlay);
    QCOMPARE(f.session().sentenceErrors(), 0);
    QCOMPARE(f.session().wordsPlaced(), 0);
    QCOMPARE(f.session().totalErrors(), 1);
    QCOMPARE(f.session().sentencesLeft(), left);
    // A file of one sentence gives the same sentence again, all its tiles back.
    QCOMPARE(f.session().deck().current(), 0);
    for (int i = 0; i <= 3; ++i)
        QVERIFY(!f.tile(i)->isHidden());
    QCOMPARE(f.w().messageText(), QStringLiteral("Bonjour!"));
}

void tst_frmSac2Mot::quitter()
{
    ExerciseFixture f({"Le chat dort."});
    f.open(0, true);
    QVERIFY(f.w().isVisible());
    f.click(button(f.w(), "Quitter"));
    QCOMPARE(f.lastLine(), QStringLiteral("Fin de l'exercice avec le bouton 'QUITTER'"));
    QVERIFY(!f.lastLineRed());
    QVERIFY(!f.w().isVisible());
    for (int clock = 0; clock < 4; ++clock)
        QVERIFY(!f.w().session().isRunning(clock));
    const int rows = f.lineCount();
    f.w().Quitter_Click(); // nothing more once closing
    f.w().Timer_Timer(3);
    QCOMPARE(f.lineCount(), rows);
}

void tst_frmSac2Mot::noSentenceToPlay_data()
{
    QTest::addColumn<QString>("fileName");
    // 0 missing, 1 empty, 2 a folder, 3 only sentences too long, 4 only blank lines, 5 only
    // sentences with a giant word (a million letters)
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("status");
    QTest::newRow("missing") << "absent.txt" << 0
                             << "Le fichier de phrases « absent.txt » est introuvable.";
    QTest::newRow("empty") << "vide.txt" << 1 << "Le fichier de phrases « vide.txt » est vide.";
    QTest::newRow("unreadable") << "dossier.txt" << 2
                                << "Le fichier de phrases « dossier.txt » ne peut pas être lu.";
    const QString nothing = QStringLiteral(
        " n'a aucune phrase à jouer (de 1 à 127 mots, chacun de 50 caractères au plus).");
    QTest::newRow("too long") << "long.txt" << 3
                              << "Le fichier de phrases « long.txt »" + nothing;
    QTest::newRow("blank lines") << "blanc.txt" << 4
                                 << "Le fichier de phrases « blanc.txt »" + nothing;
    QTest::newRow("giant word") << "geant.txt" << 5
                                << "Le fichier de phrases « geant.txt »" + nothing;
}

void tst_frmSac2Mot::noSentenceToPlay()
{
    QFETCH(QString, fileName);
    QFETCH(int, kind);
    QFETCH(QString, status);
    ExerciseFixture f({"Le chat dort."});
    const QString path = f.env.programFolder + "/" + fileName;
    if (kind == 1)
        QVERIFY(SentenceFile::write(path, {}));
    if (kind == 2)
        QVERIFY(QDir().mkpath(path));
    if (kind == 3)
        QVERIFY(SentenceFile::write(path, {QStringList(128, "mot").join(' ')}));
    if (kind == 5)
        QVERIFY(SentenceFile::write(path, {"Le " + QString(1'000'000, 'x') + " dort."}));
    if (kind == 4) {
        QFile blank(path);
        QVERIFY(blank.open(QIODevice::WriteOnly));
        blank.write("\r\n   \r\n\"\"\r\n");
    }
    f.env.settings.SaveSetting(Settings::Fichier, fileName);
    f.open(0, true);
    f.env.random.values.clear();
    QCOMPARE(f.w().phase(), Phase::NoSentence);
    for (WordTile *t : f.w().findChildren<WordTile *>())
        QVERIFY(t->isHidden());
    for (int clock = 0; clock < 4; ++clock)
        QVERIFY(!f.w().session().isRunning(clock));
    QCOMPARE(label(f.w(), "Texte")->text(), status);
    const QLabel *texte = label(f.w(), "Texte");
    QVERIFY(texte->height() >= texte->heightForWidth(texte->width()));
    // Ticks and drops have nothing to work on.
    for (int i = 0; i < 4; ++i)
        f.w().Timer_Timer(i);
    f.w().TexteResultat_DragDrop(0, 0, 0);
    QCOMPARE(f.env.journal.Rows(), 2);

    // Once the teacher has put the file right, "Nouveau" starts a sentence.
    f.env.settings.SaveSetting(Settings::Fichier, "plumalin.txt");
    f.queueStart(0);
    f.click(button(f.w(), "Nouveau"));
    QCOMPARE(f.w().phase(), Phase::InPlay);
    QVERIFY(label(f.w(), "Texte")->text().isEmpty());
    QCOMPARE(label(f.w(), "Texte")->height(), 16);

    f.click(button(f.w(), "Quitter"));
    QVERIFY(!f.w().isVisible());
    QCOMPARE(f.lastLine(), QStringLiteral("Fin de l'exercice avec le bouton 'QUITTER'"));
}

void tst_frmSac2Mot::checkSequence()
{
    ExerciseFixture f({"Le chat dort."});
    f.env.settings.SaveSetting(Settings::Son, "1");
    f.open();
    f.env.heard.clear();
    frmSac2Mot &w = f.w();
    f.env.clock.advance(5);

    w.TexteResultat_DragDrop(0, 0, 0); // «Le»
    QCOMPARE(f.answer(), QStringLiteral("Le"));
    QCOMPARE(f.lastLine(), QStringLiteral("Le"));
    QVERIFY(!f.lastLineRed());
    QCOMPARE(f.env.journal.model().cellText(f.lineCount() - 1, 3), QStringLiteral("00:00:05"));
    QVERIFY(f.tile(0)->isHidden());
    QCOMPARE(f.session().wordsPlaced(), 1);
    QCOMPARE(w.messageText(), QStringLiteral("Bravo !!!"));
    QVERIFY(!f.timerOn(2));
    QVERIFY(f.timerOn(0));
    QCOMPARE(fileNames(f.env.played()), QStringList{"son2.wav"});

    QVERIFY(f.tick(0));
    QCOMPARE(w.messageText(), QStringLiteral("Continue!"));
    QVERIFY(f.timerOn(2));

    // A hint first, so that "Incorrect!" can be seen to keep the bubble's top and size.
    QVERIFY(f.runOut(2));
    QCOMPARE(w.messageTop(), 350);
    w.TexteResultat_DragDrop(2, 0, 0); // «dort.»
    QCOMPARE(f.answer(), QStringLiteral("Le"));
    QCOMPARE(f.lastLine(), QStringLiteral("Le dort."));
    QVERIFY(f.lastLineRed());
    QCOMPARE(f.session().sentenceErrors(), 1);
    QVERIFY(!f.tile(2)->isHidden());
    QCOMPARE(w.messageText(), QStringLiteral("Incorrect!"));
    QCOMPARE(w.messageTop(), 350);
    QCOMPARE(w.messageFontSize(), 15.0);
    QVERIFY(f.timerOn(1));
    QCOMPARE(fileNames(f.env.played()).last(), QStringLiteral("incorrect.mp3"));

    QVERIFY(f.tick(1));
    QCOMPARE(w.messageText(), QStringLiteral("Essaie encore!"));
    QCOMPARE(w.messageTop(), 500);
    QVERIFY(!f.timerOn(1));
    QVERIFY(f.timerOn(2));

    w.TexteResultat_DragDrop(1, 0, 0); // «chat»
    QCOMPARE(f.answer(), QStringLiteral("Le chat"));
    w.TexteResultat_DragDrop(2, 0, 0);
    QCOMPARE(f.answer(), QStringLiteral("Le chat dort."));
    QCOMPARE(w.phase(), Phase::InPlay); // completion is the word check's
    QVERIFY(f.tick(0));
    QCOMPARE(w.phase(), Phase::SentenceDone);
}

void tst_frmSac2Mot::wrongDropsInTheCheck_data()
{
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QStringList>("before"); // words placed first
    QTest::addColumn<int>("tile");
    QTest::addColumn<QString>("line");
    QTest::newRow("case counts") << "Le chat dort." << QStringList() << 3 << "le";
    QTest::newRow("beginning of the expected word") << "un ami a" << QStringList{"un"} << 2
                                                    << "un a";
}

void tst_frmSac2Mot::wrongDropsInTheCheck()
{
    QFETCH(QString, sentence);
    QFETCH(QStringList, before);
    QFETCH(int, tile);
    ExerciseFixture f({sentence + (tile == 3 ? " le" : "")});
    f.open();
    for (const QString &word : before)
        f.w().TexteResultat_DragDrop(f.tileOf(word), 0, 0);
    const QString answer = f.answer();
    f.w().TexteResultat_DragDrop(tile, 0, 0);
    QTEST(f.lastLine(), "line");
    QVERIFY(f.lastLineRed());
    QCOMPARE(f.answer(), answer);
    QCOMPARE(f.session().sentenceErrors(), 1);
    QVERIFY(!f.tile(tile)->isHidden());
}

void tst_frmSac2Mot::blankTilePasses()
{
    ExerciseFixture f({"Le chat dort."});
    f.open();
    f.w().TexteResultat_DragDrop(0, 0, 0);
    QVERIFY(f.tick(0));
    f.w().TexteResultat_DragDrop(3, 0, 0); // the blank last tile
    QCOMPARE(f.answer(), QStringLiteral("Le"));
    QCOMPARE(f.session().wordsPlaced(), 2);
    QCOMPARE(f.session().sentenceErrors(), 0);
    QCOMPARE(f.w().messageText(), QStringLiteral("Bravo !!!"));
    QVERIFY(f.timerOn(0));
    QVERIFY(f.tick(0));
    QCOMPARE(f.w().messageText(), QStringLiteral("Continue!"));
}

void tst_frmSac2Mot::backgroundMove()
{
    ExerciseFixture f({"Le chat dort."});
    f.open();
    const int rows = f.lineCount();
    f.w().Mot_DragOver(1, 1, 200, 100);
    f.w().Mot_DragOver(0, 1, 15, 15); // crossing another tile changes nothing
    f.w().Form_DragDrop(1, 3000, 2000);
    QCOMPARE(f.tile(1)->twipsPos(), QPointF(2800, 1900));
    QCOMPARE(f.tile(1)->textOrigin(), QPoint(187, 127));
    QCOMPARE(f.lineCount(), rows + 1);
    QCOMPARE(f.lastLine(), QStringLiteral("Déplacement du mot ' chat '."));
    QVERIFY(!f.lastLineRed());
    QCOMPARE(f.session().wordsPlaced(), 0);
    QCOMPARE(f.session().sentenceErrors(), 0);
    QVERIFY(!f.timerOn(0) && !f.timerOn(1) && f.timerOn(2));
}

void tst_frmSac2Mot::mouseDragging()
{
    ExerciseFixture f({"Le chat dort bien."});
    f.env.settings.SaveSetting(Settings::Son, "1");
    f.open(0, true);
    frmSac2Mot &w = f.w();
    const QPoint before = f.tile(1)->textOrigin();
    const int rows = f.lineCount();

    // Grabbed 5 pixels right of and 4 below its text's corner, dragged across «Le» and «dort».
    QWindow *handle = w.windowHandle();
    const QPoint grab(5, 4);
    QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, before + grab);
    QCOMPARE(w.draggedTile(), 1);
    for (QWidget *over : {static_cast<QWidget *>(f.tile(0)), static_cast<QWidget *>(f.tile(2))})
        QTest::mouseMove(handle, over->geometry().center());
    QCOMPARE(f.tile(1)->textOrigin(), before); // the tile stays while its outline moves
    QTest::mouseMove(handle, QPoint(300, 262));
    QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, QPoint(300, 262));
    QCOMPARE(w.draggedTile(), -1);
    QCOMPARE(f.tile(1)->textOrigin(), QPoint(295, 258));
    QCOMPARE(f.tile(1)->twipsPos(), QPointF(295 * 15, 258 * 15));
    QCOMPARE(f.lineCount(), rows + 1);
    QCOMPARE(f.lastLine(), QStringLiteral("Déplacement du mot ' chat '."));
    QCOMPARE(fileNames(f.env.played()).last(), QStringLiteral("son2.wav"));

    // Onto the answer box: the check.
    f.dragToAnswer(0);
    QCOMPARE(f.answer(), QStringLiteral("Le"));
    QVERIFY(f.tile(0)->isHidden());
    f.drag(1, f.answerBox(), QPoint(2, 2)); // moved tile, grabbed at its corner
    QCOMPARE(f.answer(), QStringLiteral("Le chat"));
    f.dragToAnswer(3); // «bien.» too early
    QCOMPARE(f.lastLine(), QStringLiteral("Le chat bien."));
    QVERIFY(f.lastLineRed());
}

void tst_frmSac2Mot::dropsWithNoEffect()
{
    ExerciseFixture f({"Le chat dort bien."});
    f.open(0, true);
    frmSac2Mot &w = f.w();
    const QPoint before = f.tile(1)->pos();
    const int rows = f.lineCount();
    const QList<QWidget *> targets{control<SvgPicture>(&w, "Image1"), label(w, "Message"),
                                   f.tile(3), button(w, "Quitter"), f.tile(1)};
    for (QWidget *target : targets) {
        f.drag(1, target->geometry().center());
        QCOMPARE(f.tile(1)->pos(), before);
        QCOMPARE(f.lineCount(), rows);
    }
    // Released outside the window.
    QTest::ignoreMessage(QtWarningMsg, "Mouse event at 700, 200 occurs outside target window (647x439).");
    QTest::ignoreMessage(QtWarningMsg, "Mouse event at 700, 200 occurs outside target window (647x439).");
    f.drag(1, QPoint(700, 200));
    QCOMPARE(f.tile(1)->pos(), before);
    // The status line, once it has a text.
    label(w, "Texte")->setText("x");
    f.drag(1, label(w, "Texte")->geometry().center());
    QCOMPARE(f.tile(1)->pos(), before);
    QCOMPARE(f.lineCount(), rows);
    QCOMPARE(f.session().sentenceErrors(), 0);
    QVERIFY(f.answer().isEmpty());
}

// A release over another window of the program that covers the exercise (over the answer box,
// then over the background) changes nothing; the same release with that window moved away is
// judged.
void tst_frmSac2Mot::dropOverAnotherWindow()
{
    ExerciseFixture f({"Le chat dort."});
    frmSac2Mot &w = f.open(0, true);
    w.move(100, 100);
    QWidget other; // a window of the program kept over the exercise, as the journal may be
    other.resize(120, 80);
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QWidget *journal = &other;
    const int rows = f.lineCount();
    const QPoint before = f.tile(1)->textOrigin();
    const QList<QPoint> releases{f.answerBox(), w.sceneScale().sceneRect().center()};
    for (const QPoint &release : releases) {
        journal->move(w.mapToGlobal(release) - QPoint(20, 20));
        journal->raise();
        QTRY_COMPARE(QApplication::topLevelAt(w.mapToGlobal(release)), journal);
        f.drag(0, release);
        f.drag(1, release);
        QCOMPARE(f.lineCount(), rows);
        QVERIFY(f.answer().isEmpty());
        QCOMPARE(f.tile(1)->textOrigin(), before);
        QCOMPARE(f.session().sentenceErrors(), 0);
        QVERIFY(f.env.played().isEmpty());
    }
    journal->move(w.mapToGlobal(w.rect().bottomRight()) + QPoint(50, 50));
    QTRY_COMPARE(QApplication::topLevelAt(w.mapToGlobal(f.answerBox())), &w);
    f.dragToAnswer(0);
    QCOMPARE(f.answer(), QStringLiteral("Le"));
}

void tst_frmSac2Mot::touchDragging()
{
    ExerciseFixture f({"Le chat dort."});
    f.open(0, true);
    frmSac2Mot &w = f.w();
    static QPointingDevice *screen = QTest::createTouchDevice();
    auto fingerDrag = [&](int index, QPoint to) {
        const QPoint from = f.tile(index)->geometry().center();
        QTest::touchEvent(&w, screen).press(0, from, &w);
        QTest::touchEvent(&w, screen).move(0, (from + to) / 2, &w);
        QTest::touchEvent(&w, screen).move(0, to, &w);
        QTest::touchEvent(&w, screen).release(0, to, &w);
    };
    fingerDrag(1, QPoint(320, 262));
    QCOMPARE(f.tile(1)->geometry().center(), QPoint(320, 262));
    QCOMPARE(f.lastLine(), QStringLiteral("Déplacement du mot ' chat '."));
    fingerDrag(0, f.answerBox());
    QCOMPARE(f.answer(), QStringLiteral("Le"));
    fingerDrag(1, f.answerBox());
    QCOMPARE(f.answer(), QStringLiteral("Le chat"));
}

void tst_frmSac2Mot::keyboard()
{
    ExerciseFixture f({"Le chat dort."});
    f.open(0, true);
    frmSac2Mot &w = f.w();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    button(w, "Quitter")->setFocus();
    QTRY_VERIFY(button(w, "Quitter")->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // "Nouveau" is hidden
    QVERIFY(f.tile(0)->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(f.tile(1)->hasFocus());
    QTest::keyClick(f.tile(1), Qt::Key_Return); // «chat» first: wrong
    QCOMPARE(f.lastLine(), QStringLiteral("chat"));
    QVERIFY(f.lastLineRed());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QVERIFY(f.tile(0)->hasFocus());
    QTest::keyClick(f.tile(0), Qt::Key_Space);
    QCOMPARE(f.answer(), QStringLiteral("Le"));
    QVERIFY(f.tile(0)->isHidden());
    QVERIFY(!f.tile(0)->hasFocus());
    f.tile(1)->setFocus();
    QTest::keyClick(f.tile(1), Qt::Key_Enter);
    QCOMPARE(f.answer(), QStringLiteral("Le chat"));
    // The blank tile is not in the chain: from «dort.» Tab goes to "Écouter", then "Quitter".
    f.tile(2)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(button(w, "Ecouter")->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(button(w, "Quitter")->hasFocus());
}

void tst_frmSac2Mot::keyboardPupilGoesOn()
{
    ExerciseFixture f({"Le chat dort."});
    f.open(0, true);
    frmSac2Mot &w = f.w();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    f.tile(0)->setFocus();
    QTRY_VERIFY(f.tile(0)->hasFocus());
    QTest::keyClick(f.tile(0), Qt::Key_Space);
    QCOMPARE(f.answer(), QStringLiteral("Le"));
    QVERIFY(f.tile(1)->hasFocus());
    // Space held down: its repeats do not drop the word that took the focus.
    const int rows = f.lineCount();
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(f.tile(1), &repeat);
    QCOMPARE(f.lineCount(), rows);
    QCOMPARE(f.session().sentenceErrors(), 0);
    // The Enter of the numeric keypad.
    QTest::keyClick(f.tile(1), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(f.answer(), QStringLiteral("Le chat"));
    QTest::keyClick(f.tile(2), Qt::Key_Space);
    QCOMPARE(f.answer(), QStringLiteral("Le chat dort."));
    // The last word gone, the focus is not on "Quitter", where one Space more would end it all;
    // once the sentence is done it is on "Nouveau", which Enter presses.
    QVERIFY(!button(w, "Quitter")->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(w.isVisible());
    QVERIFY(f.tick(0));
    QCOMPARE(w.phase(), Phase::SentenceDone);
    QVERIFY(button(w, "Nouveau")->hasFocus());
    f.queueStart(0);
    QTest::keyClick(button(w, "Nouveau"), Qt::Key_Return);
    QCOMPARE(w.phase(), Phase::InPlay);
    QVERIFY(f.tile(0)->hasFocus()); // the focus is back on the words

    // So too when the time is up.
    QVERIFY(f.runOut(3));
    QCOMPARE(w.phase(), Phase::TimeUp);
    QVERIFY(button(w, "Nouveau")->hasFocus());
    f.queueStart(0);
    QTest::keyClick(button(w, "Nouveau"), Qt::Key_Space);
    QCOMPARE(w.phase(), Phase::InPlay);
    QCOMPARE(f.lastLine(), QStringLiteral("Temporisation de la phrase fixée à 12 minutes dépassée."));
}

namespace {
// «Le chat dort sur le lit.» scattered so that the reading order (top to bottom, then left to
// right) is not the sentence's: chat, lit., Le / le, dort / sur (the blank last tile is not
// visited).
struct ScatteredFixture : ExerciseFixture {
    ScatteredFixture()
        : ExerciseFixture({"Le chat dort sur le lit."})
    {
        env.random.values = {0.5,  0.75, 0.0,    0.0, 0.0,    0.5,  1 / 3.0, 0.0,
                             2 / 3.0, 0.25, 1 / 3.0, 0.5, 0.0, 0.75, 2 / 3.0};
        window.reset(newExercise(env));
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTRY_VERIFY(window->session().sentencesPerExercise() > 0);
    }
    QWidget *focus() { return QApplication::focusWidget(); }
    int focusedTile()
    {
        auto *tile = qobject_cast<WordTile *>(focus());
        return tile ? tile->index() : -1;
    }
};
}

// Tab, Shift+Tab and the arrows go by the places on screen; the focus frame shows only once the
// keyboard is used; only Enter and Space drop; after a drop the focus is on the nearest tile;
// the whole sentence is played by keyboard alone.
void tst_frmSac2Mot::keyboardGivesNothingAway()
{
    ScatteredFixture f;
    frmSac2Mot &w = f.w();
    const QList<int> reading{1, 5, 0, 4, 2, 3};
    // The focus starts on the first tile in reading order, without a frame for the mouse.
    button(w, "Quitter")->setFocus();
    f.env.random.values = {0.5,  0.75, 0.0,    0.0, 0.0,    0.5,  1 / 3.0, 0.0,
                           2 / 3.0, 0.25, 1 / 3.0, 0.5, 0.0, 0.75, 2 / 3.0};
    w.Nouveau_Click(); // the same sentence starts again, with the focus in the window
    QCOMPARE(f.focusedTile(), 1);
    const QImage unframed = f.tile(1)->grab().toImage();
    f.tile(5)->setFocus();
    f.tile(1)->setFocus();
    QCOMPARE(f.tile(1)->grab().toImage(), unframed);

    for (int i = 1; i < reading.size(); ++i) {
        QTest::keyClick(f.focus(), Qt::Key_Tab);
        QCOMPARE(f.focusedTile(), reading[i]);
    }
    QTest::keyClick(f.focus(), Qt::Key_Tab);
    QCOMPARE(f.focus(), button(w, "Ecouter"));
    QTest::keyClick(f.focus(), Qt::Key_Tab);
    QCOMPARE(f.focus(), button(w, "Quitter"));
    QTest::keyClick(f.focus(), Qt::Key_Tab);
    QCOMPARE(f.focusedTile(), reading.first());
    QTest::keyClick(f.focus(), Qt::Key_Backtab);
    QCOMPARE(f.focus(), button(w, "Quitter"));
    QTest::keyClick(f.focus(), Qt::Key_Backtab);
    QCOMPARE(f.focus(), button(w, "Ecouter"));
    QTest::keyClick(f.focus(), Qt::Key_Backtab);
    QCOMPARE(f.focusedTile(), reading.last());
    // Now the keyboard is in use: the frame shows.
    QTest::keyClick(f.focus(), Qt::Key_Backtab);
    f.tile(1)->setFocus();
    QVERIFY(f.tile(1)->grab().toImage() != unframed);

    // Arrows: to the nearest tile that way, nowhere when there is none.
    struct Step { int from; Qt::Key key; int to; };
    // (Centres: chat 30,125; lit. 223,125; Le 323,125; le 119,165; dort 229,165; sur 26,205.)
    for (const Step &step : {Step{1, Qt::Key_Right, 4}, Step{5, Qt::Key_Right, 0},
                             Step{0, Qt::Key_Right, 0}, Step{5, Qt::Key_Down, 2},
                             Step{2, Qt::Key_Left, 4}, Step{2, Qt::Key_Up, 5},
                             Step{3, Qt::Key_Up, 1}}) {
        f.tile(step.from)->setFocus();
        QTest::keyClick(f.focus(), step.key);
        QCOMPARE(f.focusedTile(), step.to);
    }

    // Letters, digits and other keys change nothing, on the expected word too.
    const int rows = f.lineCount();
    f.tile(0)->setFocus();
    for (const Qt::Key key : {Qt::Key_L, Qt::Key_E, Qt::Key_1, Qt::Key_Delete, Qt::Key_Escape,
                              Qt::Key_Home, Qt::Key_F2})
        QTest::keyClick(f.focus(), key);
    QTest::keyClicks(f.focus(), QStringLiteral("Lechat"));
    QCOMPARE(f.focusedTile(), 0);
    QCOMPARE(f.lineCount(), rows);
    QVERIFY(f.answer().isEmpty());

    // The whole sentence by keyboard: Tab to each word in turn, Space; after each drop the
    // focus is on the remaining tile nearest to the one dropped.
    const QStringList sentence{"Le", "chat", "dort", "sur", "le", "lit."};
    for (const QString &word : sentence) {
        for (int presses = 0; f.focusedTile() < 0 || f.tile(f.focusedTile())->word() != word;
             ++presses) {
            QVERIFY(presses < 10);
            QTest::keyClick(f.focus(), Qt::Key_Tab);
        }
        const int dropped = f.focusedTile();
        const QPoint centre = f.tile(dropped)->geometry().center();
        int nearest = -1;
        double best = 0;
        for (int i = 0; i < 6; ++i) {
            const QPoint d = f.tile(i)->geometry().center() - centre;
            const double distance = std::hypot(d.x(), d.y());
            if (i != dropped && !f.tile(i)->isHidden() && (nearest < 0 || distance < best)) {
                nearest = i;
                best = distance;
            }
        }
        QTest::keyClick(f.focus(), Qt::Key_Space);
        QCOMPARE(f.tile(dropped)->isHidden(), true);
        if (nearest >= 0)
            QCOMPARE(f.focusedTile(), nearest);
        QVERIFY(f.tick(0));
    }
    QCOMPARE(w.phase(), Phase::SentenceDone);
    QCOMPARE(f.session().sentenceErrors(), 0);
    QCOMPARE(f.focus(), button(w, "Nouveau"));
}

// A screen reader lists the window's controls: the tiles come in reading order, never in the
// sentence's; a word moved a few pixels above a line is read on that line.
void tst_frmSac2Mot::tilesListedInReadingOrder()
{
    ScatteredFixture f;
    frmSac2Mot &w = f.w();
    auto listed = [&w] {
        QStringList words;
        QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&w);
        for (int i = 0; i < window->childCount(); ++i) {
            QAccessibleInterface *child = window->child(i);
            if (qobject_cast<WordTile *>(child->object()) && !child->state().invisible
                && !child->text(QAccessible::Name).trimmed().isEmpty())
                words << child->text(QAccessible::Name);
        }
        return words;
    };
    auto tabbed = [&f] {
        QStringList words;
        f.tile(f.focusedTile() < 0 ? 1 : f.focusedTile())->setFocus();
        while (f.focusedTile() >= 0 && words.size() < 10) {
            words << f.tile(f.focusedTile())->word();
            QTest::keyClick(f.focus(), Qt::Key_Tab);
        }
        return words;
    };
    QCOMPARE(listed(), QStringList({"chat", "lit.", "Le", "le", "dort", "sur"}));
    QCOMPARE(tabbed(), listed());

    // «sur» goes to the right end of the second line, 6 pixels higher than its words.
    w.Mot_DragOver(3, 3, 0, 0);
    w.Form_DragDrop(3, 5500, f.tile(4)->twipsPos().y() - 6 * 15);
    QCOMPARE(listed(), QStringList({"chat", "lit.", "Le", "le", "dort", "sur"}));
    f.tile(1)->setFocus();
    QCOMPARE(tabbed(), listed());
    // Placed words leave the list; the rest keep their order.
    w.TexteResultat_DragDrop(0, 0, 0);
    QCOMPARE(listed(), QStringList({"chat", "lit.", "le", "dort", "sur"}));
}

namespace {
std::vector<std::pair<QObject *, QAccessible::Event>> announced;
void recordAnnouncement(QAccessibleEvent *event)
{
    announced.emplace_back(event->object(), event->type());
}
}

// A screen reader says each new text of the answer box, the bubble and the status line once.
// (Only where the platform has an accessibility bridge: run under an X server with an
// accessibility bus.)
void tst_frmSac2Mot::eachChangeAnnouncedOnce()
{
    ExerciseFixture f({"Le chat dort."});
    frmSac2Mot &w = f.open();
    QAccessible::installUpdateHandler(recordAnnouncement);
    QAccessible::setActive(true);
    if (!QAccessible::isActive()) {
        QAccessible::installUpdateHandler(nullptr);
        QSKIP("no accessibility bridge on this platform: nothing is announced");
    }
    auto namesChanged = [](QWidget *control) {
        return std::count(announced.begin(), announced.end(),
                          std::pair<QObject *, QAccessible::Event>(control,
                                                                    QAccessible::NameChanged));
    };
    announced.clear();
    w.TexteResultat_DragDrop(0, 0, 0);
    QCOMPARE(namesChanged(label(w, "TexteResultat")), 1);
    QCOMPARE(namesChanged(label(w, "Message")), 1);
    for (int i = 1; i < 3; ++i) {
        QVERIFY(f.tick(0));
        w.TexteResultat_DragDrop(i, 0, 0);
    }
    announced.clear();
    QVERIFY(f.tick(0));
    QCOMPARE(namesChanged(label(w, "Texte")), 1);
    QCOMPARE(namesChanged(label(w, "Message")), 1);
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::setActive(false);
}

// The answer box, the bubble and the status line tell assistive technologies their texts.
// (Their announcements go to the platform's accessibility bridge, which the offscreen platform
// has not.)
void tst_frmSac2Mot::assistiveTechnologiesFollow()
{
    ExerciseFixture f({"Le chat dort."});
    frmSac2Mot &w = f.open();
    auto name = [](QWidget *control) {
        return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
    };
    QCOMPARE(name(label(w, "TexteResultat")), QStringLiteral("Ta phrase"));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(name(f.tile(i)), QStringList({"Le", "chat", "dort."})[i]);
    w.TexteResultat_DragDrop(0, 0, 0);
    QCOMPARE(name(label(w, "TexteResultat")), QStringLiteral("Ta phrase : Le"));
    QCOMPARE(name(label(w, "Message")), QStringLiteral("Bravo !!!"));
    for (int i = 1; i < 3; ++i) {
        QVERIFY(f.tick(0));
        w.TexteResultat_DragDrop(i, 0, 0);
    }
    QVERIFY(f.tick(0));
    QCOMPARE(name(label(w, "TexteResultat")), QStringLiteral("Ta phrase : Le chat dort."));
    QCOMPARE(name(label(w, "Texte")),
             QStringLiteral("Clique sur le bouton 'NOUVEAU' pour continuer."));
}

void tst_frmSac2Mot::wordCheck_data()
{
    QTest::addColumn<int>("errors");
    QTest::addColumn<QString>("bubble");
    QTest::addColumn<int>("top");
    QTest::addColumn<QString>("line");
    QTest::newRow("none") << 0 << QString("Tu n'as fait") + CR + "aucune erreur!!!" << 350
                          << "L'élève n'a fait aucune erreur.";
    QTest::newRow("one") << 1 << "Tu as fait une erreur." << 550 << "L'élève a fait une erreur.";
    QTest::newRow("three") << 3 << "Tu as fait 3 erreurs." << 550 << "L'élève a fait 3 erreurs.";
}

void tst_frmSac2Mot::wordCheck()
{
    QFETCH(int, errors);
    ExerciseFixture f({"Le chat dort."});
    f.env.settings.SaveSetting(Settings::Son, "1");
    f.env.settings.SaveSetting(Settings::NbPhrases, "1");
    f.open();
    for (int i = 0; i < errors; ++i) {
        f.w().TexteResultat_DragDrop(f.wrongTile(), 0, 0);
        QVERIFY(f.tick(1));
    }
    f.env.heard.clear();
    f.w().TexteResultat_DragDrop(0, 0, 0);
    f.w().TexteResultat_DragDrop(1, 0, 0);
    QVERIFY(f.tick(0)); // not complete yet
    QCOMPARE(f.w().messageText(), QStringLiteral("Continue!"));
    QCOMPARE(f.session().hintSeconds(), 0);
    QVERIFY(f.timerOn(2));
    f.w().TexteResultat_DragDrop(2, 0, 0);
    QVERIFY(f.tick(0));

    QTEST(f.w().messageText(), "bubble");
    QTEST(f.w().messageTop(), "top");
    QCOMPARE(f.w().messageFontSize(), 18.0);
    QVERIFY(label(f.w(), "Message")->text().contains('\n') == (errors == 0));
    QTEST(f.lastLine(), "line");
    QVERIFY(!f.lastLineRed());
    QCOMPARE(f.session().sentencesLeft(), 9.0);
    QCOMPARE(f.session().totalErrors(), errors);
    QVERIFY(!button(f.w(), "Nouveau")->isHidden());
    QCOMPARE(label(f.w(), "Texte")->text(),
             QStringLiteral("Clique sur le bouton 'NOUVEAU' pour continuer."));
    for (int i = 0; i < 4; ++i)
        QVERIFY(!f.timerOn(i));
    QCOMPARE(fileNames(f.env.played()), (QStringList{"son2.wav", "son2.wav", "son2.wav", "bravo.mp3"}));
}

void tst_frmSac2Mot::hint()
{
    ExerciseFixture f({"Le chat dort."});
    f.env.settings.SaveSetting(Settings::DureeMot, "0");
    f.open();
    f.w().TexteResultat_DragDrop(0, 0, 0);
    QVERIFY(f.tick(0));
    const int rows = f.lineCount();
    for (int i = 0; i < 30; ++i)
        QVERIFY(f.tick(2));
    QCOMPARE(f.lineCount(), rows);
    QVERIFY(f.tick(2)); // the 31st tick after the last correct word
    QCOMPARE(f.w().messageText(), QString("Regarde bien") + CR + "le mot en BLEU.");
    QCOMPARE(label(f.w(), "Message")->text(), QStringLiteral("Regarde bien\nle mot en BLEU."));
    QCOMPARE(f.w().messageTop(), 350);
    QCOMPARE(f.w().messageFontSize(), 15.0);
    QCOMPARE(f.tile(1)->textColor(), Blue);
    QCOMPARE(f.lineCount(), rows + 2);
    QCOMPARE(f.lines()[rows].text,
             QStringLiteral("La temporisation du mot bleu fixée à 30 secondes est dépassée."));
    QCOMPARE(f.lastLine(), QStringLiteral("Le mot bleu est ' chat '."));
    QVERIFY(f.lines()[rows].red && f.lastLineRed());
    QVERIFY(f.lines()[rows].duree.isEmpty());
    QVERIFY(!f.timerOn(2));
    QCOMPARE(f.session().hintSeconds(), 0);

    // A wrong drop and its retry prompt restart the clock: the same tile turns blue again.
    f.w().TexteResultat_DragDrop(2, 0, 0);
    QVERIFY(f.tick(1));
    QVERIFY(f.timerOn(2));
    for (int i = 0; i < 31; ++i)
        QVERIFY(f.tick(2));
    QCOMPARE(f.lastLine(), QStringLiteral("Le mot bleu est ' chat '."));
    QCOMPARE(f.lineCount(), rows + 2 + 1 + 2);

    // The limit is read at every tick.
    f.w().TexteResultat_DragDrop(1, 0, 0);
    QVERIFY(f.tick(0));
    f.env.settings.SaveSetting(Settings::DureeMot, "1");
    for (int i = 0; i < 60; ++i)
        QVERIFY(f.tick(2));
    QVERIFY(f.tick(2));
    QCOMPARE(f.lastLine(), QStringLiteral("Le mot bleu est ' dort. '."));
    QCOMPARE(f.lines()[f.lineCount() - 2].text,
             QStringLiteral("La temporisation du mot bleu fixée à 60 secondes est dépassée."));
}

void tst_frmSac2Mot::hintColoursAVisibleExpectedTile()
{
    ExerciseFixture f({"le chat le chien"});
    f.open();
    f.w().TexteResultat_DragDrop(2, 0, 0); // the second «le» first
    QVERIFY(f.tick(0));
    f.w().TexteResultat_DragDrop(1, 0, 0);
    QVERIFY(f.tick(0));
    QCOMPARE(f.session().wordsPlaced(), 2);
    QVERIFY(f.runOut(2));
    // Mot(2) carries the expected word but is gone: the visible «le» is coloured instead.
    QCOMPARE(f.tile(0)->textColor(), Blue);
    QCOMPARE(f.tile(3)->textColor(), TileColor);
    QCOMPARE(f.lastLine(), QStringLiteral("Le mot bleu est ' le '."));
}

void tst_frmSac2Mot::timeUp()
{
    ExerciseFixture f({"Le chat dort."});
    f.open();
    f.w().TexteResultat_DragDrop(f.wrongTile(), 0, 0);
    f.w().TexteResultat_DragDrop(0, 0, 0);
    const double left = f.session().sentencesLeft();
    const int rows = f.lineCount();
    for (int i = 0; i < 720; ++i)
        QVERIFY(f.tick(3));
    QCOMPARE(f.w().phase(), Phase::InPlay);
    QVERIFY(f.tick(3)); // the 721st
    QCOMPARE(f.w().phase(), Phase::TimeUp);
    QCOMPARE(f.answer(), QStringLiteral("Le chat dort."));
    for (int i = 0; i <= 3; ++i)
        QVERIFY(f.tile(i)->isHidden());
    QVERIFY(!button(f.w(), "Nouveau")->isHidden());
    for (int i = 0; i < 4; ++i)
        QVERIFY(!f.timerOn(i));
    QCOMPARE(f.w().messageText(), QString("Voici la phrase à trouver.") + CR + "Clique sur NOUVEAU.");
    QCOMPARE(f.w().messageTop(), 400);
    QCOMPARE(f.w().messageFontSize(), 15.0);
    QCOMPARE(f.lineCount(), rows + 1);
    QCOMPARE(f.lastLine(), QStringLiteral("Temporisation de la phrase fixée à 12 minutes dépassée."));
    QVERIFY(f.lastLineRed());
    QCOMPARE(f.session().sentencesLeft(), left);
    QCOMPARE(f.session().totalErrors(), 0);
    QCOMPARE(f.session().sentenceSeconds(), 0);

    // Its errors are forgotten at the next sentence.
    f.queueStart(0);
    f.w().Nouveau_Click();
    QCOMPARE(f.session().sentenceErrors(), 0);
    f.placeAll(false);
    QCOMPARE(f.session().totalErrors(), 0);
    QCOMPARE(f.session().sentencesLeft(), left - 1);
}

void tst_frmSac2Mot::marks_data()
{
    QTest::addColumn<int>("errors");
    QTest::addColumn<QString>("bubble");
    QTest::addColumn<QString>("line");
    QTest::newRow("4 errors") << 4 << "Ta note est 19/20" << "L'élève a une note de 19/20";
    QTest::newRow("10 errors") << 10 << "Ta note est 10/20" << "L'élève a une note de 10/20";
    QTest::newRow("15 errors") << 15 << "Tu as ZERO!" << "L'élève a une note de Zéro.";
}

void tst_frmSac2Mot::marks()
{
    QFETCH(int, errors);
    ExerciseFixture f({"Le chat dort.", "Il pleut."});
    f.env.settings.SaveSetting(Settings::NbPhrases, "0");
    f.env.settings.SaveSetting(Settings::Son, "1");
    f.open(0);
    int made = 0;
    for (int sentence = 0; sentence < 5; ++sentence) {
        if (sentence > 0) {
            f.queueStart(sentence % 2);
            f.w().Nouveau_Click();
        }
        const int here = sentence == 4 ? errors - made : errors / 5;
        for (int e = 0; e < here; ++e)
            f.w().TexteResultat_DragDrop(f.wrongTile(), 0, 0);
        made += here;
        f.env.heard.clear();
        f.placeAll(false);
    }
    QCOMPARE(f.session().totalErrors(), errors);
    QCOMPARE(f.session().sentencesLeft(), 0.0);
    QCOMPARE(f.w().phase(), Phase::ExerciseOver);
    QTEST(f.w().messageText(), "bubble");
    QCOMPARE(f.w().messageTop(), 500);
    QCOMPARE(f.w().messageFontSize(), 22.0);
    QTEST(f.lastLine(), "line");
    QVERIFY(f.lines()[f.lineCount() - 2].text.startsWith("L'élève a fait"));
    QCOMPARE(label(f.w(), "Texte")->text(),
             QStringLiteral("Clique sur le bouton 'QUITTER' pour continuer."));
    QVERIFY(button(f.w(), "Nouveau")->isHidden());
    QCOMPARE(fileNames(f.env.played()).mid(fileNames(f.env.played()).size() - 2),
             (QStringList{"bravo.mp3", "cgagne.mp3"}));
    for (int i = 0; i < 4; ++i)
        QVERIFY(!f.timerOn(i));
}

void tst_frmSac2Mot::sentenceCountsOnce()
{
    ExerciseFixture f({"Le chat dort."});
    f.env.settings.SaveSetting(Settings::NbPhrases, "0");
    f.open(0, true);
    auto tryToEndItAgain = [&] {
        const double left = f.session().sentencesLeft();
        const int total = f.session().totalErrors();
        const int rows = f.lineCount();
        if (!f.tile(3)->isHidden()) {
            f.dragToAnswer(3); // the blank tile, with the mouse
            f.w().TexteResultat_DragDrop(3, 0, 0);
        }
        f.w().TexteResultat_DragDrop(0, 0, 0);
        f.w().Timer_Timer(0);
        f.w().Timer_Timer(1);
        f.w().Timer_Timer(2);
        QCOMPARE(f.session().sentencesLeft(), left);
        QCOMPARE(f.session().totalErrors(), total);
        QCOMPARE(f.lineCount(), rows);
    };

    f.w().TexteResultat_DragDrop(f.wrongTile(), 0, 0);
    f.placeAll(false);
    QCOMPARE(f.w().phase(), Phase::SentenceDone);
    QVERIFY(!f.tile(3)->isHidden()); // the blank tile is still there
    tryToEndItAgain();

    f.queueStart(0);
    f.w().Nouveau_Click();
    QVERIFY(f.runOut(3));
    QCOMPARE(f.w().phase(), Phase::TimeUp);
    tryToEndItAgain();

    for (int s = 0; s < 4; ++s) {
        f.queueStart(0);
        f.w().Nouveau_Click();
        f.placeAll(false);
    }
    QCOMPARE(f.w().phase(), Phase::ExerciseOver);
    QCOMPARE(f.session().sentencesLeft(), 0.0);
    tryToEndItAgain();
    QCOMPARE(f.session().totalErrors(), 1);
}

void tst_frmSac2Mot::activationInTheMainWindow()
{
    ExerciseFixture f({"Le chat dort."});
    f.env.settings.SaveSetting(Settings::Son, "1"); // every activation greets: counted
    f.queueStart(0);
    QMainWindow main;
    auto *area = new QMdiArea(&main);
    main.setCentralWidget(area);
    main.resize(900, 700);
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QPointer<frmSac2Mot> w = newExercise(f.env);
    QMdiSubWindow *sub = area->addSubWindow(w);
    sub->move(120, 80);
    sub->show();
    QTRY_COMPARE(f.env.played().size(), 1); // loaded, then activated once
    QCOMPARE(w->phase(), Phase::InPlay);
    QCOMPARE(sub->pos(), QPoint(0, 0));
    QCOMPARE(w->session().sentencesLeft(), 30.0);
    // One sentence played with 4 errors, and the next one begun.
    for (int e = 0; e < 4; ++e)
        w->TexteResultat_DragDrop(2, 0, 0);
    for (int i = 0; i < 3; ++i) {
        w->TexteResultat_DragDrop(i, 0, 0);
        w->Timer_Timer(frmSac2Mot::WordCheck);
    }
    f.queueStart(0);
    w->Nouveau_Click();
    QCOMPARE(w->session().sentencesLeft(), 29.0);
    QCOMPARE(w->session().totalErrors(), 4);
    // Each greeting is one more cue asked for.
    const auto before = f.env.played().size();

    // Another inner window, then back.
    QMdiSubWindow *other = area->addSubWindow(new QWidget);
    other->show();
    area->setActiveSubWindow(other);
    QTest::qWait(20);
    QCOMPARE(f.env.played().size(), before);
    area->setActiveSubWindow(sub);
    QTRY_COMPARE(f.env.played().size(), before + 1);

    // Another top-level window of the program (the journal), then back.
    QVERIFY(QTest::qWaitForWindowActive(static_cast<QWidget *>(f.env.showJournal())));
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTRY_COMPARE(f.env.played().size(), before + 2);
    QCOMPARE(w->session().sentencesLeft(), 29.0);
    QCOMPARE(w->session().totalErrors(), 4);
    QCOMPARE(w->phase(), Phase::InPlay);

    // Another program for a while, then back: not another window of this one, no greeting.
    // (A bare QWindow stands for it: while it is active the program has no active window.)
    QWindow elsewhere;
    elsewhere.resize(100, 100);
    elsewhere.show();
    elsewhere.requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    QVERIFY(QApplication::activeWindow() == nullptr);
    QTest::qWait(20);
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTest::qWait(20);
    QCOMPARE(f.env.played().size(), before + 2);

    // Quitter closes the inner window, which goes.
    w->Quitter_Click();
    QTRY_VERIFY(w.isNull());
    QCOMPARE(f.lastLine(), QStringLiteral("Fin de l'exercice avec le bouton 'QUITTER'"));
}

// The shipped cues in the program's folder, so that the output has something to play.
static void copySounds(TestEnv &env)
{
    for (const char *name : {"bonjour.mp3", "son2.wav", "incorrect.mp3", "bravo.mp3", "cgagne.mp3"})
        QFile::copy(QStringLiteral(PLUMALIN_SOUNDS_DIR "/") + QLatin1String(name),
                    env.programFolder + QLatin1Char('/') + QLatin1String(name));
}

void tst_frmSac2Mot::quitterWhileTheGreetingSounds()
{
    ExerciseFixture f({"Le chat dort."});
    copySounds(f.env);
    f.env.settings.SaveSetting(Settings::Son, "1");
    f.queueStart(0);
    QMainWindow main;
    auto *area = new QMdiArea(&main);
    main.setCentralWidget(area);
    QPointer<frmSac2Mot> w = newExercise(f.env);
    QPointer<QMdiSubWindow> sub = area->addSubWindow(w);
    w->Form_Load();
    w->Form_Activate();
    QTRY_VERIFY(f.env.soundOutput && f.env.soundOutput->isPlaying()); // once decoded

    // The window goes at once, its line written once, while the greeting still sounds.
    w->Quitter_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(w.isNull());
    QVERIFY(sub.isNull());
    QCOMPARE(f.lastLine(), QStringLiteral("Fin de l'exercice avec le bouton 'QUITTER'"));
    QCOMPARE(f.lineCount(), 2);
    // The greeting ends and its pause runs out with nobody left to hear it.
    f.env.soundOutput->end();
    QTRY_VERIFY(!f.env.sound.isBusy());
    QCOMPARE(f.lineCount(), 2);

    // The next exercise greets again, on the same output.
    f.queueStart(0);
    QPointer<frmSac2Mot> again = newExercise(f.env);
    area->addSubWindow(again);
    again->Form_Load();
    again->Form_Activate();
    QTRY_VERIFY(f.env.soundOutput->isPlaying());
    QCOMPARE(fileNames(f.env.played()), (QStringList{"bonjour.mp3", "bonjour.mp3"}));
}

void tst_frmSac2Mot::mainWindowClosedWhileTheGreetingSounds()
{
    ExerciseFixture f({"Le chat dort."});
    copySounds(f.env);
    f.env.settings.SaveSetting(Settings::Son, "1");
    f.queueStart(0);
    auto *main = new QMainWindow;
    main->setAttribute(Qt::WA_DeleteOnClose);
    auto *area = new QMdiArea(main);
    main->setCentralWidget(area);
    QPointer<frmSac2Mot> w = newExercise(f.env);
    area->addSubWindow(w);
    main->show();
    QTRY_COMPARE(f.env.played().size(), 1);
    QTRY_VERIFY(f.env.soundOutput->isPlaying());
    QPointer<QMainWindow> mainAlive(main);
    area->closeAllSubWindows();
    main->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(w.isNull());
    QVERIFY(mainAlive.isNull());
    f.env.soundOutput->end();
    QTRY_VERIFY(!f.env.sound.isBusy());
}

void tst_frmSac2Mot::eventsWhileTheBravoSounds()
{
    ExerciseFixture f({"Le chat dort.", "Il pleut."});
    copySounds(f.env);
    f.env.settings.SaveSetting(Settings::Son, "1");
    f.env.settings.SaveSetting(Settings::NbPhrases, "0");
    f.open(0);
    f.w().TexteResultat_DragDrop(f.wrongTile(), 0, 0);
    f.w().TexteResultat_DragDrop(0, 0, 0);
    f.w().TexteResultat_DragDrop(1, 0, 0);
    f.w().TexteResultat_DragDrop(2, 0, 0);
    QVERIFY(f.tick(0));
    // The sentence is counted before "bravo.mp3" is heard.
    QCOMPARE(f.w().phase(), Phase::SentenceDone);
    QCOMPARE(f.session().sentencesLeft(), 4.0);
    QCOMPARE(fileNames(f.env.played()).last(), QStringLiteral("bravo.mp3"));
    QTRY_VERIFY(f.env.soundOutput->isPlaying());

    // While it sounds: the blank tile, another word check, a tick, then "Nouveau".
    f.w().TexteResultat_DragDrop(3, 0, 0);
    f.w().Timer_Timer(0);
    f.w().Timer_Timer(3);
    f.queueStart(1);
    f.w().Nouveau_Click();
    QCOMPARE(f.session().sentencesLeft(), 4.0);
    QCOMPARE(f.session().totalErrors(), 1);
    QCOMPARE(f.w().phase(), Phase::InPlay);
    QCOMPARE(f.session().deck().current(), 1);
    QVERIFY(label(f.w(), "Texte")->text().isEmpty());
    QVERIFY(button(f.w(), "Nouveau")->isHidden());
    QVERIFY(f.timerOn(2) && f.timerOn(3));
    f.env.soundOutput->end();
    QTRY_VERIFY(!f.env.sound.isBusy());
    QCOMPARE(f.w().phase(), Phase::InPlay);
}

void tst_frmSac2Mot::noHandlerRunsTheEventLoop()
{
    // Every pass of the event loop wakes the dispatcher: none may happen inside a handler.
    ExerciseFixture f({"Le chat dort.", "Il pleut."});
    copySounds(f.env);
    f.env.settings.SaveSetting(Settings::Son, "1");
    f.env.settings.SaveSetting(Settings::LectureVoixHaute, "2");
    f.env.settings.SaveSetting(Settings::NbPhrases, "0");
    int inHandler = 0;
    int nested = 0;
    QObject watcher;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake,
                     &watcher, [&] { nested += inHandler > 0 ? 1 : 0; });
    auto handle = [&](const std::function<void()> &handler) {
        ++inHandler;
        handler();
        --inHandler;
        // Between two handlers the loop runs as it would for the pupil: sounds go on.
        QCoreApplication::processEvents();
    };
    f.queueStart(0);
    f.window.reset(newExercise(f.env));
    handle([&] { f.w().Form_Load(); });
    handle([&] { f.w().Form_Activate(); });
    handle([&] { f.w().Ecouter_Click(); });
    handle([&] { f.w().Form_DragDrop(0, 3000, 2000); });
    handle([&] { f.w().TexteResultat_DragDrop(f.wrongTile(), 0, 0); });
    handle([&] { f.w().Timer_Timer(frmSac2Mot::RetryPrompt); });
    for (int i = 0; i < 3; ++i) {
        handle([&] { f.w().TexteResultat_DragDrop(i, 0, 0); });
        handle([&] { f.w().Timer_Timer(frmSac2Mot::WordCheck); });
    }
    QCOMPARE(f.w().phase(), Phase::SentenceDone);
    handle([&] { f.queueStart(1); f.w().Nouveau_Click(); });
    handle([&] { f.runOut(frmSac2Mot::HintClock); });
    handle([&] { f.runOut(frmSac2Mot::SentenceClock); });
    handle([&] { f.w().Quitter_Click(); });
    QCOMPARE(nested, 0);
    // What was heard, in order, each asked for once its handler had changed everything.
    QVERIFY(fileNames(f.env.played()).contains(QStringLiteral("bravo.mp3")));
    QVERIFY(f.env.said().contains(QStringLiteral("Le chat dort.")));
}

void tst_frmSac2Mot::ecouterSaysTheSentence()
{
    ExerciseFixture f({"Le chat dort."});
    frmSac2Mot &w = f.open(0, true);
    QPushButton *ecouter = button(w, "Ecouter");
    QVERIFY(ecouter->isVisible() && ecouter->isEnabled());
    QCOMPARE(ecouter->text(), QStringLiteral("É&couter"));
    QVERIFY(!ecouter->icon().isNull());
    QCOMPARE(WindowChecks::outside(&w, {"Ecouter"}), QStringList());
    QCOMPARE(WindowChecks::overlaps(&w, {"Ecouter", "Nouveau", "Quitter", "TexteResultat", "Texte"}),
             QStringList());
    QCOMPARE(WindowChecks::textsCut(&w, {"Ecouter"}), QStringList());
    // With reading aloud off nothing was said at the start; the button says it, and Alt+C too.
    QVERIFY(f.env.said().isEmpty());
    f.click(ecouter);
    QCOMPARE(f.env.said(), QStringList{"Le chat dort."});
    QCOMPARE(f.lastLine(), QStringLiteral("L'élève a écouté la phrase."));
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(w.windowHandle(), Qt::Key_C, Qt::AltModifier);
    QTRY_COMPARE(f.env.said().size(), 2); // the button's short animated press
    QCOMPARE(f.tileOf("Le"), 0); // nothing of the sentence changed
    QVERIFY(f.timerOn(2) && f.timerOn(3));
}

void tst_frmSac2Mot::ecouterWithoutAVoice()
{
    ExerciseFixture f({"Le chat dort."});
    f.env.speechFailure = QStringLiteral("La synthèse vocale n'est pas installée (paquet libespeak-ng1).");
    f.env.settings.SaveSetting(Settings::LectureVoixHaute, "2");
    frmSac2Mot &w = f.open(0, true);
    QPushButton *ecouter = button(w, "Ecouter");
    // The voice is tried as the exercise starts; it fails: the button says why.
    QTRY_VERIFY(!ecouter->isEnabled());
    QCOMPARE(ecouter->toolTip(), f.env.speechFailure);
    // The exercise plays on, in silence.
    w.TexteResultat_DragDrop(0, 0, 0);
    QCOMPARE(f.answer(), QStringLiteral("Le"));
    // Nothing waits for the voice that is not there: the greeting's pause ends, then all is still.
    QTRY_VERIFY(!f.env.sound.isBusy());
    w.Ecouter_Click();
    QVERIFY(!f.env.sound.isBusy());
}

void tst_frmSac2Mot::sentenceReadBackWordByWord()
{
    ExerciseFixture f({"Le chat dort."});
    f.env.settings.SaveSetting(Settings::LectureVoixHaute, "1");
    frmSac2Mot &w = f.open();
    QTRY_COMPARE(f.env.said(), QStringList{"Le chat dort."}); // said once at the start
    f.placeAll(false);
    QCOMPARE(w.phase(), Phase::SentenceDone);
    QCOMPARE(f.env.said().mid(f.env.said().size() - 2),
             (QStringList{"Le chat dort.", "Tu n'as fait aucune erreur!!!"}));
    // The fake voice says a word every 100 ms; each is shown in the answer box as it is heard.
    auto *box = label(w, "TexteResultat");
    QTRY_VERIFY(box->text().contains(QStringLiteral(">Le</span>")));
    QCOMPARE(box->textFormat(), Qt::RichText);
    QTRY_VERIFY(box->text().contains(QStringLiteral(">chat</span>")));
    QTRY_VERIFY(box->text().contains(QStringLiteral(">dort.</span>")));
    QVERIFY(QTextDocumentFragment::fromHtml(box->text()).toPlainText() == "Le chat dort.");
    // Heard to its end: the plain answer again, then the bubble is said.
    f.env.soundOutput->end();
    QCOMPARE(box->textFormat(), Qt::PlainText);
    QCOMPARE(box->text(), QStringLiteral("Le chat dort."));
}

void tst_frmSac2Mot::tilesSayTheirWords()
{
    ExerciseFixture f({"Le chat dort."});
    f.env.settings.SaveSetting(Settings::LectureVoixHaute, "2");
    frmSac2Mot &w = f.open(0, true);
    f.env.heard.clear();
    // Pressed with the mouse (or a finger), and reached with the keyboard.
    QTest::mousePress(w.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      f.tile(1)->mapTo(&w, f.tile(1)->rect().center()));
    QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                        f.tile(1)->mapTo(&w, f.tile(1)->rect().center()));
    QCOMPARE(f.env.said(), QStringList{"chat"});
    f.tile(0)->setFocus();
    QTest::keyClick(f.tile(0), Qt::Key_Right);
    QVERIFY(f.tile(1)->hasFocus());
    QCOMPARE(f.env.said(), (QStringList{"chat", "chat"}));
    QTest::keyClick(f.tile(1), Qt::Key_Tab);
    QCOMPARE(f.env.said().size(), 3);
    // Reading the sentence only: the tiles are silent.
    f.env.settings.SaveSetting(Settings::LectureVoixHaute, "1");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(f.env.said().size(), 3);
}

void tst_frmSac2Mot::wholeExerciseWithTheMouse()
{
    const QStringList file{"Le chat dort.", "Il pleut beaucoup.", "Papa lit le journal.",
                           "Une souris verte.", "Bonjour, Paul !"};
    ExerciseFixture f(file);
    f.env.settings.SaveSetting(Settings::NbPhrases, "0");
    f.env.settings.SaveSetting(Settings::Son, "1");
    f.open(0, true);
    frmSac2Mot &w = f.w();
    const int firstLine = f.lineCount();
    QStringList expected;
    for (int s = 0; s < 5; ++s) {
        if (s > 0) {
            f.queueStart(s);
            f.click(button(w, "Nouveau"));
            QCOMPARE(w.phase(), Phase::InPlay);
        }
        const QStringList words = file[s].split(' ');
        QString answer;
        for (int k = 0; k < words.size(); ++k) {
            if (s == 2 && k == 1) { // moves a tile about first
                const int t = f.tileOf(words[k]);
                f.drag(t, QPoint(330, 270));
                expected << "Déplacement du mot ' " + words[k] + " '.";
            }
            if ((s == 1 || s == 3) && k < 2) { // wrong words: 4 in all
                const int wrong = f.wrongTile();
                f.dragToAnswer(wrong);
                expected << ExerciseRules::candidate(answer, f.tile(wrong)->text());
                QVERIFY(f.tick(1));
            }
            answer = ExerciseRules::candidate(answer, words[k]);
            f.dragToAnswer(f.tileOf(words[k]));
            QCOMPARE(f.answer(), answer);
            expected << answer;
            QVERIFY(f.tick(0));
        }
        const int e = (s == 1 || s == 3) ? 2 : 0;
        expected << JournalEvent::sentenceEnd(e).text();
    }
    expected << "L'élève a une note de 19/20";
    QCOMPARE(w.messageText(), QStringLiteral("Ta note est 19/20"));
    QCOMPARE(w.phase(), Phase::ExerciseOver);
    f.click(button(w, "Quitter"));
    expected << "Fin de l'exercice avec le bouton 'QUITTER'";
    QVERIFY(!w.isVisible());

    QStringList journal;
    for (int i = firstLine; i < f.lineCount(); ++i)
        journal << f.lines()[i].text;
    QCOMPARE(journal, expected);
    QCOMPARE(int(fileNames(f.env.played()).count("bravo.mp3")), 5);
    QCOMPARE(int(fileNames(f.env.played()).count("incorrect.mp3")), 4);
    QCOMPARE(fileNames(f.env.played()).last(), QStringLiteral("cgagne.mp3"));
}

void tst_frmSac2Mot::soak()
{
    // A pupil who does anything at all, 1,000 sentences long; the counters must agree with
    // what happened after every single event.
    const QStringList file{"Le chat dort.", "le chat le chien", "Il a  faim",
                           "Bonjour, Paul !", "un ami a un ami", "Papa lit le journal du matin.",
                           "La la la."};
    ExerciseFixture f(file);
    f.env.settings.SaveSetting(Settings::NbPhrases, "3"); // 20 sentences per exercise
    f.env.random.fallback = 0.3;
    std::mt19937 chance(20011015);
    auto roll = [&](int n) { return int(chance() % unsigned(n)); };

    int sentences = 0;
    int exercises = 0;
    while (sentences < 1000) {
        f.env.random.values.push_back(roll(1000) / 1000.0);
        f.window.reset(newExercise(f.env));
        frmSac2Mot &w = *f.window;
        w.Form_Load();
        w.Form_Activate();
        ++exercises;
        const double total = f.session().sentencesPerExercise();
        int done = 0;
        int errorsDone = 0;
        int errorsHere = 0;
        int afterTheEnd = 0; // events tried once the exercise is over
        while (afterTheEnd < 5 && sentences < 1000) {
            if (w.phase() == Phase::ExerciseOver)
                ++afterTheEnd;
            const QString sentence = f.session().deck().currentSentence();
            const int rows = f.lineCount();
            const int event = roll(20);
            const QString expected = ExerciseRules::expectedNextWord(f.answer(), sentence);
            std::array<QColor, 128> colours;
            for (int i = 0; i < 128; ++i)
                colours[std::size_t(i)] = f.tile(i)->textColor();
            const bool inPlay = w.phase() == Phase::InPlay;

            // Now and then the pupil still drags and the clocks still tick before "Nouveau".
            if ((w.phase() == Phase::SentenceDone || w.phase() == Phase::TimeUp) && roll(3) == 0) {
                f.env.random.values.push_back(roll(1000) / 1000.0);
                w.Nouveau_Click();
                errorsHere = 0;
                ++sentences;
            } else if (event < 6) { // the right word
                const int t = f.tileOf(expected);
                if (t >= 0)
                    w.TexteResultat_DragDrop(t, 0, 0);
            } else if (event < 8) { // a wrong word
                const int t = f.wrongTile();
                if (t >= 0) {
                    w.TexteResultat_DragDrop(t, 0, 0);
                    if (inPlay) {
                        ++errorsHere;
                        QVERIFY(f.lastLineRed());
                    }
                }
            } else if (event < 9) { // the blank tile
                w.TexteResultat_DragDrop(f.session().deck().lastWord(), 0, 0);
            } else if (event < 10) { // a move on the background
                const int t = roll(f.session().deck().lastWord() + 1);
                if (!f.tile(t)->isHidden()) {
                    const int ox = roll(600), oy = roll(300), x = roll(9000), y = roll(6000);
                    w.Mot_DragOver(t, t, ox, oy);
                    w.Form_DragDrop(t, x, y);
                    // Where it was dropped, moved only as far as keeps it wholly on the scene.
                    const QRectF target = f.session().tile(t).target;
                    QCOMPARE(f.tile(t)->twipsPos(),
                             ExerciseRules::keepInScene(target, QPointF(x - ox, y - oy)));
                    QVERIFY(ExerciseRules::sceneTwips().contains(
                        target.translated(f.tile(t)->twipsPos())));
                    QCOMPARE(f.lastLine(), "Déplacement du mot '" + f.tile(t)->text() + "'.");
                }
            } else { // a clock ticks; now and then its time runs out
                const int index = roll(4);
                const bool runOut = (index == 2 && roll(4) == 0) || (index == 3 && roll(10) == 0);
                const bool wasComplete = w.phase() == Phase::InPlay && index == 0
                                         && ExerciseRules::isComplete(f.answer(), sentence)
                                         && f.timerOn(0);
                if (runOut)
                    f.runOut(index);
                else
                    f.tick(index);
                if (wasComplete) {
                    ++done;
                    errorsDone += errorsHere;
                }
            }

            // Invariants.
            QVERIFY(f.session().sentencesLeft() >= 0);
            QCOMPARE(f.session().sentencesLeft(), total - done);
            QCOMPARE(f.session().totalErrors(), errorsDone);
            if (inPlay && w.phase() == Phase::InPlay)
                QCOMPARE(f.session().sentenceErrors(), errorsHere);
            QVERIFY(ExerciseRules::isCorrectBeginning(f.answer(), sentence)
                    || w.phase() == Phase::TimeUp);
            for (int i = 0; i < 128; ++i) {
                if (f.tile(i)->textColor() == Blue && colours[std::size_t(i)] != Blue) {
                    QVERIFY(!f.tile(i)->isHidden());
                    QCOMPARE(f.tile(i)->word(), expected);
                    QCOMPARE(f.lastLine(), "Le mot bleu est '" + f.tile(i)->text() + "'.");
                }
            }
            if (w.phase() != Phase::InPlay) {
                for (int i = 0; i < 4; ++i)
                    QVERIFY(!f.timerOn(i));
            } else {
                QVERIFY(f.timerOn(3));
            }
            QVERIFY(f.lineCount() - rows <= 3);
            if (QTest::currentTestFailed())
                return;
        }
        if (w.phase() == Phase::ExerciseOver) {
            ++sentences;
            QCOMPARE(done, int(total));
        }
    }
    QVERIFY(exercises >= 2);
}

QTEST_MAIN(tst_frmSac2Mot)
#include "tst_frmsac2mot.moc"
