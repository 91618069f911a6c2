#include "tools/element-gallery/ElementGallery.h"

#include <cmath>

namespace {

struct CaptionSpec {
    int shape;
    uint32_t color;
    const char* text;
};

const CaptionSpec kCaptions[] = {
    {SGraphicShape::Rectangle, 0xFF4682B4, "P1"},
    {SGraphicShape::LongRound, 0xFFFFD700, "Beh\344lter"},
    {SGraphicShape::Ellipse, 0xFFFF6347, "F\374llstand"},
    {SGraphicShape::RoundRectangle, 0xFF90EE90, "Ein viel zu langer Beschriftungstext"},
};

} // namespace

const std::vector<ElementGallery::Row>& ElementGallery::rows() {
    static const std::vector<Row> all = [] {
        std::vector<Row> r = {{0, 1, "Rechteck"}, {1, 1, "Ellipse"}, {2, 1, "RoundRectangle"}, {3, 1, "LongRound"}};
        static const char* const turned[4][4] = {
            {"Trapez 0\260", "Trapez 90\260", "Trapez 180\260", "Trapez 270\260"},
            {"HalfCircle 0\260", "HalfCircle 90\260", "HalfCircle 180\260", "HalfCircle 270\260"},
            {"QuaterCircle 0\260", "QuaterCircle 90\260", "QuaterCircle 180\260", "QuaterCircle 270\260"},
            {"Dreieck 0\260", "Dreieck 90\260", "Dreieck 180\260", "Dreieck 270\260"}};
        for (int shape = 4; shape <= 7; ++shape)
            for (int q = 1; q <= 4; ++q) r.push_back(Row{shape, q, turned[shape - 4][q - 1]});
        r.push_back(Row{SGraphicShape::Pipe, 1, "Rohr"});
        r.push_back(Row{SGraphicShape::NoShape, 1, "ohne (8)"});
        return r;
    }();
    return all;
}

SRect ElementGallery::cellRect(int row, int lighting) {
    return SRect{GridX + lighting * CellWidth + (CellWidth - ElementWidth) / 2,
                 GridY + row * CellHeight + (CellHeight - ElementHeight) / 2, ElementWidth, ElementHeight};
}

SRect ElementGallery::captionRect(int index) {
    const int top = GridY + (int)rows().size() * CellHeight + 14;
    return SRect{GridX + index * 150, top, 130, 40};
}

SRect ElementGallery::chartRect() { return SRect{GridX + Lightings * CellWidth + 30, GridY, 300, 200}; }

ElementGallery::ElementGallery() {
    title = "Grafikelemente";
    style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    showInfoButton = 0;
    const std::vector<Row>& all = rows();
    for (size_t row = 0; row < all.size(); ++row) {
        for (int light = 0; light < Lightings; ++light) {
            SString name;
            name.format("%s, Beleuchtung %d", all[row].label, light);
            auto e = std::make_unique<SGraphicShape>(this, name, all[row].shape);
            e->setQuadrant(all[row].quadrant);
            e->setLighting(light);
            e->setRect(cellRect((int)row, light));
            grid.push_back(std::move(e));
        }
    }
    for (int i = 0; i < (int)(sizeof kCaptions / sizeof kCaptions[0]); ++i) {
        auto e = std::make_unique<SGraphicShape>(this, kCaptions[i].text, kCaptions[i].shape);
        e->setValueColor(kCaptions[i].color);
        e->setText(kCaptions[i].text, 11);
        e->setRect(captionRect(i));
        captions.push_back(std::move(e));
    }
    SRect r = chartRect();
    SRect last = captionRect(captionCount());
    rect = SRect{40, 10, r.x + r.width + 30, last.y + last.height + 70};
    device.setBackgroundColor(0xF0F0F0);
}

ElementGallery::~ElementGallery() = default;

void ElementGallery::onFirstShow() {
    SFrameWindowGraphics::onFirstShow();
    SRect r = chartRect();
    chart.createCtrl(this, "", r.x, r.y, r.width, r.height);
    chart.setColors(0xFF0000, 0xFFFFFF, SPainter::Transparent);
    chart.setRange(-100, 100);
}

void ElementGallery::feedChart() {
    chart.addValue((int)std::lround(90.0 * std::sin(sineStep * 0.12)));
    ++sineStep;
}

void ElementGallery::onTimer(DWORD tickCount) {
    SFrameWindowGraphics::onTimer(tickCount);
    if (!chartRunning || tickCount - lastFeed < 50) return;
    lastFeed = tickCount;
    feedChart();
}

void ElementGallery::onPaint(SDevice& painter) {
    SFrameWindowGraphics::onPaint(painter);
    drawLabels(painter);
}

// Row labels and column headers drawn with GDI over the elements' bitmap: both land on the
// same pixels whatever the device's offset.
void ElementGallery::drawLabels(SDevice& painter) {
    painter.setFont("Arial", 9, 0, 0, 400);
    painter.setColors(0x000000, SPainter::Transparent);
    for (int light = 0; light < Lightings; ++light) {
        SString header;
        header.format("Licht %d", light);
        painter.textOut(GridX + light * CellWidth + 8, GridY - 20, header);
    }
    const std::vector<Row>& all = rows();
    for (size_t row = 0; row < all.size(); ++row)
        painter.textOut(8, GridY + (int)row * CellHeight + 9, all[row].label);
}
