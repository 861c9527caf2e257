#pragma once
#include <QByteArray>
#include <QRectF>
#include <QString>

#include <memory>

class QPainter;

// An SVG drawing. Qt Svg, which reads and draws it, comes with a module of the program
// (libplumalin_svg.so) opened at the first drawing read: showing the main window maps none of it.
class SvgDrawing
{
public:
    virtual ~SvgDrawing() = default;
    virtual bool isValid() const = 0;
    // The whole drawing fitted into `bounds`.
    virtual void render(QPainter &painter, const QRectF &bounds) = 0;
};

// A drawing from a file or resource name, or from SVG text. Never null: when it cannot be read,
// or the module cannot be opened, it is invalid and draws nothing.
std::unique_ptr<SvgDrawing> loadSvgFile(const QString &fileName);
std::unique_ptr<SvgDrawing> loadSvgText(const QByteArray &text);

// What makes the drawings: from a file name when `text` is empty, else from the text. The module
// exports one under the name below.
using MakeSvgDrawing = SvgDrawing *(*)(const QString &fileName, const QByteArray &text);
namespace SvgModule {
inline constexpr char Name[] = "plumalin_svg";
inline constexpr char Factory[] = "plumalin_make_svg_drawing";
}
// Drawings made by `maker` from now on rather than by the module's: for a program that links
// Qt Svg itself (the tests).
void useSvgDrawingMaker(MakeSvgDrawing maker);
