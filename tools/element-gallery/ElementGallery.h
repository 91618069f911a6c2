// ElementGallery: a graphics frame window that shows what graphic elements can look like:
// one row per shape and quadrant, one column per lighting (0 to 9), a row of captioned
// elements (one too long for its element) and a chart fed with a sine.
#pragma once

#include "VEK_GraphicsElement/SChartControl.h"
#include "VEK_GraphicsElement/SFrameWindowGraphics.h"
#include "VEK_GraphicsElement/SGraphicShape.h"

#include <memory>
#include <vector>

class ElementGallery : public SFrameWindowGraphics {
public:
    // The grid: row labels left of it, column headers above it.
    static constexpr int GridX = 130;
    static constexpr int GridY = 30;
    static constexpr int CellWidth = 62;
    static constexpr int CellHeight = 32;
    static constexpr int ElementWidth = 48;
    static constexpr int ElementHeight = 20;
    static constexpr int Lightings = 10;

    struct Row {
        int shape;
        int quadrant;
        const char* label;
    };
    static const std::vector<Row>& rows();
    // Where the element of a row and lighting stands before anything is stored.
    static SRect cellRect(int row, int lighting);
    static SRect captionRect(int index);
    static SRect chartRect();

    ElementGallery();
    ~ElementGallery() override;
    const char* getClassName() const override { return "ElementGallery"; }

    void onPaint(SDevice& device) override;
    void onFirstShow() override;
    void onTimer(DWORD tickCount) override;

    SGraphicShape& element(int row, int lighting) { return *grid[(size_t)(row * Lightings + lighting)]; }
    SGraphicShape& caption(int index) { return *captions[(size_t)index]; }
    int captionCount() const { return (int)captions.size(); }
    SChartControl& getChart() { return chart; }
    // The next value of the sine the chart is fed with (one per timer tick when running).
    void feedChart();
    void setChartRunning(bool on) { chartRunning = on; }

private:
    void drawLabels(SDevice& device);

    std::vector<std::unique_ptr<SGraphicShape>> grid;
    std::vector<std::unique_ptr<SGraphicShape>> captions;
    SChartControl chart;
    int sineStep = 0;
    bool chartRunning = false;
    DWORD lastFeed = 0;
};
