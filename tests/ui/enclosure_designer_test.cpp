// The enclosure designer's window: from the driver and box to the port's air
// velocities, its graph and its length; bad inputs named beside their fields;
// imperial units; the velocities written into the main window; its inputs file.
#include "main_window_fixture.h"

#include "designed_names.h"

#include "enclosure.h"
#include "enclosure_designer.h"
#include "enclosure_inputs.h"
#include "picture_box.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QMenu>
#include <QToolButton>

#include <QTabBar>
#include <numbers>

using namespace venturon;
using namespace venturon::testing;

namespace {

// The views' tabs: SPL, maximum SPL, port velocity, excursion, impedance, group delay.
constexpr int max_spl_tab = 1;
constexpr int velocity_tab = 2;
constexpr int excursion_tab = 3;

class EnclosureDesignerTest : public MainWindowTest {
protected:
    EnclosureDesigner& designer() { return *form->enclosure(); }
    QString enclosure_path() const { return dir.filePath("venturon-enclosure.ini"); }

    // Opens the designer from its link (it stays beside the main window, not
    // modal), runs the user's actions in it and closes it.
    void in_designer(const std::function<void(EnclosureDesigner&)>& user) {
        click_label(designed::main::enclosure_link);
        ASSERT_NE(form->enclosure(), nullptr);
        ASSERT_TRUE(designer().isVisible());
        user(designer());
        if (designer().isVisible()) {
            click(in<QPushButton>(designer(), "Command_close"));
        }
        EXPECT_FALSE(designer().isVisible());
    }

    static void type_in(EnclosureDesigner& d, Field field, const QString& keys) {
        TextBox* text = d.field(field);
        text->setFocus();
        text->selectAll();
        if (keys.isEmpty()) {
            QTest::keyClick(text, Qt::Key_Delete);
        } else {
            text->insert(keys); // all at once, as pasted
        }
    }

    // A control of the designer, by its object name.
    template <class T> static T* in(EnclosureDesigner& d, const char* name) {
        T* w = d.findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    static QString message(EnclosureDesigner& d, Field field) {
        QLabel* m = d.field_message(field);
        return m->isVisibleTo(&d) ? m->text() : QString();
    }

    QStringList graph_texts() {
        QStringList out;
        for (const auto& item : in<PictureBox>(designer(), "Picture1")->drawing().items()) {
            if (item.kind == Drawing::Kind::text) {
                out << item.text;
            }
        }
        return out;
    }
};

// The same results worked out from the engine directly.
std::array<double, 4> expected_velocities(const EnclosureInputs& inputs, double diameter_mm,
                                          int ports) {
    const auto input = to_enclosure_input(inputs, diameter_mm, ports);
    EXPECT_TRUE(input);
    const auto model = solve_enclosure(*input);
    EXPECT_TRUE(model);
    std::array<double, 4> v{};
    for (std::size_t i = 0; i < v.size(); ++i) {
        v[i] = response_at(*model, design_frequencies[i]).port_velocity;
    }
    return v;
}

} // namespace

TEST_F(EnclosureDesignerTest, LinkStandsInFreeSpaceLastInTheTabOrder) {
    start();
    QLabel* link = label(designed::main::enclosure_link);
    EXPECT_EQ(link->text(), "Enclosure designer");
    for (bool simple : {false, true}) {
        if (simple) {
            interaction.dialog_actions.push_back(dismiss_warning());
            click_label(designed::main::mode_link);
            interaction.dialog_actions.clear();
        }
        EXPECT_TRUE(link->isVisibleTo(form.get()));
        EXPECT_TRUE(form->rect().contains(link->geometry()));
        for (QWidget* w : form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (w != link && w->isVisibleTo(form.get()) && !w->isWindow()) {
                EXPECT_FALSE(w->geometry().intersects(link->geometry()))
                    << w->objectName().toStdString() << (simple ? " in Simple mode" : "");
            }
        }
    }
    EXPECT_EQ(label(designed::main::about_link)->nextInFocusChain(), link);
}

// Open beside the main window, the designer follows its port: a new diameter,
// port count or allowance shows at once.
TEST_F(EnclosureDesignerTest, FollowsTheMainWindowsPort) {
    start();
    click_label(designed::main::enclosure_link);
    EnclosureDesigner& d = designer();
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(d.isModal());
    const auto before = *d.design_velocities();
    const double graphed = d.graph_input().current.response[100].port_velocity;
    type(designed::main::diameter_field, "120");
    focus(text(designed::main::port_count_field)); // leaving the field reads it
    EXPECT_TRUE(in<QLabel>(d, "Label_port")->text().contains("120\u00a0mm"))
        << in<QLabel>(d, "Label_port")->text().toStdString();
    const auto wider = *d.design_velocities();
    for (std::size_t i = 0; i < 4; ++i) {
        // The same air through (120/100)^2 times the area.
        EXPECT_NEAR(wider[i], before[i] / 1.44, 1e-9 * before[i]);
    }
    EXPECT_NEAR(d.graph_input().current.response[100].port_velocity, graphed / 1.44,
                1e-9 * graphed);
    type(designed::main::port_count_field, "2");
    EXPECT_NEAR((*d.design_velocities())[0], before[0] / 2.88, 1e-9 * before[0]);
    EXPECT_TRUE(in<QLabel>(d, "Label_port")->text().startsWith("The main window's port: 2 ports"));
}

TEST_F(EnclosureDesignerTest, ShowsThePortVelocitiesAndLengthForTheWindowsPort) {
    start();
    in_designer([&](EnclosureDesigner& d) {
        const auto expected = expected_velocities(EnclosureInputs{}, 100, 1);
        ASSERT_TRUE(d.design_velocities().has_value());
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_DOUBLE_EQ((*d.design_velocities())[i], expected[i]);
        }
        EXPECT_TRUE(in<QLabel>(d, "Label_velocities")->text().contains("peak"));
        // The minimum radius as the main window shows it: 26.243 mm cut at 27 mm.
        EXPECT_TRUE(
            in<QLabel>(d, "Label_port")->text().contains("flare radius 27\u00a0mm (the minimum)"))
            << in<QLabel>(d, "Label_port")->text().toStdString();
        const QString length = in<QLabel>(d, "Label_length")->text();
        EXPECT_TRUE(length.contains("1 port of 100\u00a0mm, flare radius 27\u00a0mm"))
            << length.toStdString();
        EXPECT_TRUE(length.contains("cut the tube")) << length.toStdString();
        EXPECT_TRUE(length.contains("first pipe resonance")) << length.toStdString();
        // The worked example's cone reaches Xmax at 20 Hz (12.002 of 12 mm).
        EXPECT_TRUE(in<QLabel>(d, "Label_warnings")
                        ->text()
                        .contains("The cone passes Xmax at 20\u00a0Hz (100\u00a0%):"))
            << in<QLabel>(d, "Label_warnings")->text().toStdString();
        in<QTabBar>(d, "Tab_view")->setCurrentIndex(velocity_tab);
        EXPECT_TRUE(graph_texts().contains("Core Limit")) << graph_texts().join('|').toStdString();
        EXPECT_TRUE(graph_texts().contains("Chuffing"));
        in<QTabBar>(d, "Tab_view")->setCurrentIndex(excursion_tab);
        EXPECT_TRUE(graph_texts().contains("Xmax")) << graph_texts().join('|').toStdString();
        // Enter in a field takes it and leaves the window open.
        for (Field f : {Field::fs, Field::vb, Field::power}) {
            QTest::keyClick(d.field(f), Qt::Key_Return);
            EXPECT_TRUE(d.isVisible());
        }
    });
}

// Pointing at the graph, or stepping with the arrow keys, reads every curve there:
// the worked example's port carries 17.4 m/s at 25 Hz (README).
TEST_F(EnclosureDesignerTest, ReadOutFollowsThePointerAndTheKeys) {
    start();
    in_designer([&](EnclosureDesigner& d) {
        in<QTabBar>(d, "Tab_view")->setCurrentIndex(velocity_tab);
        auto* graph = in<PictureBox>(d, "Picture1");
        auto* readout = in<QLabel>(d, "Label_readout");
        // Where 25 Hz stands: the plot spans 10 to 200 Hz, on a log scale.
        QPoint at;
        for (int x = 0; x < graph->width(); ++x) {
            QTest::mouseMove(graph, QPoint(x, graph->height() / 2));
            if (readout->text().startsWith("25.0 Hz")) {
                at = QPoint(x, graph->height() / 2);
                break;
            }
        }
        ASSERT_FALSE(at.isNull()) << readout->text().toStdString();
        EXPECT_TRUE(readout->text().contains("Port velocity 17.4 m/s"))
            << readout->text().toStdString();
        // At 25 Hz the core limit turns upwards from 19.8 m/s: the pixel's frequency,
        // a hair either side of 25.0, may read 19.8 or 19.9.
        EXPECT_TRUE(readout->text().contains(QRegularExpression("Core Limit 19\\.[89] m/s")))
            << readout->text().toStdString();
        ASSERT_TRUE(graph->cursor_x().has_value());
        graph->setFocus();
        const double before = readout->text().section(' ', 0, 0).toDouble();
        QTest::keyClick(graph, Qt::Key_Right); // 2 % up, both read to 0.1 Hz
        EXPECT_NEAR(readout->text().section(' ', 0, 0).toDouble(), before * 1.02, 0.12)
            << readout->text().toStdString();
        EXPECT_EQ(readout->accessibleName(), readout->text()); // announced as it changes
        QTest::keyClick(graph, Qt::Key_End);
        EXPECT_TRUE(readout->text().startsWith("200 Hz")) << readout->text().toStdString();
    });
}

// What a bad field does: it is marked and named beside itself, the last good
// results stay dimmed, and "Use these velocities" waits; a good value clears it.
TEST_F(EnclosureDesignerTest, BadInputsAreNamedBesideTheirFields) {
    start();
    const struct {
        Field field;
        const char* typed;
        const char* message;
    } cases[] = {
        {Field::fs, "abc", "Fs: \"abc\" is not a number"},
        {Field::fs, "1e999", "Fs: \"1e999\" is too large (the largest number is about 1.8e308)"},
        {Field::fs, "0", "Fs must be between 1 and 1000 Hz"},
        {Field::fs, "1000.0001", "Fs must be between 1 and 1000 Hz"},
        {Field::qts, "0.5", "Qts does not agree with Qes and Qms, which give 0.4128"},
        {Field::xmax, "1e-308", "Xmax must be between 0.1 and 200 mm, or 0 for unknown"},
        {Field::driver_count, "1.5", "Driver count must be a whole number between 1 and 1000"},
        {Field::vb, "", "Vb must be given"},
    };
    in_designer([&](EnclosureDesigner& d) {
        const QString good_velocities = in<QLabel>(d, "Label_velocities")->text();
        for (const auto& c : cases) {
            SCOPED_TRACE(c.typed);
            const QString before = d.field(c.field)->text();
            type_in(d, c.field, QString::fromUtf8(c.typed));
            EXPECT_EQ(message(d, c.field), QString::fromUtf8(c.message));
            EXPECT_EQ(back_colour(d.field(c.field)), stale_red);
            EXPECT_FALSE(d.design_velocities().has_value());
            EXPECT_FALSE(in<QPushButton>(d, "Command_use")->isEnabled());
            EXPECT_EQ(in<QLabel>(d, "Label_velocities")->text(), good_velocities); // kept, dimmed
            EXPECT_FALSE(in<QLabel>(d, "Label_velocities")->isEnabled());
            EXPECT_TRUE(in<PictureBox>(d, "Picture1")->dimmed());
            type_in(d, c.field, before);
            EXPECT_EQ(message(d, c.field), "");
            EXPECT_EQ(back_colour(d.field(c.field)), white);
            EXPECT_TRUE(in<QPushButton>(d, "Command_use")->isEnabled());
            EXPECT_FALSE(in<PictureBox>(d, "Picture1")->dimmed());
        }
        // Flares and mouths that alone hold too much air, and a tube longer than
        // any: said plainly in place of a length.
        type_in(d, Field::vb, "100");
        type_in(d, Field::fb, "200");
        EXPECT_TRUE(
            in<QLabel>(d, "Label_length")->text().contains("no straight length tunes the box"))
            << in<QLabel>(d, "Label_length")->text().toStdString();
        type_in(d, Field::vb, "0.01");
        type_in(d, Field::fb, "1");
        EXPECT_TRUE(
            in<QLabel>(d, "Label_length")->text().contains("no straight length up to 100000"))
            << in<QLabel>(d, "Label_length")->text().toStdString();
        // A small box tuned low: the ports would not fit in it.
        type_in(d, Field::vb, "8");
        type_in(d, Field::fb, "12");
        EXPECT_TRUE(in<QLabel>(d, "Label_warnings")->text().contains("The ports hold more air"))
            << in<QLabel>(d, "Label_warnings")->text().toStdString();
    });
}

// The field shows the value as read, to every digit that matters.
TEST_F(EnclosureDesignerTest, FieldsShowValuesAsRead) {
    QFile file(enclosure_path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("fs_hz = 1000.0001\nqes = 0.45\nqms = 5\nvas_l = 100\nsd_cm2 = 500\nre_ohm = 3.6\n"
               "vb_l = 60\nfb_hz = 30\npower_w = 100\n");
    file.close();
    start();
    in_designer([&](EnclosureDesigner& d) {
        EXPECT_EQ(d.field(Field::fs)->text(), "1000.0001");
        EXPECT_EQ(message(d, Field::fs), "Fs must be between 1 and 1000 Hz");
    });
}

// The power or the voltage drives the box: typing one clears the other, which
// shows what it amounts to.
TEST_F(EnclosureDesignerTest, PowerOrVoltageDrivesTheBox) {
    start();
    in_designer([&](EnclosureDesigner& d) {
        EXPECT_EQ(d.field(Field::voltage)->placeholderText(), "= 18.97"); // sqrt(100 x 3.6)
        type_in(d, Field::voltage, "12");
        EXPECT_EQ(d.field(Field::power)->text(), "");
        EXPECT_EQ(d.field(Field::power)->placeholderText(), "= 40"); // 144 / 3.6
        EXPECT_EQ(d.inputs()[Field::voltage], 12);
        EXPECT_FALSE(d.inputs()[Field::power].has_value());
        type_in(d, Field::voltage, "");
        EXPECT_EQ(message(d, Field::power), "Power or voltage must be given");
    });
}

// Imperial units: cubic feet, square inches and inches, lengths read as typed in
// either notation, messages in the units on screen, and numbers never broken.
TEST_F(EnclosureDesignerTest, ImperialUnitsEverywhere) {
    program.units_mode = UnitsMode::decimal_inches;
    write_settings(QByteArray("cruise_on\r\n 100\r\n1\r\n 10\r\n 100\r\n 1\r\n 10\r\n 14\r\n 12\r\n"
                              " 7\r\nCalculate_minimum\r\nBoundary_mask_on\r\nBoundary_seat_off\r\n"
                              "Core_mask_off\r\nCore_seat_off\r\nHome_Theatre\r\ninches\r\n"));
    start();
    in_designer([&](EnclosureDesigner& d) {
        const auto* vb = d.findChild<QLabel*>("Label_vb");
        ASSERT_NE(vb, nullptr);
        EXPECT_EQ(vb->text(), QString::fromUtf8("Vb - ft\u00b3"));
        EXPECT_EQ(d.field(Field::vb)->text(), "2.11888");    // 60 L
        EXPECT_EQ(d.field(Field::xmax)->text(), "0.472441"); // 12 mm
        type_in(d, Field::xmax, "11/16");
        EXPECT_NEAR(*d.inputs()[Field::xmax], 25.4 * 11 / 16, 1e-9);
        EXPECT_EQ(message(d, Field::xmax), "");
        type_in(d, Field::vb, "4000");
        EXPECT_EQ(message(d, Field::vb),
                  QString::fromUtf8("Vb must be between 0.000353147 and 3531.47 ft\u00b3"));
        type_in(d, Field::vb, "2");
        EXPECT_NEAR(*d.inputs()[Field::vb], 2 * 28.316846592, 1e-9);
        const QString length = in<QLabel>(d, "Label_length")->text();
        EXPECT_TRUE(length.contains(QString::fromUtf8("ft\u00b3"))) << length.toStdString();
        EXPECT_FALSE(length.contains(QRegularExpression("\\d \\d"))) << length.toStdString();
        // A small volume keeps three significant digits: 0.6 L is 0.0212 ft3.
        type_in(d, Field::vb, "0.02119");
        type_in(d, Field::fb, "200");
        EXPECT_FALSE(
            in<QLabel>(d, "Label_length")->text().contains(QString::fromUtf8("0.02 ft\u00b3")))
            << in<QLabel>(d, "Label_length")->text().toStdString();
    });
}

// "Use these velocities" writes them into the velocity fields as typed, and the
// status line asks for a calculation; with cruise control on they become its
// reference for the port as it stands.
TEST_F(EnclosureDesignerTest, UseTheseVelocities) {
    start();
    std::array<double, 4> used{};
    in_designer([&](EnclosureDesigner& d) {
        used = *d.design_velocities();
        click(in<QPushButton>(d, "Command_use"));
        EXPECT_FALSE(d.isVisible());
    });
    const auto& fields = designed::main::velocity_fields;
    for (std::size_t i = 0; i < 4; ++i) {
        const double shown = std::round(used[i] * 10) / 10;
        EXPECT_EQ(text(fields[i])->text().toDouble(), shown) << fields[i];
        EXPECT_EQ(form->state().required_v[i], shown) << fields[i];
        EXPECT_EQ(form->state().lock_v[i], shown) << fields[i];
    }
    EXPECT_EQ(status(), "Press Calculate to update results");
    EXPECT_EQ(status_colour(), stale_yellow);
    // Cruise control now scales from them: twice the port area, half the velocity.
    type(designed::main::port_count_field, "2");
    EXPECT_EQ(form->state().required_v[0], std::floor(std::round(used[0] * 10) / 2) / 10);
}

TEST_F(EnclosureDesignerTest, InputsLiveInTheirOwnFileBesideTheSettings) {
    start();
    in_designer([&](EnclosureDesigner& d) {
        type_in(d, Field::fs, "31.5");
        type_in(d, Field::power, "250");
        in<QComboBox>(d, "Combo_flares")->setCurrentIndex(1); // outer end only
    });
    close_program();
    EXPECT_EQ(read_settings().count("\r\n"), 17); // venturon.ini keeps its 17 lines
    QFile file(enclosure_path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const EnclosureInputs saved = parse_enclosure_inputs(file.readAll().toStdString());
    EXPECT_EQ(saved[Field::fs], 31.5);
    EXPECT_EQ(saved[Field::power], 250);
    EXPECT_EQ(saved.flared_ends, FlaredEnds::outer);

    program = ProgramState{};
    start();
    EXPECT_EQ(form->enclosure(), nullptr); // made when first opened
    EXPECT_EQ(form->enclosure_inputs(), saved);
    in_designer([&](EnclosureDesigner& d) {
        EXPECT_EQ(d.inputs(), saved);
        EXPECT_EQ(d.field(Field::fs)->text(), "31.5");
    });
}

TEST_F(EnclosureDesignerTest, HostileInputsFilesStartTheProgram) {
    const QByteArray hostile[] = {
        QByteArray("\x00\xff\xfe garbage \x01\x02", 15),
        QByteArray("fs_hz = nan\nvb_l = 1e999\nqes = -3\ndrivers = 1e300\n"),
        QByteArray("fs_hz = 0.0000001\nfb_hz = 99999999\npower_w = 1e20\n"),
        QByteArray(100000, '='),
    };
    for (const QByteArray& bytes : hostile) {
        QFile file(enclosure_path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        start();
        in_designer([&](EnclosureDesigner& d) {
            QStringList shown{
                in<QLabel>(d, "Label_velocities")->text(), in<QLabel>(d, "Label_length")->text(),
                in<QLabel>(d, "Label_problem")->text(), in<QLabel>(d, "Label_warnings")->text()};
            for (std::size_t i = 0; i < file_number_count; ++i) {
                shown << d.field(input_rows[i].field)->text()
                      << d.field_message(input_rows[i].field)->text();
            }
            for (const QString& text : shown) {
                EXPECT_FALSE(text.contains("nan") || text.contains("inf")) << text.toStdString();
            }
            // Either results or a message saying what is wrong: never a blank window.
            const bool messages =
                std::any_of(input_rows.begin(), input_rows.begin() + file_number_count,
                            [&d](const InputRow& row) { return !message(d, row.field).isEmpty(); });
            EXPECT_NE(d.design_velocities().has_value(), messages);
        });
        close_program();
        program = ProgramState{};
    }
}

// The figures at the design frequencies, for the README's example worked by hand:
// Pe 300 W, a 1000 W amplifier and the main window's 100 mm port with a 40 mm flare.
TEST_F(EnclosureDesignerTest, LargestOutputAndWhatLimitsIt) {
    start();
    click(option(designed::main::manual_mode_option));
    type(designed::main::radius_field, "40");
    focus(text(designed::main::diameter_field));
    in_designer([&](EnclosureDesigner& d) {
        type_in(d, Field::pe, "300");
        type_in(d, Field::power, "1000");
        const char* expected[4][3] = {{"20 Hz", "94.1", "Xmax"},
                                      {"25 Hz", "101.1", "port chuffing"},
                                      {"30 Hz", "108.7", "port chuffing"},
                                      {"35 Hz", "111.7", "Pe (coil)"}};
        for (int r = 0; r < 4; ++r) {
            const auto cell = [&](int c) {
                return in<QLabel>(d, QStringLiteral("Cell_%1_%2").arg(r + 1).arg(c).toLatin1())
                    ->text();
            };
            EXPECT_EQ(cell(0), QString::fromUtf8(expected[r][0]).replace(' ', QChar(0xa0)));
            EXPECT_EQ(cell(4), expected[r][1]);
            EXPECT_EQ(cell(5), expected[r][2]);
        }
        // 20 Hz at the drive: 104.0875 dB with 37.953 mm of excursion, 316 % of Xmax.
        EXPECT_EQ(in<QLabel>(d, "Cell_1_3")->text(), "104.1");
        EXPECT_EQ(in<QLabel>(d, "Cell_1_2")->text(), QString::fromUtf8("37.95 (316\u00a0%)"));
        const QString summary = in<QLabel>(d, "Label_summary")->text();
        EXPECT_TRUE(summary.contains(QString::fromUtf8("Amplifier 60\u00a0V RMS, 1000\u00a0W")))
            << summary.toStdString();
        in<QTabBar>(d, "Tab_view")->setCurrentIndex(max_spl_tab);
        for (const char* key : {"Xmax", "Pe", "Amplifier", "Chuffing", "Core"}) {
            EXPECT_TRUE(graph_texts().contains(key)) << key;
        }
    });
}

// The filters' fields: the grammar read as typed, a filter out of bounds or text
// that is none named beside its field; the SPL follows the filter.
TEST_F(EnclosureDesignerTest, HighPassFilters) {
    start();
    in_designer([&](EnclosureDesigner& d) {
        auto* first = in<TextBox>(d, "Text_highpass_1");
        const auto type_filter = [&](const QString& t) {
            first->selectAll();
            first->insert(t);
        };
        const struct {
            const char* typed;
            const char* message;
        } bad[] = {{"lr6@20", "Linkwitz-Riley order must be 2, 4 or 8"},
                   {"fourth order", "\"fourth order\" is not a filter"}};
        for (const auto& c : bad) {
            type_filter(QString::fromUtf8(c.typed));
            EXPECT_TRUE(in<QLabel>(d, "Message_highpass_1")->text().startsWith(c.message))
                << in<QLabel>(d, "Message_highpass_1")->text().toStdString();
            EXPECT_FALSE(d.design_velocities().has_value());
        }
        // A 4th-order Butterworth at 18 Hz: 20 Hz loses 10 log10(1 + 0.9^8) = 1.555 dB,
        // from 94.0875 dB to 92.53 dB.
        type_filter("BW4 @ 18");
        EXPECT_EQ(in<QLabel>(d, "Message_highpass_1")->text(), "");
        EXPECT_EQ(d.inputs().highpass[0], (FilterStage{FilterKind::butterworth, 4, 18}));
        EXPECT_TRUE(d.graph_input().filtered);
        EXPECT_EQ(in<QLabel>(d, "Cell_1_3")->text(), "92.5");
    });
    close_program();
    QFile file(enclosure_path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\nhighpass_1 = bw4@18\n"));
}

// Slots: their own fields, their velocities over their area, their limits marked
// approximate, and "Use these velocities" kept for the main window's round port.
TEST_F(EnclosureDesignerTest, SlotPorts) {
    start();
    in_designer([&](EnclosureDesigner& d) {
        const double round20 = (*d.design_velocities())[0];
        EXPECT_FALSE(in<QGroupBox>(d, "Frame_slot")->isVisible());
        in<QComboBox>(d, "Combo_shape")->setCurrentIndex(1);
        EXPECT_TRUE(in<QGroupBox>(d, "Frame_slot")->isVisible());
        // The first start's slot, 250 x 50 mm along one wall: 12500 mm2 against the
        // round port's 7854 mm2, so 0.62832 times the velocity (10.703 m/s at 20 Hz),
        // read for its limits as a round port of 4 x 12500 / 600 = 83.3 mm.
        EXPECT_NEAR((*d.design_velocities())[0], round20 * 0.0025 * std::numbers::pi / 0.0125,
                    1e-9 * round20);
        EXPECT_TRUE(in<QLabel>(d, "Label_port")->text().contains(QString::fromUtf8("83.3\u00a0mm")))
            << in<QLabel>(d, "Label_port")->text().toStdString();
        EXPECT_EQ(in<QLabel>(d, "Cell_0_4")->text(), "Largest SPL\ndB*");
        EXPECT_TRUE(in<QLabel>(d, "Label_summary")->text().contains("* approximate"));
        EXPECT_TRUE(in<QLabel>(d, "Label_length")->text().contains("slots' straight part"));
        EXPECT_FALSE(in<QPushButton>(d, "Command_use")->isEnabled());
        EXPECT_TRUE(in<QLabel>(d, "Label_use_reason")->isVisible());
        type_in(d, Field::slot_radius, "60"); // more than the smaller side
        EXPECT_FALSE(message(d, Field::slot_radius).isEmpty());
        type_in(d, Field::slot_radius, "10");
        in<QComboBox>(d, "Combo_shape")->setCurrentIndex(0);
        EXPECT_TRUE(in<QPushButton>(d, "Command_use")->isEnabled());
    });
}

// Kept designs: named, coloured, drawn in every view, at most three, and still
// there after a restart.
TEST_F(EnclosureDesignerTest, ReferencesAreKeptAcrossARestart) {
    start();
    in_designer([&](EnclosureDesigner& d) {
        auto* keep = in<QPushButton>(d, "Command_keep");
        click(keep);
        type_in(d, Field::vb, "90");
        click(keep);
        click(keep);
        EXPECT_FALSE(keep->isEnabled());
        ASSERT_EQ(d.references().size(), 3u);
        EXPECT_EQ(d.references()[0].name, "Vb 60 L, Fb 30 Hz");
        EXPECT_EQ(d.references()[1].name, "Vb 90 L, Fb 30 Hz");
        EXPECT_NE(d.references()[0].rgb, d.references()[1].rgb);
        EXPECT_EQ(d.graph_input().references.size(), 3u);
        for (int tab = 0; tab < 6; ++tab) {
            in<QTabBar>(d, "Tab_view")->setCurrentIndex(tab);
            EXPECT_TRUE(graph_texts().contains("Vb 60 L, Fb 30 Hz")) << tab;
        }
        click(in<QToolButton>(d, "Command_remove_3"));
        auto* name = in<QLineEdit>(d, "Text_reference_2");
        name->selectAll();
        QTest::keyClicks(name, "Bigger # box");
        click(in<QToolButton>(d, "Command_colour_2"));
    });
    const auto kept = form->enclosure_references();
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[1].name, "Bigger   box"); // "#" starts a comment in the file
    close_program();
    program = ProgramState{};
    start();
    EXPECT_EQ(form->enclosure_references(), kept);
    in_designer([&](EnclosureDesigner& d) {
        EXPECT_EQ(d.references(), kept);
        EXPECT_EQ(in<QLineEdit>(d, "Text_reference_2")->text(), "Bigger   box");
        EXPECT_TRUE(in<QPushButton>(d, "Command_keep")->isEnabled());
    });
}

// Nothing clipped at the window's smallest size nor at a large one: every caption
// and text has the room it asks for, inside the window, and the graph's texts stay
// inside the picture.
TEST_F(EnclosureDesignerTest, NothingClippedSmallOrLarge) {
    start();
    in_designer([&](EnclosureDesigner& d) {
        in<QComboBox>(d, "Combo_shape")->setCurrentIndex(1);
        // Small enough for a 1024 by 768 screen with its task bar and title bar.
        EXPECT_LE(d.minimumSizeHint().width(), 1024);
        EXPECT_LE(d.minimumSizeHint().height(), 680);
        for (const QSize size : {d.minimumSizeHint(), QSize(1900, 1150)}) {
            d.resize(size);
            QCoreApplication::processEvents();
            for (int tab = 0; tab < 6; ++tab) {
                in<QTabBar>(d, "Tab_view")->setCurrentIndex(tab);
                auto* graph = in<PictureBox>(d, "Picture1");
                for (const auto& item : graph->drawing().items()) {
                    if (item.kind == Drawing::Kind::text) {
                        const double right =
                            item.from.x() +
                            QFontMetricsF(graph->drawing().font()).horizontalAdvance(item.text) /
                                graph->width();
                        EXPECT_TRUE(item.from.x() >= 0 && right <= 1.001 && item.from.y() >= 0 &&
                                    item.from.y() < 1)
                            << item.text.toStdString() << " in view " << tab;
                    }
                }
            }
            for (QLabel* label : d.findChildren<QLabel*>()) {
                if (!label->isVisibleTo(&d) || label->text().trimmed().isEmpty()) {
                    continue;
                }
                SCOPED_TRACE(label->objectName().toStdString() + " at " +
                             std::to_string(size.width()));
                const int needed = label->wordWrap() ? label->heightForWidth(label->width())
                                                     : label->sizeHint().height();
                EXPECT_GE(label->height(), needed);
                if (!label->wordWrap()) {
                    EXPECT_GE(label->width(), label->sizeHint().width());
                }
            }
        }
    });
}

// Driver files and designs from the designer's buttons: what a file gives replaces
// what was typed, and what a file cannot give changes nothing and says why.
TEST_F(EnclosureDesignerTest, DriverFilesAndDesigns) {
    start();
    const auto write = [&](const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(QLatin1String(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    // SI units, CR LF, a Windows code page's e acute; Qts left for the model.
    const QString woofer = write("woofer.txt", "[Driver]\r\nManufacturer=Acme\r\nModel=W15 "
                                               "\xe9\r\nfs=22\r\nQes=0.4\r\nQms=4\r\nVas=0.12\r\n"
                                               "Sd=0.085\r\nRe=3.2\r\nXmax=0.015\r\n");
    const QString no_fs = write("broken.txt", "[Driver]\nQes=0.4\nQms=4\n");
    const QString not_design = write("bad.design", "vb_l = abc\n");
    const QString saved = dir.filePath("sub.design");
    QString answer;
    in_designer([&](EnclosureDesigner& d) {
        d.set_file_chooser([&](EnclosureDesigner::FileChoice, const QString&) { return answer; });
        auto* file_text = in<QLabel>(d, "Label_file");
        answer = no_fs;
        click(in<QPushButton>(d, "Command_driver"));
        EXPECT_TRUE(file_text->text().startsWith("broken.txt: fs"))
            << file_text->text().toStdString();
        EXPECT_EQ(d.inputs(), EnclosureInputs{});

        answer = woofer;
        click(in<QPushButton>(d, "Command_driver"));
        EXPECT_EQ(in<QLabel>(d, "Label_identity")->text(), QString::fromUtf8("Acme W15 \u00e9"));
        EXPECT_EQ(d.field(Field::vas)->text(), "120"); // 0.12 m3
        EXPECT_EQ(d.field(Field::sd)->text(), "850");  // 0.085 m2
        EXPECT_EQ(d.field(Field::xmax)->text(), "15"); // 0.015 m
        EXPECT_EQ(d.field(Field::vb)->text(), "60");   // the box stays
        EXPECT_TRUE(file_text->text().contains("Qts")) << file_text->text().toStdString();
        ASSERT_TRUE(d.design_velocities().has_value());
        const auto velocities = *d.design_velocities();

        answer = saved;
        click(in<QPushButton>(d, "Command_save"));
        EXPECT_TRUE(QFileInfo::exists(saved)) << file_text->text().toStdString();
        type_in(d, Field::vb, "90");
        type(designed::main::diameter_field, "120");
        focus(text(designed::main::port_count_field));

        answer = not_design;
        d.open_design();
        EXPECT_TRUE(file_text->text().startsWith("bad.design:")) << file_text->text().toStdString();
        EXPECT_EQ(d.field(Field::vb)->text(), "90");

        // The recent designs' menu opens it again, port and all: the same results to
        // the last digit.
        auto* menu = in<QMenu>(d, "Menu_designs");
        emit menu->aboutToShow();
        const QList<QAction*> actions = menu->actions();
        ASSERT_EQ(actions.size(), 3); // Browse, a line, sub.design
        EXPECT_TRUE(actions[2]->text().endsWith("sub.design"));
        actions[2]->trigger();
        EXPECT_EQ(d.field(Field::vb)->text(), "60");
        EXPECT_EQ(text(designed::main::diameter_field)->text().trimmed(), "100");
        EXPECT_EQ(*d.design_velocities(), velocities);
        EXPECT_EQ(d.identity().maker, "Acme");
    });
}

// "Suggest box…" opens the suggestions for this driver; "Use" takes a box into the
// box's fields.
TEST_F(EnclosureDesignerTest, SuggestedBoxIsTakenIntoTheFields) {
    start();
    in_designer([&](EnclosureDesigner& d) {
        click(in<QPushButton>(d, "Command_suggest"));
        auto* suggestions = d.findChild<QDialog*>("BoxSuggestionDialog");
        ASSERT_NE(suggestions, nullptr);
        EXPECT_TRUE(suggestions->isVisible());
        click(suggestions->findChild<QPushButton*>("Command_use_1"));
        EXPECT_NE(d.inputs()[Field::vb], 60.0); // the flattest box, not the first start's
        EXPECT_EQ(d.field(Field::vb)->text().toDouble(), *d.inputs()[Field::vb]);
        EXPECT_TRUE(d.design_velocities().has_value());
        suggestions->hide();
    });
}
