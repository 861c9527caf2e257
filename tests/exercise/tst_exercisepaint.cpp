// Growing the exercise window paints each of its parts once: a second pass would double the
// time a classroom computer takes to show the exercise at its new size.
#include "exercisefixture.h"

#include <QHash>

namespace {
class PaintCounter : public QObject
{
public:
    QHash<QObject *, int> paints;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints[watched];
        return false;
    }
};
} // namespace

class tst_ExercisePaint : public QObject
{
    Q_OBJECT
private slots:
    void oncePerResize_data();
    void oncePerResize();
};

void tst_ExercisePaint::oncePerResize_data()
{
    QTest::addColumn<QSize>("to");
    QTest::newRow("larger") << QSize(1920, 1031);
    QTest::newRow("smaller") << QSize(400, 300);
}

void tst_ExercisePaint::oncePerResize()
{
    QFETCH(QSize, to);
    ExerciseFixture f({"Le petit chat gris dort sur le lit de Papa."});
    frmSac2Mot &w = f.open(0, true);
    const QList<WordTile *> tiles = w.findChildren<WordTile *>();
    QList<WordTile *> shown;
    for (WordTile *tile : tiles) {
        if (tile->isVisible())
            shown.append(tile);
    }
    QVERIFY(shown.size() >= 9);
    QTRY_VERIFY(!w.testAttribute(Qt::WA_PendingUpdate));

    PaintCounter counter;
    w.installEventFilter(&counter);
    for (WordTile *tile : std::as_const(shown))
        tile->installEventFilter(&counter);
    w.resize(to);
    QTRY_VERIFY(counter.paints.value(&w) > 0);
    // Whatever the paint left for later is posted: a few turns deliver it.
    for (int turn = 0; turn < 5; ++turn) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    QCOMPARE(counter.paints.value(&w), 1);
    for (WordTile *tile : std::as_const(shown))
        QVERIFY2(counter.paints.value(tile) == 1,
                 qPrintable(QStringLiteral("%1 painted %2 times")
                                .arg(tile->objectName()).arg(counter.paints.value(tile))));
}

QTEST_MAIN(tst_ExercisePaint)
#include "tst_exercisepaint.moc"
