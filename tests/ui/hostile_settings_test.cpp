// Settings files edited by hand, cut short by a full disk or copied between
// machines: each is loaded by the real main window at start-up and saved again.
// Whatever it holds, the program starts, shows numbers, and writes back a valid
// 17-line file that loads to the same state.
#include "main_window_fixture.h"
#include "shown_texts.h"

#include "calculation.h"
#include "number_text.h"
#include "options_dialog.h"
#include "settings_format.h"
#include "support/row_names.h"
#include "units_dialog.h"

#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <set>

using namespace venturon;
using namespace venturon::testing;

namespace {

QString data_directory() {
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../data/settings");
}

// What start-up makes of a file. The defaults are those of a first start.
struct Hostile {
    const char* file;                      // under tests/data/settings, or a name for make
    std::function<QByteArray()> make = {}; // generated content, too large to keep in the tree
    double diameter = 100;                 // diameter_mm after start-up
    bool calculated = true;                // a verdict in the status line, else no calculation
    bool cruise = true;                    // cruise control ticked
    bool cruise_enabled = true;
    bool minimum = true; // "Calculate minimum flare radius" selected
    const char* units = "metric";
    const char* ports = "1";             // the port count field
    const char* diameter_text = nullptr; // the diameter field, when it matters
    const char* chuffing_total = "55";
    const char* core_total = "0";
    QStringList velocities = {}; // the velocity fields, when it matters
    QStringList messages = {};   // message boxes during start-up
    bool warned = false;         // the large-diameter warning at start-up

    friend void PrintTo(const Hostile& row, std::ostream* os) { *os << row.file; }
};

QStringList verdicts() {
    QStringList out;
    for (Verdict v :
         {Verdict::noise_free, Verdict::core, Verdict::chuffing, Verdict::chuffing_and_core}) {
        for (const char* word : {"Port", "Ports"}) {
            out << QString::fromStdString(verdict_text(v, word));
        }
    }
    return out;
}

// What the file stores, as the window holds it.
QStringList stored_state(const MainWindow& f, const ProgramState& p) {
    const auto yes_no = [](bool b) { return QString::fromLatin1(b ? "yes" : "no"); };
    return {
        yes_no(child<QCheckBox>(f, designed::main::cruise_control_check)->isChecked()),
        yes_no(child<QCheckBox>(f, designed::main::cruise_control_check)->isEnabled()),
        QString::fromStdString(number_text(f.state().diameter_mm)),
        child<QLineEdit>(f, designed::main::port_count_field)->text(),
        QString::fromStdString(number_text(f.state().radius_mm)),
        yes_no(child<QRadioButton>(f, designed::main::minimum_mode_option)->isChecked()),
        QString::fromStdString(p.allowance_texts.boundary_mask),
        QString::fromStdString(p.allowance_texts.boundary_seat),
        QString::fromStdString(p.allowance_texts.core_mask),
        QString::fromStdString(p.allowance_texts.core_seat),
        QString::fromStdString(p.allowance_texts.content_type),
        QString::fromLatin1(units_mode_text(p.units_mode).data()),
        yes_no(child<QRadioButton>(f.options(), designed::options::chuffing_masking_option)
                   ->isChecked()),
        yes_no(child<QRadioButton>(f.options(), designed::options::chuffing_seating_option)
                   ->isChecked()),
        yes_no(
            child<QRadioButton>(f.options(), designed::options::core_masking_option)->isChecked()),
        yes_no(
            child<QRadioButton>(f.options(), designed::options::core_seating_option)->isChecked()),
        yes_no(child<QRadioButton>(f.options(), designed::options::music_option)->isChecked()),
        yes_no(child<QRadioButton>(f.units(), designed::units::metric_option)->isChecked()),
        yes_no(child<QRadioButton>(f.units(), designed::units::feet_inches_option)->isChecked()),
        yes_no(
            child<QRadioButton>(f.units(), designed::units::decimal_inches_option)->isChecked())};
}

// Exactly 17 lines, each ended by CR LF, and nothing else.
::testing::AssertionResult is_settings_file(const QByteArray& bytes) {
    const QList<QByteArray> parts = bytes.split('\n');
    if (parts.size() != settings_line_count + 1 || !parts.last().isEmpty()) {
        return ::testing::AssertionFailure() << parts.size() - 1 << " line feeds";
    }
    for (int i = 0; i < settings_line_count; ++i) {
        const QByteArray& line = parts[i];
        if (!line.endsWith('\r') || line.count('\r') != 1) {
            return ::testing::AssertionFailure() << "line " << i + 1 << " is not ended by CR LF";
        }
    }
    return ::testing::AssertionSuccess();
}

// A file whose diameter cannot be used: no calculation at start-up, and no
// cruise control without a diameter.
Hostile without_diameter(Hostile h) {
    h.diameter = 0;
    h.calculated = false;
    h.cruise_enabled = false;
    return h;
}

const std::vector<Hostile>& hostile_files() {
    static const std::vector<Hostile> files{
        {.file = "empty.ini"},
        {.file = "one_byte.ini", .cruise = false},
        {.file = "binary_garbage.ini",
         .diameter = 1,
         .cruise = false,
         .minimum = false,
         .chuffing_total = "0",
         .velocities = {" 0", " 0", " 0", " 0"}},
        {.file = "nul_bytes.ini", .cruise = false},
        {.file = "nul_inside_lines.ini", .diameter = 1, .cruise = false, .diameter_text = " 1"},
        without_diameter(
            {.file = "only_cr.ini", .cruise = false, .minimum = false, .chuffing_total = "0"}),
        without_diameter(
            {.file = "only_lf.ini", .cruise = false, .minimum = false, .chuffing_total = "0"}),
        {.file = "byte_order_mark.ini", .diameter = 120, .cruise = false}, // line 1 is not exact
        // The field shows whole millimetres, and the first calculation reads them.
        {.file = "blanks_around.ini",
         .diameter = 152,
         .cruise = false,
         .minimum = false,
         .ports = "2",
         .chuffing_total = "0"},
        {.file = "tabs_and_control_characters.ini",
         .diameter = 150,
         .cruise = false,
         .minimum = false},
        {.file = "mixed_line_ends.ini",
         .diameter = 130,
         .cruise = false,
         .minimum = false,
         .chuffing_total = "0",
         .velocities = {" 0", " 0", " 0", " 0"}},
        without_diameter({.file = "diameter_1e999.ini"}),
        {.file = "diameter_negative.ini",
         .diameter = -5,
         .calculated = false,
         .diameter_text = "-5"},
        without_diameter(
            {.file = "diameter_subnormal.ini", .diameter_text = " 0", .messages = {zero_diameter}}),
        without_diameter({.file = "diameter_nan.ini"}),
        without_diameter({.file = "diameter_hex.ini"}),
        {.file = "diameter_decimal_comma.ini", .diameter = 1, .diameter_text = " 1"},
        without_diameter({.file = "diameter_zero.ini"}),
        {.file = "diameter_1e300.ini",
         .diameter = 1e300,
         .diameter_text = " 1e+300",
         .warned = true},
        // Imperial modes show an exponent as ERR, which the first calculation refuses.
        without_diameter({.file = "diameter_1e300_inches.ini",
                          .units = "inches",
                          .diameter_text = "ERR",
                          .messages = {diameter_format}}),
        without_diameter({.file = "diameter_400_digits.ini"}),
        without_diameter({.file = "diameter_tiny_decimal_inches.ini",
                          .units = "decimalinches",
                          .diameter_text = " 0",
                          .messages = {zero_diameter}}),
        {.file = "three_lines.ini", .diameter = 120, .cruise = false, .ports = "2"},
        {.file = "ten_lines.ini",
         .diameter = 200,
         .ports = "2",
         .velocities = {" 1.2", " 1.7", " 1.5", " 0.8"},
         .warned = true},
        {.file = "eleven_lines.ini", .diameter = 120, .minimum = false},
        {.file = "sixteen_lines.ini",
         .diameter = 152,
         .cruise = false,
         .minimum = false,
         .ports = "2",
         .chuffing_total = "25",
         .core_total = "40"},
        {.file = "forty_lines.ini",
         .diameter = 152.4,
         .cruise = false,
         .minimum = false,
         .units = "inches",
         .ports = "2",
         .diameter_text = "6",
         .chuffing_total = "25",
         .core_total = "40",
         .velocities = {" 12", " 15", " 18", " 20"}},
        {.file = "unknown_texts.ini",
         .diameter = 140,
         .cruise = false,
         .minimum = false,
         .chuffing_total = "0"},
        {.file = "every_allowance_on.ini", .chuffing_total = "25", .core_total = "25"},
        {.file = "radius_1e300_manual.ini", .minimum = false},
        {.file = "velocities_1e308.ini",
         .velocities = {" 1.79769313486231e+308", " 1.79769313486231e+308",
                        " 1.79769313486231e+308", " 1.79769313486231e+308"}},
        {.file = "reference_zero.ini", .velocities = {" 0", " 0", " 0", " 0"}},
        // The calculation shows the velocities used: their absolute values.
        {.file = "reference_negative.ini", .velocities = {" 20", " 28", " 24", " 14"}},
        {.file = "ports_odd_text.ini",
         .ports = "37",
         .velocities = {" 0.2", " 0.3", " 0.3", " 0.1"}},
        {.file = "ports_1e308.ini", .ports = "1e+308", .velocities = {" 0", " 0", " 0", " 0"}},
        {.file = "latin1_and_utf8_texts.ini", .chuffing_total = "0"},
        {.file = "valid_then_garbage.ini",
         .diameter = 152.4,
         .cruise = false,
         .minimum = false,
         .units = "inches",
         .ports = "2",
         .diameter_text = "6",
         .chuffing_total = "25",
         .core_total = "40"},
        // A megabyte on one line, in three places.
        without_diameter(
            {.file = "a megabyte of digits as the diameter",
             .make =
                 [] {
                     return settings_bytes({"cruise_on", " " + std::string(1 << 20, '9')});
                 }}),
        {.file = "a megabyte as the content type",
         .make =
             [] {
                 return settings_bytes(
                     with_line(first_start_settings_lines, 16, std::string(1 << 20, 'x')));
             }},
        {.file = "a megabyte without a line end",
         .make = [] { return QByteArray(1 << 20, 'x'); },
         .cruise = false},
    };
    return files;
}

// The file's name, without ".ini", names the test.
std::string row_name(const ::testing::TestParamInfo<Hostile>& info) {
    std::string name = info.param.file;
    if (name.ends_with(".ini")) {
        name.resize(name.size() - 4);
    }
    return test_name(name);
}

// The longest text a field or caption shows after start-up: a megabyte line in
// the file must not reach the window as it is.
qsizetype longest_shown_text(const MainWindow& form) {
    qsizetype longest = 0;
    for (const QString& text : shown_texts(form)) {
        longest = std::max(longest, text.size());
    }
    return longest;
}

class HostileSettingsTest : public MainWindowTest, public ::testing::WithParamInterface<Hostile> {
protected:
    QByteArray content(const Hostile& h) const {
        if (h.make) {
            return h.make();
        }
        QFile f(data_directory() + u'/' + QString::fromLatin1(h.file));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << "missing " << h.file;
        return f.readAll();
    }

    // A start with a fresh program state; the warning is dismissed when it comes.
    void start_again(bool warning_expected) {
        program = ProgramState{};
        interaction.messages.clear();
        interaction.shown_dialogs.clear();
        interaction.dialog_actions.clear();
        if (warning_expected) {
            expect_dialog(dismiss_warning());
        }
        start();
        EXPECT_TRUE(interaction.dialog_actions.empty()) << "the expected warning did not come";
        interaction.dialog_actions.clear();
    }
};

} // namespace

TEST(HostileSettingsFiles, EveryFileInTheDataDirectoryHasItsExpectations) {
    std::set<std::string> listed;
    for (const Hostile& h : hostile_files()) {
        if (!h.make) {
            listed.insert(h.file);
        }
    }
    std::set<std::string> present;
    QDirIterator it(data_directory(), {QStringLiteral("*.ini")}, QDir::Files);
    while (it.hasNext()) {
        present.insert(QFileInfo(it.next()).fileName().toStdString());
    }
    EXPECT_EQ(present, listed);
    EXPECT_GE(hostile_files().size(), 30u);
}

TEST_P(HostileSettingsTest, StartsShowsNumbersAndSavesAFileThatLoadsTheSame) {
    const Hostile& h = GetParam();
    const QByteArray original = content(h);
    write_settings(original);

    // First run: the hostile file.
    start_again(h.warned);
    ASSERT_TRUE(form);
    EXPECT_EQ(messages(), h.messages);
    EXPECT_EQ(
        interaction.shown_dialogs.contains(QString::fromLatin1(designed::diameter_warning::dialog)),
        h.warned);
    EXPECT_EQ(form->state().diameter_mm, h.diameter);
    if (h.calculated) {
        EXPECT_TRUE(verdicts().contains(status())) << status().toStdString();
    } else {
        EXPECT_EQ(status(), stale);
    }
    EXPECT_EQ(check(designed::main::cruise_control_check)->isChecked(), h.cruise);
    EXPECT_EQ(check(designed::main::cruise_control_check)->isEnabled(), h.cruise_enabled);
    EXPECT_EQ(option(designed::main::minimum_mode_option)->isChecked(), h.minimum);
    EXPECT_EQ(option(designed::main::manual_mode_option)->isChecked(), !h.minimum);
    EXPECT_EQ(units_mode_text(program.units_mode), h.units);
    EXPECT_EQ(text(designed::main::port_count_field)->text(), h.ports);
    if (h.diameter_text) {
        EXPECT_EQ(text(designed::main::diameter_field)->text(), h.diameter_text);
    }
    EXPECT_EQ(form->reminder().chuffing_total->text(), h.chuffing_total);
    EXPECT_EQ(form->reminder().core_total->text(), h.core_total);
    if (!h.velocities.isEmpty()) {
        EXPECT_EQ(velocities(), h.velocities);
    }
    // Numbers only, a graph of bounded size, and no megabyte on screen.
    EXPECT_EQ(non_numbers_shown(*form), "");
    EXPECT_LE(longest_shown_text(*form), 400);
    const QStringList state_before = stored_state(*form, program);
    const bool warned_before =
        interaction.shown_dialogs.contains(designed::diameter_warning::dialog);
    close_program();

    // What was written is a proper file and keeps the texts as they were read.
    const QByteArray saved = read_settings();
    EXPECT_TRUE(is_settings_file(saved));
    const SettingsRecord read = parse_settings(original.toStdString());
    const SettingsRecord written = parse_settings(saved.toStdString());
    EXPECT_EQ(written.lines_read, settings_line_count);
    EXPECT_EQ(serialise_settings(written), saved.toStdString());
    EXPECT_EQ(written.boundary_mask, read.boundary_mask);
    EXPECT_EQ(written.boundary_seat, read.boundary_seat);
    EXPECT_EQ(written.core_mask, read.core_mask);
    EXPECT_EQ(written.core_seat, read.core_seat);
    EXPECT_EQ(written.content_type, read.content_type);

    // Second run: the saved file loads to the same state, without a word, and
    // is saved again byte for byte.
    start_again(warned_before);
    EXPECT_EQ(messages(), QStringList());
    EXPECT_EQ(stored_state(*form, program), state_before);
    EXPECT_EQ(non_numbers_shown(*form), "");
    close_program();
    EXPECT_TRUE(read_settings() == saved) << "the second save differs from the first";
}

INSTANTIATE_TEST_SUITE_P(Files, HostileSettingsTest, ::testing::ValuesIn(hostile_files()),
                         row_name);
