// The drawing seam of graphic elements for builds without GDI+: nothing to draw on, so
// nothing is drawn and nothing is kept.
#include "VEK_GraphicsElement/SGraphicRender.h"

std::unique_ptr<SGraphicResource> SGraphicRender::makeLayer(Gdiplus::Graphics&, int, int,
                                                            const std::function<void(Gdiplus::Graphics&)>&) {
    return nullptr;
}
void SGraphicRender::drawLayer(Gdiplus::Graphics&, SGraphicResource*, int, int) {}
std::unique_ptr<SGraphicResource> SGraphicRender::makePath(const SGraphicGeometry::Outline&) { return nullptr; }
Gdiplus::GraphicsPath* SGraphicRender::pathOf(SGraphicResource*) { return nullptr; }
void SGraphicRender::frame(Gdiplus::Graphics&, const SRectFloat&) {}
void SGraphicRender::fillPath(Gdiplus::Graphics&, Gdiplus::GraphicsPath&, uint32_t) {}
void SGraphicRender::fillRect(Gdiplus::Graphics&, const SRectFloat&, uint32_t) {}
void SGraphicRender::fillEllipse(Gdiplus::Graphics&, const SRectFloat&, uint32_t) {}
void SGraphicRender::lighting(Gdiplus::Graphics&, int, const SRectFloat&, Gdiplus::GraphicsPath*) {}
void SGraphicRender::shadow(Gdiplus::Graphics&, Gdiplus::GraphicsPath&, int, const SRectFloat&) {}
void SGraphicRender::caption(Gdiplus::Graphics&, const SString&, float, const SRectFloat&, uint32_t) {}
