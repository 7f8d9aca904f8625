#include "report.h"

#include "length_display.h"
#include "number_text.h"

#include <algorithm>

namespace venturon::cli {

void write_text_table(std::ostream& out, const std::vector<std::vector<std::string>>& rows,
                      const std::vector<bool>& words) {
    std::vector<std::size_t> widths(words.size(), 0);
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c) {
            widths[c] = std::max(widths[c], row[c].size());
        }
    }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c) {
            const std::string padding(widths[c] - row[c].size(), ' ');
            const bool last = c + 1 == row.size();
            line += c ? "  " : "";
            line += words[c] ? row[c] + (last ? "" : padding) : padding + row[c];
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }
}

void write_fields(std::ostream& out, const Fields& fields) {
    std::vector<std::vector<std::string>> rows;
    for (const auto& [label, value] : fields) {
        rows.push_back({label, value});
    }
    write_text_table(out, rows, {true, true});
}

std::string table_cell(const QJsonValue& value, int decimals) {
    if (value.isDouble()) {
        return decimals < 0 ? number_text_trimmed(value.toDouble())
                            : fixed(value.toDouble(), decimals);
    }
    if (value.isBool()) {
        return value.toBool() ? "yes" : "no";
    }
    return value.toString().toStdString();
}

std::string csv_cell(const QJsonValue& value, bool quoted) {
    if (value.isDouble()) {
        return number_text_trimmed(value.toDouble());
    }
    if (value.isBool()) {
        return value.toBool() ? "true" : "false";
    }
    if (!value.isString()) {
        return {};
    }
    const std::string text = value.toString().toStdString();
    if (!quoted) {
        return text;
    }
    std::string out = "\"";
    for (char c : text) {
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return out + "\"";
}

std::string length_with_mm(double mm, UnitsMode units, int decimals, Rounding rounding,
                           std::string_view note) {
    std::string aside = units == UnitsMode::metric
                            ? std::string()
                            : length_number(mm, UnitsMode::metric, decimals, rounding) + " mm";
    if (!note.empty()) {
        aside += (aside.empty() ? "" : ", ") + std::string(note);
    }
    const std::string text = show_length(mm, units, decimals, rounding);
    return aside.empty() ? text : text + " (" + aside + ")";
}

void write_csv_line(std::ostream& out, const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        out << (i ? "," : "") << cells[i];
    }
    out << '\n';
}

} // namespace venturon::cli
