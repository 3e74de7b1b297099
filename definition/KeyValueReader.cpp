#include "definition/KeyValueReader.h"

#include <new>

#include "definition/AnsiText.h"
#include "definition/FileAccess.h"

namespace tarnevo {

bool KeyValueReader::ReadKeyValueFile(const std::wstring& path, std::wstring& message) {
    text_.clear();
    entries_.clear();
    try {
        int errorNumber = 0;
        UniqueFile file = OpenFile(path, L"rb", errorNumber);
        if (!file) {
            message = L"Failed to open \"" + path + L"\" for reading: " + CrtErrorText(errorNumber);
            return false;
        }
        if (!ReadAll(file.get(), text_)) {
            message = L"Failed to read \"" + path + L"\"";
            text_.clear();
            return false;
        }
        file.reset();
        return Parse(message);
    } catch (const std::bad_alloc&) {
        text_.clear();
        entries_.clear();
        message = L"Out of memory";
        return false;
    }
}

bool KeyValueReader::ParseKeyValueText(const std::string& text, std::wstring& message) {
    entries_.clear();
    try {
        text_ = text;
        return Parse(message);
    } catch (const std::bad_alloc&) {
        text_.clear();
        entries_.clear();
        message = L"Out of memory";
        return false;
    }
}

bool KeyValueReader::Parse(std::wstring& message) {
    entries_.clear();
    const std::string& buffer = text_;
    const size_t size = buffer.size();
    size_t pos = 0;
    std::string key, value;
    for (;;) {
        key.clear();
        value.clear();
        // Leading bytes: blanks and control characters (taken as signed bytes, so also
        // bytes of 0x80 and above, e.g. a byte-order mark) and comment lines.
        while (pos < size) {
            const signed char c = static_cast<signed char>(buffer[pos]);
            if (c <= 32) {
                ++pos;
            } else if (c == '#') {
                while (pos < size && buffer[pos] != '\n') ++pos;
                if (pos < size) ++pos;
            } else {
                break;
            }
        }
        if (pos >= size) return true;

        while (pos < size && buffer[pos] != '=' && buffer[pos] != '\n') {
            if (buffer[pos] != '\r') key.push_back(buffer[pos]);
            ++pos;
        }
        if (pos < size && buffer[pos] == '=') {
            ++pos;
            while (pos < size && buffer[pos] != '\n') {
                if (buffer[pos] != '\r') value.push_back(buffer[pos]);
                ++pos;
            }
        }
        if (pos < size) ++pos;  // the LF

        if (!key.empty() && !value.empty()) {
            entries_.push_back(KeyValueEntry{AnsiToWide(key), AnsiToWide(value)});
        } else if (!value.empty()) {
            message = L"Syntax error in " + fileKind_ + L": found value \"" + AnsiToWide(value) +
                      L"\" without key";
            entries_.clear();
            return false;
        } else if (!key.empty()) {
            message = L"Syntax error in " + fileKind_ + L": found key \"" + AnsiToWide(key) +
                      L"\" without value";
            entries_.clear();
            return false;
        }
    }
}

}  // namespace tarnevo
