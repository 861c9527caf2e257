#pragma once
#include "ui/svgdrawing.h"

#include <QString>
#include <QWidget>

#include <memory>

// A picture drawn from an SVG resource straight onto the screen, sharp at any size and on
// high-density screens.
//
// Only the part asked for is drawn, and no rendering is kept: what moves over the picture (a
// dragged word) repaints a word's area in about a tenth of a millisecond, where a kept
// rendering would hold the window's whole area in memory (8 MiB for a maximised window).
class SvgPicture : public QWidget
{
    Q_OBJECT
public:
    SvgPicture(const QString &resource, QWidget *parent);

    bool isValid() const { return m_drawing->isValid(); }

    // Draws the picture at this size from the top left corner, cropped by the widget; an empty
    // size (the default) draws it at the widget's size.
    void setPictureSize(QSize size);

    // For a picture opaque over its whole size: the widget then paints every pixel itself,
    // this colour where the picture does not reach, and what lies under it is not painted.
    void setOpaqueBackground(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSize drawnSize() const;

    std::unique_ptr<SvgDrawing> m_drawing;
    QSize m_pictureSize;
    QColor m_background; // invalid: transparent around the picture
};
