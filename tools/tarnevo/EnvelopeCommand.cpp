// tarnevo envelope NAME --z ...: bubble (Q = 0) and dew (Q = 1) curves from pressure-vapour
// fraction flashes over a geometric series of pressures. A curve ends at its first failing
// flash after it has begun; the step to that failure is halved a few times to get closer to
// the critical region. Writes PREFIX.csv and PREFIX.svg and prints the points.
#include <algorithm>
#include <cmath>

#include "definition/FileAccess.h"
#include "tools/tarnevo/CapeFailure.h"
#include "tools/tarnevo/CommandLine.h"
#include "tools/tarnevo/Commands.h"
#include "tools/tarnevo/Composition.h"
#include "tools/tarnevo/EnvelopePlot.h"
#include "tools/tarnevo/Flash.h"
#include "tools/tarnevo/Report.h"
#include "tools/tarnevo/Server.h"
#include "tools/tarnevo/Text.h"

namespace tarnevo::cli {
namespace {

constexpr int kRefinements = 5;
// A point further than this from the straight continuation of the last two (in ln P) is
// taken for a stray solution of the engine and left out with a note.
constexpr double kStrayTemperature = 5.0;  // K

struct Curve {
    Curve(const wchar_t* curveName, double fraction) : name(curveName), q(fraction) {}
    const wchar_t* name;
    double q;
    std::vector<EnvelopePoint> points;
    bool stopped = false;
    std::wstring lastFailure;
};

bool Stray(const Curve& curve, double pressure, double temperature) {
    const size_t n = curve.points.size();
    if (n < 2) return false;
    const EnvelopePoint& a = curve.points[n - 2];
    const EnvelopePoint& b = curve.points[n - 1];
    const double slope = (b.temperature - a.temperature) / std::log(b.pressure / a.pressure);
    const double predicted = b.temperature + slope * std::log(pressure / b.pressure);
    return std::fabs(temperature - predicted) > std::max(kStrayTemperature, 3 * std::fabs(b.temperature - a.temperature));
}

struct Boundary {
    enum class Outcome { Found, Failed, Stray } outcome;
    double temperature = 0;
};

Boundary BoundaryTemperature(Flasher& flasher, Curve& curve, double pressure, const std::vector<double>& z) {
    try {
        const FlashResult result =
            flasher.Run({FlashVariable::P, pressure}, {FlashVariable::Q, curve.q}, z, false);
        if (Stray(curve, pressure, result.temperature)) {
            Note(std::wstring(curve.name) + L" point at " + FormatNumber(pressure, 6) + L" Pa (" +
                 FormatNumber(result.temperature, 6) + L" K) leaves the curve; left out");
            return {Boundary::Outcome::Stray, result.temperature};
        }
        return {Boundary::Outcome::Found, result.temperature};
    } catch (const CapeFailure& failure) {
        curve.lastFailure = failure.description();
        return {Boundary::Outcome::Failed};
    }
}

// Advances one curve to `pressure`; after its first failure it closes in on the boundary.
void Advance(Flasher& flasher, Curve& curve, double pressure, const std::vector<double>& z) {
    if (curve.stopped) return;
    const Boundary boundary = BoundaryTemperature(flasher, curve, pressure, z);
    if (boundary.outcome == Boundary::Outcome::Found) {
        curve.points.push_back({pressure, boundary.temperature});
        return;
    }
    // A stray point is skipped; a failure after the curve has begun ends it.
    if (boundary.outcome == Boundary::Outcome::Stray || curve.points.empty()) return;
    double good = curve.points.back().pressure, bad = pressure;
    for (int i = 0; i < kRefinements; ++i) {
        const double middle = std::sqrt(good * bad);
        const Boundary refined = BoundaryTemperature(flasher, curve, middle, z);
        if (refined.outcome == Boundary::Outcome::Found) {
            curve.points.push_back({middle, refined.temperature});
            good = middle;
        } else {
            bad = middle;
        }
    }
    curve.stopped = true;
    Note(std::wstring(curve.name) + L" curve stops above " + FormatNumber(good, 6) + L" Pa: " + curve.lastFailure);
}

void WriteFile(const std::wstring& path, const std::string& content) {
    std::wstring message;
    if (!WriteWholeFile(path, content, L"Failed to write " + path + L": ", message)) throw ProgramFailure(message);
}

}  // namespace

int RunEnvelope(const Words& words) {
    const Arguments args = Arguments::Parse(
        words, L"envelope", {{L"z", true}, {L"pmin", true}, {L"pmax", true}, {L"points", true}, {L"out", true}}, 1);
    const double pmin = args.OptionalNumber(L"pmin").value_or(1e5);
    const double pmax = args.OptionalNumber(L"pmax").value_or(3e7);
    const double pointsValue = args.OptionalNumber(L"points").value_or(40);
    if (!(pmin > 0) || !(pmax > pmin)) args.Refuse(L"the pressures must satisfy 0 < --pmin < --pmax");
    if (pointsValue != std::floor(pointsValue) || pointsValue < 2 || pointsValue > 1000)
        args.Refuse(L"--points must be a whole number from 2 to 1000");
    const int points = static_cast<int>(pointsValue);

    Server server;
    std::unique_ptr<Package> package = server.Open(args.Positional(0), args);
    const std::vector<std::wstring>& compounds = package->CompoundIds();
    const std::vector<double> z = ReadComposition(args, L"z", compounds);
    const std::wstring prefix = args.Text(L"out").value_or(package->Name() + L"-envelope");

    Flasher flasher(*package);
    Curve bubble{L"bubble", 0.0}, dew{L"dew", 1.0};
    {
        Progress progress(L"envelope: pressure", points);
        for (int i = 0; i < points && !(bubble.stopped && dew.stopped); ++i) {
            const double pressure = pmin * std::pow(pmax / pmin, static_cast<double>(i) / (points - 1));
            Advance(flasher, bubble, pressure, z);
            Advance(flasher, dew, pressure, z);
            progress.Step(i + 1);
        }
    }
    ReportMessages(*package);
    for (const Curve* curve : {&bubble, &dew}) {
        if (curve->points.empty())
            throw ProgramFailure(std::wstring(L"no ") + curve->name + L" point between " + FormatNumber(pmin, 6) +
                              L" and " + FormatNumber(pmax, 6) + L" Pa; last failure: " + curve->lastFailure);
    }

    Table table{L"envelope", {{L"curve"}, {L"pressure (Pa)", true}, {L"temperature (K)", true}}};
    for (const Curve* curve : {&bubble, &dew}) {
        for (const EnvelopePoint& point : curve->points)
            table.Add({Cell(curve->name), Cell(point.pressure), Cell(point.temperature)});
    }
    EnvelopeCurves curves;
    std::vector<std::wstring> fractions;
    for (size_t i = 0; i < compounds.size(); ++i) fractions.push_back(compounds[i] + L" " + FormatNumber(z[i], 4));
    curves.title = L"Phase envelope of " + package->Name() + L" (" + Join(fractions, L", ") + L")";
    curves.bubble = bubble.points;
    curves.dew = dew.points;
    curves.bubbleStopped = bubble.stopped;
    curves.dewStopped = dew.stopped;
    WriteFile(prefix + L".csv", RenderCsv(table));
    WriteFile(prefix + L".svg", EnvelopeSvg(curves));

    Table files{L"files", {{L"file"}}};
    files.Add({Cell(prefix + L".csv")});
    files.Add({Cell(prefix + L".svg")});
    WriteOut(Render({table, files}, args.OutputFormat()));
    return 0;
}

}  // namespace tarnevo::cli
