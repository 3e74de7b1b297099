#include "tests/properties/PropertiesFixture.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tools/host/VariantValues.h"

namespace tarnevo_test {

const std::vector<std::wstring> kGas5 = {L"METHANE", L"ETHANE", L"PROPANE", L"NITROGEN", L"CO2"};
const std::vector<double> kGas5Fractions = {0.85, 0.06, 0.03, 0.04, 0.02};
const std::vector<std::wstring> kThree = {L"PROPANE", L"BUTANE", L"PENTANE"};

PropertiesStore& PropertiesStore::Get() {
    static PropertiesStore store;
    return store;
}

// The recording build of the engine: it records only while TARNEVO_RECORD_FILE is set.
PropertiesStore::PropertiesStore()
    : ScratchPackageStore(L"properties", L"REFPROP-recording",
                          [](const std::string& message) { ADD_FAILURE() << message; }) {
    WritePackage(L"Gas5", FluidFiles(kGas5), "property tests");
    WritePackage(L"Three", FluidFiles(kThree), "property tests");
}

MaterialPtr SetMaterial(const PackagePtr& package, const std::vector<std::wstring>& compounds,
                        const std::wstring& phase, double temperature, double pressure, const std::vector<double>& x) {
    MaterialPtr material = tarnevo::host::CHostMaterial::Create(compounds);
    material->PutPhaseState(phase, temperature, pressure, x);
    EXPECT_EQ(package->SetMaterial(material->Dispatch()), S_OK);
    return material;
}

CallRecorder::CallRecorder() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    file_ = std::string(temp) + "tarnevo-properties-calls-" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(file_.c_str());
    SetEnvironmentVariableA("TARNEVO_RECORD_FILE", file_.c_str());
}

CallRecorder::~CallRecorder() {
    if (!stopped_) Stop();
}

std::vector<std::string> CallRecorder::Stop() {
    stopped_ = true;
    SetEnvironmentVariableA("TARNEVO_RECORD_FILE", nullptr);
    std::vector<std::string> lines;
    {
        std::ifstream in(file_);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
    }
    DeleteFileA(file_.c_str());
    return lines;
}

_variant_t Names(const std::vector<std::wstring>& names) { return tarnevo::host::StringArray(names); }

std::vector<double> Written(const MaterialPtr& material, const std::wstring& property, const std::wstring& phase,
                            const std::wstring& basis) {
    auto values = material->SinglePhase(property, phase, basis);
    return values ? *values : std::vector<double>();
}

EngineState EngineAt(const PackagePtr& package, double T, double PkPa, std::vector<double> x, int kph) {
    EngineState r;
    tarnevo::RefpropBinding& rp = package->Refprop();
    r.rho = tarnevo::kUnsetValue;
    EXPECT_LE(rp.TPRHO(T, PkPa, x.data(), kph, r.rho), 0);
    auto& t = rp.routines;
    t.THERM2dll(&T, &r.rho, x.data(), &r.p, &r.e, &r.h, &r.s, &r.cv, &r.cp, &r.w, &r.Z, &r.hjt, &r.A, &r.G,
                &r.xkappa, &r.beta, &r.dPdD, &r.d2PdD2, &r.dPdT, &r.dDdT, &r.dDdP, &r.o1, &r.o2, &r.o3, &r.o4);
    EXPECT_LE(rp.TRNPRP(T, r.rho, x.data(), r.eta, r.tcx), 0);
    r.phi.assign(x.size(), 0.0);
    EXPECT_LE(rp.FUGCOF(T, r.rho, x.data(), r.phi.data()), 0);
    return r;
}

}  // namespace tarnevo_test
