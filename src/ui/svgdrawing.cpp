#include "svgdrawing.h"

#include "platform/programmodule.h"

#include <atomic>

namespace {
std::atomic<MakeSvgDrawing> chosenMaker{nullptr};

class NoDrawing : public SvgDrawing
{
public:
    bool isValid() const override { return false; }
    void render(QPainter &, const QRectF &) override {}
};

std::unique_ptr<SvgDrawing> load(const QString &fileName, const QByteArray &text)
{
    MakeSvgDrawing make = chosenMaker.load();
    if (!make) {
        QString why;
        make = reinterpret_cast<MakeSvgDrawing>(
            programModuleFunction(QLatin1String(SvgModule::Name), SvgModule::Factory, &why));
        if (!make) {
            // Told once: the module is tried once (programModuleFunction keeps its answer).
            static const bool told = [&why] {
                qWarning("%s", qPrintable(why));
                return true;
            }();
            Q_UNUSED(told);
        }
    }
    std::unique_ptr<SvgDrawing> drawing(make ? make(fileName, text) : nullptr);
    if (!drawing)
        drawing = std::make_unique<NoDrawing>();
    return drawing;
}
} // namespace

std::unique_ptr<SvgDrawing> loadSvgFile(const QString &fileName)
{
    return load(fileName, {});
}

std::unique_ptr<SvgDrawing> loadSvgText(const QByteArray &text)
{
    return load({}, text);
}

void useSvgDrawingMaker(MakeSvgDrawing maker)
{
    chosenMaker = maker;
}
