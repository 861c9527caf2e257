#pragma once
#include <QPixmap>
#include <QString>
#include <QSvgRenderer>
#include <QTimer>
#include <QWidget>

// A picture drawn from an SVG resource at the screen's device pixel ratio, so that it stays
// sharp on high-density screens and at any size.
//
// Once its size has settled the rendering is kept, so that what moves over it (a dragged word)
// repaints from the kept picture. While the size changes (a window being enlarged) it is drawn
// straight onto the screen: making a picture of the new size first would cost more than
// drawing it, for a picture that the next size throws away.
class SvgPicture : public QWidget
{
    Q_OBJECT
public:
    SvgPicture(const QString &resource, QWidget *parent);

    bool isValid() const { return m_renderer.isValid(); }

    // Draws the picture at this size from the top left corner, cropped by the widget; an empty
    // size (the default) draws it at the widget's size.
    void setPictureSize(QSize size);

    // For a picture opaque over its whole size: the widget then paints every pixel itself,
    // this colour where the picture does not reach, and what lies under it is not painted.
    void setOpaqueBackground(const QColor &color);

    // Whether the rendering at the present size is kept.
    bool hasKeptPicture() const { return !m_cache.isNull() && m_cache.size() == deviceSize(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSize drawnSize() const;
    QSize deviceSize() const;
    void keepPicture();

    QSvgRenderer m_renderer;
    QSize m_pictureSize;
    QColor m_background; // invalid: transparent around the picture
    QPixmap m_cache;
    QTimer m_settle; // the size has not changed for a moment: the rendering is kept
};
