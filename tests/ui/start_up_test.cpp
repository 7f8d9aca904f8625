// What a first start shows: the start-up port worked out, its graph drawn, the
// window placed as documented and every caption whole.
#include "main_window_fixture.h"

#include "velocity_graph.h"

#include <QGuiApplication>
#include <QScreen>

using namespace venturon;
using namespace venturon::testing;

namespace {
class StartUpTest : public MainWindowTest {};
} // namespace

TEST_F(StartUpTest, FirstStartCalculatesTheStartUpPort) {
    start();
    EXPECT_EQ(form->windowTitle(), "Venturon");
    EXPECT_EQ(form->size(), QSize(415, 383));
    EXPECT_EQ(program.version_text, QString::fromLatin1(version));
    EXPECT_NEAR(form->state().radius_mm, 26.243, 5e-4);
    EXPECT_EQ(form->state().radius_mm, form->state().min_radius[1]); // needed at 25 Hz
    EXPECT_EQ(text(designed::main::radius_field)->text(), " 27");
    EXPECT_EQ(text(designed::main::diameter_field)->text(), " 100");
    EXPECT_EQ(text(designed::main::port_count_field)->text(), "1");
    EXPECT_EQ(status(), "Port will be noise free");
    EXPECT_EQ(status_colour(), noise_free_green);
    EXPECT_EQ(form->state().required_v, (std::array<double, 4>{10, 14, 12, 7}));
    // The first calculation's validation rescaled them from the reference (scale 1).
    EXPECT_EQ(text(designed::main::velocity_fields[0])->text(), " 10");
    EXPECT_EQ(text(designed::main::velocity_fields[3])->text(), " 7");
    EXPECT_TRUE(check(designed::main::cruise_control_check)->isChecked());
    EXPECT_TRUE(option(designed::main::minimum_mode_option)->isChecked());
    EXPECT_FALSE(text(designed::main::radius_field)->isEnabled());
    EXPECT_EQ(field_colour(designed::main::radius_field), grey);
    EXPECT_EQ(program.units_mode, UnitsMode::metric);
    EXPECT_EQ(form->state().clicked_frequency, 28.0f);
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_FALSE(graph()->drawing().items().empty());
}

TEST_F(StartUpTest, GraphPictureShowsTheLimits) {
    start();
    const QImage image = graph()->grab().toImage();
    int chuffing = 0;
    int core = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            chuffing += c == graph_colour::chuffing_line;
            core += c == graph_colour::core_line;
        }
    }
    EXPECT_GT(chuffing, 100);
    EXPECT_GT(core, 100);
}

TEST_F(StartUpTest, WindowIsPlacedAThirdOfTheWayAcrossAndDown) {
    start();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(form->x(), (screen.width() - form->width()) / 3);
    EXPECT_EQ(form->y(), (screen.height() - form->height()) / 3);
    EXPECT_EQ(graph()->height(),
              int((label(designed::main::status_line)->y() - graph()->y()) * 0.92));
    EXPECT_EQ(graph()->width(), label(designed::main::status_line)->width());
}

TEST_F(StartUpTest, CaptionsFitTheirControls) {
    start();
    for (QWidget* w : form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        QString caption;
        int indicator = 0;
        if (auto* l = qobject_cast<QLabel*>(w)) {
            caption = l->text();
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            caption = b->text().remove('&');
            indicator = qobject_cast<QPushButton*>(w) ? 4 : 20;
        }
        if (caption.isEmpty()) {
            continue;
        }
        const QFontMetrics metrics(w->font());
        EXPECT_LE(metrics.horizontalAdvance(caption) + indicator, w->width())
            << w->objectName().toStdString() << ": " << caption.toStdString();
    }
}
