// The phase envelope as an SVG picture: pressure over temperature, the bubble and dew curves,
// axes with ticks and labels, and the critical region marked where the series stops.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarnevo::cli {

struct EnvelopePoint {
    double pressure;     // Pa
    double temperature;  // K
};

struct EnvelopeCurves {
    std::wstring title;
    std::vector<EnvelopePoint> bubble;
    std::vector<EnvelopePoint> dew;
    bool bubbleStopped = false;  // the series ended before the last pressure
    bool dewStopped = false;
};

// UTF-8 SVG text.
std::string EnvelopeSvg(const EnvelopeCurves& curves);

}  // namespace tarnevo::cli
