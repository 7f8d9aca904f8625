#pragma once

// Names for the rows of a TEST_P table, so that each row is a ctest entry of its
// own that says which row failed. A row type also defines
//   friend void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }
// so that test lists and failure messages show the row by its name, not its bytes.

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <string_view>

namespace venturon::testing {

// text as a test name: letters and digits kept, every other run of characters
// one underscore ("diameter 1e300.ini" -> "diameter_1e300_ini").
inline std::string test_name(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
            out += c;
        } else if (!out.empty() && out.back() != '_') {
            out += '_';
        }
    }
    while (!out.empty() && out.back() == '_') {
        out.pop_back();
    }
    return out;
}

// The name generator of INSTANTIATE_TEST_SUITE_P for rows with a `name`.
struct RowName {
    template <typename Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
        return test_name(info.param.name);
    }
};

} // namespace venturon::testing
