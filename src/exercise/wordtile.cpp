#include "wordtile.h"

#include "scenescale.h"

#include "common/apptexts.h"
#include "common/sentencefile.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <cmath>

QFont serifFont(double points, bool bold, bool italic, double scale)
{
    QFont font;
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                      QStringLiteral("Tinos"), QStringLiteral("DejaVu Serif"),
                      QStringLiteral("serif")});
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(SceneScale::fontPixels(points, scale));
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont windowFont(double scale)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(SceneScale::fontPixels(8.25, scale));
    font.setBold(true);
    return font;
}

WordTile::WordTile(int index, QWidget *parent)
    : QLabel(parent)
    , m_index(index)
{
    setAutoFillBackground(false);
    setFocusPolicy(Qt::TabFocus);
    setTextFormat(Qt::PlainText);
    setFont(serifFont(m_pointSize, true, true));
}

QString WordTile::word() const
{
    return SentenceFile::trimSpaces(text());
}

void WordTile::setWord(const QString &word)
{
    // The blank last tile shows nothing: the keyboard does not stop on it. Set before the
    // text: a label that takes the focus keeps a text document, which the many tiles left
    // blank need not carry.
    setFocusPolicy(SentenceFile::trimSpaces(word).isEmpty() ? Qt::NoFocus : Qt::TabFocus);
    setText(QLatin1Char(' ') + word + QLatin1Char(' '));
    setToolTip(word);
    setAccessibleName(word);
}

void WordTile::setTextColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

QColor WordTile::textColor() const
{
    return palette().color(QPalette::WindowText);
}

void WordTile::setPointSize(double points)
{
    m_pointSize = points;
    setFont(serifFont(points, true, true, m_scale));
}

void WordTile::place(const SceneScale &scale)
{
    m_scale = scale.factor();
    setFont(serifFont(m_pointSize, true, true, m_scale));
    setContentsMargins(QMargins());
    const QSize text = sizeHint();
    const int target = int(std::lround(MinimumTarget * m_scale));
    const int wide = std::max(0, target - text.width());
    const int high = std::max(0, target - text.height());
    setContentsMargins(wide / 2, high / 2, wide - wide / 2, high - high / 2);
    // The margins only add to the text's size: asking the label again would lay its text out
    // a second time at every resize of the window.
    resize(text + QSize(wide, high));
    move(scale.toWindow(m_twipsPos) - QPoint(wide / 2, high / 2));
    // The text laid out now, with the rest of the resize: QLabel keeps a text document for a
    // label that takes the focus and lays it out lazily, and one laid out while painting asks
    // for the tiles to be painted a second time.
    heightForWidth(width());
}

void WordTile::setFocusFrameShown(bool shown)
{
    m_focusFrameShown = shown;
    if (hasFocus())
        update();
}

QRectF WordTile::targetTwips() const
{
    const QMargins margins = contentsMargins();
    const double twipsPerPixel = 15.0 / m_scale;
    return QRectF(-margins.left() * twipsPerPixel, -margins.top() * twipsPerPixel,
                  width() * twipsPerPixel, height() * twipsPerPixel);
}

QPoint WordTile::textOrigin() const
{
    return pos() + contentsRect().topLeft();
}

void WordTile::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus() || !m_focusFrameShown)
        return;
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = contentsRect().adjusted(0, 0, -1, -1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}
