// The enclosure designer's window: from the driver and box to the port's air
// velocities, its graph and its length, the velocities written into the main
// window, and its own inputs file.
#include "main_window_fixture.h"

#include "enclosure.h"
#include "enclosure_inputs.h"
#include "frm_enclosure.h"
#include "picture_box.h"

#include <QComboBox>
#include <QTabBar>

using namespace venturon;
using namespace venturon::testing;

namespace {

class EnclosureDialogTest : public MainWindowTest {
protected:
    frmEnclosure& dialog() { return *form->enclosure(); }
    QString enclosure_path() const { return dir.filePath("venturon-enclosure.ini"); }

    // Opens the designer from its link and runs the user's actions in it.
    void in_designer(const std::function<void(frmEnclosure&)>& user) {
        expect_dialog([&](QDialog&) {
            user(dialog());
            if (dialog().isVisible()) {
                click(dialog().Command_close);
            }
        });
        click_label("Label_enclosure");
    }

    void type_in(frmEnclosure& d, EnclosureKey key, const QString& keys) {
        TextBox* field = d.field(key);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, keys);
    }

    QStringList graph_texts() {
        QStringList out;
        for (const auto& item : dialog().Picture1->drawing().items()) {
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

TEST_F(EnclosureDialogTest, LinkStandsInFreeSpaceLastInTheTabOrder) {
    start();
    QLabel* link = label("Label_enclosure");
    EXPECT_EQ(link->text(), "Enclosure designer");
    for (bool simple : {false, true}) {
        if (simple) {
            interaction.dialog_actions.push_back(dismiss_warning());
            click_label("Label_mode");
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
    EXPECT_EQ(label("Label13")->nextInFocusChain(), link);
}

TEST_F(EnclosureDialogTest, ShowsThePortVelocitiesAndLengthForTheWindowsPort) {
    start();
    in_designer([&](frmEnclosure& d) {
        const auto expected = expected_velocities(EnclosureInputs{}, 100, 1);
        ASSERT_TRUE(d.design_velocities().has_value());
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_DOUBLE_EQ((*d.design_velocities())[i], expected[i]);
        }
        EXPECT_TRUE(d.Label_velocities->text().contains("peak"))
            << d.Label_velocities->text().toStdString();
        EXPECT_TRUE(d.Label_length->text().contains("cut the tube"))
            << d.Label_length->text().toStdString();
        // The minimum radius as the main window shows it: 26.243 mm cut at 27 mm.
        EXPECT_TRUE(d.Label_length->text().contains("1 port of 100 mm, flare radius 27 mm"))
            << d.Label_length->text().toStdString();
        EXPECT_TRUE(d.Label_problem->text().isEmpty());
        EXPECT_TRUE(graph_texts().contains("Core Limit")) << graph_texts().join('|').toStdString();
        EXPECT_TRUE(graph_texts().contains("Chuffing"));
        // The second view: the cone excursion against Xmax.
        d.Tab_view->setCurrentIndex(1);
        EXPECT_TRUE(graph_texts().contains("Xmax")) << graph_texts().join('|').toStdString();
        d.Tab_view->setCurrentIndex(0);
    });
}

TEST_F(EnclosureDialogTest, BadInputsAreNamedAndStopTheResults) {
    start();
    in_designer([&](frmEnclosure& d) {
        type_in(d, EnclosureKey::fs_hz, "abc");
        EXPECT_TRUE(d.Label_problem->text().startsWith("Fs - Hz"))
            << d.Label_problem->text().toStdString();
        EXPECT_FALSE(d.design_velocities().has_value());
        EXPECT_FALSE(d.Command_use->isEnabled());
        type_in(d, EnclosureKey::fs_hz, "0");
        EXPECT_TRUE(d.Label_problem->text().contains("Fs"))
            << d.Label_problem->text().toStdString();
        type_in(d, EnclosureKey::fs_hz, "25");
        type_in(d, EnclosureKey::qts, "0.5"); // above Qes
        EXPECT_TRUE(d.Label_problem->text().contains("Qts"))
            << d.Label_problem->text().toStdString();
        d.field(EnclosureKey::qts)->clear();
        EXPECT_TRUE(d.Label_problem->text().isEmpty()) << d.Label_problem->text().toStdString();
        EXPECT_TRUE(d.Command_use->isEnabled());
        // Flares and mouths that alone hold too much air: said plainly.
        type_in(d, EnclosureKey::vb_l, "100");
        type_in(d, EnclosureKey::fb_hz, "200");
        EXPECT_TRUE(d.Label_length->text().contains("no straight length tunes the box"))
            << d.Label_length->text().toStdString();
    });
}

// "Use these velocities" writes them into the velocity fields as typed, and the
// status line asks for a calculation; with cruise control on they become its
// reference for the port as it stands.
TEST_F(EnclosureDialogTest, UseTheseVelocities) {
    start();
    std::array<double, 4> used{};
    in_designer([&](frmEnclosure& d) {
        used = *d.design_velocities();
        click(d.Command_use);
        EXPECT_FALSE(d.isVisible());
    });
    const char* fields[] = {"Text6", "Text7", "Text8", "Text9"};
    for (std::size_t i = 0; i < 4; ++i) {
        const double shown = std::round(used[i] * 10) / 10;
        EXPECT_EQ(text(fields[i])->text().toDouble(), shown) << fields[i];
        EXPECT_EQ(form->state().required_v[i], shown) << fields[i];
        EXPECT_EQ(form->state().lock_v[i], shown) << fields[i];
    }
    EXPECT_EQ(status(), "Press Calculate to update results");
    EXPECT_EQ(status_colour(), stale_yellow);
    // Cruise control now scales from them: twice the port area, half the velocity.
    type("Text10", "2");
    EXPECT_EQ(form->state().required_v[0], std::floor(std::round(used[0] * 10) / 2) / 10);
}

TEST_F(EnclosureDialogTest, ImperialUnitsShowCubicFeetSquareInchesAndInches) {
    program.units_mode = UnitsMode::decimal_inches;
    write_settings(
        QByteArray("cruise_on\r\n 100\r\n1\r\n 10\r\n 100\r\n 1\r\n 10\r\n 14\r\n 12\r\n"
                   " 7\r\nCalculate_minimum\r\nBoundary_mask_on\r\nBoundary_seat_off\r\n"
                   "Core_mask_off\r\nCore_seat_off\r\nHome_Theatre\r\ndecimalinches\r\n"));
    start();
    in_designer([&](frmEnclosure& d) {
        const auto* vb = d.findChild<QLabel*>("Label_vb");
        ASSERT_NE(vb, nullptr);
        EXPECT_EQ(vb->text(), QString::fromUtf8("Vb - ft\u00b3"));
        EXPECT_EQ(d.field(EnclosureKey::vb_l)->text(), "2.11888");     // 60 L
        EXPECT_EQ(d.field(EnclosureKey::xmax_mm)->text(), "0.472441"); // 12 mm
        type_in(d, EnclosureKey::vb_l, "2");
        EXPECT_NEAR(*d.inputs().vb_l, 2 * 28.316846592, 1e-9);
        EXPECT_TRUE(d.Label_length->text().contains(" in long"))
            << d.Label_length->text().toStdString();
        EXPECT_TRUE(d.Label_length->text().contains(QString::fromUtf8("ft\u00b3")))
            << d.Label_length->text().toStdString();
    });
}

TEST_F(EnclosureDialogTest, InputsLiveInTheirOwnFileBesideTheSettings) {
    start();
    in_designer([&](frmEnclosure& d) {
        type_in(d, EnclosureKey::fs_hz, "31.5");
        type_in(d, EnclosureKey::power_w, "250");
        d.Combo_flares->setCurrentIndex(1); // outer end only
    });
    close_program();
    EXPECT_EQ(read_settings().count("\r\n"), 17); // venturon.ini keeps its 17 lines
    QFile file(enclosure_path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const EnclosureInputs saved = parse_enclosure_inputs(file.readAll().toStdString());
    EXPECT_EQ(saved.fs_hz, 31.5);
    EXPECT_EQ(saved.power_w, 250);
    EXPECT_EQ(saved.flared_ends, FlaredEnds::outer);

    program = ProgramState{};
    start();
    EXPECT_EQ(form->enclosure()->inputs(), saved);
    EXPECT_EQ(form->enclosure()->field(EnclosureKey::fs_hz)->text(), "31.5");
}

TEST_F(EnclosureDialogTest, HostileInputsFilesStartTheProgram) {
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
        in_designer([&](frmEnclosure& d) {
            for (const QString& text :
                 {d.Label_velocities->text(), d.Label_length->text(), d.Label_problem->text()}) {
                EXPECT_FALSE(text.contains("nan") || text.contains("inf")) << text.toStdString();
            }
        });
        close_program();
        program = ProgramState{};
    }
}
