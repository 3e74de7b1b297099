// What a command prints: tables of text and numbers, rendered as aligned text, CSV or JSON.
//   Table t{L"properties", {{L"property"}, {L"value", true}, {L"unit"}}};
//   t.Add({Cell(L"density"), Cell(41.2), Cell(L"mol/m3")});
//   WriteOut(Render({t}, Format::Aligned));
// Aligned text shows numbers with 7 significant digits, CSV and JSON with 12; a missing
// number is "-" in text, empty in CSV and null in JSON.
#pragma once

#include <string>
#include <vector>

namespace tarnevo::cli {

enum class Format { Aligned, Csv, Json };

struct Cell {
    enum class Kind { Missing, Number, Text };
    Kind kind = Kind::Missing;
    double number = 0.0;
    std::wstring text;

    Cell() = default;
    Cell(double value) : kind(Kind::Number), number(value) {}  // NOLINT: cells are built from values
    Cell(std::wstring value) : kind(Kind::Text), text(std::move(value)) {}
    Cell(const wchar_t* value) : kind(Kind::Text), text(value) {}
};

struct Column {
    std::wstring name;
    bool numeric = false;
};

struct Table {
    std::wstring key;  // JSON member name; also the title of the aligned form
    std::vector<Column> columns;
    std::vector<std::vector<Cell>> rows;

    Table(std::wstring tableKey, std::vector<Column> tableColumns)
        : key(std::move(tableKey)), columns(std::move(tableColumns)) {}
    void Add(std::vector<Cell> row) { rows.push_back(std::move(row)); }
};

std::string Render(const std::vector<Table>& tables, Format format);
std::string RenderCsv(const Table& table);

// Output channels: results to stdout, notes and progress to stderr (UTF-8).
void WriteOut(const std::string& text);
void WriteErr(const std::wstring& text);
void Note(const std::wstring& text);

// A counter on stderr for long sweeps: rewritten in place on a console, a line every tenth
// of the way otherwise.
class Progress {
public:
    Progress(std::wstring label, int total);
    ~Progress();
    void Step(int done);

private:
    std::wstring label_;
    int total_;
    int lastTenth_ = -1;
    bool console_;
    bool shown_ = false;
};

}  // namespace tarnevo::cli
