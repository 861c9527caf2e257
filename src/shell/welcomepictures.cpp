#include "welcomepictures.h"

#include "ui/fixedturn.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <string_view>

namespace {
// An outline written by tools/welcome_outlines.cpp: 'M' starts a figure at the next point, 'L'
// draws a line to it, 'C' a cubic curve through the next three.
struct BakedOutline {
    std::string_view kinds;
    const float *points;
};

#include "welcomeoutlines.inc"

QPainterPath outline(const BakedOutline &baked)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    const float *p = baked.points;
    for (const char kind : baked.kinds) {
        switch (kind) {
        case 'M':
            path.moveTo(p[0], p[1]);
            p += 2;
            break;
        case 'L':
            path.lineTo(p[0], p[1]);
            p += 2;
            break;
        default:
            path.cubicTo(p[0], p[1], p[2], p[3], p[4], p[5]);
            p += 6;
            break;
        }
    }
    return path;
}

// Places the painter's origin and scale so that a design of `designed` units fills `rect`.
void fitDesign(QPainter &painter, const QRectF &rect, QSizeF designed)
{
    painter.translate(rect.topLeft());
    painter.scale(rect.width() / designed.width(), rect.height() / designed.height());
}

// A twinkle: a four-pointed star around (x, y).
QPainterPath twinkle(qreal x, qreal y, qreal tip, qreal waist)
{
    QPainterPath star;
    star.moveTo(x, y - tip);
    star.lineTo(x + waist, y - waist);
    star.lineTo(x + tip, y);
    star.lineTo(x + waist, y + waist);
    star.lineTo(x, y + tip);
    star.lineTo(x - waist, y + waist);
    star.lineTo(x - tip, y);
    star.lineTo(x - waist, y - waist);
    star.closeSubpath();
    return star;
}

// A gradient across the bounding box of whatever it fills, from its top left corner to its
// bottom right one.
QLinearGradient diagonal(std::initializer_list<std::pair<qreal, QColor>> stops)
{
    QLinearGradient gradient(0, 0, 1, 1);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    for (const auto &[at, colour] : stops)
        gradient.setColorAt(at, colour);
    return gradient;
}

// Turns what the painter draws next about its origin.
void turn(QPainter &painter, const FixedTurn &by)
{
    painter.setWorldTransform(by.transform(), true);
}

struct LetterColours {
    QRgb fill, edge;
};
// The colours of "ABCDE", in order.
constexpr LetterColours Letters[] = {
    {0xef476f, 0xc9304f}, {0xff9f1c, 0xd97d00}, {0x2ec27e, 0x1e9660},
    {0x3a86ff, 0x2163cc}, {0x9b5de5, 0x7a3fc2},
};
constexpr const BakedOutline *LetterShapes[][2] = {
    {&Letter0, &Letter0Edge}, {&Letter1, &Letter1Edge}, {&Letter2, &Letter2Edge},
    {&Letter3, &Letter3Edge}, {&Letter4, &Letter4Edge},
};
// Each letter's soft shadow lies this far to the right of and below it.
constexpr QPointF ShadowOffset(6, 6);
} // namespace

QPainterPath bakedWelcomeOutline(const QString &name)
{
    for (const auto &[bakedName, baked] : AllOutlines) {
        if (name == QLatin1String(bakedName))
            return outline(*baked);
    }
    return {};
}

void drawWelcomeLogo(QPainter &painter, const QRectF &rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    fitDesign(painter, rect, {480, 360});
    painter.fillRect(QRectF(0, 0, 480, 360), Qt::white);
    painter.setPen(Qt::NoPen);

    painter.setBrush(QColor(0xffd34d));
    painter.drawPath(twinkle(28, 50, 14, 4));
    painter.drawPath(twinkle(452, 38, 10, 3));
    painter.drawPath(twinkle(440, 224, 10, 3));
    painter.fillPath(outline(Dot0), QColor(0x9be3c4));
    painter.fillPath(outline(Dot1), QColor(0xffb3c7));
    painter.fillPath(outline(Dot2), QColor(0xa9d1ff));

    QPainterPath letters[std::size(Letters)];
    for (std::size_t i = 0; i < std::size(Letters); ++i)
        letters[i] = outline(*LetterShapes[i][0]);
    for (const QPainterPath &letter : letters)
        painter.fillPath(letter.translated(ShadowOffset), QColor(0, 0, 0, 20));
    for (std::size_t i = 0; i < std::size(Letters); ++i) {
        painter.fillPath(letters[i], QColor(Letters[i].fill));
        painter.fillPath(outline(*LetterShapes[i][1]), QColor(Letters[i].edge));
    }

    // The feather, held like a quill over the name.
    painter.save();
    painter.translate(418, 232);
    constexpr FixedTurn FeatherTurn = fixedTurn(28);
    turn(painter, FeatherTurn);
    QPainterPath vane(QPointF(0, -72));
    vane.cubicTo(20, -60, 26, -34, 20, -12);
    vane.lineTo(11, -10);
    vane.lineTo(17, 2);
    vane.cubicTo(14, 20, 8, 32, 0, 42);
    vane.cubicTo(-10, 30, -18, 16, -20, 4);
    vane.lineTo(-12, 0);
    vane.lineTo(-22, -10);
    vane.cubicTo(-26, -36, -18, -60, 0, -72);
    vane.closeSubpath();
    painter.fillPath(vane, diagonal({{0, QColor(0x7fd3f5)}, {0.55, QColor(0x8e7cf0)},
                                     {1, QColor(0xf277b8)}}));
    painter.fillPath(outline(FeatherSpine), QColor(0x5a4a8a));
    QColor barb(Qt::white);
    barb.setAlphaF(0.6);
    painter.fillPath(outline(FeatherBarbs), barb);
    painter.restore();

    painter.fillPath(outline(Name), QColor(0x1f4e99));
    painter.fillPath(outline(Underline), QColor(0xffc93c));
    painter.restore();
}

void drawProgramIcon(QPainter &painter, const QRectF &rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    fitDesign(painter, rect, {64, 64});
    QLinearGradient paper(0, 0, 0, 1);
    paper.setCoordinateMode(QGradient::ObjectMode);
    paper.setColorAt(0, QColor(0xfff4c2));
    paper.setColorAt(1, QColor(0xffe08a));
    painter.fillPath(outline(IconPaper), paper);
    painter.fillPath(outline(IconPaperEdge), QColor(0xe8a93a));

    painter.fillPath(outline(IconLetterEdge), QColor(0xb8233f));
    painter.fillPath(outline(IconLetter), QColor(0xef476f));

    painter.translate(51, 32);
    constexpr FixedTurn FeatherTurn = fixedTurn(20);
    turn(painter, FeatherTurn);
    painter.fillPath(iconFeatherVane(), diagonal({{0, QColor(0x6fcaf2)}, {1, QColor(0x8e6cf0)}}));
    painter.fillPath(outline(IconVaneEdge), QColor(0x4a3d8f));
    painter.fillPath(outline(IconSpine), QColor(0x4a3d8f));
    painter.restore();
}
