// SChartControl: plots the most recent integer values as a polyline, oldest at the left.
// A fixed number of values lives in a ring, so once it is full the curve scrolls left by
// one step per new value. Values are clamped to the range on arrival; a marker flag per
// value can put a small square on its point.
#pragma once

#include "VEK_CONTROLS/SControlPositioned.h"
#include "VEK_GUI/SImage.h"
#include "VEK_SYSTEM/SRingBuffer.h"

class SChartControl : public SControlPositioned {
public:
    SChartControl();
    ~SChartControl() override;
    const char* getClassName() const override { return "SChartControl"; }

    void onPaint(SDevice& device) override;
    // Never erases: the paint covers the whole control.
    int onEraseBackground(SDevice& device) override;
    // The curve spreads over the whole width: a new size repaints all of it.
    void onSize(int type, int width, int height) override;

    // Line, background and marker colour; -2 (SPainter::Keep) leaves a colour as it is.
    void setColors(COLORREF line, COLORREF background, COLORREF marker);
    // Room for n values; what was stored is dropped.
    void setCapacity(int n);
    // The smaller becomes the minimum (drawn at the bottom), the larger the maximum (top).
    void setRange(int a, int b);
    void setMarkersVisible(bool on);
    // The area of the curve in client coordinates; width and height 0 take the client area.
    void setPlotRect(int x, int y, int width, int height);
    // Drawn instead of the background colour while loaded.
    bool setChartImage(const char* resourceName);
    // Clamps the value to the range, stores it as the newest and repaints.
    void addValue(int value, bool marker = false);

    int getCapacity() const { return values.getCapacity() / 4; }
    int getCount() const { return values.count() / 4; }
    // The index-th oldest stored value (0 outside).
    int getValue(int index) const;
    bool hasMarker(int index) const { return markers.getAt(index) != 0; }
    int getMinimum() const { return minimum; }
    int getMaximum() const { return maximum; }
    COLORREF getLineColor() const { return lineColor; }
    COLORREF getBackgroundColor() const { return backgroundColor; }
    COLORREF getMarkerColor() const { return markerColor; }
    bool areMarkersVisible() const { return markersVisible; }
    const SRect& getPlotRect() const { return plotRect; }

    // Where the curve is drawn inside a control of this client size.
    SRect plotArea(SSize client) const;
    // The point of the index-th oldest value inside plot.
    SPoint pointOf(int index, const SRect& plot) const;

protected:
    void fillBackground(SDevice& device, const SRect& area);
    void paintCurve(SDevice& device, const SRect& plot);
    void repaint();

    SImage chartImage;
    SRingBuffer values;
    SRect plotRect;
    int minimum = 0;
    int maximum = 100;
    COLORREF lineColor = 0xFF0000;
    COLORREF backgroundColor = 0xFFFFFF;
    SRingBuffer markers;
    COLORREF markerColor = 255;
    bool markersVisible = false;
};
