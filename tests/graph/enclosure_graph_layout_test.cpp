// The designer's pictures at the sizes they are shown, over thousands of designs:
// every text inside the picture, apart from every other and off the plot (so no
// curve, shading or marker covers one), and every line and mark inside the picture.
#include "calculation.h"
#include "enclosure_graph.h"
#include "enclosure_inputs.h"

#include <QFontMetricsF>
#include <QRectF>

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace venturon;

namespace {

struct Shown {
    QString text;
    QRectF box; // pixels
};

std::vector<Shown> texts_at(const Drawing& d, QSizeF size) {
    const QFontMetricsF metrics(d.font());
    std::vector<Shown> out;
    for (const auto& item : d.items()) {
        if (item.kind == Drawing::Kind::text) {
            out.push_back(
                {item.text, QRectF(item.from.x() * size.width(), item.from.y() * size.height(),
                                   metrics.horizontalAdvance(item.text), metrics.height())});
        }
    }
    return out;
}

bool overlap(const QRectF& a, const QRectF& b) {
    const QRectF both = a.intersected(b);
    return both.width() > 0.01 && both.height() > 0.01;
}

// Everything the rule asks of one picture; returns how many texts it holds.
std::size_t expect_laid_out(const Drawing& d, const PlotLayout& l, QSizeF size) {
    const QRectF picture = QRectF(QPointF(0, 0), size).adjusted(-0.51, -0.51, 0.51, 0.51);
    const auto t = texts_at(d, size);
    for (std::size_t i = 0; i < t.size(); ++i) {
        EXPECT_TRUE(picture.contains(t[i].box)) << t[i].text.toStdString();
        EXPECT_FALSE(overlap(t[i].box, l.plot)) << t[i].text.toStdString() << " on the plot";
        for (std::size_t j = i + 1; j < t.size(); ++j) {
            EXPECT_FALSE(overlap(t[i].box, t[j].box))
                << t[i].text.toStdString() << " and " << t[j].text.toStdString();
        }
    }
    for (const auto& item : d.items()) {
        std::vector<QPointF> corners = item.corners;
        if (item.kind != Drawing::Kind::polygon) {
            corners = {item.from, item.to};
        }
        for (const QPointF& f : corners) {
            const QPointF p(f.x() * size.width(), f.y() * size.height());
            EXPECT_TRUE(picture.contains(p)) << p.x() << "," << p.y();
        }
    }
    return t.size();
}

} // namespace

// Random designs from a 1-inch tweeter port to a 400 mm port at 3 kW, radii from
// none to 200 mm, Xmax unknown to 40 mm, at the designer's smallest, the tool's
// default and a large size.
TEST(EnclosureGraphLayout, TextsStayApartOffThePlotAndInside) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> unit(0, 1);
    const QSizeF sizes[] = {{360, 220}, {600, 300}, {1400, 800}};
    int pictures = 0;
    for (int i = 0; i < 1500; ++i) {
        EnclosureInputs in;
        const double diameter = 25 * std::pow(16.0, unit(random));
        in[Field::power] = std::pow(10.0, -1 + 4.5 * unit(random));
        in[Field::xmax] = unit(random) < 0.2 ? 0 : 40 * unit(random) + 0.5;
        in[Field::vb] = 5 + 400 * unit(random);
        in[Field::fb] = 15 + 45 * unit(random);
        const auto input = to_enclosure_input(in, diameter, 1 + static_cast<int>(4 * unit(random)));
        ASSERT_TRUE(input);
        const auto model = solve_enclosure(*input);
        ASSERT_TRUE(model);
        const double radius = unit(random) < 0.2 ? 0 : 200 * unit(random);
        const QSizeF size = sizes[static_cast<std::size_t>(i) % std::size(sizes)];
        SCOPED_TRACE(testing::Message() << i << ": " << diameter << " mm, r " << radius << ", "
                                        << size.width() << "x" << size.height());
        PortVelocityGraphInput velocity =
            port_velocity_graph_input(*model, diameter, radius, first_start_allowances);
        velocity.picture_size = size;
        Drawing d;
        EXPECT_GE(expect_laid_out(d, draw_port_velocity_graph(d, velocity), size), 10u);
        ExcursionGraphInput excursion = excursion_graph_input(*model);
        excursion.picture_size = size;
        EXPECT_GE(expect_laid_out(d, draw_excursion_graph(d, excursion), size), 8u);
        pictures += 2;
    }
    EXPECT_EQ(pictures, 3000);
}

// Too small to hold a readable graph: nothing is drawn out of place.
TEST(EnclosureGraphLayout, TinyPicturesStayInside) {
    for (QSizeF size : {QSizeF(1, 1), QSizeF(40, 30), QSizeF(120, 60), QSizeF(2000, 40)}) {
        PortVelocityGraphInput in;
        for (double f = 15; f <= 40; f += 5) {
            in.samples.push_back({f, 10, 60, 35});
        }
        in.picture_size = size;
        Drawing d;
        expect_laid_out(d, draw_port_velocity_graph(d, in), size);
    }
}

// The designer's six views over random designs (drivers, filters, Pe, flares,
// references) at sizes from the designer's smallest to a large screen: every text
// inside, apart and off the plot, the axis titles always whole, and the maximum
// SPL's five keys named where the legends' column holds them.
TEST(EnclosureGraphLayout, DesignerViewsStayApartOffThePlotAndInside) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> unit(0, 1);
    const QSizeF sizes[] = {{360, 220}, {480, 260}, {600, 300}, {900, 500}, {1400, 800}};
    const char* filters[] = {"bw1@40", "bw8@12", "lr4@20", "bessel3@25", "q0.5@30", "q12@18"};
    int pictures = 0;
    for (int i = 0; i < 160; ++i) {
        EnclosureInputs in;
        const double diameter = 25 * std::pow(16.0, unit(random));
        in[Field::power] = std::pow(10.0, -1 + 4.5 * unit(random));
        in[Field::xmax] = unit(random) < 0.2 ? 0 : 40 * unit(random) + 0.5;
        in[Field::pe] = unit(random) < 0.3 ? 0 : std::pow(10.0, 4 * unit(random));
        in[Field::vb] = 5 + 400 * unit(random);
        in[Field::fb] = 15 + 45 * unit(random);
        for (std::size_t k = 0; k < 4; ++k) {
            if (unit(random) < 0.25) {
                in.highpass[k] = read_filter(filters[static_cast<std::size_t>(6 * unit(random))]);
            }
        }
        const auto input = to_enclosure_input(in, diameter, 1 + static_cast<int>(4 * unit(random)));
        ASSERT_TRUE(input);
        const auto model = solve_enclosure(*input);
        ASSERT_TRUE(model);
        const PortLimitSettings port{unit(random) < 0.2 ? 0 : 200 * unit(random),
                                     first_start_allowances};
        const double low = unit(random) < 0.7 ? 10 : 10 + 30 * unit(random);
        const double high = unit(random) < 0.7 ? 200 : low * (1.5 + 8 * unit(random));
        DesignerGraphInput graph = designer_graph_input(*model, port, low, high, 120);
        const auto references = static_cast<std::size_t>(4 * unit(random));
        for (std::size_t r = 0; r < references; ++r) {
            graph.references.push_back(
                {QStringLiteral("Reference %1").arg(r + 1), designer_colour::references[r],
                 designer_curves(*model, {0, first_start_allowances}, low, high, 120)});
        }
        const QSizeF size = sizes[static_cast<std::size_t>(i) % std::size(sizes)];
        for (DesignerView view : designer_views) {
            SCOPED_TRACE(testing::Message() << i << ": " << designer_view_title(view).toStdString()
                                            << ", " << size.width() << "x" << size.height() << ", "
                                            << references << " references");
            Drawing d;
            const PlotSpec chart = designer_plot(view, graph);
            EXPECT_GE(expect_laid_out(d, draw_plot(d, chart, size), size), 8u);
            QStringList shown;
            for (const auto& item : d.items()) {
                shown << item.text;
            }
            EXPECT_TRUE(shown.contains(chart.y_title));
            EXPECT_TRUE(shown.contains(chart.x.title));
            if (chart.y2) {
                EXPECT_TRUE(shown.contains(chart.y2->title));
            }
            if (view == DesignerView::max_spl && (references == 0 || size.height() >= 300)) {
                for (const PlotKey& key : chart.keys) {
                    EXPECT_TRUE(shown.contains(key.name)) << key.name.toStdString();
                }
            }
            ++pictures;
        }
    }
    EXPECT_EQ(pictures, 960);
}
