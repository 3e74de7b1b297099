// The command line of one command: positional words and --options, with typed readers
// that refuse bad input with a UsageError (exit code 2 and the command's usage line).
//   Arguments args = Arguments::Parse(words, L"props", {{L"T", true}, {L"derivatives", false}}, 1);
//   double t = args.Number(L"T");                // required
//   std::vector<double> x = args.Numbers(L"x");  // comma-separated
// Options are written --name value or --name=value; --csv, --json and --help are known to
// every command.
#pragma once

#include <initializer_list>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/tarnevo/Report.h"

namespace tarnevo::cli {

class UsageError : public std::runtime_error {
public:
    UsageError(std::wstring command, std::wstring message)
        : std::runtime_error("usage error"), command_(std::move(command)), message_(std::move(message)) {}
    const std::wstring& command() const noexcept { return command_; }
    const std::wstring& message() const noexcept { return message_; }

private:
    std::wstring command_;
    std::wstring message_;
};

struct OptionSpec {
    const wchar_t* name;
    bool takesValue;
};

class Arguments {
public:
    static Arguments Parse(const std::vector<std::wstring>& words, const std::wstring& command,
                           std::initializer_list<OptionSpec> options, size_t positionals);

    const std::wstring& Command() const noexcept { return command_; }
    const std::wstring& Positional(size_t index) const { return positionals_.at(index); }
    Format OutputFormat() const noexcept { return format_; }
    bool Help() const noexcept { return help_; }

    bool Has(const std::wstring& name) const { return values_.count(name) != 0; }
    bool Flag(const std::wstring& name) const { return Has(name); }
    std::optional<std::wstring> Text(const std::wstring& name) const;
    std::wstring RequiredText(const std::wstring& name) const;
    double Number(const std::wstring& name) const;
    std::optional<double> OptionalNumber(const std::wstring& name) const;
    std::vector<std::wstring> List(const std::wstring& name) const;  // empty when absent

    // A UsageError for this command.
    [[noreturn]] void Refuse(const std::wstring& message) const;

private:
    static bool ParseNumberLike(const std::wstring& word);

    std::wstring command_;
    std::vector<std::wstring> positionals_;
    std::map<std::wstring, std::wstring> values_;
    Format format_ = Format::Aligned;
    bool help_ = false;
};

// "tarnevo <command> ..." for one command, or every command's line for an empty name.
std::wstring UsageLine(const std::wstring& command);
std::wstring UsageText();

}  // namespace tarnevo::cli
