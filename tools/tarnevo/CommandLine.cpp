#include "tools/tarnevo/CommandLine.h"

#include "tools/tarnevo/Text.h"

namespace tarnevo::cli {
namespace {

struct Usage {
    const wchar_t* command;
    const wchar_t* line;
};

const Usage kUsages[] = {
    {L"packages", L"tarnevo packages [--csv|--json]"},
    {L"new", L"tarnevo new NAME --fluids METHANE,ETHANE,... [--model DEFAULT|GERG|AGA|PR|CUSTOM] "
             L"[--description TEXT] [--mix FILE]"},
    {L"show", L"tarnevo show NAME [--csv|--json]"},
    {L"props", L"tarnevo props NAME --phase Vapor|Liquid --T K --P Pa --x x1,x2,... [--props LIST] "
               L"[--derivatives] [--api 1.1|1.0] [--csv|--json]"},
    {L"tdep", L"tarnevo tdep NAME --T K [--props LIST] [--compounds LIST] [--csv|--json]"},
    {L"flash", L"tarnevo flash NAME --z z1,z2,... and two of --T K, --P Pa, --H J/mol, --S J/(mol K), "
               L"--U J/mol, --V m3/mol, --Q fraction [--mass] [--api 1.1|1.0] [--csv|--json]"},
    {L"envelope", L"tarnevo envelope NAME --z z1,z2,... [--pmin Pa] [--pmax Pa] [--points N] "
                  L"[--out PREFIX] [--csv|--json]"},
    {L"bench", L"tarnevo bench NAME [--z z1,z2,...] [--T K] [--P Pa] [--seconds S] [--csv|--json]"},
};

}  // namespace

std::wstring UsageLine(const std::wstring& command) {
    for (const Usage& usage : kUsages) {
        if (command == usage.command) return std::wstring(L"usage: ") + usage.line;
    }
    return UsageText();
}

std::wstring UsageText() {
    std::wstring text = L"usage: tarnevo COMMAND ...\n";
    for (const Usage& usage : kUsages) text += std::wstring(L"  ") + usage.line + L"\n";
    text += L"Compositions are mole fractions in the package's compound order, or NAME=value pairs;\n"
            L"values that do not sum to 1 are normalised with a note.";
    return text;
}

Arguments Arguments::Parse(const std::vector<std::wstring>& words, const std::wstring& command,
                           std::initializer_list<OptionSpec> options, size_t positionals) {
    Arguments args;
    args.command_ = command;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::wstring& word = words[i];
        if (word.size() < 3 || word.compare(0, 2, L"--") != 0) {
            if (word.size() > 1 && word[0] == L'-' && !ParseNumberLike(word))
                args.Refuse(L"unknown option " + word);
            args.positionals_.push_back(word);
            continue;
        }
        std::wstring name = word.substr(2);
        std::optional<std::wstring> inlineValue;
        const size_t equals = name.find(L'=');
        if (equals != std::wstring::npos) {
            inlineValue = name.substr(equals + 1);
            name.erase(equals);
        }
        if (name == L"csv" || name == L"json") {
            args.format_ = name == L"csv" ? Format::Csv : Format::Json;
            continue;
        }
        if (name == L"help") {
            args.help_ = true;
            continue;
        }
        const OptionSpec* spec = nullptr;
        for (const OptionSpec& option : options) {
            if (name == option.name) spec = &option;
        }
        if (!spec) args.Refuse(L"unknown option --" + name);
        if (args.values_.count(name)) args.Refuse(L"--" + name + L" is given twice");
        if (!spec->takesValue) {
            if (inlineValue) args.Refuse(L"--" + name + L" takes no value");
            args.values_[name] = L"";
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= words.size()) args.Refuse(L"--" + name + L" needs a value");
            inlineValue = words[++i];
        }
        args.values_[name] = *inlineValue;
    }
    if (args.help_) return args;
    if (args.positionals_.size() < positionals)
        args.Refuse(positionals == 1 ? L"the package name is missing" : L"an argument is missing");
    if (args.positionals_.size() > positionals) args.Refuse(L"unexpected argument " + args.positionals_[positionals]);
    return args;
}

bool Arguments::ParseNumberLike(const std::wstring& word) {
    double value = 0;
    return ParseNumber(word, value);
}

std::optional<std::wstring> Arguments::Text(const std::wstring& name) const {
    const auto found = values_.find(name);
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

std::wstring Arguments::RequiredText(const std::wstring& name) const {
    auto text = Text(name);
    if (!text) Refuse(L"--" + name + L" is missing");
    return *text;
}

double Arguments::Number(const std::wstring& name) const {
    auto value = OptionalNumber(name);
    if (!value) Refuse(L"--" + name + L" is missing");
    return *value;
}

std::optional<double> Arguments::OptionalNumber(const std::wstring& name) const {
    auto text = Text(name);
    if (!text) return std::nullopt;
    double value = 0;
    if (!ParseNumber(*text, value)) Refuse(L"--" + name + L": \"" + *text + L"\" is not a number");
    return value;
}

std::vector<std::wstring> Arguments::List(const std::wstring& name) const {
    auto text = Text(name);
    if (!text) return {};
    std::vector<std::wstring> parts = Split(*text, L',');
    for (const std::wstring& part : parts) {
        if (part.empty()) Refuse(L"--" + name + L" has an empty element");
    }
    return parts;
}

void Arguments::Refuse(const std::wstring& message) const { throw UsageError(command_, message); }

}  // namespace tarnevo::cli
