// The drawn classroom: straight onto the screen while its size changes, from a kept picture
// once it settles, and the same pixels either way.
#include "exercise/svgpicture.h"

#include <QImage>
#include <QTest>

class TestSvgPicture : public QObject
{
    Q_OBJECT
private slots:
    void samePictureDrawnOrKept();
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

void TestSvgPicture::samePictureDrawnOrKept()
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
    QTRY_VERIFY(scene->hasKeptPicture());
    const QImage kept = scene->grab().toImage();

    // A new size: drawn straight away, the kept picture of the old size dropped.
    scene->setGeometry(0, 0, 1294, 878);
    scene->setPictureSize(QSize(1280, 960));
    QVERIFY(!scene->hasKeptPicture());
    const QImage drawn = scene->grab().toImage();
    QVERIFY(!scene->hasKeptPicture());
    QTRY_VERIFY(scene->hasKeptPicture());
    const QImage keptLarger = scene->grab().toImage();
    QCOMPARE(keptLarger.size(), drawn.size());
    QVERIFY2(largestDifference(drawn, keptLarger) <= 2, "the kept picture differs from the drawn one");

    // The strip beyond the picture is the ground's white, drawn or kept.
    QCOMPARE(QColor(drawn.pixel(1290, 400)), QColor(Qt::white));
    QCOMPARE(QColor(kept.pixel(644, 400)), QColor(Qt::white));
}

QTEST_MAIN(TestSvgPicture)
#include "tst_svgpicture.moc"
