#pragma once
#include <QPixmap>
#include <QString>
#include <QSvgRenderer>
#include <QWidget>

// A picture drawn from an SVG resource at the screen's device pixel ratio, so that it stays
// sharp on high-density screens and at any size. The rendering is kept until the size or the
// ratio changes.
class SvgPicture : public QWidget
{
    Q_OBJECT
public:
    SvgPicture(const QString &resource, QWidget *parent);

    bool isValid() const { return m_renderer.isValid(); }

    // Draws the picture at this size from the top left corner, cropped by the widget; an empty
    // size (the default) draws it at the widget's size.
    void setPictureSize(QSize size);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSvgRenderer m_renderer;
    QSize m_pictureSize;
    QPixmap m_cache;
};
