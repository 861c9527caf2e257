// Writes src/shell/welcomeoutlines.inc, the outlines the main window's pictures are drawn from,
// from their design (src/shell/welcomedesign.cpp), with the fonts installed:
//   cmake --build build --target plumalin_welcome_outlines
//   QT_QPA_PLATFORM=offscreen build/tools/plumalin_welcome_outlines > src/shell/welcomeoutlines.inc
// tests/shell checks that the file written matches the design.
#include "shell/welcomedesign.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (!QFontDatabase::families().contains(QStringLiteral("Liberation Sans"))) {
        std::fprintf(stderr, "Liberation Sans is not installed (fonts-liberation)\n");
        return 1;
    }
    std::printf("// Written by tools/welcome_outlines.cpp from src/shell/welcomedesign.cpp: not to be "
                "edited.\n");
    const QList<WelcomeOutline> outlines = welcomeOutlines();
    for (const WelcomeOutline &o : outlines) {
        const QByteArray name = o.name.toLatin1();
        QByteArray kinds;
        QByteArray points;
        int onLine = 0;
        auto point = [&](qreal x, qreal y) {
            points += QByteArray::number(x, 'f', 3) + ',' + QByteArray::number(y, 'f', 3) + ',';
            points += (++onLine % 8 == 0) ? "\n    " : " ";
        };
        for (int i = 0; i < o.path.elementCount(); ++i) {
            const QPainterPath::Element e = o.path.elementAt(i);
            switch (e.type) {
            case QPainterPath::MoveToElement:
                kinds += 'M';
                break;
            case QPainterPath::LineToElement:
                kinds += 'L';
                break;
            case QPainterPath::CurveToElement:
                kinds += 'C';
                break;
            case QPainterPath::CurveToDataElement:
                break;
            }
            point(e.x, e.y);
        }
        std::printf("constexpr float %sPoints[] = {\n    %s};\n", name.constData(),
                    points.trimmed().constData());
        std::printf("constexpr BakedOutline %s{\"%s\", %sPoints};\n", name.constData(),
                    kinds.constData(), name.constData());
    }
    std::printf("constexpr std::pair<const char *, const BakedOutline *> AllOutlines[] = {\n");
    for (const WelcomeOutline &o : outlines) {
        const QByteArray name = o.name.toLatin1();
        std::printf("    {\"%s\", &%s},\n", name.constData(), name.constData());
    }
    std::printf("};\n");
    return 0;
}
