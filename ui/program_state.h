#pragma once

#include <QString>

namespace venturon {

// The program-wide values: one instance for the whole program, created by main
// and shared by reference with every window.
struct ProgramState {
    QString units_mode = QStringLiteral("metric"); // "metric", "inches" or "decimalinches"
    bool populating = false; // a populate procedure is writing into a length field
    QString display_mode = QStringLiteral("Full"); // "Full" or "Simple"
    float tracked_frequency = 28;                  // Hz, marked on the graph in Simple mode
    QString version_text;
    int options_changed = 0; // an option was clicked since the options dialog opened

    // The stored allowance choice (what the settings file holds).
    QString boundary_mask;
    QString boundary_seat;
    QString core_mask;
    QString core_seat;
    QString content_type;
};

} // namespace venturon
