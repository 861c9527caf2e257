#include "svgicon.h"

#include "paintedicon.h"

#include "svgdrawing.h"

#include <QPainter>

#include <memory>

namespace {
// A drawing read at its first use (a window icon only needs it once shown), from a resource's
// name or from SVG text; nothing to read gives no drawing.
struct LazySvg
{
    QString resource;
    QByteArray text;
    std::shared_ptr<std::unique_ptr<SvgDrawing>> renderer =
        std::make_shared<std::unique_ptr<SvgDrawing>>();

    SvgDrawing &loaded() const
    {
        if (!*renderer)
            *renderer = text.isEmpty() ? loadSvgFile(resource) : loadSvgText(text);
        return **renderer;
    }
    IconDrawing drawing() const
    {
        if (resource.isEmpty() && text.isEmpty())
            return {};
        return [svg = *this](QPainter &painter, const QSize &size) {
            svg.loaded().render(painter, QRectF(QPointF(0, 0), QSizeF(size)));
        };
    }
};

QIcon lazySvgIcon(const LazySvg &off, const LazySvg &on, const QList<QSize> &sizes, int keptUpTo)
{
    // A drawing kept in the code is known to be there: asking whether the icon is empty (the
    // style does at once) then reads nothing.
    std::function<bool()> valid;
    if (off.text.isEmpty())
        valid = [off] { return off.loaded().isValid(); };
    return paintedIcon(off.drawing(), sizes, keptUpTo, on.drawing(), valid);
}
} // namespace

QIcon svgIcon(const QString &resource, const QList<QSize> &sizes, int keptUpTo)
{
    return lazySvgIcon({resource, {}}, {}, sizes, keptUpTo);
}

QIcon svgIconFromText(const QByteArray &off, const QByteArray &on, const QList<QSize> &sizes,
                      int keptUpTo)
{
    return lazySvgIcon({{}, off}, {{}, on}, sizes, keptUpTo);
}
