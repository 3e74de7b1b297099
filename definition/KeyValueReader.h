// Reader of the key=value line syntax shared by package definitions and TARNEVO.conf.
// It knows no keys: meaning, duplicates and unknown keys belong to the interpreters.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tarnevo {

struct KeyValueEntry {
    std::wstring key;
    std::wstring value;
};

class KeyValueReader {
public:
    // `fileKind` names the text in syntax-error messages ("Syntax error in " + fileKind + ": ...").
    explicit KeyValueReader(std::wstring fileKind = L"property package file") : fileKind_(std::move(fileKind)) {}

    // Reads the whole file (binary) and parses it. False with `message` on failure.
    bool ReadKeyValueFile(const std::wstring& path, std::wstring& message);
    // Parses 8-bit text held in memory. False with `message` on a syntax error.
    bool ParseKeyValueText(const std::string& text, std::wstring& message);

    const std::vector<KeyValueEntry>& entries() const { return entries_; }
    // The bytes that were parsed, unchanged.
    const std::string& text() const { return text_; }

private:
    bool Parse(std::wstring& message);

    std::wstring fileKind_;
    std::string text_;
    std::vector<KeyValueEntry> entries_;
};

}  // namespace tarnevo
