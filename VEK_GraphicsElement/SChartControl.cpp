#include "VEK_GraphicsElement/SChartControl.h"

#include <climits>
#include <cstdint>

namespace {

constexpr int defaultCapacity = 100;
// Four bytes per value must still fit the ring's int size.
constexpr int largestCapacity = INT_MAX / 4;

} // namespace

SChartControl::SChartControl() {
    style &= ~WS_TABSTOP;
    rect = SRect{-1, -1, 200, 100};
    setCapacity(defaultCapacity);
    // Drawn off-screen and copied over in one step; the buffer starts in the chart's background.
    device.setNoFlicker(true);
    device.setBackgroundColor(backgroundColor);
}

SChartControl::~SChartControl() = default;

int SChartControl::onEraseBackground(SDevice&) { return 1; }

void SChartControl::onSize(int type, int width, int height) {
    SControlPositioned::onSize(type, width, height);
    repaint();
}

void SChartControl::setColors(COLORREF line, COLORREF background, COLORREF marker) {
    if (line != SPainter::Keep) lineColor = line;
    if (background != SPainter::Keep) backgroundColor = background;
    if (marker != SPainter::Keep) markerColor = marker;
    // A transparent chart leaves the buffer in the device's own background.
    if (backgroundColor != SPainter::Transparent) device.setBackgroundColor(backgroundColor);
    repaint();
}

void SChartControl::setCapacity(int n) {
    if (n < 0) n = 0;
    if (n > largestCapacity) n = largestCapacity;
    values.setCapacity(n * 4);
    markers.setCapacity(n);
    repaint();
}

void SChartControl::setRange(int a, int b) {
    minimum = a < b ? a : b;
    maximum = a < b ? b : a;
    repaint();
}

void SChartControl::setMarkersVisible(bool on) {
    markersVisible = on;
    repaint();
}

void SChartControl::setPlotRect(int x, int y, int width, int height) {
    plotRect = SRect{x, y, width, height};
    repaint();
}

bool SChartControl::setChartImage(const char* resourceName) {
    bool loaded = chartImage.load(resourceName);
    repaint();
    return loaded;
}

// Lowest byte first.
void SChartControl::addValue(int value, bool marker) {
    if (value < minimum) value = minimum;
    if (value > maximum) value = maximum;
    auto bits = (uint32_t)value;
    for (int shift = 0; shift < 32; shift += 8) values.put((unsigned char)(bits >> shift));
    markers.put(marker ? 1 : 0);
    repaint();
}

int SChartControl::getValue(int index) const {
    if (index < 0 || index >= getCount()) return 0;
    uint32_t bits = 0;
    for (int b = 0; b < 4; ++b) bits |= (uint32_t)values.getAt(index * 4 + b) << (8 * b);
    return (int)bits;
}

void SChartControl::repaint() {
    if (hwnd) invalidate();
}

// ---------------------------------------------------------------- painting

SRect SChartControl::plotArea(SSize client) const {
    if (plotRect.width == 0 && plotRect.height == 0) return SRect{0, 0, client.width - 1, client.height - 1};
    return plotRect;
}

// Exact integer steps, truncated toward zero. A range of one value has no height: its
// curve lies flat on the bottom edge.
SPoint SChartControl::pointOf(int index, const SRect& plot) const {
    int capacity = getCapacity();
    int64_t x = plot.x + (capacity > 0 ? (int64_t)index * plot.width / capacity : 0);
    int64_t span = (int64_t)maximum - minimum;
    int64_t rise = span > 0 ? ((int64_t)getValue(index) - minimum) * plot.height / span : 0;
    return SPoint{(int)x, (int)(plot.y + plot.height - rise)};
}

void SChartControl::onPaint(SDevice& target) {
    if (target.getDeviceKind() != 's') return;
    SSize client = getClientSize();
    fillBackground(target, SRect{0, 0, client.width - 1, client.height - 1});
    paintCurve(target, plotArea(client));
}

void SChartControl::fillBackground(SDevice& target, const SRect& area) {
    if (chartImage.isLoaded())
        chartImage.draw(target, 0, 0);
    else
        target.fillRectangle(area, backgroundColor);
}

void SChartControl::paintCurve(SDevice& target, const SRect& plot) {
    int n = getCount();
    SPoint previous;
    for (int i = 0; i < n; ++i) {
        SPoint p = pointOf(i, plot);
        if (i > 0) target.line(previous.x, previous.y, p.x, p.y, lineColor);
        if (markersVisible && hasMarker(i)) target.fillRectangle(SRect{p.x - 2, p.y - 2, 5, 5}, markerColor);
        previous = p;
    }
}
