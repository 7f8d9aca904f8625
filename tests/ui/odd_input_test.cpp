// Whatever a builder types or pastes into any field, in any units and display
// mode: every Calculate command finishes at once, and nothing the window shows
// (fields, captions, status line, graph labels) reads nan or inf.
#include "main_window_fixture.h"
#include "shown_texts.h"

#include "frm_units.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>

using namespace venturon;
using namespace venturon::testing;

namespace {

// Well under a second, with room for a sanitizer build.
constexpr qint64 prompt_ms = 500;

struct OddInput {
    const char* what;
    QString text;
    bool typeable; // short and printable: also typed key by key
};

QString digits(int n) {
    QString out(n, u'9');
    out[0] = u'1';
    return out;
}

const std::vector<OddInput>& odd_inputs() {
    static const std::vector<OddInput> inputs{
        {"1e308", QStringLiteral("1e308"), true},
        {"-1e308", QStringLiteral("-1e308"), true},
        {"1e999", QStringLiteral("1e999"), true},
        {"1e-320", QStringLiteral("1e-320"), true},
        {"a 400-digit number", digits(400), false},
        {"400 digits after a point", QStringLiteral("0.") + digits(400), false},
        {"100 kB of text", QString(qsizetype{100} * 1024, u'7') + QStringLiteral("x 1/2'"), false},
        {"-0", QStringLiteral("-0"), true},
        {".", QStringLiteral("."), true},
        {"tabs", QStringLiteral("\t150\t"), false},
        {"control characters",
         QStringLiteral("\x01\x02"
                        "5\x7f\x1b"),
         false},
        {"line breaks", QStringLiteral("12\n5\r\n6' 1/2"), false},
        {"feet and a fraction", QStringLiteral("6' 10 1/2"), true},
        {"a fraction of nothing", QStringLiteral("1/0"), true},
        {"NaN", QStringLiteral("NaN"), true},
        {"inf", QStringLiteral("-inf"), true},
    };
    return inputs;
}

enum class Way { type, paste, set_text, insert };

const char* name(Way way) {
    switch (way) {
    case Way::type:
        return "typed";
    case Way::paste:
        return "pasted";
    case Way::set_text:
        return "set";
    case Way::insert:
        return "inserted";
    }
    return "";
}

class OddInputTest : public MainWindowTest {
protected:
    void put(const char* field, const OddInput& input, Way way) {
        QLineEdit* edit = text(field);
        switch (way) {
        case Way::type:
            type(field, input.text);
            break;
        case Way::paste:
            edit->setFocus();
            edit->selectAll();
            QGuiApplication::clipboard()->setText(input.text);
            edit->paste();
            break;
        case Way::set_text:
            edit->setText(input.text);
            break;
        case Way::insert:
            edit->selectAll();
            edit->insert(input.text);
            break;
        }
    }

    // Calculates as the user would, then clicks the graph at both ends and in the
    // middle; the whole must be prompt and show only numbers.
    void calculate_and_check(const std::string& where, const QString& typed) {
        interaction.dialog_actions.push_back(dismiss_warning());
        QElapsedTimer timer;
        timer.start();
        calculate();
        auto* graph = form->findChild<PictureBox*>("Picture3");
        for (double x : {0.0, 2.6, 4.0}) {
            emit graph->mouse_down(Qt::LeftButton, {}, x, 1);
        }
        EXPECT_LT(timer.elapsed(), prompt_ms) << where;
        interaction.dialog_actions.clear();
        EXPECT_EQ(non_numbers_shown(*form, {typed}), "") << where;
    }

    void choose_units(QRadioButton* frmUnits::*option) {
        expect_dialog([option](QDialog& d) {
            auto& units = dynamic_cast<frmUnits&>(d);
            (units.*option)->setChecked(true);
            units.Command1->click();
        });
        click_label("Label14");
    }
};

} // namespace

TEST_F(OddInputTest, EveryFieldInEveryUnitsAndDisplayMode) {
    start();
    check("Check1")->setChecked(false); // velocity fields editable
    click(option("Option2"));           // radius field editable
    const char* fields[] = {"Text1", "Text2", "Text10", "Text6", "Text7", "Text8", "Text9"};
    const struct {
        UnitsMode mode;
        QRadioButton* frmUnits::*option;
    } units_modes[] = {{UnitsMode::metric, &frmUnits::Option1},
                       {UnitsMode::inches, &frmUnits::Option2},
                       {UnitsMode::decimal_inches, &frmUnits::Option3}};

    for (DisplayMode display : {DisplayMode::full, DisplayMode::simple}) {
        if (program.display_mode != display) {
            interaction.dialog_actions.push_back(dismiss_warning());
            click_label("Label_mode");
            interaction.dialog_actions.clear();
        }
        ASSERT_EQ(program.display_mode, display);
        for (const auto& units : units_modes) {
            choose_units(units.option);
            ASSERT_EQ(program.units_mode, units.mode);
            for (const char* field : fields) {
                const QString sane = text(field)->text();
                for (const OddInput& input : odd_inputs()) {
                    for (Way way : {Way::type, Way::paste, Way::set_text, Way::insert}) {
                        if (way == Way::type && !input.typeable) {
                            continue;
                        }
                        const std::string where =
                            std::string(display == DisplayMode::full ? "Full" : "Simple") +
                            " mode, " + std::string(units_mode_text(units.mode)) + ", " + field +
                            ": " + input.what + " " + name(way);
                        put(field, input, way);
                        calculate_and_check(where, input.text);
                    }
                    text(field)->setText(sane);
                }
            }
        }
    }
    EXPECT_TRUE(interaction.unexpected_dialogs.isEmpty());
}

// A length copied from a spreadsheet or a document ends in a line break, which a
// paste brings along: the field still reads the number in front of it.
TEST_F(OddInputTest, PastedLengthWithItsLineEndIsRead) {
    start();
    QLineEdit* diameter = text("Text1");
    for (const char* copied : {"150\r\n", "150\n", "150\r", "\n150\n"}) {
        SCOPED_TRACE(::testing::PrintToString(std::string(copied)));
        diameter->setFocus();
        diameter->selectAll();
        QGuiApplication::clipboard()->setText(QString::fromLatin1(copied));
        diameter->paste();
        calculate();
        EXPECT_EQ(form->state().diameter_mm, 150);
        EXPECT_EQ(diameter->text(), " 150");
        EXPECT_EQ(messages(), QStringList());
    }
}
