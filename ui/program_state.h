#pragma once

#include "allowances.h"
#include "units_mode.h"

#include <QString>

namespace venturon {

// Full mode shows every input; Simple mode only the port's lengths and tracks a
// frequency picked on the graph.
enum class DisplayMode { full, simple };

// The program-wide values: one instance for the whole program, created by main
// and shared by reference with every window.
struct ProgramState {
    UnitsMode units_mode = UnitsMode::metric;
    bool populating = false; // a populate procedure is writing into a length field
    DisplayMode display_mode = DisplayMode::full;
    float tracked_frequency = 28; // Hz, marked on the graph in Simple mode
    QString version_text;
    int options_changed = 0; // an option was clicked since the options dialog opened

    // The stored allowance choice: the five texts the settings file holds, as read,
    // and as the options dialog's OK sets them.
    StoredAllowances allowance_texts;
};

} // namespace venturon
