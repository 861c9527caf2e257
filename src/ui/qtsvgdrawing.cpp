#include "qtsvgdrawing.h"

#include <QSvgRenderer>

namespace {
class QtSvgDrawing : public SvgDrawing
{
public:
    QtSvgDrawing(const QString &fileName, const QByteArray &text)
    {
        if (text.isEmpty())
            m_renderer.load(fileName);
        else
            m_renderer.load(text);
    }
    bool isValid() const override { return m_renderer.isValid(); }
    void render(QPainter &painter, const QRectF &bounds) override
    {
        m_renderer.render(&painter, bounds);
    }

private:
    QSvgRenderer m_renderer;
};
} // namespace

SvgDrawing *makeQtSvgDrawing(const QString &fileName, const QByteArray &text)
{
    return new QtSvgDrawing(fileName, text);
}
