#include "welcomedesign.h"

#include "welcomepictures.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPathStroker>
#include <QTransform>

#include <cmath>

namespace {
QFont boldSans(qreal pixels)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(qRound(pixels));
    return font;
}

// `text` as an outline whose baseline is centred on (x, y).
QPainterPath centredText(const QFont &font, qreal x, qreal y, const QString &text)
{
    QPainterPath path;
    path.addText(x - QFontMetricsF(font).horizontalAdvance(text) / 2, y, font, text);
    return path;
}

// The area a pen covers along `path`.
QPainterPath stroked(const QPainterPath &path, qreal width, Qt::PenCapStyle cap,
                     Qt::PenJoinStyle join = Qt::BevelJoin)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(join);
    return stroker.createStroke(path);
}

// `path` as the program draws it again from the outline written, to a thousandth of a unit:
// with the points that lead nowhere then left out, as QPainterPath leaves them out.
QPainterPath redrawn(const QPainterPath &path)
{
    QPainterPath again;
    again.setFillRule(Qt::WindingFill);
    auto point = [&path](int i) {
        const QPainterPath::Element e = path.elementAt(i);
        return QPointF(std::round(e.x * 1000) / 1000, std::round(e.y * 1000) / 1000);
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.type == QPainterPath::MoveToElement) {
            again.moveTo(point(i));
        } else if (e.type == QPainterPath::LineToElement) {
            again.lineTo(point(i));
        } else if (e.type == QPainterPath::CurveToElement) {
            again.cubicTo(point(i), point(i + 1), point(i + 2));
            i += 2;
        }
    }
    return again;
}

QPainterPath line(qreal x1, qreal y1, qreal x2, qreal y2)
{
    QPainterPath path(QPointF(x1, y1));
    path.lineTo(x2, y2);
    return path;
}

QPainterPath circle(qreal x, qreal y, qreal radius)
{
    QPainterPath path;
    path.addEllipse(QPointF(x, y), radius, radius);
    return path;
}

struct Letter {
    char letter;
    qreal x, y;     // the middle of its baseline
    qreal angle;    // turned about (x, turnY)
    qreal turnY;
};

// In the order of their colours (welcomepictures.cpp).
constexpr Letter Letters[] = {
    {'A', 60, 172, -10, 134},
    {'B', 146, 164, 7, 124},
    {'C', 234, 174, -5, 134},
    {'D', 320, 164, 9, 124},
    {'E', 406, 172, -7, 134},
};

QPainterPath turnedLetter(const QFont &font, const Letter &letter)
{
    QTransform turned;
    turned.translate(letter.x, letter.turnY);
    turned.rotate(letter.angle);
    turned.translate(-letter.x, -letter.turnY);
    return turned.map(centredText(font, letter.x, letter.y, QString(QLatin1Char(letter.letter))));
}
} // namespace

QList<WelcomeOutline> welcomeOutlines()
{
    QList<WelcomeOutline> outlines;
    auto add = [&outlines](const QString &name, const QPainterPath &path) {
        outlines.append({name, redrawn(path)});
    };

    // The welcome picture, in its 480 x 360 design.
    const QFont letters = boldSans(112);
    for (int i = 0; i < int(std::size(Letters)); ++i) {
        const QPainterPath outline = turnedLetter(letters, Letters[i]);
        add(QStringLiteral("Letter%1").arg(i), outline);
        add(QStringLiteral("Letter%1Edge").arg(i),
            stroked(outline, 4, Qt::RoundCap, Qt::RoundJoin));
    }
    add(QStringLiteral("Name"), centredText(boldSans(76), 200, 300, QStringLiteral("Plumalin")));
    QPainterPath underline(QPointF(54, 322));
    underline.quadTo(200, 344, 346, 322);
    add(QStringLiteral("Underline"), stroked(underline, 6, Qt::RoundCap));
    add(QStringLiteral("Dot0"), circle(110, 30, 5));
    add(QStringLiteral("Dot1"), circle(372, 22, 6));
    add(QStringLiteral("Dot2"), circle(36, 208, 6));
    // The feather's, about its own origin, which the picture turns.
    add(QStringLiteral("FeatherSpine"), stroked(line(0, -62, 0, 66), 3, Qt::RoundCap));
    const qreal barbs[][4] = {{0, -40, 12, -49}, {0, -22, 15, -31}, {0, 16, 10, 8},
                              {0, -44, -12, -53}, {0, -26, -16, -35}, {0, 18, -11, 9}};
    QPainterPath barbLines;
    for (const auto &b : barbs)
        barbLines.addPath(line(b[0], b[1], b[2], b[3]));
    add(QStringLiteral("FeatherBarbs"), stroked(barbLines, 1.8, Qt::RoundCap));

    // The program's icon, in its 64 x 64 design.
    QPainterPath paper;
    paper.addRoundedRect(QRectF(2, 2, 60, 60), 13, 13);
    add(QStringLiteral("IconPaper"), paper);
    add(QStringLiteral("IconPaperEdge"), stroked(paper, 2.5, Qt::SquareCap));
    // The letter, drawn as strokes rather than text: the same without any font, and readable
    // down to 16 x 16.
    QPainterPath letter(QPointF(11, 53));
    letter.lineTo(27, 11);
    letter.lineTo(43, 53);
    letter.moveTo(17.5, 38);
    letter.lineTo(36.5, 38);
    add(QStringLiteral("IconLetterEdge"), stroked(letter, 12, Qt::RoundCap, Qt::RoundJoin));
    add(QStringLiteral("IconLetter"), stroked(letter, 8, Qt::RoundCap, Qt::RoundJoin));
    // The feather's, about its own origin, which the icon turns.
    add(QStringLiteral("IconVaneEdge"),
        stroked(iconFeatherVane(), 1.5, Qt::FlatCap, Qt::RoundJoin));
    add(QStringLiteral("IconSpine"), stroked(line(0, -18, 0, 22), 2, Qt::RoundCap));
    return outlines;
}
