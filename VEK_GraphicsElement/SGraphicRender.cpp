#include "VEK_GraphicsElement/SGraphicRender.h"

#include <windows.h>

#include <gdiplus.h>

#include <utility>

namespace {

using namespace Gdiplus;

// A GDI+ object owned through the element model's resource type.
template <class T>
class Held : public SGraphicResource {
public:
    explicit Held(T* heldObject) : object(heldObject) {}
    ~Held() override { delete object; }
    const char* getClassName() const override { return "SGraphicRender::Held"; }
    T* get() const { return object; }

private:
    T* object;
};

Color argb(uint32_t value) { return Color((ARGB)value); }
RectF rectF(const SRectFloat& r) { return RectF(r.x, r.y, r.width, r.height); }
PointF pointF(const SPointFloat& p) { return PointF(p.x, p.y); }

void addSegment(GraphicsPath& path, const SGraphicGeometry::Segment& s) {
    using Segment = SGraphicGeometry::Segment;
    const RectF box = rectF(s.box);
    switch (s.type) {
    case Segment::Line: path.AddLine(pointF(s.points[0]), pointF(s.points[1])); break;
    case Segment::Polygon: {
        std::vector<PointF> corners;
        for (const SPointFloat& p : s.points) corners.push_back(pointF(p));
        path.AddPolygon(corners.data(), (INT)corners.size());
        break;
    }
    case Segment::Arc: path.AddArc(box, s.startAngle, s.sweepAngle); break;
    case Segment::Pie: path.AddPie(box, s.startAngle, s.sweepAngle); break;
    case Segment::Ellipse: path.AddEllipse(box); break;
    case Segment::Rectangle: path.AddRectangle(box); break;
    case Segment::Close: path.CloseFigure(); break;
    }
}

// A cached layer: its bitmap, and the copy made for the device it is drawn on, which is
// quicker but which GDI+ draws only where the target merely moves what it is given.
class Layer : public SGraphicResource {
public:
    Layer(std::unique_ptr<Bitmap> layerBitmap, std::unique_ptr<CachedBitmap> cachedBitmap)
        : bitmap(std::move(layerBitmap)), cached(std::move(cachedBitmap)) {}
    const char* getClassName() const override { return "SGraphicRender::Layer"; }
    std::unique_ptr<Bitmap> bitmap; // none for a layer that stays transparent
    std::unique_ptr<CachedBitmap> cached;
};

// Whether the target maps units to its pixels one to one, only moved: neither zoomed nor
// turned nor mapped to a unit of its own.
bool onlyMoves(Graphics& target) {
    Matrix transform;
    REAL m[6] = {};
    if (target.GetTransform(&transform) != Ok || transform.GetElements(m) != Ok) return false;
    const Unit unit = target.GetPageUnit();
    return m[0] == 1.0f && m[1] == 0.0f && m[2] == 0.0f && m[3] == 1.0f && target.GetPageScale() == 1.0f &&
           (unit == UnitPixel || unit == UnitDisplay);
}

bool isTransparent(Bitmap& bitmap) {
    BitmapData data{};
    Rect all(0, 0, (INT)bitmap.GetWidth(), (INT)bitmap.GetHeight());
    if (bitmap.LockBits(&all, ImageLockModeRead, PixelFormat32bppARGB, &data) != Ok) return false;
    bool clear = true;
    for (UINT y = 0; y < data.Height && clear; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(data.Scan0) + y * data.Stride);
        for (UINT x = 0; x < data.Width; ++x)
            if (row[x] >> 24) {
                clear = false;
                break;
            }
    }
    bitmap.UnlockBits(&data);
    return clear;
}

} // namespace

std::unique_ptr<SGraphicResource> SGraphicRender::makeLayer(Graphics& target, int width, int height,
                                                            const std::function<void(Graphics&)>& paint) {
    if (width <= 0 || height <= 0) return nullptr; // nothing to cache (the platform's zero-size bitmap is not relied on)
    auto bitmap = std::make_unique<Bitmap>(width, height, PixelFormat32bppARGB);
    if (bitmap->GetLastStatus() != Ok) return nullptr;
    {
        Graphics layer(bitmap.get());
        layer.SetSmoothingMode(SmoothingModeAntiAlias);
        paint(layer);
    }
    // Plain and shaped elements leave their layers empty: an empty layer is kept as such and
    // costs nothing to draw.
    if (isTransparent(*bitmap)) return std::make_unique<Layer>(nullptr, nullptr);
    auto cached = std::make_unique<CachedBitmap>(bitmap.get(), &target);
    if (cached->GetLastStatus() != Ok) cached.reset(); // the bitmap itself still draws
    return std::make_unique<Layer>(std::move(bitmap), std::move(cached));
}

void SGraphicRender::drawLayer(Graphics& target, SGraphicResource* resource, int x, int y) {
    auto* layer = dynamic_cast<Layer*>(resource);
    if (!layer || !layer->bitmap) return;
    if (layer->cached && onlyMoves(target) && target.DrawCachedBitmap(layer->cached.get(), x, y) == Ok) return;
    // Zoomed, or mapped to another unit: drawn as any picture, at its size in pixels.
    target.DrawImage(layer->bitmap.get(), x, y, (INT)layer->bitmap->GetWidth(), (INT)layer->bitmap->GetHeight());
}

std::unique_ptr<SGraphicResource> SGraphicRender::makePath(const SGraphicGeometry::Outline& outline) {
    if (!outline.exists) return nullptr;
    auto* path = new GraphicsPath(outline.winding ? FillModeWinding : FillModeAlternate);
    for (const SGraphicGeometry::Segment& s : outline.segments) addSegment(*path, s);
    return std::make_unique<Held<GraphicsPath>>(path);
}

GraphicsPath* SGraphicRender::pathOf(SGraphicResource* path) {
    auto* held = dynamic_cast<Held<GraphicsPath>*>(path);
    return held ? held->get() : nullptr;
}

void SGraphicRender::frame(Graphics& g, const SRectFloat& r) {
    Pen pen(Color(255, 0, 0, 0), 1.0f);
    g.DrawRectangle(&pen, rectF(r));
}

void SGraphicRender::fillPath(Graphics& g, GraphicsPath& path, uint32_t color) {
    SolidBrush brush(argb(color));
    g.FillPath(&brush, &path);
}

void SGraphicRender::fillRect(Graphics& g, const SRectFloat& r, uint32_t color) {
    SolidBrush brush(argb(color));
    g.FillRectangle(&brush, rectF(r));
}

void SGraphicRender::fillEllipse(Graphics& g, const SRectFloat& r, uint32_t color) {
    SolidBrush brush(argb(color));
    g.FillEllipse(&brush, rectF(r));
}

namespace {

void fillWith(Graphics& g, const Brush& brush, const SRectFloat& r, GraphicsPath* path) {
    if (path)
        g.FillPath(&brush, path);
    else
        g.FillRectangle(&brush, rectF(r));
}

} // namespace

void SGraphicRender::lighting(Graphics& g, int light, const SRectFloat& r, GraphicsPath* path) {
    if (r.width <= 0 || r.height <= 0) return; // a gradient over nothing is an invalid brush
    SGraphicGeometry::Gradient gradient;
    if (SGraphicGeometry::gradient(light, gradient)) {
        Color first = argb(gradient.highlightFirst ? Highlight : Fade);
        Color second = argb(gradient.highlightFirst ? Fade : Highlight);
        LinearGradientBrush brush(rectF(r), first, second, (LinearGradientMode)gradient.mode);
        fillWith(g, brush, r, path);
        return;
    }
    if (light != 9) return;
    GraphicsPath ellipse;
    ellipse.AddEllipse(rectF(SGraphicGeometry::centreLightBox(r)));
    PathGradientBrush brush(&ellipse);
    brush.SetCenterColor(argb(Highlight));
    Color surround = argb(Fade);
    INT count = 1;
    brush.SetSurroundColors(&surround, &count);
    fillWith(g, brush, r, path);
}

void SGraphicRender::shadow(Graphics& g, GraphicsPath& path, int light, const SRectFloat& r) {
    if (r.width <= 0 || r.height <= 0) return;
    std::unique_ptr<GraphicsPath> widened(path.Clone());
    if (!widened) return;
    Pen band(Color(0, 255, 255, 255), SGraphicGeometry::ShadowWidth);
    band.SetLineJoin(LineJoinRound);
    widened->Widen(&band, nullptr, 0.25f);
    // The widened outline's first figure is the outer edge of the band.
    GraphicsPathIterator figures(widened.get());
    GraphicsPath outer;
    BOOL closed = FALSE;
    if (figures.NextSubpath(&outer, &closed) <= 0) return;
    SPointFloat offset = SGraphicGeometry::shadowOffset(light);
    Matrix move;
    move.Translate(offset.x, offset.y);
    outer.Transform(&move);

    PathGradientBrush brush(&outer);
    brush.SetCenterPoint(PointF(r.x + r.width / 2, r.y + r.height / 2));
    brush.SetCenterColor(argb(ShadowCore));
    Color edge = argb(ShadowEdge);
    INT count = 1;
    brush.SetSurroundColors(&edge, &count);
    SPointFloat focus = SGraphicGeometry::shadowFocusScales(r.width, r.height);
    brush.SetFocusScales(focus.x, focus.y);
    g.FillPath(&brush, &outer);
}

void SGraphicRender::caption(Graphics& g, const SString& text, float points, const SRectFloat& r, uint32_t color) {
    if (text.isEmpty() || points <= 0) return;
    SString copy = text;
    const wchar_t* wide = copy.toWide();
    Font font(FontFamily::GenericSansSerif(), points, FontStyleRegular, UnitPoint);
    std::unique_ptr<StringFormat> format(StringFormat::GenericDefault()->Clone());
    format->SetFormatFlags(StringFormatFlagsNoWrap);
    format->SetAlignment(StringAlignmentCenter);
    format->SetLineAlignment(StringAlignmentCenter);
    format->SetTrimming(StringTrimmingEllipsisCharacter);
    SolidBrush brush(argb(color));
    g.DrawString(wide, -1, &font, rectF(r), format.get(), &brush);
}
