#include "equilibrium/SinglePhaseFlash.h"

#include "equilibrium/FlashError.h"
#include "equilibrium/PropertyFlash.h"

#include <cctype>
#include <cmath>

namespace tarnevo::engine::equilibrium {

namespace {

bool toSpec(char c, Spec& spec) {
    switch (c) {
    case 'H': spec = Spec::H; return true;
    case 'S': spec = Spec::S; return true;
    case 'E': spec = Spec::E; return true;
    case 'D': spec = Spec::D; return true;
    default: return false;
    }
}

FlashState solve(const System& sys, char c1, char c2, double a, double b, Phase phase, int kph, double Tguess) {
    Spec spec;
    if (c1 == 'T' && c2 == 'P') {
        double rho = sys.density(a, b, sys.z().data(), phase.root);
        return sys.singlePhase(a, rho);
    }
    if (c1 == 'T' && toSpec(c2, spec)) return flashTX(sys, a, spec, b, kph == 1 ? 2 : 1, phase);
    if (c1 == 'P' && toSpec(c2, spec)) return flashPX(sys, a, spec, b, phase, Tguess);
    if (c1 == 'D' && c2 != 'D' && toSpec(c2, spec)) return flashDX(sys, a, spec, b, phase);
    if (c1 == 'S' && (c2 == 'H' || c2 == 'E')) return flashSX(sys, a, c2 == 'H' ? Spec::H : Spec::E, b, phase);
    if (c2 == 'S' && (c1 == 'H' || c1 == 'E')) return flashSX(sys, b, c1 == 'H' ? Spec::H : Spec::E, a, phase);
    throw FlashError(FlashErrorCode::BadInput, std::string("unknown specification code \"") + c1 + c2 + "\"");
}

}  // namespace

FlashState singlePhaseFlash(const System& sys, const std::string& code, double a, double b, int kph,
                            double Dmin, double Dmax, double Tguess) {
    if (code.size() != 2)
        throw FlashError(FlashErrorCode::BadInput, "specification code \"" + code + "\" must have two letters");
    if (kph != 1 && kph != 2) throw FlashError(FlashErrorCode::BadInput, "kph must be 1 (liquid) or 2 (vapour)");
    if (!std::isfinite(a) || !std::isfinite(b))
        throw FlashError(FlashErrorCode::BadInput, "the given values must be finite numbers");
    char c1 = static_cast<char>(std::toupper(static_cast<unsigned char>(code[0])));
    char c2 = static_cast<char>(std::toupper(static_cast<unsigned char>(code[1])));
    Phase phase = Phase::only(kph == 1 ? Root::Liquid : Root::Vapour);
    FlashState st = solve(sys, c1, c2, a, b, phase, kph, Tguess);
    bool boundsGiven = std::isfinite(Dmin) && std::isfinite(Dmax) && Dmax > 0;
    if (boundsGiven && (st.rho < Dmin || st.rho > Dmax))
        throw FlashError(FlashErrorCode::NoSolution, "the density of the solution is outside the bounds given");
    return st;
}

}  // namespace tarnevo::engine::equilibrium
