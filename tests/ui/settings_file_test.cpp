// The settings file as the main window uses it: what a start reads, what closing
// writes, and that everything chosen comes back after a restart.
#include "main_window_fixture.h"

#include "diameter_warning_dialog.h"
#include "number_text.h"
#include "options_dialog.h"
#include "support/row_names.h"
#include "units_dialog.h"

using namespace venturon;
using namespace venturon::testing;

namespace {

const QByteArray example_file = settings_bytes(example_settings_lines);

class SettingsFileTest : public MainWindowTest {};

} // namespace

TEST_F(SettingsFileTest, NoFileGivesTheDefaultsAndClosingWritesSeventeenLines) {
    start();
    EXPECT_TRUE(check(designed::main::cruise_control_check)->isChecked());
    EXPECT_EQ(form->reminder().chuffing_total->text(), "55");
    EXPECT_EQ(form->reminder().core_total->text(), "0");
    EXPECT_TRUE(
        child<QRadioButton>(form->options(), designed::options::home_theatre_option)->isChecked());
    EXPECT_EQ(program.allowance_texts.content_type, "Home_Theatre");
    const std::string radius = number_text(form->state().radius_mm);
    close_program();
    EXPECT_EQ(read_settings(), settings_bytes(with_line(first_start_settings_lines, 4, radius)));
}

TEST_F(SettingsFileTest, WritesTheDocumentedExampleByteForByte) {
    start();
    check(designed::main::cruise_control_check)->setChecked(false);
    program.units_mode = UnitsMode::inches;
    type(designed::main::diameter_field, "6");
    type(designed::main::port_count_field, "2");
    click(option(designed::main::manual_mode_option));
    type(designed::main::radius_field, "1");
    const char* typed[] = {"12", "15", "18", "20"};
    const auto& fields = designed::main::velocity_fields;
    for (int i = 0; i < 4; ++i) {
        type(fields[i], typed[i]);
    }
    press_enter(designed::main::radius_field);
    expect_dialog([](QDialog& d) {
        auto& o = dynamic_cast<OptionsDialog&>(d);
        child<QRadioButton>(o, designed::options::chuffing_seating_option)->setChecked(true);
        child<QRadioButton>(o, designed::options::core_masking_option)->setChecked(true);
        child<QRadioButton>(o, designed::options::music_option)->setChecked(true);
        child<QPushButton>(o, designed::options::ok_button)->click();
    });
    click_label(designed::main::options_link);
    close_program();
    EXPECT_EQ(read_settings(), example_file);
}

TEST_F(SettingsFileTest, EverythingChosenSurvivesARestart) {
    write_settings(example_file);
    start();
    EXPECT_FALSE(check(designed::main::cruise_control_check)->isChecked());
    EXPECT_EQ(form->state().diameter_mm, 152.4);
    EXPECT_EQ(text(designed::main::diameter_field)->text(), "6");
    EXPECT_EQ(text(designed::main::port_count_field)->text(), "2");
    EXPECT_EQ(text(designed::main::radius_field)->text(), "1");
    EXPECT_TRUE(option(designed::main::manual_mode_option)->isChecked());
    EXPECT_EQ(velocities(), (QStringList{" 12", " 15", " 18", " 20"}));
    EXPECT_TRUE(child<QRadioButton>(form->options(), designed::options::chuffing_seating_option)
                    ->isChecked());
    EXPECT_TRUE(
        child<QRadioButton>(form->options(), designed::options::core_masking_option)->isChecked());
    EXPECT_TRUE(child<QRadioButton>(form->options(), designed::options::music_option)->isChecked());
    EXPECT_EQ(form->reminder().core_total->text(), "40");
    EXPECT_TRUE(
        child<QRadioButton>(form->units(), designed::units::feet_inches_option)->isChecked());
    EXPECT_EQ(label(designed::main::diameter_caption)->text(), "Port Diameter - inches");
    EXPECT_EQ(program.units_mode, UnitsMode::inches);
    EXPECT_TRUE(status().startsWith(" ") || status().startsWith("Ports")) << status().toStdString();

    // And again through a close and a new start.
    restart();
    EXPECT_EQ(read_settings(), example_file);
    EXPECT_EQ(velocities(), (QStringList{" 12", " 15", " 18", " 20"}));
}

TEST_F(SettingsFileTest, CruiseReferenceCapturedAtSwitchOnIsKept) {
    start();
    check(designed::main::cruise_control_check)->setChecked(false);
    type(designed::main::velocity_fields[1], "20");
    // Reference: 100 mm, 1 port, 10, 20, 12, 7.
    check(designed::main::cruise_control_check)->setChecked(true);
    type(designed::main::diameter_field, "200");
    expect_dialog(dismiss_warning());
    press_enter(designed::main::diameter_field);
    EXPECT_EQ(velocities(), (QStringList{" 2.5", " 5", " 3", " 1.7"}));
    close_program();
    const QList<QByteArray> lines = read_settings().split('\n');
    EXPECT_EQ(lines.mid(4, 6),
              (QList<QByteArray>{" 100\r", " 1\r", " 10\r", " 20\r", " 12\r", " 7\r"}));

    // The velocities come back scaled from the reference to the saved diameter.
    program = ProgramState{};
    expect_dialog(dismiss_warning()); // the first calculation warns about 200 mm
    start();
    EXPECT_EQ(velocities(), (QStringList{" 2.5", " 5", " 3", " 1.7"}));
}

TEST_F(SettingsFileTest, UnknownUnitsModeLoadsAndSavesAsMetric) {
    write_settings(with_line(with_line(first_start_settings_lines, 16, "Cinema"), 17, "furlongs"));
    start();
    EXPECT_EQ(program.units_mode, UnitsMode::metric);
    EXPECT_EQ(text(designed::main::diameter_field)->text(), " 100");
    EXPECT_EQ(program.allowance_texts.content_type,
              "Cinema"); // kept as read, written back unchanged
    EXPECT_TRUE(
        child<QRadioButton>(form->options(), designed::options::home_theatre_option)->isChecked());
    close_program();
    const QList<QByteArray> lines = read_settings().split('\n');
    EXPECT_EQ(lines[15], "Cinema\r");
    EXPECT_EQ(lines[16], "metric\r");
}

// The file the program writes for "no allowance" on both limits loads as that
// choice: the options dialog's own default (chuffing with seating and masking)
// must not survive two "off" texts.
TEST_F(SettingsFileTest, NoAllowanceChosenByTheUserSurvivesARestart) {
    start();
    expect_dialog([](QDialog& d) {
        auto& o = dynamic_cast<OptionsDialog&>(d);
        child<QRadioButton>(o, designed::options::chuffing_none_option)->setChecked(true);
        child<QRadioButton>(o, designed::options::core_none_option)->setChecked(true);
        child<QPushButton>(o, designed::options::ok_button)->click();
    });
    click_label(designed::main::options_link);
    EXPECT_EQ(form->reminder().chuffing_total->text(), "0");
    restart();
    EXPECT_TRUE(
        child<QRadioButton>(form->options(), designed::options::chuffing_none_option)->isChecked());
    EXPECT_TRUE(
        child<QRadioButton>(form->options(), designed::options::core_none_option)->isChecked());
    EXPECT_EQ(form->reminder().chuffing_total->text(), "0");
    EXPECT_EQ(form->current_allowances().chuffing, Allowance::none);
    close_program();
    const QList<QByteArray> lines = read_settings().split('\n');
    EXPECT_EQ(lines.mid(11, 2), (QList<QByteArray>{"Boundary_mask_off\r", "Boundary_seat_off\r"}));
}

namespace {

// Files a user or an older version left: what a start makes of them.
struct OddFile {
    const char* name;
    std::string bytes;
    bool cruise_ticked;
    bool cruise_enabled;
    double diameter;
    QStringList velocities;
    bool minimum_mode;
    const char* chuffing_total;

    friend void PrintTo(const OddFile& row, std::ostream* os) { *os << row.name; }
};

SettingsLines first_start_lines_up_to(int count) {
    return {first_start_settings_lines.begin(), first_start_settings_lines.begin() + count};
}

const OddFile odd_files[] = {
    {"capitalised_cruise_on",
     crlf_file({"Cruise_on", " 120"}),
     false,
     true,
     120,
     {"10", "14", "12", "7"},
     true,
     "55"},
    {"four_lines",
     crlf_file({"cruise_off", " 80", "3", " 12"}),
     false,
     true,
     80,
     {"10", "14", "12", "7"},
     true,
     "55"},
    {"both_chuffing_texts_on",
     crlf_file(with_line(first_start_lines_up_to(13), 13, "Boundary_seat_on")),
     true,
     true,
     100,
     {" 10", " 14", " 12", " 7"},
     true,
     "25"},
    {"zero_diameter",
     crlf_file({"cruise_on", " 0"}),
     true,
     false,
     0,
     {"10", "14", "12", "7"},
     true,
     "55"},
    {"lf_line_ends",
     "cruise_off\n 90\n1\n 5\n 90\n 1\n 9\n 9\n 9\n 9\nManually_specify\n",
     false,
     true,
     90,
     {" 9", " 9", " 9", " 9"},
     false,
     "55"},
};

class OddSettingsFileTest : public MainWindowTest, public ::testing::WithParamInterface<OddFile> {};

} // namespace

TEST_P(OddSettingsFileTest, LoadsAsDocumented) {
    const OddFile& c = GetParam();
    write_settings(QByteArray::fromStdString(c.bytes));
    start();
    EXPECT_EQ(check(designed::main::cruise_control_check)->isChecked(), c.cruise_ticked);
    EXPECT_EQ(check(designed::main::cruise_control_check)->isEnabled(), c.cruise_enabled);
    EXPECT_EQ(form->state().diameter_mm, c.diameter);
    EXPECT_EQ(option(designed::main::minimum_mode_option)->isChecked(), c.minimum_mode);
    EXPECT_EQ(form->reminder().chuffing_total->text(), c.chuffing_total);
    EXPECT_EQ(velocities(), c.velocities);
    if (c.diameter == 0) {
        EXPECT_EQ(status(), stale); // no calculation
    }
}

INSTANTIATE_TEST_SUITE_P(Files, OddSettingsFileTest, ::testing::ValuesIn(odd_files), RowName());
