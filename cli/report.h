#pragma once

// The shape of every report venturon-calc writes: label lines for people, and
// tables described once as a list of columns (name, unit, value, text format) that
// one table writer, one JSON writer and one CSV writer all read.

#include "length_display.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace venturon::cli {

// Where a column shows.
enum In : unsigned {
    in_table = 1,
    in_json = 2,
    in_csv = 4,
    everywhere = in_table | in_json | in_csv,
};

// One column of a table of rows. Its value is a number, a text, true or false, or
// null (not known: an empty CSV cell); JSON-only columns may hold arrays and objects.
template <class Row> struct Column {
    std::string key;     // in JSON and CSV: "core_limit_m_s"
    std::string heading; // over the table's column: "Core limit"
    std::string unit;    // under the heading: "m/s"
    std::function<QJsonValue(const Row&)> value;
    int decimals = 3; // the table's text of a number: fixed decimals; -1 number text
    // The table's text when the number alone does not say it (a length in the
    // units chosen, a word).
    std::function<std::string(const Row&)> shown{};
    unsigned in = everywhere;
    bool quoted = false; // a CSV text in double quotes
    bool words = false;  // aligned left in the table
};

// "Label  value" lines, the values lined up.
using Fields = std::vector<std::pair<std::string, std::string>>;
void write_fields(std::ostream& out, const Fields& fields);

// Cells padded to their column's widest, two blanks apart; numbers to the right,
// words to the left; no line ends in blanks.
void write_text_table(std::ostream& out, const std::vector<std::vector<std::string>>& rows,
                      const std::vector<bool>& words);

// How a cell shows: in the table (fixed decimals, or number text), and in CSV
// (number text, texts as they are or quoted, nothing for null).
std::string table_cell(const QJsonValue& value, int decimals);
std::string csv_cell(const QJsonValue& value, bool quoted);
void write_csv_line(std::ostream& out, const std::vector<std::string>& cells);

template <class Row>
void write_table(std::ostream& out, const std::vector<Column<Row>>& columns,
                 const std::vector<Row>& rows) {
    std::vector<std::vector<std::string>> lines(2);
    std::vector<bool> words;
    for (const auto& c : columns) {
        if (c.in & in_table) {
            lines[0].push_back(c.heading);
            lines[1].push_back(c.unit);
            words.push_back(c.words);
        }
    }
    for (const Row& row : rows) {
        std::vector<std::string> cells;
        for (const auto& c : columns) {
            if (c.in & in_table) {
                cells.push_back(c.shown ? c.shown(row) : table_cell(c.value(row), c.decimals));
            }
        }
        lines.push_back(std::move(cells));
    }
    write_text_table(out, lines, words);
}

template <class Row> QJsonObject json_row(const std::vector<Column<Row>>& columns, const Row& row) {
    QJsonObject object;
    for (const auto& c : columns) {
        if (c.in & in_json) {
            object[QString::fromStdString(c.key)] = c.value(row);
        }
    }
    return object;
}

template <class Row>
QJsonArray json_rows(const std::vector<Column<Row>>& columns, const std::vector<Row>& rows) {
    QJsonArray array;
    for (const Row& row : rows) {
        array.append(json_row(columns, row));
    }
    return array;
}

template <class Row>
void write_csv(std::ostream& out, const std::vector<Column<Row>>& columns,
               const std::vector<Row>& rows) {
    std::vector<std::string> header;
    for (const auto& c : columns) {
        if (c.in & in_csv) {
            header.push_back(c.key);
        }
    }
    write_csv_line(out, header);
    for (const Row& row : rows) {
        std::vector<std::string> cells;
        for (const auto& c : columns) {
            if (c.in & in_csv) {
                cells.push_back(csv_cell(c.value(row), c.quoted));
            }
        }
        write_csv_line(out, cells);
    }
}

// A column list of one row type taken over by another, through a function from
// the second to the first (the design frequency's response from its index, say).
template <class To, class From, class Get>
std::vector<Column<To>> columns_of(const std::vector<Column<From>>& columns, Get get) {
    std::vector<Column<To>> out;
    for (const auto& c : columns) {
        Column<To> column{c.key,   c.heading, c.unit,   nullptr, c.decimals,
                          nullptr, c.in,      c.quoted, c.words};
        column.value = [value = c.value, get](const To& row) { return value(get(row)); };
        if (c.shown) {
            column.shown = [shown = c.shown, get](const To& row) { return shown(get(row)); };
        }
        out.push_back(std::move(column));
    }
    return out;
}

// A length in the chosen units, with its millimetres beside an imperial one and a
// note after them: "1/2 in (12.7 mm, given)". Worked-out lengths show three
// decimals of a millimetre, given ones as typed (decimals -1).
std::string length_with_mm(double mm, UnitsMode units, int decimals = 3,
                           Rounding rounding = Rounding::nearest, std::string_view note = {});

// A number, or null where there is none.
inline QJsonValue number_or_null(bool known, double value) {
    return known ? QJsonValue(value) : QJsonValue();
}

} // namespace venturon::cli
