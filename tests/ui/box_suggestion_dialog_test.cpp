// The boxes suggested for the designer's driver: each row's figures where the
// theory puts them, words for a row without a box, the Use buttons, the fields'
// messages, imperial units, and nothing clipped or shown as "nan".
#include "box_suggestion_dialog.h"

#include "support/non_numbers.h"
#include "text_box.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

using namespace venturon;

namespace {

constexpr double b4_qts = 0.38268343236508977; // 1 / sqrt(4 + 2 sqrt 2)
constexpr double litres_per_cubic_foot = 28.316846592;

// One driver of Fs 25 Hz and Vas 100 L with Qts 0.3827, as nearly lossless as the
// inputs allow (Qms 1000, no box losses), 100 W into a 100 mm port.
EnclosureInput lossless_b4_driver() {
    EnclosureInput in;
    in.driver.fs_hz = 25;
    in.driver.qms = 1000;
    in.driver.qes = b4_qts * 1000 / (1000 - b4_qts);
    in.driver.vas_m3 = 0.1;
    in.driver.sd_m2 = 0.05;
    in.driver.re_ohm = 3.6;
    in.box.vb_m3 = 0.05;
    in.box.fb_hz = 30;
    in.box.ql.reset();
    in.drive = Drive::power_w(100);
    in.port = {0.1, 1};
    return in;
}

// A port length that fits: 200 mm of straight tube.
PortLength fitting_length() {
    PortLength length;
    length.reachable = true;
    length.straight_length_m = 0.2;
    length.displaced_volume_m3 = 0.002;
    return length;
}

class BoxSuggestionDialogTest : public ::testing::Test {
protected:
    ProgramState program;
    std::optional<Checked<PortLength>> next_length; // what the designer's port gives
    std::vector<std::pair<double, double>> used;    // the boxes taken, L and Hz
    BoxSuggestionDialog dialog{
        program, [this](double, double) { return next_length ? *next_length : fitting_length(); },
        [this](double vb_l, double fb_hz) { used.emplace_back(vb_l, fb_hz); }};

    template <class T> T* in(const QString& name) {
        T* w = dialog.findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    // A cell's text with its no-break spaces as plain ones.
    QString cell(int row, int column) {
        return in<QLabel>(QStringLiteral("Cell_%1_%2").arg(row).arg(column))
            ->text()
            .replace(QChar(0x00a0), QLatin1Char(' '));
    }
    // The number a cell starts with ("70.7 L" gives 70.7).
    double number(int row, int column) { return cell(row, column).section(' ', 0, 0).toDouble(); }
    QPushButton* use_button(int row) {
        return in<QPushButton>(QStringLiteral("Command_use_%1").arg(row));
    }
    // Types into a field, all at once, and presses Enter.
    void enter(const char* field, const QString& text) {
        auto* box = in<TextBox>(QLatin1String(field));
        box->setText(text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    void show_b4() { dialog.show_for(lossless_b4_driver(), QStringLiteral("1 port of 100 mm")); }

    std::string non_numbers() {
        QStringList texts;
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            texts << label->text();
        }
        return venturon::testing::non_numbers_in(texts);
    }
};

// Each row as typed. Expected figures by hand, lossless, Qts = 1/sqrt(4 + 2 sqrt 2):
// - flattest: the B4 alignment, Vb = Vas / sqrt 2 = 70.71 L, Fb = Fs = 25 Hz, F3 =
//   Fs;
// - 60 L: the flat tuning puts a1^2 = 2 a2 in s^4 + a1 s^3 + a2 s^2 + a3 s + 1
//   (a1 = 1/(Qts sqrt h), a2 = (alpha + 1 + h^2)/h), h^2 = 1/(2 Qts^2) - alpha - 1
//   = 3.4142 - 1.6667 - 1 = 0.7475, Fb = 0.8646 x 25 = 21.6 Hz; alpha is 18 % from
//   B4's, the only alignment at this Qts: none named;
// - F3 25 Hz: the smallest box that reaches it is the B4 box;
// - F3 2 Hz: no box reaches it without a peak.
struct RowCase {
    const char* name;
    int row;
    const char* volume; // typed, or nullptr
    const char* f3;
    QString label;
    std::optional<double> vb_l; // nothing: a row without a box
    double fb_hz;
    QString alignment;
};

TEST_F(BoxSuggestionDialogTest, RowsWhereTheTheoryPutsThem) {
    const RowCase cases[] = {
        {"flattest", 1, nullptr, nullptr, "Flattest", 70.71, 25, "B4"},
        {"volume", 2, "60", nullptr, "For 60 L", 60, 21.6, QString(u'\u2014')},
        {"f3", 3, nullptr, "25", "For F3 25 Hz", 70.71, 25, "B4"},
        {"f3_unreachable", 3, nullptr, "2", "For F3 2 Hz", std::nullopt, 0, {}},
        {"volume_not_asked", 2, "", nullptr, "For a volume", std::nullopt, 0, {}},
    };
    show_b4();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.windowTitle(), "Venturon Box Suggestions");
    EXPECT_TRUE(in<QLabel>("Label_for")->text().contains("1 port of 100 mm"));
    for (const RowCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.volume) {
            enter("Text_volume", QString::fromLatin1(c.volume));
        }
        if (c.f3) {
            enter("Text_f3", QString::fromLatin1(c.f3));
        }
        EXPECT_EQ(cell(c.row, 0), c.label);
        EXPECT_EQ(use_button(c.row)->isEnabled(), c.vb_l.has_value());
        if (!c.vb_l) {
            EXPECT_FALSE(cell(c.row, 1).isEmpty()); // the words why
            continue;
        }
        EXPECT_NEAR(number(c.row, 1), *c.vb_l, 0.015 * *c.vb_l) << cell(c.row, 1).toStdString();
        EXPECT_TRUE(cell(c.row, 1).endsWith(" L"));
        EXPECT_NEAR(number(c.row, 2), c.fb_hz, 0.015 * c.fb_hz) << cell(c.row, 2).toStdString();
        EXPECT_TRUE(cell(c.row, 4).contains(" m/s at ")) << cell(c.row, 4).toStdString();
        EXPECT_EQ(cell(c.row, 5), "200 mm");
        EXPECT_EQ(cell(c.row, 6), c.alignment);
    }
    EXPECT_TRUE(cell(3, 1).startsWith("No box reaches F3 2 Hz")) << cell(3, 1).toStdString();
    EXPECT_NEAR(number(1, 3), 25, 0.25); // F3 of B4 is Fs
    EXPECT_EQ(non_numbers(), "");
}

// Use takes the row's box into the designer (litres and hertz) and leaves the window
// open; Escape closes it.
TEST_F(BoxSuggestionDialogTest, UseTakesTheRowsBox) {
    show_b4();
    enter("Text_volume", "60");
    QTest::mouseClick(use_button(2), Qt::LeftButton);
    QTest::mouseClick(use_button(1), Qt::LeftButton);
    ASSERT_EQ(used.size(), 2u);
    EXPECT_NEAR(used[0].first, 60, 1e-9);
    EXPECT_NEAR(used[0].second, number(2, 2), 0.05);
    EXPECT_NEAR(used[1].first, 100 / std::sqrt(2.0), 0.01 * 70.71);
    EXPECT_NEAR(used[1].second, 25, 0.25);
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

// Text that is not a number is named beside its field and changes nothing else.
TEST_F(BoxSuggestionDialogTest, BadTextIsNamedBesideItsField) {
    show_b4();
    enter("Text_volume", "60");
    const QString before = cell(2, 1);
    enter("Text_volume", "60 L");
    auto* message = in<QLabel>("Message_volume");
    EXPECT_TRUE(message->isVisibleTo(&dialog));
    EXPECT_EQ(message->text(), "\"60 L\" is not a number");
    EXPECT_EQ(cell(2, 1), before);
    EXPECT_TRUE(use_button(2)->isEnabled());
    enter("Text_f3", "1e999");
    EXPECT_TRUE(in<QLabel>("Message_f3")->text().contains("too large"));
    enter("Text_volume", "");
    EXPECT_FALSE(message->isVisibleTo(&dialog));
    EXPECT_FALSE(use_button(2)->isEnabled());

    // Leaving a field reads it too.
    QApplication::setActiveWindow(&dialog);
    auto* volume = in<TextBox>("Text_volume");
    volume->setFocus();
    volume->setText("50");
    in<TextBox>("Text_f3")->setFocus();
    EXPECT_EQ(cell(2, 0), "For 50 L");
    EXPECT_TRUE(use_button(2)->isEnabled());
}

// The port's length, or why it has none, from the designer's own port.
TEST_F(BoxSuggestionDialogTest, PortLengthOrWhyNone) {
    PortLength too_long;
    too_long.fit = PortFit::too_long;
    PortLength too_heavy;
    too_heavy.fit = PortFit::flares_too_heavy;
    too_heavy.max_fb_hz = 18.25;
    PortLength too_big = fitting_length();
    too_big.displaced_volume_m3 = 0.1; // more than the 70.7 L box
    const struct {
        Checked<PortLength> length;
        QString shown;
    } cases[] = {
        {fitting_length(), "200 mm"},
        {too_long, "None: longer than 100000 mm"}, // the longest straight part allowed,
        {too_heavy, "None: with no straight part the ports tune it only to 18.3 Hz"},
        {too_big, "200 mm, more air than the box holds"},
        {InputError{Field::port_diameter, Problem::missing}, "Port diameter must be given"},
    };
    for (const auto& c : cases) {
        next_length = c.length;
        show_b4();
        EXPECT_EQ(cell(1, 5), c.shown);
    }
}

// In imperial units volumes are typed and shown in cubic feet: 70.71 L is 2.497
// ft^3, and 2 ft^3 is 56.63 L.
TEST_F(BoxSuggestionDialogTest, ImperialUnitsShowCubicFeet) {
    program.units_mode = UnitsMode::inches;
    next_length = fitting_length();
    show_b4();
    EXPECT_EQ(in<QLabel>("Unit_volume")->text(), QString::fromUtf8("ft\u00b3"));
    EXPECT_EQ(cell(1, 1), QString::fromUtf8("2.5 ft\u00b3"));
    EXPECT_EQ(cell(1, 5), "7 7/8 in"); // 200 mm is 7.874 in
    enter("Text_volume", "2");
    EXPECT_EQ(cell(2, 0), QString::fromUtf8("For 2 ft\u00b3"));
    QTest::mouseClick(use_button(2), Qt::LeftButton);
    ASSERT_EQ(used.size(), 1u);
    EXPECT_NEAR(used[0].first, 2 * litres_per_cubic_foot, 1e-9);
}

// A design the model refuses gives words, never a number that is not one.
TEST_F(BoxSuggestionDialogTest, RefusedDesignGivesWords) {
    EnclosureInput bad = lossless_b4_driver();
    bad.driver.fs_hz = std::nan("");
    enter("Text_volume", "60");
    dialog.show_for(bad, QStringLiteral("1 port of 100 mm"));
    for (int row = 1; row <= 3; ++row) {
        EXPECT_FALSE(use_button(row)->isEnabled()) << row;
    }
    EXPECT_TRUE(cell(1, 1).startsWith("Fs")) << cell(1, 1).toStdString();
    EXPECT_EQ(non_numbers(), "");
}

// Small enough for a 1024 by 768 screen, and every text has the room it asks for.
TEST_F(BoxSuggestionDialogTest, NothingClipped) {
    show_b4();
    enter("Text_volume", "5");
    enter("Text_f3", "2");
    EXPECT_LE(dialog.minimumSizeHint().width(), 1000);
    EXPECT_LE(dialog.minimumSizeHint().height(), 680);
    for (const QSize size : {dialog.minimumSizeHint(), QSize(1400, 900)}) {
        dialog.resize(size);
        QCoreApplication::processEvents();
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            if (!label->isVisibleTo(&dialog) || label->text().isEmpty()) {
                continue;
            }
            SCOPED_TRACE(label->objectName().toStdString() + " at " + std::to_string(size.width()));
            const int needed = label->wordWrap() ? label->heightForWidth(label->width())
                                                 : label->sizeHint().height();
            EXPECT_GE(label->height(), needed);
            if (!label->wordWrap()) {
                EXPECT_GE(label->width(), label->sizeHint().width());
            }
        }
    }
}

} // namespace
