// Line plots drawn with the runtime's own GDI (pens, LineTo, DrawText) into a DIB
// section and saved as PNG.
#pragma once

#include <string>
#include <vector>

#include "platform.h"

namespace bench {

struct PlotSeries {
    std::string name;
    COLORREF color = RGB(0, 0, 0);
    std::vector<std::pair<double, double>> points;  // (x, y), x ascending
};

struct PlotSpec {
    std::string title;
    std::string xLabel;
    std::string yLabel;
    bool logX = false;
    bool logY = false;
    SIZE size{720, 420};
    std::vector<PlotSeries> series;
    // Optional horizontal band (e.g. the allowed 1.5x range); drawn when yBandHi > yBandLo.
    double yBandLo = 0, yBandHi = 0;
    std::string bandLabel;
};

bool DrawPlot(const PlotSpec& spec, const std::string& png_path, std::string* error);

}  // namespace bench
