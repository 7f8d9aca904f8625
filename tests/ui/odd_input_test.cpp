// Whatever a builder types or pastes into any field, in any units and display
// mode: every Calculate command does bounded work (a graph of a bounded number
// of items at positions that are numbers), and nothing the window shows (fields,
// captions, status line, graph labels) reads nan or inf.
#include "main_window_fixture.h"
#include "shown_texts.h"

#include "support/row_names.h"
#include "units_dialog.h"

using namespace venturon;
using namespace venturon::testing;

namespace {

struct OddInput {
    const char* name;
    QString text;
    bool typeable; // short and printable: also typed key by key

    friend void PrintTo(const OddInput& row, std::ostream* os) { *os << row.name; }
};

QString digits(int n) {
    QString out(n, u'9');
    out[0] = u'1';
    return out;
}

const std::vector<OddInput>& odd_inputs() {
    static const std::vector<OddInput> inputs{
        {"exponent_308", QStringLiteral("1e308"), true},
        {"exponent_308_negative", QStringLiteral("-1e308"), true},
        {"exponent_999", QStringLiteral("1e999"), true},
        {"subnormal", QStringLiteral("1e-320"), true},
        {"digits_400", digits(400), false},
        {"digits_400_after_a_point", QStringLiteral("0.") + digits(400), false},
        {"text_100_kB", QString(qsizetype{100} * 1024, u'7') + QStringLiteral("x 1/2'"), false},
        {"negative_zero", QStringLiteral("-0"), true},
        {"point", QStringLiteral("."), true},
        {"tabs", QStringLiteral("\t150\t"), false},
        {"control_characters",
         QStringLiteral("\x01\x02"
                        "5\x7f\x1b"),
         false},
        {"line_breaks", QStringLiteral("12\n5\r\n6' 1/2"), false},
        {"feet_and_a_fraction", QStringLiteral("6' 10 1/2"), true},
        {"fraction_of_nothing", QStringLiteral("1/0"), true},
        {"nan", QStringLiteral("NaN"), true},
        {"minus_inf", QStringLiteral("-inf"), true},
    };
    return inputs;
}

// The ways a text gets into a field, and their names in failure messages.
enum class Way { type, paste, set_text, insert };
constexpr Way every_way[] = {Way::type, Way::paste, Way::set_text, Way::insert};
constexpr const char* way_names[] = {"typed", "pasted", "set", "inserted"};

class OddInputTest : public MainWindowTest, public ::testing::WithParamInterface<OddInput> {
protected:
    void put(const char* field, const QString& input, Way way) {
        QLineEdit* edit = text(field);
        switch (way) {
        case Way::type:
            type(field, input);
            break;
        case Way::paste:
            paste(field, input);
            break;
        case Way::set_text:
            edit->setText(input);
            break;
        case Way::insert:
            edit->selectAll();
            edit->insert(input);
            break;
        }
    }

    // Calculates as the user would, then clicks the graph at both ends and in the
    // middle; the window must show only numbers and a graph of bounded size.
    void calculate_and_check(const std::string& where, const QString& typed) {
        interaction.dialog_actions.push_back(dismiss_warning());
        calculate();
        for (double x : {0.0, 2.6, 4.0}) {
            click_graph(x);
        }
        interaction.dialog_actions.clear();
        EXPECT_EQ(non_numbers_shown(*form, {typed}), "") << where;
    }

    // option: the designed name of the units dialog's button.
    void choose_units(const char* option) {
        expect_dialog([option](QDialog& d) {
            auto& units = dynamic_cast<UnitsDialog&>(d);
            child<QRadioButton>(units, option)->setChecked(true);
            child<QPushButton>(units, designed::units::ok_button)->click();
        });
        click_label(designed::main::units_link);
    }
};

} // namespace

// One input, every way of putting it into every field, in both display modes and
// all three units modes.
TEST_P(OddInputTest, InEveryFieldUnitsAndDisplayMode) {
    const OddInput& input = GetParam();
    start();
    check(designed::main::cruise_control_check)->setChecked(false); // velocity fields editable
    click(option(designed::main::manual_mode_option));              // radius field editable
    namespace name = designed::main;
    const char* fields[] = {name::diameter_field,     name::radius_field,
                            name::port_count_field,   name::velocity_fields[0],
                            name::velocity_fields[1], name::velocity_fields[2],
                            name::velocity_fields[3]};
    const struct {
        UnitsMode mode;
        const char* option;
    } units_modes[] = {{UnitsMode::metric, designed::units::metric_option},
                       {UnitsMode::inches, designed::units::feet_inches_option},
                       {UnitsMode::decimal_inches, designed::units::decimal_inches_option}};

    int calculations = 0;
    for (DisplayMode display : {DisplayMode::full, DisplayMode::simple}) {
        if (program.display_mode != display) {
            interaction.dialog_actions.push_back(dismiss_warning());
            click_label(designed::main::mode_link);
            interaction.dialog_actions.clear();
        }
        ASSERT_EQ(program.display_mode, display);
        for (const auto& units : units_modes) {
            choose_units(units.option);
            ASSERT_EQ(program.units_mode, units.mode);
            for (const char* field : fields) {
                const QString sane = text(field)->text();
                for (Way way : every_way) {
                    if (way == Way::type && !input.typeable) {
                        continue;
                    }
                    const std::string where =
                        std::string(display == DisplayMode::full ? "Full" : "Simple") + " mode, " +
                        std::string(units_mode_text(units.mode)) + ", " + field + ": " +
                        way_names[static_cast<int>(way)];
                    put(field, input.text, way);
                    calculate_and_check(where, input.text);
                    ++calculations;
                }
                text(field)->setText(sane);
            }
        }
    }
    EXPECT_EQ(calculations, 2 * 3 * 7 * (input.typeable ? 4 : 3));
    EXPECT_TRUE(interaction.unexpected_dialogs.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Inputs, OddInputTest, ::testing::ValuesIn(odd_inputs()), RowName());

namespace {

struct AbsurdNumber {
    const char* name;
    const char* text;

    friend void PrintTo(const AbsurdNumber& row, std::ostream* os) { *os << row.name; }
};

// Numbers at and beyond the ends of a double, tried as the diameter with each of
// them as every required velocity.
const AbsurdNumber absurd_numbers[] = {
    {"exponent_308", "1e308"},
    {"exponent_300", "1e300"},
    {"exponent_minus_300", "1e-300"},
    {"negative_zero", "-0"},
    {"point", "."},
    {"tab_before_5", "\t5"},
    {"exponent_999", "1e999"},
};

class AbsurdDiameterTest : public MainWindowTest,
                           public ::testing::WithParamInterface<AbsurdNumber> {};

} // namespace

TEST_P(AbsurdDiameterTest, WithAbsurdVelocitiesShowsOnlyNumbers) {
    const char* diameter = GetParam().text;
    start();
    check(designed::main::cruise_control_check)->setChecked(false);
    for (const AbsurdNumber& velocity : absurd_numbers) {
        interaction.messages.clear();
        type(designed::main::diameter_field, QString::fromLatin1(diameter));
        for (const char* f : designed::main::velocity_fields) {
            type(f, QString::fromLatin1(velocity.text));
        }
        interaction.dialog_actions.push_back(dismiss_warning());
        calculate();
        interaction.dialog_actions.clear();
        click_graph(2.6);
        EXPECT_EQ(non_numbers_shown(*form), "") << "velocities " << velocity.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Numbers, AbsurdDiameterTest, ::testing::ValuesIn(absurd_numbers),
                         RowName());

namespace {
class PastedLengthTest : public MainWindowTest {};
} // namespace

// A length copied from a spreadsheet or a document ends in a line break, which a
// paste brings along: the field still reads the number in front of it.
TEST_F(PastedLengthTest, LineEndThatComesAlongIsIgnored) {
    start();
    QLineEdit* diameter = text(designed::main::diameter_field);
    for (const char* copied : {"150\r\n", "150\n", "150\r", "\n150\n"}) {
        SCOPED_TRACE(::testing::PrintToString(std::string(copied)));
        paste(designed::main::diameter_field, QString::fromLatin1(copied));
        calculate();
        EXPECT_EQ(form->state().diameter_mm, 150);
        EXPECT_EQ(diameter->text(), " 150");
        EXPECT_EQ(messages(), QStringList());
    }
}
