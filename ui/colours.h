#pragma once

#include <QColor>
#include <QRgb>

// The colours of the windows, named after what they mean on screen (a QColor
// converts from each).
namespace venturon::colours {

inline constexpr QRgb window_background = qRgb(224, 224, 224); // every window and dialog
inline constexpr QRgb normal_field = qRgb(255, 255, 255);
inline constexpr QRgb stale_field = qRgb(255, 192, 192);    // edited, not yet calculated
inline constexpr QRgb computed_field = qRgb(224, 224, 224); // filled by the program, or not in use
inline constexpr QRgb stale_status = qRgb(255, 255, 192); // the status line asks for a calculation
inline constexpr QRgb noise_free_status = qRgb(160, 217, 136);
inline constexpr QRgb link = qRgb(0, 0, 192);          // link labels, underlined
inline constexpr QRgb hint = qRgb(55, 106, 240);       // hints, rules, frame captions, chuffing
inline constexpr QRgb hint_pale = qRgb(183, 198, 215); // the Simple-mode hints once used
inline constexpr QRgb unit_rules_off = qRgb(192, 192, 192); // imperial rules in metric mode
inline constexpr QRgb compression_warning = qRgb(192, 0, 0);
inline constexpr QRgb large_diameter_warning = qRgb(255, 0, 0);
inline constexpr QRgb chart_grey = qRgb(96, 96, 96);
inline constexpr QRgb reminder_frame = qRgb(244, 244, 234);
inline constexpr QRgb core_bar = qRgb(250, 163, 163);
inline constexpr QRgb core_total = qRgb(255, 128, 128);
// The text of a disabled field that shows a result: at least 4.5:1 against both
// the computed-field grey and the stale pink.
inline constexpr QRgb disabled_field_text = qRgb(56, 56, 56);

} // namespace venturon::colours
