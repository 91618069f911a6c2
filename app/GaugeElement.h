// GaugeElement: a graphic element that shows a value within a range (kind 2): the value is
// clamped into [minimum, maximum] and coloured by two limits (alarm-min colour at or below
// the low limit, alarm-max colour at or above the high limit, the value colour between).
// The level gauge and the pumps share it; each draws its own layers.
#pragma once

#include "VEK_GraphicsElement/SGraphicElement.h"

class GaugeElement : public SGraphicElement {
public:
    static constexpr uint32_t DefaultBackground = 0xFFD3D3D3; // light grey
    static constexpr uint32_t DefaultAlarmMin = 0xFF4682B4;   // steel blue
    static constexpr uint32_t DefaultAlarmMax = 0xFFFF0000;   // red

    GaugeElement(SGraphicElementHost* parent, const char* name);
    const char* getClassName() const override { return "GaugeElement"; }

    uint32_t getColor() override;
    bool buildMenu() override;
    void onMenu(int index) override;
    SString toString() override;
    SString fromString(const SString& text) override;

    // A different value is clamped into the range and repaints; the cached layers are drawn
    // anew only when they show the value. The same value does nothing.
    void setValue(float v);
    // The smaller and the larger of a and b; a change clamps the value and repaints.
    void setRange(float a, float b);
    void setLimits(float a, float b);

    float getValue() const { return value; }
    float getMinimum() const { return minimum; }
    float getMaximum() const { return maximum; }
    float getLowLimit() const { return lowLimit; }
    float getHighLimit() const { return highLimit; }
    uint32_t getAlarmMinColor() const { return alarmMinColor; }
    uint32_t getAlarmMaxColor() const { return alarmMaxColor; }
    uint32_t getBackgroundColor() const { return backgroundColor; }
    // Where the value lies in the range, 0 to 1; 0 for a range without width.
    float fraction() const;

protected:
    // Whether the cached layers show the value (otherwise only the uncached middle layer does).
    virtual bool layersShowValue() const { return false; }

    uint32_t backgroundColor = DefaultBackground;
    uint32_t alarmMinColor = DefaultAlarmMin;
    uint32_t alarmMaxColor = DefaultAlarmMax;
    float value = 0.0f;
    float minimum = 0.0f;
    float maximum = 100.0f;
    float lowLimit = 0.0f;
    float highLimit = 100.0f;

private:
    float clamped(float v) const;
};
