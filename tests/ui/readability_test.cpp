// What is on screen can be read: results in disabled fields have enough contrast,
// and every window opens where its title bar and fields can be reached.
#include "main_window_fixture.h"

#include "font_fitting.h"
#include "window_setup.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLabel>

#include <cmath>

using namespace venturon;
using namespace venturon::testing;

namespace {

double luminance(const QColor& c) {
    auto channel = [](double v) {
        v /= 255;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The darkest pixel of a field as drawn: its text.
QColor darkest_pixel(QWidget* field) {
    const QImage image = field->grab().toImage();
    QColor darkest = Qt::white;
    for (int y = 3; y < image.height() - 3; ++y) {
        for (int x = 3; x < image.width() - 3; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (luminance(c) < luminance(darkest)) {
                darkest = c;
            }
        }
    }
    return darkest;
}

class ReadabilityTest : public MainWindowTest {};

} // namespace

TEST_F(ReadabilityTest, ResultsInDisabledFieldsAreReadable) {
    start();
    // The computed radius on grey, and the cruise-scaled velocities.
    for (const char* name : {designed::main::radius_field, designed::main::velocity_fields[0],
                             designed::main::velocity_fields[3]}) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(text(name)->isEnabled());
        EXPECT_EQ(field_colour(name), grey);
        EXPECT_GE(contrast(darkest_pixel(text(name)), grey), 4.5);
    }
    // A radius of 0 on the stale pink.
    check(designed::main::cruise_control_check)->setChecked(false);
    for (const char* name : designed::main::velocity_fields) {
        type(name, "0");
    }
    calculate();
    ASSERT_EQ(text(designed::main::radius_field)->text(), " 0");
    ASSERT_EQ(field_colour(designed::main::radius_field), stale_red);
    EXPECT_GE(contrast(darkest_pixel(text(designed::main::radius_field)), stale_red), 4.5)
        << darkest_pixel(text(designed::main::radius_field)).name().toStdString();
}

TEST(WindowPlacement, DocumentedPlaceWhereTheWindowFits) {
    const QRect screen(0, 0, 1920, 1080);
    EXPECT_EQ(screen_position(screen, screen, QSize(415, 383), 1.0 / 3, 1.0 / 3),
              QPoint((1920 - 415) / 3, (1080 - 383) / 3));
    EXPECT_EQ(screen_position(screen, screen.adjusted(0, 32, 0, 0), QSize(380, 422), 0.5, 0.3),
              QPoint((1920 - 380) / 2, int((1080 - 422) * 0.3)));
    // A second screen to the right keeps its own origin.
    const QRect right(1920, 0, 1280, 1024);
    EXPECT_EQ(screen_position(right, right, QSize(480, 322), 0.5, 1.0 / 8), QPoint(1920 + 400, 87));
}

TEST(WindowPlacement, ClampedIntoSmallAndScaledScreens) {
    const struct {
        QRect screen, available;
        QSize window;
        double across, down;
        QPoint expected;
    } cases[] = {
        // 800x600 at scale factor 2: 400x300 logical pixels, smaller than the window.
        {{0, 0, 400, 300}, {0, 0, 400, 300}, {415, 383}, 1.0 / 3, 1.0 / 3, {0, 0}},
        // Fits across but not down; a panel takes the top 24 pixels.
        {{0, 0, 640, 400}, {0, 24, 640, 376}, {415, 383}, 1.0 / 3, 1.0 / 3, {75, 24}},
        // Fits, but the documented place would cover a panel at the top.
        {{0, 0, 800, 420}, {0, 40, 800, 380}, {415, 383}, 1.0 / 3, 1.0 / 3, {128, 40}},
        // A panel at the bottom pushes a window that would reach under it upwards.
        {{0, 0, 800, 500}, {0, 0, 800, 450}, {415, 383}, 0.5, 0.9, {192, 67}},
        // A screen left of the primary one, with negative coordinates.
        {{-400, 0, 400, 300}, {-400, 0, 400, 300}, {480, 322}, 0.5, 1.0 / 8, {-400, 0}},
    };
    for (const auto& c : cases) {
        const QPoint p = screen_position(c.screen, c.available, c.window, c.across, c.down);
        EXPECT_EQ(p, c.expected) << c.screen.width() << "x" << c.screen.height();
        EXPECT_TRUE(c.available.contains(p)); // the top-left corner is always on screen
    }
}

// Fitting skips sizes that cannot fit; the size it picks must be the one that
// trying every quarter point down from the preferred size picks.
TEST(FontFitting, SameSizeAsTryingEveryStep) {
    const struct {
        const char* text;
        int width, height;
        double preferred;
    } cases[] = {
        {"Calculate", 200, 30, 10},                                  // fits at once
        {"Minimum flare radius", 90, 30, 12},                        // a little too wide
        {"Port velocity at 20 Hz (m/s)", 60, 30, 14},                // far too wide
        {"Port", 200, 9, 12},                                        // too high
        {"An absurdly long caption for a narrow label", 20, 30, 10}, // 5 points is too wide
        {"", 10, 30, 9},                                             // nothing to fit
    };
    for (const auto& c : cases) {
        QLabel label;
        label.resize(c.width, c.height);
        fit_font(&label, QString::fromLatin1(c.text), c.preferred);

        QFont font = label.font();
        for (double points = c.preferred; points >= 5.0; points -= 0.25) {
            font.setPointSizeF(points);
            const QFontMetricsF metrics(font);
            if (metrics.horizontalAdvance(QString::fromLatin1(c.text)) <= c.width &&
                metrics.height() <= c.height + 2) {
                break;
            }
        }
        EXPECT_EQ(label.font().pointSizeF(), font.pointSizeF()) << c.text;
    }
}
