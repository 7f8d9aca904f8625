#pragma once

#include <QColor>

// The colours of the windows, named after what they mean on screen.
namespace venturon::colours {

inline const QColor window_background{224, 224, 224}; // every window and dialog
inline const QColor normal_field{255, 255, 255};
inline const QColor stale_field{255, 192, 192};    // edited, not yet calculated
inline const QColor computed_field{224, 224, 224}; // filled by the program, or not in use
inline const QColor stale_status{255, 255, 192};   // the status line asks for a calculation
inline const QColor noise_free_status{160, 217, 136};
inline const QColor link{0, 0, 192};               // link labels, underlined
inline const QColor hint{55, 106, 240};            // hints, rules, frame captions, chuffing
inline const QColor hint_pale{183, 198, 215};      // the Simple-mode hints once used
inline const QColor unit_rules_off{192, 192, 192}; // imperial rules in metric mode
inline const QColor compression_warning{192, 0, 0};
inline const QColor large_diameter_warning{255, 0, 0};
inline const QColor chart_grey{96, 96, 96};
inline const QColor reminder_frame{244, 244, 234};
inline const QColor core_bar{250, 163, 163};
inline const QColor core_total{255, 128, 128};
// The text of a disabled field that shows a result: at least 4.5:1 against both
// the computed-field grey and the stale pink.
inline const QColor disabled_field_text{56, 56, 56};

} // namespace venturon::colours
