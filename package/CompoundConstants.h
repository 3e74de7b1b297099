// Compound constants of a compound record, as reported by GetCompoundConstant.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstdint>

#include "definition/CompoundRecord.h"

namespace tarnevo {

// Writes constant `id` (CompoundConstantId) of `record` into `value`, which must be empty:
// a double (VT_R8) or a string (VT_BSTR). False, leaving `value` empty, when the record does
// not give the constant. Throws std::bad_alloc when a string cannot be allocated.
bool GetCompoundConstantValue(const CompoundRecord& record, std::int32_t id, VARIANT& value);

}  // namespace tarnevo
