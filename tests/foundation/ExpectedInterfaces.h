// The CAPE-OPEN interface members our type library must declare, one row per member,
// generated from the published tables by gen_expected.py.
#pragma once

namespace tarnevo_test {

struct ExpectedRow {
    const wchar_t* iface;
    const wchar_t* iid;
    int slot;
    long dispid;
    const wchar_t* member;
    int invkind;
    const wchar_t* params;
};

inline const ExpectedRow kExpectedInterfaces[] = {
#include "generated/expected_interfaces.inc"
};

}  // namespace tarnevo_test
