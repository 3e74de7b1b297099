#include "refprop/FluidSetup.h"

#include "definition/AnsiText.h"
#include "capeobject/CapeFailure.h"

namespace tarnevo {
namespace {

std::string ToAnsi(const std::wstring& text, const wchar_t* what) {
    std::string result;
    if (!WideToAnsi(text, result))
        throw CapeFailure(L"Error setting configuration: " + std::wstring(what) + L" \"" + text +
                          L"\" cannot be passed to REFPROP (characters outside the ANSI code page)");
    return result;
}

void CheckSetupCode(RefpropBinding& binding, int ierr, const std::wstring& failure, ICapeDiagnostic* diagnostics,
                    const std::wstring& warningContext) {
    if (ierr > 0) throw CapeFailure(failure + GetRefpropMessage(binding));
    if (ierr < 0) ReportRefpropWarning(binding, diagnostics, warningContext);
}

}  // namespace

std::string ResolveRefpropPath(const std::string& refpropFolder, const std::string& path) {
    if (path.find(':') != std::string::npos) return path;
    return refpropFolder + "\\" + path;
}

std::string BuildFluidFileList(const std::string& refpropFolder, const std::vector<std::string>& compounds) {
    std::string list;
    for (size_t i = 0; i < compounds.size(); ++i) {
        if (i > 0) list += '|';
        list += ResolveRefpropPath(refpropFolder, compounds[i]);
    }
    if (list.size() > static_cast<size_t>(kHfilesLength))
        throw CapeFailure(L"Error setting configuration: the paths of the fluid files exceed " +
                          std::to_wstring(kHfilesLength) + L" characters");
    list.resize(kHfilesLength, ' ');
    return list;
}

std::string BuildMixtureFileArgument(const std::string& refpropFolder, const std::string& mixtureFile) {
    std::string path = ResolveRefpropPath(refpropFolder, mixtureFile);
    if (path.size() > static_cast<size_t>(kHfmixLength))
        throw CapeFailure(L"Error setting configuration: the path of the mixture file exceeds " +
                          std::to_wstring(kHfmixLength) + L" characters");
    path.resize(kHfmixLength, ' ');
    return path;
}

void SetUpFluidSystem(RefpropBinding& binding, const PackageDefinition& definition,
                      const std::wstring& refpropFolder, ICapeDiagnostic* diagnostics) {
    const int nc = static_cast<int>(definition.compounds.size());
    const std::string folder = ToAnsi(refpropFolder, L"REFPROP folder");

    if (definition.custom) {
        for (const ModelOverride& override : definition.overrides) {
            std::string hcomp;
            for (const std::string& code : override.componentCodes) hcomp += code;
            std::wstring category(override.category.begin(), override.category.end());
            int ierr = binding.SETMOD(nc, override.category.c_str(), override.mixtureCode.c_str(), hcomp);
            CheckSetupCode(binding, ierr, L"Error setting " + category + L" options: ", diagnostics,
                           L"Setting " + category + L" options");
        }
    }

    if (definition.gerg) {
        if (binding.GERG04(nc, 1) != 0) throw CapeFailure(L"Error selecting GERG: " + GetRefpropMessage(binding));
    }

    std::vector<std::string> compounds;
    for (const std::wstring& compound : definition.compounds) compounds.push_back(ToAnsi(compound, L"Fluid file"));
    std::string hfiles = BuildFluidFileList(folder, compounds);
    std::string hfmix = BuildMixtureFileArgument(folder, definition.mixtureFile);
    int ierr = binding.SETUP(nc, hfiles, hfmix, "DEF");
    CheckSetupCode(binding, ierr, L"Error setting configuration: ", diagnostics, L"Setting configuration");

    if (definition.pengRobinson) binding.PREOS(2);

    if (definition.aga) {
        // The AGA8 selection reports its failure with the GERG text.
        if (binding.SETAGA() != 0) throw CapeFailure(L"Error selecting GERG: " + GetRefpropMessage(binding));
    }
}

}  // namespace tarnevo
