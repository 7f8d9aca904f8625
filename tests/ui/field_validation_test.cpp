// What leaving a field makes of its text: the diameter read in each units mode
// (or refused with a message), the port count normalised.
#include "main_window_fixture.h"

#include "support/row_names.h"

using namespace venturon;
using namespace venturon::testing;

namespace {

struct DiameterTyped {
    const char* name;
    const char* typed;
    UnitsMode units;
    QStringList messages;
    double diameter;
    bool cruise_enabled;
    const char* shown_after;

    friend void PrintTo(const DiameterTyped& row, std::ostream* os) { *os << row.name; }
};

const DiameterTyped diameters_typed[] = {
    {"minus_sign_dropped", "-150", UnitsMode::metric, {}, 150, true, " 150"},
    {"trailing_letters_dropped", "150abc", UnitsMode::metric, {}, 150, true, " 150"},
    {"empty", "", UnitsMode::metric, {zero_diameter}, 0, false, ""},
    {"letters", "abc", UnitsMode::metric, {zero_diameter}, 0, false, "abc"},
    {"imperial_letter", "6x", UnitsMode::inches, {diameter_format}, 0, false, "6x"},
    {"imperial_fraction", "6 1/2", UnitsMode::inches, {}, 165.1, true, "6 1/2"},
    {"fraction_in_decimal_inches", "6 1/2", UnitsMode::decimal_inches, {}, 165.1, true, " 6.5"},
};

class DiameterFieldTest : public MainWindowTest,
                          public ::testing::WithParamInterface<DiameterTyped> {};

struct PortsTyped {
    const char* name;
    const char* typed;
    const char* shown;
    const char* word;

    friend void PrintTo(const PortsTyped& row, std::ostream* os) { *os << row.name; }
};

const PortsTyped ports_typed[] = {
    {"empty", "", "1", "Port"},
    {"letters", "abc", "1", "Port"},
    {"fraction_cut", "1.9", "1", "Port"},
    {"two", "2", "2", "Ports"},
    {"minus_sign_dropped", "-3", "3", "Ports"},
    {"zero", "0", "1", "Port"},
    {"fraction_above_two", "2.7", "2", "Ports"},
};

class PortCountFieldTest : public MainWindowTest,
                           public ::testing::WithParamInterface<PortsTyped> {};

} // namespace

TEST_P(DiameterFieldTest, LeavingTheFieldReadsItOrSaysWhyNot) {
    const DiameterTyped& c = GetParam();
    start();
    program.units_mode = c.units;
    type(designed::main::diameter_field, QString::fromLatin1(c.typed));
    focus(text(designed::main::port_count_field));
    EXPECT_EQ(messages(), c.messages);
    EXPECT_EQ(form->state().diameter_mm, c.diameter);
    EXPECT_EQ(check(designed::main::cruise_control_check)->isEnabled(), c.cruise_enabled);
    EXPECT_EQ(text(designed::main::diameter_field)->text(), c.shown_after);
    EXPECT_EQ(form->state().diameter_changed, !c.messages.isEmpty());
    // A field that failed stays unread: leaving it again says so again.
    if (!c.messages.isEmpty()) {
        interaction.messages.clear();
        focus(text(designed::main::diameter_field));
        focus(text(designed::main::port_count_field));
        EXPECT_EQ(messages(), c.messages);
    }
}

INSTANTIATE_TEST_SUITE_P(Typed, DiameterFieldTest, ::testing::ValuesIn(diameters_typed), RowName());

TEST_P(PortCountFieldTest, IsNormalisedAndNamesThePorts) {
    const PortsTyped& c = GetParam();
    start();
    check(designed::main::cruise_control_check)->setChecked(false);
    text(designed::main::port_count_field)->setText(QString::fromLatin1(c.typed));
    EXPECT_EQ(text(designed::main::port_count_field)->text(), c.shown);
    EXPECT_EQ(form->state().port_word, c.word);
    EXPECT_EQ(status(), stale);
    calculate();
    EXPECT_TRUE(status().startsWith(QString::fromLatin1(c.word) + " will"))
        << status().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Typed, PortCountFieldTest, ::testing::ValuesIn(ports_typed), RowName());
