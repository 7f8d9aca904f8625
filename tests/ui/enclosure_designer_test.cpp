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
#include <QTabBar>

using namespace venturon;
using namespace venturon::testing;

namespace {

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
    type(designed::main::diameter_field, "120");
    focus(text(designed::main::port_count_field)); // leaving the field reads it
    EXPECT_TRUE(in<QLabel>(d, "Label_port")->text().contains("120\u00a0mm"))
        << in<QLabel>(d, "Label_port")->text().toStdString();
    const auto wider = *d.design_velocities();
    for (std::size_t i = 0; i < 4; ++i) {
        // The same air through (120/100)^2 times the area.
        EXPECT_NEAR(wider[i], before[i] / 1.44, 1e-9 * before[i]);
    }
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
        EXPECT_TRUE(graph_texts().contains("Core Limit")) << graph_texts().join('|').toStdString();
        EXPECT_TRUE(graph_texts().contains("Chuffing"));
        in<QTabBar>(d, "Tab_view")->setCurrentIndex(1);
        EXPECT_TRUE(graph_texts().contains("Xmax")) << graph_texts().join('|').toStdString();
        in<QTabBar>(d, "Tab_view")->setCurrentIndex(0);
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
        auto* graph = in<PictureBox>(d, "Picture1");
        auto* readout = in<QLabel>(d, "Label_readout");
        // Where 25 Hz stands: the plot spans 15 to 40 Hz, linearly.
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
        EXPECT_TRUE(readout->text().contains("Core Limit 19.8 m/s"))
            << readout->text().toStdString();
        ASSERT_TRUE(graph->cursor_x().has_value());
        graph->setFocus();
        QTest::keyClick(graph, Qt::Key_Right);
        EXPECT_TRUE(readout->text().startsWith("25.5 Hz")) << readout->text().toStdString();
        EXPECT_EQ(readout->accessibleName(), readout->text()); // announced as it changes
        QTest::keyClick(graph, Qt::Key_End);
        EXPECT_TRUE(readout->text().startsWith("40.0 Hz")) << readout->text().toStdString();
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
