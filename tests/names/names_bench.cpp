// Cost of one name look-up and of one list copy, as the property code pays them per call.
#include "package/names/PropertyNameTables.h"

#include <chrono>
#include <cstdio>

int main() {
    using Clock = std::chrono::steady_clock;
    const tarnevo::PropertyNameTables& tables = tarnevo::NameTables();
    const wchar_t* const names[] = {L"density", L"HeatCapacity.Dpressure", L"fugacityCoefficient.DmolFraction",
                                    L"unknownProperty", L"molecularWeight"};
    constexpr int kRounds = 200000;

    long long found = 0;
    auto start = Clock::now();
    for (int i = 0; i < kRounds; ++i) {
        for (const wchar_t* name : names) found += tables.SinglePhaseProperties().map.Find(name).value_or(0);
    }
    const double lookupNs =
        std::chrono::duration<double, std::nano>(Clock::now() - start).count() / (kRounds * 5.0);

    constexpr int kCopies = 20000;
    start = Clock::now();
    for (int i = 0; i < kCopies; ++i) {
        _variant_t copy = tables.Version10Properties().Copy();
        found += copy.vt;
    }
    const double copyUs = std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kCopies;

    std::printf("names: single-phase look-up %.1f ns/name; copy of the 118-name list %.2f us (check %lld)\n",
                lookupNs, copyUs, found);
    return 0;
}
