#include "definition/PackageDefinition.h"

#include <climits>

#include "definition/AnsiText.h"

namespace tarnevo {

namespace {
const wchar_t* const kModelTypeValues[kModelTypeCount] = {L"DEFAULT", L"GERG", L"AGA", L"PR", L"CUSTOM"};
const wchar_t* const kModelTypeNames[kModelTypeCount] = {L"NIST Default", L"GERG 2008", L"AGA8",
                                                         L"Peng Robinson", L"Custom"};
}  // namespace

const wchar_t* ModelTypeValue(int index) {
    return index >= 0 && index < kModelTypeCount ? kModelTypeValues[index] : nullptr;
}

const wchar_t* ModelTypeDisplayName(int index) {
    return index >= 0 && index < kModelTypeCount ? kModelTypeNames[index] : nullptr;
}

bool ReadCompoundCount(const std::wstring& value, long long& count) {
    size_t pos = 0;
    while (pos < value.size() && (value[pos] == L' ' || (value[pos] >= L'\t' && value[pos] <= L'\r'))) ++pos;
    bool negative = false;
    if (pos < value.size() && (value[pos] == L'+' || value[pos] == L'-')) {
        negative = value[pos] == L'-';
        ++pos;
    }
    if (pos >= value.size() || value[pos] < L'0' || value[pos] > L'9') return false;
    long long number = 0;
    while (pos < value.size() && value[pos] >= L'0' && value[pos] <= L'9') {
        if (number <= INT_MAX) number = number * 10 + (value[pos] - L'0');
        ++pos;
    }
    if (number > INT_MAX) number = INT_MAX;
    count = negative ? -number : number;
    return true;
}

bool ParseCompoundKey(const std::wstring& key, long long& index) {
    if (key.size() < 6 || !EqualsNoCase(key.substr(0, 5), L"fluid")) return false;
    long long number = 0;
    for (size_t i = 5; i < key.size(); ++i) {
        if (key[i] < L'0' || key[i] > L'9') return false;
        if (number <= INT_MAX) number = number * 10 + (key[i] - L'0');
    }
    index = number;
    return true;
}

}  // namespace tarnevo
