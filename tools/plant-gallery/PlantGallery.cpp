#include "tools/plant-gallery/PlantGallery.h"

namespace {

struct DemoGauge {
    int orientation;
    int scale;
    SRect place;
    const char* label;
};

const DemoGauge kGauges[] = {
    {1, 0, {610, 40, 240, 40}, "links -> rechts, Skala 0 (Text)"},
    {3, 1, {610, 130, 240, 40}, "rechts -> links, Skala 1 (oben)"},
    {1, 3, {610, 220, 240, 40}, "links -> rechts, Skala 3 (oben und unten)"},
    {3, 7, {610, 310, 240, 40}, "rechts -> links, Skala 7 (alle)"},
    {4, 0, {890, 40, 52, 300}, "4 / Skala 0"},
    {2, 1, {960, 40, 52, 300}, "2 / Skala 1"},
    {4, 3, {1030, 40, 52, 300}, "4 / Skala 3"},
    {2, 7, {1100, 40, 52, 300}, "2 / Skala 7"},
};

} // namespace

PlantGallery::PlantGallery()
    : behaelter(this), txtWert(*this), zuleitung1(this), pumpe1(this), zuleitung2(this), pumpe2(this),
      verlauf(*this), txtMix2(*this), txtMix1(*this), entnahme(this), txtAktion(*this) {
    title = "Anlage - Bildergalerie";
    style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    showInfoButton = 0;
    rect = SRect{40, 10, 1190, 480};
    device.setBackgroundColor(0xFFF0F0);
    buildDemo();
    // What the main window sets at its first show.
    behaelter.fuellstand.setRange((float)Minimum, (float)Maximum);
    behaelter.fuellstand.setLimits(1600, 2900);
    for (Pumpe* p : {(Pumpe*)&pumpe1, (Pumpe*)&pumpe2}) {
        p->setLimits(0, 1);
        p->setValue(0);
    }
    pumpe1.setText("P1", 10);
    pumpe2.setText("P2", 10);
}

PlantGallery::~PlantGallery() = default;

SGraphicShape& PlantGallery::label(const char* text, const SRect& r) {
    auto caption = std::make_unique<SGraphicShape>(this, text, SGraphicShape::Rectangle);
    caption->setValueColor(0x00000000); // only the caption shows
    caption->setLighting(0);
    caption->setText(text, 8);
    caption->setRect(r);
    labels.push_back(std::move(caption));
    return *labels.back();
}

void PlantGallery::buildDemo() {
    for (const DemoGauge& d : kGauges) {
        auto g = std::make_unique<Fuellstand>(this);
        g->setName(d.label);
        g->setRect(d.place);
        g->setRange(0, 100); // two-digit labels fit the demo's small gauges
        g->setLimits(20, 85);
        g->setOrientation(d.orientation);
        g->setScale(d.scale);
        g->setLighting(0);
        const bool vertical = d.orientation == 2 || d.orientation == 4;
        label(d.label, vertical ? SRect{d.place.x - 12, 345, d.place.width + 24, 16}
                                : SRect{d.place.x, d.place.y - 18, d.place.width, 16});
        gauges.push_back(std::move(g));
    }
    label("Ausrichtung / Skala", SRect{880, 18, 282, 16});
    const int values[] = {0, 50, 100};
    const char* names[] = {"aus (0)", "Mitte (50)", "an (100)"};
    for (int i = 0; i < 3; ++i) {
        auto p = std::make_unique<Pumpe>(this, names[i]);
        p->setRect(SRect{630 + 80 * i, 395, 56, 56});
        p->setValue((float)values[i]);
        SString caption;
        caption.format("%d", values[i]);
        p->setText(caption, 10);
        label(names[i], SRect{612 + 80 * i, 452, 92, 16});
        pumps.push_back(std::move(p));
    }
}

void PlantGallery::onFirstShow() {
    SFrameWindowGraphics::onFirstShow();
    // Where the main window's layout puts them.
    txtWert.moveWindow(330, 70, 150, 26);
    txtAktion.moveWindow(330, 100, 150, 26);
    verlauf.moveWindow(330, 140, 240, 150);
    txtMix1.moveWindow(14, 290, 40, 26);
    txtMix2.moveWindow(60, 290, 54, 26);
    verlauf.setRange(Minimum, Maximum);
}

void PlantGallery::showFrame(int level, int pump1, int pump2, int ratio1, int ratio2) {
    SString text;
    txtWert.setWindowText(text.format("Level = %d", level));
    behaelter.fuellstand.setValue((float)level);
    verlauf.addValue(level);
    txtAktion.setWindowText(pump1 || pump2 ? "F\334LLEN" : "OK");
    pumpe1.setValue((float)pump1);
    pumpe2.setValue((float)pump2);
    txtMix1.setWindowText(text.format("%d", ratio1));
    txtMix2.setWindowText(text.format(": %d", ratio2));
}

// A level that rises for 200 steps and falls for 200; pump 1 runs while it rises, pump 2
// during the upper half of the rise.
void PlantGallery::sweepStep() {
    const int phase = step++ % 400;
    const bool rising = phase < 200;
    const int share = rising ? phase : 400 - phase;
    const int level = Minimum + (Maximum - Minimum) * share / 200;
    showFrame(level, rising ? 1 : 0, rising && phase >= 100 ? 1 : 0, 1 + step / 400 % 2, 1);
    for (size_t i = 0; i < gauges.size(); ++i)
        gauges[i]->setValue((float)((step + 25 * (int)i) % 101));
}

void PlantGallery::onTimer(DWORD tickCount) {
    SFrameWindowGraphics::onTimer(tickCount);
    if (!sweeping || tickCount - lastStep < 50) return;
    lastStep = tickCount;
    sweepStep();
}
