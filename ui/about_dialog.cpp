#include "about_dialog.h"

#include "author_details.h"
#include "colours.h"
#include "controls.h"
#include "designed_names.h"
#include "font_fitting.h"
#include "system_information.h"
#include "twips.h"
#include "window_setup.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace venturon {

namespace {

// Where the two panels stand, in twips.
constexpr QRect frame_rect = twips(120, 120, 6960, 3840);
constexpr double text_points = 9;
constexpr double heading_points = 10;

const QColor radius_colour(200, 0, 0);
const QColor diameter_colour(0, 0, 160);

// A picture drawn by a painting function into a fixed design size and scaled to
// the widget (uniformly and centred, unless it is to be stretched), so that it
// stays sharp at any pixel ratio.
class Illustration : public QWidget {
public:
    using PaintFunction = void (*)(QPainter&);

    Illustration(QSizeF design_size, PaintFunction paint, QWidget* parent, bool stretch = false)
        : QWidget(parent), design_size_(design_size), paint_(paint), stretch_(stretch) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        double scale_x = width() / design_size_.width();
        double scale_y = height() / design_size_.height();
        if (!stretch_) {
            scale_x = scale_y = std::min(scale_x, scale_y);
        }
        painter.translate((width() - design_size_.width() * scale_x) / 2,
                          (height() - design_size_.height() * scale_y) / 2);
        painter.scale(scale_x, scale_y);
        paint_(painter);
    }

private:
    QSizeF design_size_;
    PaintFunction paint_;
    bool stretch_;
};

// The port photograph: a six-inch port with a one-inch flare, set in an MDF baffle and seen
// from a little above and to the left (100 by 85).
void paint_port_photograph(QPainter& p) {
    const QRectF area(0, 0, 100, 85);
    QLinearGradient board(area.topLeft(), area.bottomRight());
    board.setColorAt(0, QColor(206, 178, 134));
    board.setColorAt(1, QColor(172, 142, 100));
    p.fillRect(area, board);
    // Faint fibres of the board.
    p.setPen(QPen(QColor(150, 120, 82, 70), 0.6));
    for (int i = 0; i < 14; ++i) {
        const double y = 3 + i * 6.1 + std::sin(i * 1.7) * 1.5;
        p.drawLine(QPointF(0, y), QPointF(100, y + std::cos(i * 2.3) * 2));
    }

    const QPointF centre(50, 43);
    // Flange: eight inches across (six-inch bore plus a one-inch flare each side).
    const double outer_rx = 42, outer_ry = 35;
    const double bore = 6.0 / 8.0;

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawEllipse(centre + QPointF(3, 3), outer_rx + 1, outer_ry + 1);

    // The rounded flare: rings from the outer rim (lit) to the bore (in shade).
    constexpr int rings = 16;
    for (int i = 0; i < rings; ++i) {
        const double t = double(i) / rings; // 0 at the rim, towards 1 at the bore
        const double scale = 1.0 - t * (1.0 - bore);
        const int shade = int(118 - 100 * t * t);
        p.setBrush(QColor(shade, shade, shade + 4));
        p.drawEllipse(centre, outer_rx * scale, outer_ry * scale);
    }
    // Light from the upper left on the curve of the flare.
    QLinearGradient light(centre + QPointF(-outer_rx, -outer_ry), centre);
    light.setColorAt(0, QColor(255, 255, 255, 150));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    QPainterPath ring;
    ring.addEllipse(centre, outer_rx, outer_ry);
    QPainterPath hole;
    hole.addEllipse(centre, outer_rx * bore, outer_ry * bore);
    p.fillPath(ring.subtracted(hole), light);

    // The bore: the lower right inside wall catches a little light, the far end is dark.
    QRadialGradient inside(centre + QPointF(-5, -4), outer_rx * bore);
    inside.setColorAt(0, QColor(4, 4, 6));
    inside.setColorAt(0.55, QColor(10, 10, 12));
    inside.setColorAt(1, QColor(46, 46, 50));
    p.setBrush(inside);
    p.drawEllipse(centre, outer_rx * bore, outer_ry * bore);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(150, 150, 156), 0.8));
    p.drawArc(QRectF(centre.x() - outer_rx + 1.5, centre.y() - outer_ry + 1.5, 2 * outer_rx - 3,
                     2 * outer_ry - 3),
              70 * 16, 90 * 16);
}

// The cross-section: the port cut along its axis, the flare radius marked (187 by 123).
void paint_cross_section(QPainter& p) {
    const QRectF area(0, 0, 187, 123);
    p.fillRect(area, Qt::white);

    const double centre_y = 61.5;
    const double bore_radius = 24;
    const double flare_radius = 18;
    const double wall = 5;
    const double face_x = 40; // front face of the baffle, its edge rounded over
    const double back_x = 68; // back face of the baffle, where the tube goes on
    const double tube_end_x = 181;
    const double bore_y = centre_y - bore_radius;
    const QPointF arc_centre(face_x + flare_radius, bore_y - flare_radius);

    // Upper half of the baffle and tube; the lower half is its mirror image.
    QPainterPath upper;
    upper.moveTo(face_x, 0);
    upper.lineTo(face_x, arc_centre.y());
    upper.arcTo(QRectF(face_x, arc_centre.y() - flare_radius, 2 * flare_radius, 2 * flare_radius),
                180, 90);
    upper.lineTo(tube_end_x, bore_y);
    upper.lineTo(tube_end_x, bore_y - wall);
    upper.lineTo(back_x, bore_y - wall);
    upper.lineTo(back_x, 0);
    upper.closeSubpath();
    const QTransform mirror = QTransform(1, 0, 0, -1, 0, 2 * centre_y);
    const QPainterPath lower = mirror.map(upper);

    for (const QPainterPath& half : {upper, lower}) {
        p.fillPath(half, QColor(224, 198, 152));
        p.fillPath(half, QBrush(QColor(160, 128, 84), Qt::BDiagPattern));
        p.strokePath(half, QPen(QColor(70, 60, 50), 0.8));
    }

    // Centre line.
    p.setPen(QPen(QColor(140, 140, 140), 0.6, Qt::DashDotLine));
    p.drawLine(QPointF(4, centre_y), QPointF(tube_end_x + 2, centre_y));

    // The flare: its curved surface, its centre and its radius.
    const QRectF arc_box(face_x, arc_centre.y() - flare_radius, 2 * flare_radius, 2 * flare_radius);
    p.setPen(QPen(radius_colour, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(arc_box, 180 * 16, 90 * 16);
    p.drawArc(mirror.mapRect(arc_box), 90 * 16, 90 * 16);
    const QPointF on_arc = arc_centre + QPointF(-flare_radius / std::numbers::sqrt2,
                                                flare_radius / std::numbers::sqrt2);
    p.setPen(QPen(radius_colour, 1.2));
    p.drawLine(arc_centre, on_arc);
    p.drawLine(arc_centre + QPointF(-2.5, 0), arc_centre + QPointF(2.5, 0));
    p.drawLine(arc_centre + QPointF(0, -2.5), arc_centre + QPointF(0, 2.5));

    // The bore's diameter.
    const double arrow_x = 164;
    const QPointF top(arrow_x, bore_y), bottom(arrow_x, 2 * centre_y - bore_y);
    p.setPen(QPen(diameter_colour, 0.9));
    p.drawLine(top, bottom);
    p.setBrush(diameter_colour);
    p.drawPolygon(QPolygonF({top, top + QPointF(-2.2, 5), top + QPointF(2.2, 5)}));
    p.drawPolygon(QPolygonF({bottom, bottom + QPointF(-2.2, -5), bottom + QPointF(2.2, -5)}));

    // Letters and key.
    QFont font = p.font();
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.setPen(radius_colour);
    p.drawText(QPointF(on_arc.x() - 9, on_arc.y() + 1), QStringLiteral("r"));
    p.setPen(diameter_colour);
    p.drawText(QPointF(arrow_x + 3.5, centre_y + 10), QStringLiteral("d"));
    font.setBold(false);
    font.setPixelSize(8);
    p.setFont(font);
    p.setPen(radius_colour);
    p.drawText(QPointF(74, centre_y - 6), QStringLiteral("r = flare radius"));
    p.setPen(diameter_colour);
    p.drawText(QPointF(74, centre_y + 11), QStringLiteral("d = port diameter"));
}

// The thin strip between the panels and the buttons.
void paint_strip(QPainter& p) {
    QLinearGradient top(0, 0, 748, 0);
    top.setColorAt(0, colours::link);
    top.setColorAt(0.5, colours::hint);
    top.setColorAt(1, colours::window_background);
    p.fillRect(QRectF(0, 0, 748, 1), top);
    p.fillRect(QRectF(0, 1, 748, 1), Qt::white);
}

// Fits a label of this dialog: headings bold and larger, long texts wrapped.
void fit_text(QLabel* label, bool bold = false, bool wrap = false) {
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    const double points = bold ? heading_points : text_points;
    if (wrap) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        fit_wrapped_font(label, points);
    } else {
        fit_font(label, label->text(), points);
    }
}

// The dialog's fonts are fitted when it first shows (most runs never open it):
// each control adds the step that fits it.
using Fitting = std::vector<std::function<void()>>;

QLabel* text_label(Fitting& fitting, QWidget* parent, const char* name, const QString& text,
                   QRect at, bool bold = false, bool wrap = false) {
    QLabel* label = add_label(parent, name, text, at);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    if (wrap) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    fitting.push_back([label, bold, wrap] { fit_text(label, bold, wrap); });
    return label;
}

// A link only as wide as its caption, so that a click beside the text does nothing.
ClickableLabel* narrow_link(Fitting& fitting, QWidget* parent, const char* name,
                            const QString& text, QRect at, const QString& tool_tip) {
    ClickableLabel* link = add_link(parent, name, text, at, tool_tip);
    fitting.push_back([link, text, at] {
        fit_text(link);
        const int text_width = QFontMetrics(link->font()).horizontalAdvance(text) + 2;
        link->resize(std::min(at.width(), text_width), at.height());
    });
    return link;
}

QPushButton* fitted_button(Fitting& fitting, QWidget* parent, const char* name,
                           const QString& caption, QRect at) {
    QPushButton* button = add_button(parent, name, caption, at);
    QString shown = caption;
    shown.remove(QLatin1Char('&'));
    fitting.push_back([button, shown] { fit_font(button, shown, text_points, 16); });
    return button;
}

QFrame* add_panel(QWidget* parent, const char* name) {
    auto* frame = add_control<QFrame>(parent, name, frame_rect);
    frame->setFrameShape(QFrame::NoFrame);
    return frame;
}

namespace name = designed::about;

} // namespace

AboutDialog::AboutDialog(ProgramState& state, Interaction& interaction,
                         std::function<void()> re_enable_warnings, QWidget* parent)
    : QDialog(parent), state_(state), interaction_(interaction),
      re_enable_warnings_(std::move(re_enable_warnings)) {
    set_up_dialog(this, QString::fromLatin1(name::dialog), QStringLiteral("About Venturon"),
                  twips_size(7200, 4830));
    build_controls();
    connect_handlers();
    finish_loading();
}

void AboutDialog::build_controls() {
    const QString web = author::web_address();
    const QString feedback = author::feedback_address();

    about_panel = add_panel(this, name::about_panel);
    port_photograph = new Illustration(QSizeF(100, 85), paint_port_photograph, about_panel);
    port_photograph->setObjectName(QString::fromLatin1(name::port_photograph));
    port_photograph->setGeometry(twips(120, 120, 1500, 1275));
    port_photograph->setToolTip(
        QStringLiteral("Six inch port with one inch flare used in developing this software"));
    version_line = text_label(fitting_, about_panel, name::version_line, QString(),
                              twips(1860, 150, 4980, 330), true);
    credit_line = text_label(fitting_, about_panel, name::credit_line, author::credit_line(),
                             twips(1860, 570, 4980, 270));
    free_software_note = text_label(
        fitting_, about_panel, name::free_software_note,
        QStringLiteral("This software is free - if you find it useful, please pass it on"),
        twips(1860, 900, 4980, 540), false, true);
    theory_note = text_label(
        fitting_, about_panel, name::theory_note,
        QStringLiteral("If you would like to view the theory and notes for this software , or "
                       "would like to check for an updated version"),
        twips(120, 1620, 6720, 540), false, true);
    web_link = narrow_link(fitting_, about_panel, name::web_link, author::web_link_caption(),
                           twips(120, 2190, 6720, 270),
                           QStringLiteral("Click link to launch your browser and go to ") + web);
    feedback_note = text_label(fitting_, about_panel, name::feedback_note,
                               QStringLiteral("If you have any feedback, you are most welcome to:"),
                               twips(120, 2640, 6720, 270));
    email_link =
        narrow_link(fitting_, about_panel, name::email_link, QStringLiteral("send me an email"),
                    twips(120, 2940, 6720, 270), QStringLiteral("Click to email ") + feedback);
    show_graphic_link =
        narrow_link(fitting_, about_panel, name::show_graphic_link,
                    QStringLiteral("Show me where to measure"), twips(120, 3480, 6720, 270),
                    QStringLiteral("Show graphic detailing how flare radius is defined"));

    graphic_panel = add_panel(this, name::graphic_panel);
    graphic_panel->hide();
    graphic_heading =
        text_label(fitting_, graphic_panel, name::graphic_heading,
                   QStringLiteral("Cross-section of flared port"), twips(120, 60, 6720, 330), true);
    graphic_heading->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    cross_section = new Illustration(QSizeF(187, 123), paint_cross_section, graphic_panel);
    cross_section->setObjectName(QString::fromLatin1(name::cross_section));
    cross_section->setGeometry(twips(1365, 510, 4215, 2775));
    return_link = narrow_link(fitting_, graphic_panel, name::return_link,
                              QStringLiteral("Return to \"About\" display"),
                              twips(120, 3480, 6720, 270), QStringLiteral("Hide the graphix"));

    strip = new Illustration(QSizeF(748, 2), paint_strip, this, true);
    strip->setObjectName(QString::fromLatin1(name::strip));
    strip->setGeometry(twips(120, 4110, 6960, 30));

    system_info_button =
        fitted_button(fitting_, this, name::system_info_button, QStringLiteral("&System Info..."),
                      twips(1890, 4260, 1650, 420));
    re_enable_warnings_button =
        fitted_button(fitting_, this, name::re_enable_warnings_button,
                      QStringLiteral("Re-enable Warnings"), twips(3660, 4260, 2250, 420));
    ok_button = fitted_button(fitting_, this, name::ok_button, QStringLiteral("OK"),
                              twips(6030, 4260, 1050, 420));
    ok_button->setDefault(true);
    setTabOrder(ok_button, system_info_button);
    setTabOrder(system_info_button, re_enable_warnings_button);
    ok_button->setFocus();
}

void AboutDialog::connect_handlers() {
    connect(show_graphic_link, &ClickableLabel::clicked, this, &AboutDialog::show_graphic);
    connect(return_link, &ClickableLabel::clicked, this, &AboutDialog::show_texts);
    connect(email_link, &ClickableLabel::clicked, this, &AboutDialog::send_feedback);
    connect(web_link, &ClickableLabel::clicked, this, &AboutDialog::open_web_page);
    connect(system_info_button, &QPushButton::clicked, this,
            &AboutDialog::start_system_information);
    connect(re_enable_warnings_button, &QPushButton::clicked, this,
            &AboutDialog::re_enable_warnings);
    connect(ok_button, &QPushButton::clicked, this, &QWidget::hide);
}

void AboutDialog::finish_loading() {
    place_on_screen(this, 0.5, 1.0 / 8);
    focus_when_shown(this, [this] { return ok_button; });
    version_line->setText(QStringLiteral("Venturon  version ") + state_.version_text);
    fitting_.push_back([this] { fit_font(version_line, version_line->text(), heading_points); });
    on_first_show(this, [this] {
        for (const auto& step : fitting_) {
            step();
        }
        fitting_.clear();
    });
    graphic_panel->move(about_panel->pos());
}

void AboutDialog::reject() {
    hide();
}

void AboutDialog::show_graphic() {
    graphic_panel->show();
    about_panel->hide();
}

void AboutDialog::show_texts() {
    about_panel->show();
    graphic_panel->hide();
}

void AboutDialog::send_feedback() {
    interaction_.open_address(QStringLiteral("mailto:") + author::feedback_address() +
                              QStringLiteral("?Subject=Feedback from Venturon V") +
                              state_.version_text);
}

void AboutDialog::open_web_page() {
    interaction_.open_address(author::web_address());
}

void AboutDialog::re_enable_warnings() {
    if (re_enable_warnings_) {
        re_enable_warnings_();
    }
    interaction_.message(this, QStringLiteral("Venturon warnings have been re-enabled"),
                         QStringLiteral("Confirmation"), Interaction::Icon::information);
}

void AboutDialog::start_system_information() {
    const auto tool = system_information_tool(
        [this](const QString& path) { return interaction_.file_exists(path); });
    if (tool && interaction_.start_program(*tool)) {
        return;
    }
    interaction_.notice(this, QStringLiteral("System Information Is Unavailable At This Time"));
}

} // namespace venturon
