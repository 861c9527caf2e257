#include "svgicon.h"

#include "paintedicon.h"

#include <QPainter>
#include <QSvgRenderer>

#include <memory>

QIcon svgIcon(const QString &resource, const QList<QSize> &sizes, int keptUpTo)
{
    // The file is read at the first drawing, which a window icon only needs once shown.
    auto renderer = std::make_shared<std::unique_ptr<QSvgRenderer>>();
    auto loaded = [renderer, resource]() -> QSvgRenderer & {
        if (!*renderer)
            *renderer = std::make_unique<QSvgRenderer>(resource);
        return **renderer;
    };
    return paintedIcon(
        [loaded](QPainter &painter, const QSize &size) {
            loaded().render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
        },
        sizes, keptUpTo, [loaded] { return loaded().isValid(); });
}
