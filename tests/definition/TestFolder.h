// A scratch folder under the temporary path, removed with everything in it.
#pragma once

#include <string>

namespace tarnevo_test {

class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
void MakeFolder(const std::wstring& path);
bool Exists(const std::wstring& path);
void RemoveTree(const std::wstring& path);

// Text for assertions: wide strings shown as UTF-8 by GoogleTest helpers.
std::string Utf8(const std::wstring& text);

}  // namespace tarnevo_test
