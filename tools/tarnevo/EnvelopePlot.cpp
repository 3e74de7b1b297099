#include "tools/tarnevo/EnvelopePlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/tarnevo/Text.h"

namespace tarnevo::cli {
namespace {

constexpr double kWidth = 800, kHeight = 560;
constexpr double kLeft = 90, kRight = 30, kTop = 64, kBottom = 70;

struct Range {
    double low, high;
};

// A tick step of 1, 2 or 5 times a power of ten giving about `ticks` intervals.
double TickStep(double span, int ticks) {
    const double raw = span / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (raw <= factor * power) return factor * power;
    }
    return 10 * power;
}

Range NiceRange(double low, double high) {
    if (!(high > low)) {
        low -= 1;
        high += 1;
    }
    const double step = TickStep(high - low, 8);
    return {std::floor(low / step) * step, std::ceil(high / step) * step};
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string Label(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", std::fabs(value) < 1e-12 ? 0.0 : value);
    return text;
}

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '&') out += "&amp;";
        else out += c;
    }
    return out;
}

class Plot {
public:
    Plot(Range t, Range p) : t_(t), p_(p) {}
    double X(double temperature) const {
        return kLeft + (temperature - t_.low) / (t_.high - t_.low) * (kWidth - kLeft - kRight);
    }
    double Y(double pressureMPa) const {
        return kHeight - kBottom - (pressureMPa - p_.low) / (p_.high - p_.low) * (kHeight - kTop - kBottom);
    }
    std::string Polyline(const std::vector<EnvelopePoint>& points, const char* colour) const {
        std::string out = "<polyline fill=\"none\" stroke=\"" + std::string(colour) + "\" stroke-width=\"2\" points=\"";
        for (const auto& point : points) out += Number(X(point.temperature)) + "," + Number(Y(point.pressure / 1e6)) + " ";
        out += "\"/>\n";
        for (const auto& point : points)
            out += "<circle cx=\"" + Number(X(point.temperature)) + "\" cy=\"" + Number(Y(point.pressure / 1e6)) +
                   "\" r=\"2.5\" fill=\"" + colour + "\"/>\n";
        return out;
    }

private:
    Range t_, p_;
};

}  // namespace

std::string EnvelopeSvg(const EnvelopeCurves& curves) {
    double tLow = INFINITY, tHigh = -INFINITY, pHigh = 0;
    for (const auto* curve : {&curves.bubble, &curves.dew}) {
        for (const auto& point : *curve) {
            tLow = std::min(tLow, point.temperature);
            tHigh = std::max(tHigh, point.temperature);
            pHigh = std::max(pHigh, point.pressure / 1e6);
        }
    }
    if (!std::isfinite(tLow)) tLow = 100, tHigh = 300, pHigh = 1;
    const Range t = NiceRange(tLow, tHigh);
    const Range p = NiceRange(0, pHigh * 1.25);  // room above for the critical region
    const Plot plot(t, p);
    const double x0 = kLeft, x1 = kWidth - kRight, y0 = kHeight - kBottom, y1 = kTop;

    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"800\" height=\"560\" viewBox=\"0 0 800 560\" "
                      "font-family=\"sans-serif\" font-size=\"13\">\n"
                      "<rect width=\"800\" height=\"560\" fill=\"white\"/>\n";
    svg += "<text x=\"400\" y=\"26\" text-anchor=\"middle\" font-size=\"16\">" + Escape(Utf8(curves.title)) +
           "</text>\n";
    // Grid, ticks and tick labels.
    const double tStep = TickStep(t.high - t.low, 8), pStep = TickStep(p.high - p.low, 8);
    for (double v = t.low; v <= t.high + tStep * 1e-9; v += tStep) {
        const std::string x = Number(plot.X(v));
        svg += "<line x1=\"" + x + "\" y1=\"" + Number(y0) + "\" x2=\"" + x + "\" y2=\"" + Number(y1) +
               "\" stroke=\"#e0e0e0\"/>\n";
        svg += "<line x1=\"" + x + "\" y1=\"" + Number(y0) + "\" x2=\"" + x + "\" y2=\"" + Number(y0 + 6) +
               "\" stroke=\"black\"/>\n";
        svg += "<text x=\"" + x + "\" y=\"" + Number(y0 + 22) + "\" text-anchor=\"middle\">" + Label(v) + "</text>\n";
    }
    for (double v = p.low; v <= p.high + pStep * 1e-9; v += pStep) {
        const std::string y = Number(plot.Y(v));
        svg += "<line x1=\"" + Number(x0) + "\" y1=\"" + y + "\" x2=\"" + Number(x1) + "\" y2=\"" + y +
               "\" stroke=\"#e0e0e0\"/>\n";
        svg += "<line x1=\"" + Number(x0 - 6) + "\" y1=\"" + y + "\" x2=\"" + Number(x0) + "\" y2=\"" + y +
               "\" stroke=\"black\"/>\n";
        svg += "<text x=\"" + Number(x0 - 10) + "\" y=\"" + Number(plot.Y(v) + 4) + "\" text-anchor=\"end\">" +
               Label(v) + "</text>\n";
    }
    // Axes and their labels.
    svg += "<polyline fill=\"none\" stroke=\"black\" points=\"" + Number(x0) + "," + Number(y1) + " " + Number(x0) +
           "," + Number(y0) + " " + Number(x1) + "," + Number(y0) + "\"/>\n";
    svg += "<text x=\"" + Number((x0 + x1) / 2) + "\" y=\"" + Number(kHeight - 20) +
           "\" text-anchor=\"middle\">temperature (K)</text>\n";
    svg += "<text x=\"" + Number(x0) + "\" y=\"" + Number(y1 - 14) + "\" text-anchor=\"middle\">pressure (MPa)</text>\n";
    // Critical region: where the series stopped, between the last bubble and dew points.
    if ((curves.bubbleStopped || curves.dewStopped) && !curves.bubble.empty() && !curves.dew.empty()) {
        const EnvelopePoint& b = curves.bubble.back();
        const EnvelopePoint& d = curves.dew.back();
        const double bx = plot.X(b.temperature), by = plot.Y(b.pressure / 1e6);
        const double dx = plot.X(d.temperature), dy = plot.Y(d.pressure / 1e6);
        const double cx = (bx + dx) / 2, cy = (by + dy) / 2;
        const double r = std::max(18.0, std::hypot(bx - dx, by - dy) / 2 + 12);
        svg += "<line x1=\"" + Number(bx) + "\" y1=\"" + Number(by) + "\" x2=\"" + Number(dx) + "\" y2=\"" +
               Number(dy) + "\" stroke=\"#555\" stroke-dasharray=\"5,4\"/>\n";
        svg += "<circle cx=\"" + Number(cx) + "\" cy=\"" + Number(cy) + "\" r=\"" + Number(r) +
               "\" fill=\"#fdebd0\" stroke=\"#d68910\" stroke-dasharray=\"4,3\"/>\n";
        // The label above the circle, or to its left when the plot leaves no room above.
        const bool above = cy - r - 8 >= kTop + 12;
        svg += "<text x=\"" + Number(above ? cx : cx - r - 6) + "\" y=\"" + Number(above ? cy - r - 8 : cy + 4) +
               "\" text-anchor=\"" + (above ? "middle" : "end") +
               "\" fill=\"#9c640c\">critical region (series stops)</text>\n";
    }
    // Curves.
    svg += plot.Polyline(curves.bubble, "#1f5fbf");
    svg += plot.Polyline(curves.dew, "#c0392b");
    // Legend.
    const double lx = x0 + 20, ly = y1 + 14;
    svg += "<rect x=\"" + Number(lx - 10) + "\" y=\"" + Number(ly - 14) +
           "\" width=\"170\" height=\"48\" fill=\"white\" stroke=\"#999\"/>\n";
    svg += "<line x1=\"" + Number(lx) + "\" y1=\"" + Number(ly) + "\" x2=\"" + Number(lx + 28) + "\" y2=\"" +
           Number(ly) + "\" stroke=\"#1f5fbf\" stroke-width=\"2\"/>\n";
    svg += "<text x=\"" + Number(lx + 36) + "\" y=\"" + Number(ly + 4) + "\">bubble curve (Q = 0)</text>\n";
    svg += "<line x1=\"" + Number(lx) + "\" y1=\"" + Number(ly + 22) + "\" x2=\"" + Number(lx + 28) + "\" y2=\"" +
           Number(ly + 22) + "\" stroke=\"#c0392b\" stroke-width=\"2\"/>\n";
    svg += "<text x=\"" + Number(lx + 36) + "\" y=\"" + Number(ly + 26) + "\">dew curve (Q = 1)</text>\n";
    svg += "</svg>\n";
    return svg;
}

}  // namespace tarnevo::cli
