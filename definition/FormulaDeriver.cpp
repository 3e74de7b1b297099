#include "definition/FormulaDeriver.h"

#include <climits>
#include <cwchar>
#include <map>
#include <vector>

namespace tarnevo {

namespace {

using ElementCounts = std::map<std::wstring, long long>;

bool IsUpper(wchar_t c) { return c >= L'A' && c <= L'Z'; }
bool IsLower(wchar_t c) { return c >= L'a' && c <= L'z'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool StartsCyclo(const std::wstring& text, size_t pos) {
    static const wchar_t cyclo[] = L"cyclo";
    if (text.size() - pos < 5) return false;
    for (size_t i = 0; i < 5; ++i) {
        wchar_t c = text[pos + i];
        if (IsUpper(c)) c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != cyclo[i]) return false;
    }
    return true;
}

// A bare "R" (as in refrigerant names) is no element; only real R-symbols are.
bool IsAcceptedSymbol(const std::wstring& symbol) {
    if (symbol[0] != L'R') return true;
    static const wchar_t* const rSymbols[] = {L"Ra", L"Rb", L"Re", L"Rf", L"Rg", L"Rh", L"Rn", L"Ru"};
    for (const wchar_t* accepted : rSymbols) {
        if (symbol == accepted) return true;
    }
    return false;
}

constexpr long long kMaxCount = INT_MAX;

// Reads an optional count at `pos`: 1 when there are no digits; false for 0 or too large.
bool ReadCount(const std::wstring& text, size_t& pos, long long& count) {
    if (pos >= text.size() || !IsDigit(text[pos])) {
        count = 1;
        return true;
    }
    count = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        count = count * 10 + (text[pos] - L'0');
        if (count > kMaxCount) return false;
        ++pos;
    }
    return count > 0;
}

bool AddCount(ElementCounts& counts, const std::wstring& symbol, long long count) {
    long long& total = counts[symbol];
    total += count;
    return total <= kMaxCount;
}

void AppendElement(std::wstring& formula, const std::wstring& symbol, long long count) {
    formula += symbol;
    if (count > 1) {
        wchar_t number[24];
        swprintf(number, 24, L"%i", static_cast<int>(count));
        formula += number;
    }
}

}  // namespace

bool DeriveFormula(const std::wstring& written, std::wstring& formula) {
    formula.clear();
    std::vector<ElementCounts> levels(1);
    size_t pos = 0;
    const size_t size = written.size();
    while (pos < size) {
        const wchar_t c = written[pos];
        if (c == L'-' || c == L'=') {
            ++pos;
        } else if ((c == L'c' || c == L'C') && StartsCyclo(written, pos)) {
            pos += 5;
        } else if (IsUpper(c)) {
            const size_t start = pos++;
            while (pos < size && IsLower(written[pos])) ++pos;
            const std::wstring symbol = written.substr(start, pos - start);
            long long count = 0;
            if (!IsAcceptedSymbol(symbol) || !ReadCount(written, pos, count)) return false;
            if (!AddCount(levels.back(), symbol, count)) return false;
        } else if (c == L'(') {
            levels.emplace_back();
            ++pos;
        } else if (c == L')') {
            if (levels.size() < 2) return false;
            ++pos;
            long long multiplier = 0;
            if (!ReadCount(written, pos, multiplier)) return false;
            ElementCounts group = std::move(levels.back());
            levels.pop_back();
            for (const auto& element : group) {
                if (element.second > kMaxCount / multiplier) return false;
                if (!AddCount(levels.back(), element.first, element.second * multiplier)) return false;
            }
        } else {
            // A lowercase letter, a number with no element or group right before it,
            // or any other character.
            return false;
        }
    }
    if (levels.size() != 1 || levels[0].empty()) return false;

    // Hill order: with carbon, C then H then the rest by symbol; without carbon every
    // element by symbol (ordinal), H included.
    ElementCounts& counts = levels[0];
    if (counts.count(L"C")) {
        for (const wchar_t* first : {L"C", L"H"}) {
            const auto found = counts.find(first);
            if (found != counts.end()) {
                AppendElement(formula, found->first, found->second);
                counts.erase(found);
            }
        }
    }
    for (const auto& element : counts) AppendElement(formula, element.first, element.second);
    return true;
}

}  // namespace tarnevo
