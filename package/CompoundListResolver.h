// Turns a host's list of compound identifiers into package compound indices.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "package/names/NameMap.h"

namespace tarnevo {

// Resolves `compIds` (a string array or empty) through `compoundNames` into `indices`.
// An empty list gives every compound 0 … compoundCount - 1 when `emptyMeansAll`, else fails.
// On false, `error` holds the text for the caller's message and `indices` is empty.
bool ResolveCompoundList(const VARIANT& compIds, const NameMap& compoundNames, std::int32_t compoundCount,
                         bool emptyMeansAll, std::vector<std::int32_t>& indices, std::wstring& error);

}  // namespace tarnevo
