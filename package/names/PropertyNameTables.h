// The process-wide property, constant and keyword names with their identifiers.
// Built once when the module loads and only read afterwards; any thread may read it
// without a lock.
#pragma once

#include "package/names/FlashType.h"
#include "package/names/NameList.h"
#include "package/names/NameMap.h"
#include "package/names/PropertyIds.h"

#include <windows.h>
#include <comdef.h>

#include <array>

namespace tarnevo {

// A reported list and the map from each accepted name to its identifier.
struct NameTable {
    NameList list;
    NameMap map;
};

class PropertyNameTables {
public:
    PropertyNameTables();
    PropertyNameTables(const PropertyNameTables&) = delete;
    PropertyNameTables& operator=(const PropertyNameTables&) = delete;

    // The stored automation string of a keyword ("pressure", "Vapor", ...), passed to
    // material objects as it is.
    BSTR Word(Keyword word) const noexcept { return static_cast<wchar_t*>(words_[static_cast<int>(word)]); }

    const NameTable& CompoundConstants() const noexcept { return compoundConstants_; }
    const NameTable& TDependentProperties() const noexcept { return tDependent_; }
    const NameTable& PDependentProperties() const noexcept { return pDependent_; }
    // The map also accepts the 1.0 names "heatCapacity", "gibbsFreeEnergy",
    // "helmholtzFreeEnergy" and "energy" with their forms.
    const NameTable& SinglePhaseProperties() const noexcept { return singlePhase_; }
    // The map also accepts "kvalues" and "logKvalues" with their forms.
    const NameTable& TwoPhaseProperties() const noexcept { return twoPhase_; }
    // The 1.0 property list; its names are looked up in the maps above.
    const NameList& Version10Properties() const noexcept { return version10_; }

    // The flash type of a 1.0 flash key ("TP", "pvf", ...); FlashType::None if unknown.
    FlashType FindFlashType(const wchar_t* key) const;
    const NameMap& FlashTypes() const noexcept { return flashTypes_; }

private:
    std::array<_bstr_t, kKeywordCount> words_;
    NameTable compoundConstants_;
    NameTable tDependent_;
    NameTable pDependent_;
    NameTable singlePhase_;
    NameTable twoPhase_;
    NameList version10_;
    NameMap flashTypes_;
};

// The one instance, built by a static initialiser at load.
const PropertyNameTables& NameTables();

}  // namespace tarnevo
