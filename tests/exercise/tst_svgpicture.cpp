// The drawn classroom, drawn straight onto the screen: a part repainted alone (what a dragged
// word uncovers) is the same as in the whole picture.
#include "exercise/svgpicture.h"
#include "ui/qtsvgdrawing.h"

#include <QImage>
#include <QRegularExpression>
#include <QTest>

class TestSvgPicture : public QObject
{
    Q_OBJECT
private slots:
    void partDrawnAsTheWhole();
    void withoutTheModule();
};

namespace {
// Largest difference of one colour channel between two pictures of the same size.
int largestDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int largest = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            largest = std::max({largest, std::abs(qRed(p[col]) - qRed(q[col])),
                                std::abs(qGreen(p[col]) - qGreen(q[col])),
                                std::abs(qBlue(p[col]) - qBlue(q[col]))});
        }
    }
    return largest;
}
} // namespace

void TestSvgPicture::partDrawnAsTheWhole()
{
    QWidget window;
    window.resize(700, 500);
    auto *scene = new SvgPicture(QStringLiteral(":/exercise/scene.svg"), &window);
    QVERIFY(scene->isValid());
    scene->setOpaqueBackground(Qt::white);
    // Wider than the picture, as in the exercise: a strip on the right is the ground's.
    scene->setGeometry(0, 0, 647, 439);
    scene->setPictureSize(QSize(640, 480));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage whole = scene->grab().toImage();
    QCOMPARE(QColor(whole.pixel(644, 400)), QColor(Qt::white));

    // What a dragged word uncovers is drawn alone, as it looks in the whole picture, wherever
    // it lies: on the blackboard, on the teacher, across the picture's edge.
    for (const QRect &word : {QRect(200, 150, 90, 26), QRect(40, 300, 120, 30), QRect(600, 380, 47, 26)}) {
        QImage part(word.size(), QImage::Format_ARGB32_Premultiplied);
        part.fill(Qt::red);
        scene->render(&part, QPoint(), QRegion(word));
        QVERIFY2(largestDifference(part, whole.copy(word)) <= 2,
                 qPrintable(QStringLiteral("%1,%2").arg(word.x()).arg(word.y())));
    }

    // At another size the picture follows, with the strip beyond it still the ground's.
    scene->setGeometry(0, 0, 1294, 878);
    scene->setPictureSize(QSize(1280, 960));
    const QImage larger = scene->grab().toImage();
    QCOMPARE(larger.size(), QSize(1294, 878));
    QCOMPARE(QColor(larger.pixel(1290, 400)), QColor(Qt::white));
}

void TestSvgPicture::withoutTheModule()
{
    // As in a program whose SVG module is missing (the test's folder has none): the picture is
    // not drawn, and the window around it works and paints.
    useSvgDrawingMaker(nullptr);
    const auto restore = qScopeGuard([] { useSvgDrawingMaker(&makeQtSvgDrawing); });
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
                                           "module « plumalin_svg » .* ne se charge pas")));
    QWidget window;
    window.resize(300, 200);
    auto *scene = new SvgPicture(QStringLiteral(":/exercise/scene.svg"), &window);
    QVERIFY(!scene->isValid());
    scene->setOpaqueBackground(Qt::white);
    scene->setGeometry(0, 0, 300, 200);
    const QImage drawn = scene->grab().toImage();
    QCOMPARE(QColor(drawn.pixel(150, 100)), QColor(Qt::white));
}

QTEST_MAIN(TestSvgPicture)
#include "tst_svgpicture.moc"
