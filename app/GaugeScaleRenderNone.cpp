// The gauge scale's drawing for builds without GDI+: nothing to draw on.
#include "app/GaugeScaleRender.h"

void GaugeScaleRender::draw(Gdiplus::Graphics&, int, int, float, float, float, float, uint32_t) {}
