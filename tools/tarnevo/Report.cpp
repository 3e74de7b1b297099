#include "tools/tarnevo/Report.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/tarnevo/Text.h"

namespace tarnevo::cli {
namespace {

std::wstring TextOf(const Cell& cell, int digits) {
    switch (cell.kind) {
        case Cell::Kind::Number: return FormatNumber(cell.number, digits);
        case Cell::Kind::Text: return cell.text;
        default: return std::wstring();
    }
}

std::wstring Aligned(const Table& table) {
    const size_t n = table.columns.size();
    std::vector<std::vector<std::wstring>> texts;
    std::vector<size_t> width(n, 0);
    for (size_t c = 0; c < n; ++c) width[c] = table.columns[c].name.size();
    for (const auto& row : table.rows) {
        std::vector<std::wstring> line;
        for (size_t c = 0; c < n; ++c) {
            const Cell cell = c < row.size() ? row[c] : Cell();
            std::wstring text = TextOf(cell, 7);
            if (text.empty() || (cell.kind == Cell::Kind::Number && std::isnan(cell.number))) text = L"-";
            width[c] = std::max(width[c], text.size());
            line.push_back(std::move(text));
        }
        texts.push_back(std::move(line));
    }
    auto format = [&](const std::vector<std::wstring>& line) {
        std::wstring out;
        for (size_t c = 0; c < n; ++c) {
            const size_t pad = width[c] - line[c].size();
            const bool right = table.columns[c].numeric;
            if (c) out += L"  ";
            if (right) out.append(pad, L' ');
            out += line[c];
            if (!right && c + 1 < n) out.append(pad, L' ');
        }
        while (!out.empty() && out.back() == L' ') out.pop_back();
        return out + L"\n";
    };
    std::vector<std::wstring> header;
    for (const Column& column : table.columns) header.push_back(column.name);
    std::wstring out = table.key + L"\n" + format(header);
    std::vector<std::wstring> rule;
    for (size_t c = 0; c < n; ++c) rule.push_back(std::wstring(width[c], L'-'));
    out += format(rule);
    for (const auto& line : texts) out += format(line);
    return out;
}

std::wstring CsvField(const std::wstring& text) {
    if (text.find_first_of(L",\"\n\r") == std::wstring::npos) return text;
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        if (c == L'"') out += L'"';
        out += c;
    }
    return out + L"\"";
}

std::wstring JsonString(const std::wstring& text) {
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        switch (c) {
            case L'"': out += L"\\\""; break;
            case L'\\': out += L"\\\\"; break;
            case L'\n': out += L"\\n"; break;
            case L'\r': out += L"\\r"; break;
            case L'\t': out += L"\\t"; break;
            default:
                if (c < 0x20) {
                    wchar_t escaped[8];
                    std::swprintf(escaped, 8, L"\\u%04x", static_cast<unsigned>(c));
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    return out + L"\"";
}

std::wstring JsonValue(const Cell& cell) {
    if (cell.kind == Cell::Kind::Text) return JsonString(cell.text);
    if (cell.kind == Cell::Kind::Number && std::isfinite(cell.number)) return FormatNumber(cell.number, 12);
    return L"null";
}

std::wstring Json(const std::vector<Table>& tables) {
    std::wstring out = L"{";
    for (size_t t = 0; t < tables.size(); ++t) {
        const Table& table = tables[t];
        out += (t ? L",\n " : L"\n ") + JsonString(table.key) + L": [";
        for (size_t r = 0; r < table.rows.size(); ++r) {
            out += r ? L",\n  {" : L"\n  {";
            for (size_t c = 0; c < table.columns.size(); ++c) {
                if (c) out += L", ";
                const Cell cell = c < table.rows[r].size() ? table.rows[r][c] : Cell();
                out += JsonString(table.columns[c].name) + L": " + JsonValue(cell);
            }
            out += L"}";
        }
        out += table.rows.empty() ? L"]" : L"\n ]";
    }
    return out + L"\n}\n";
}

bool IsConsole(DWORD which) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(which), &mode) != 0;
}

}  // namespace

std::string RenderCsv(const Table& table) {
    std::wstring out;
    for (size_t c = 0; c < table.columns.size(); ++c) out += (c ? L"," : L"") + CsvField(table.columns[c].name);
    out += L"\n";
    for (const auto& row : table.rows) {
        for (size_t c = 0; c < table.columns.size(); ++c) {
            const Cell cell = c < row.size() ? row[c] : Cell();
            const bool missing = cell.kind == Cell::Kind::Number && !std::isfinite(cell.number);
            out += (c ? L"," : L"") + (missing ? std::wstring() : CsvField(TextOf(cell, 12)));
        }
        out += L"\n";
    }
    return Utf8(out);
}

std::string Render(const std::vector<Table>& tables, Format format) {
    if (format == Format::Json) return Utf8(Json(tables));
    std::string out;
    for (size_t t = 0; t < tables.size(); ++t) {
        if (t) out += "\n";
        out += format == Format::Csv ? RenderCsv(tables[t]) : Utf8(Aligned(tables[t]));
    }
    return out;
}

void WriteOut(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void WriteErr(const std::wstring& text) {
    const std::string bytes = Utf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
    std::fflush(stderr);
}

void Note(const std::wstring& text) { WriteErr(L"note: " + text + L"\n"); }

Progress::Progress(std::wstring label, int total)
    : label_(std::move(label)), total_(std::max(total, 1)), console_(IsConsole(STD_ERROR_HANDLE)) {}

Progress::~Progress() {
    if (console_ && shown_) WriteErr(L"\r" + std::wstring(label_.size() + 24, L' ') + L"\r");
}

void Progress::Step(int done) {
    const int tenth = done * 10 / total_;
    if (console_) {
        WriteErr(L"\r" + label_ + L" " + std::to_wstring(done) + L"/" + std::to_wstring(total_));
        shown_ = true;
    } else if (tenth != lastTenth_) {
        lastTenth_ = tenth;
        WriteErr(label_ + L" " + std::to_wstring(done) + L"/" + std::to_wstring(total_) + L"\n");
    }
}

}  // namespace tarnevo::cli
