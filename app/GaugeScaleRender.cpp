#include "app/GaugeScaleRender.h"

#include "app/GaugeScale.h"

#include <windows.h>

#include <gdiplus.h>

#include <memory>

using namespace Gdiplus;

void GaugeScaleRender::draw(Graphics& g, int orientation, int scale, float width, float height, float minimum,
                            float maximum, uint32_t argb) {
    g.SetTextRenderingHint(TextRenderingHintAntiAliasGridFit);
    const FontFamily* sans = FontFamily::GenericSansSerif();
    std::unique_ptr<Font> font;
    float fontPixels = -1;
    auto fontOf = [&](float pixels) -> Font* {
        if (pixels != fontPixels) {
            font = std::make_unique<Font>(sans, pixels, FontStyleRegular, UnitPixel);
            fontPixels = pixels;
        }
        return font && font->GetLastStatus() == Ok ? font.get() : nullptr;
    };
    const StringFormat* format = StringFormat::GenericDefault();
    GaugeScale::Measure measure = [&](const SString& text, float pixels, SPointFloat origin) {
        SRectFloat box{origin.x, origin.y, 0, 0};
        Font* f = pixels > 0 ? fontOf(pixels) : nullptr;
        if (!f) return box;
        SString copy = text;
        RectF bounds;
        g.MeasureString(copy.toWide(), -1, f, PointF(origin.x, origin.y), format, &bounds);
        return SRectFloat{bounds.X, bounds.Y, bounds.Width, bounds.Height};
    };
    GaugeScale ticks(orientation, scale, width, height, minimum, maximum, measure);

    Pen pen(Color((ARGB)argb), 1.0f);
    for (const GaugeScale::Line& l : ticks.getLines()) g.DrawLine(&pen, l.x1, l.y1, l.x2, l.y2);
    Font* f = ticks.getFontPixels() > 0 ? fontOf(ticks.getFontPixels()) : nullptr;
    if (!f) return; // too small a gauge for readable labels
    SolidBrush brush(Color((ARGB)argb));
    for (const GaugeScale::Label& label : ticks.getLabels()) {
        SString copy = label.text;
        g.DrawString(copy.toWide(), -1, f, PointF(label.x, label.y), format, &brush);
    }
}
