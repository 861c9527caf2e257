#pragma once
#include <QPixmap>
#include <QString>
#include <QSvgRenderer>
#include <QWidget>

// A picture drawn from an SVG resource at the screen's device pixel ratio, so that it stays
// sharp on high-density screens. The rendering is kept until the size or the ratio changes.
class SvgPicture : public QWidget
{
    Q_OBJECT
public:
    SvgPicture(const QString &resource, QWidget *parent);

    bool isValid() const { return m_renderer.isValid(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSvgRenderer m_renderer;
    QPixmap m_cache;
};
