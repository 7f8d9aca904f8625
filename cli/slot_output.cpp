#include "slot_output.h"

#include "length_display.h"
#include "number_text.h"
#include "slot_port.h"

#include <QJsonValue>

namespace venturon::cli {

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string walls_text(int walls) {
    switch (walls) {
    case 0:
        return "free of walls";
    case 1:
        return "along 1 wall";
    default:
        return "in a corner (2 walls)";
    }
}

} // namespace

std::string slot_approximation(double hydraulic_diameter_mm, UnitsMode units) {
    return "approximate: the velocity-limit model was built for round ports; a slot is read as "
           "a round port of its hydraulic diameter, " +
           show_length(hydraulic_diameter_mm, units) +
           ", with its round-over as the flare, which gives a thin slot a lower core limit, and "
           "mostly a lower chuffing limit, than a round port of its area";
}

Fields slot_approximation_fields(double hydraulic_diameter_mm, UnitsMode units) {
    constexpr std::size_t width = 84;
    Fields out;
    std::string line;
    const std::string text = slot_approximation(hydraulic_diameter_mm, units);
    for (const auto word : split_text(text, ' ')) {
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            out.push_back({out.empty() ? "*" : "", line});
            line.clear();
        }
        line += (line.empty() ? "" : " ") + std::string(word);
    }
    out.push_back({out.empty() ? "*" : "", line});
    return out;
}

std::string slot_verdict_text(Verdict verdict, double count) {
    return verdict_text(verdict, count == 1 ? "Slot" : "Slots") + " (approximate)";
}

std::string slot_size_text(const SlotShape& slot, UnitsMode units) {
    const std::string size = units == UnitsMode::metric
                                 ? length_number(slot.width_mm, units, -1) + " x " +
                                       show_length(slot.height_mm, units, -1)
                                 : show_length(slot.width_mm, units, -1) + " x " +
                                       show_length(slot.height_mm, units, -1);
    return size + " " + walls_text(slot.walls);
}

Fields slot_port_fields(const Options& o, const CalculationResult& r, bool minimum) {
    const SlotShape& slot = *o.slot;
    return {
        {"Slot", slot_size_text(slot, o.units) + " (hydraulic diameter " +
                     length_with_mm(o.diameter_mm, o.units) + ")"},
        {"Slots", number_text_trimmed(o.ports)},
        {"Round-over", minimum ? length_with_mm(r.radius, o.units, 3, Rounding::up, "minimum")
                               : length_with_mm(r.radius, o.units, -1, Rounding::nearest, "given")},
    };
}

std::vector<Column<std::size_t>> slot_csv_columns(const SlotShape& slot) {
    using I = std::size_t;
    const auto constant = [](const char* key, QJsonValue value) {
        return Column<I>{key, "", "", [value](I) { return value; }, -1, nullptr, in_csv};
    };
    return {
        constant("port_shape", "slot"),
        constant("slot_width_mm", slot.width_mm),
        constant("slot_height_mm", slot.height_mm),
        constant("slot_walls", slot.walls),
        constant("hydraulic_diameter_mm", hydraulic_diameter(slot.width_mm, slot.height_mm)),
        constant("limits_approximate", true),
    };
}

QJsonObject slot_json(const SlotShape& slot, UnitsMode units) {
    const double diameter = hydraulic_diameter(slot.width_mm, slot.height_mm);
    return {
        {"width_mm", slot.width_mm},
        {"height_mm", slot.height_mm},
        {"walls", slot.walls},
        {"size", q(slot_size_text(slot, units))},
        {"area_mm2", slot_area(slot.width_mm, slot.height_mm)},
        {"hydraulic_diameter_mm", diameter},
        {"limits_approximate", true},
        {"approximation", q(slot_approximation(diameter, units))},
    };
}

} // namespace venturon::cli
