#include "package/Fugacity.h"

#include <cmath>
#include <limits>

namespace tarnevo {
namespace {

constexpr const wchar_t kContext[] = L"Fugacity coefficient calculation";

}  // namespace

bool ComputePhi(RefpropBinding& refprop, ICapeDiagnostic* diagnostics, double T, double P, double rho,
                std::vector<double>& x, std::vector<double>& phi, std::wstring& error) {
    phi.assign(x.size(), 0.0);
    if (refprop.HasFUGCOF()) {
        const int ierr = refprop.FUGCOF(T, rho, x.data(), phi.data());
        if (ierr > 0) {
            error = L"Failed to get fugacity coefficient for given conditions: " + GetRefpropMessage(refprop);
            return false;
        }
        if (ierr < 0) ReportRefpropWarning(refprop, diagnostics, kContext);
        return true;
    }
    std::vector<double> f(x.size(), 0.0);
    refprop.FGCTY(T, rho, x.data(), f.data());
    for (std::size_t i = 0; i < x.size(); ++i)
        phi[i] = x[i] != 0 ? f[i] / (x[i] * P) : std::numeric_limits<double>::quiet_NaN();
    return true;
}

bool ComputeLnPhi(RefpropBinding& refprop, ICapeDiagnostic* diagnostics, int kph, double T, double P,
                  std::vector<double>& x, double& rho, std::vector<double>& lnPhi, std::wstring& error) {
    const int ierr = refprop.TPRHO(T, P, x.data(), kph, rho);
    if (ierr > 0) {
        error = GetRefpropMessage(refprop);
        return false;
    }
    if (ierr < 0) ReportRefpropWarning(refprop, diagnostics, kContext);
    if (!ComputePhi(refprop, diagnostics, T, P, rho, x, lnPhi, error)) return false;
    for (double& value : lnPhi) value = std::log(value);
    return true;
}

}  // namespace tarnevo
