// PlantGallery: the plant picture on a graphics frame window: the tank (body, level gauge,
// bottom, lid), the two supply lines with their pumps, the outlet, the value texts and the
// level chart, built in the main window's order so that its records in controlpos.ini
// ("PlantGallery_ge") have the program's keys. Beside it the level gauge in all four
// orientations with the scales 0, 1, 3 and 7 and the pump in its three colours. A sweep
// drives it all: the level rises while pump 1 runs, falls while both stand.
#pragma once

#include "VEK_GraphicsElement/SFrameWindowGraphics.h"
#include "VEK_GraphicsElement/SGraphicShape.h"
#include "app/Behaelter.h"
#include "app/Entnahme.h"
#include "app/Pumpe1.h"
#include "app/Pumpe2.h"
#include "app/TxtAktion.h"
#include "app/TxtMix1.h"
#include "app/TxtMix2.h"
#include "app/TxtWert.h"
#include "app/Verlauf.h"
#include "app/Zuleitung1.h"
#include "app/Zuleitung2.h"

#include <memory>
#include <vector>

class PlantGallery : public SFrameWindowGraphics {
public:
    static constexpr int Minimum = 1200;
    static constexpr int Maximum = 3200;

    PlantGallery();
    ~PlantGallery() override;
    const char* getClassName() const override { return "PlantGallery"; }

    void onFirstShow() override;
    void onTimer(DWORD tickCount) override;

    // One telemetry frame's worth of display: level (1200 to 3200), the two pump bytes and
    // the ratio, as the main window shows them.
    void showFrame(int level, int pump1, int pump2, int ratio1, int ratio2);
    // The next step of the sweep (one every timer tick while running).
    void sweepStep();
    void setSweeping(bool on) { sweeping = on; }

    Behaelter& tank() { return behaelter; }
    Pumpe& pump(int i) { return i == 1 ? (Pumpe&)pumpe1 : (Pumpe&)pumpe2; }
    Zuleitung1& line1() { return zuleitung1; }
    Entnahme& outlet() { return entnahme; }
    Verlauf& chart() { return verlauf; }
    TxtWert& valueText() { return txtWert; }
    Fuellstand& demoGauge(int i) { return *gauges[(size_t)i]; }
    int demoGaugeCount() const { return (int)gauges.size(); }
    Pumpe& demoPump(int i) { return *pumps[(size_t)i]; }

private:
    // The default rectangles start again, so the plant's elements get the program's keys.
    struct CascadeStart {
        CascadeStart() { SGraphicElement::restartDefaultRects(); }
    };
    void buildDemo();
    SGraphicShape& label(const char* text, const SRect& r);

    CascadeStart cascadeStart;
    Behaelter behaelter;
    TxtWert txtWert;
    Zuleitung1 zuleitung1;
    Pumpe1 pumpe1;
    Zuleitung2 zuleitung2;
    Pumpe2 pumpe2;
    Verlauf verlauf;
    TxtMix2 txtMix2;
    TxtMix1 txtMix1;
    Entnahme entnahme;
    TxtAktion txtAktion;
    std::vector<std::unique_ptr<Fuellstand>> gauges;
    std::vector<std::unique_ptr<Pumpe>> pumps;
    std::vector<std::unique_ptr<SGraphicShape>> labels;
    bool sweeping = false;
    int step = 0;
    DWORD lastStep = 0;
};
