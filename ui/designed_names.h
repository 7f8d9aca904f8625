#pragma once

// The names of the windows and controls as designed. Each is the widget's
// objectName(), by which tests, screen reader scripts and readers of the design
// document find it; the code itself calls each control by what it is (the name
// of the constant, which is also the member that holds the widget).
namespace venturon::designed {

// The main window.
namespace main {
inline constexpr auto window = "Form1";                // the main window
inline constexpr auto diameter_caption = "Label1";     // "Port Diameter - mm"
inline constexpr auto diameter_field = "Text1";        // the port's internal diameter
inline constexpr auto radius_caption = "Label2";       // "Flare Radius - mm"
inline constexpr auto radius_field = "Text2";          // the flare radius
inline constexpr auto port_count_caption = "Label12";  // "Number of ports"
inline constexpr auto port_count_field = "Text10";     // the number of ports
inline constexpr auto units_link = "Label14";          // "Change Units"
inline constexpr auto radius_down_button = "Command3"; // "<": a smaller manual radius
inline constexpr auto radius_up_button = "Command2";   // ">": a larger manual radius
inline constexpr auto velocities_caption = "Label8";   // "Required velocities - m/sec"
// The captions and fields of the required velocities at 20, 25, 30 and 35 Hz.
inline constexpr const char* velocity_captions[] = {"Label6", "Label7", "Label10", "Label11"};
inline constexpr const char* velocity_fields[] = {"Text6", "Text7", "Text8", "Text9"};
inline constexpr auto minimum_mode_option = "Option1";    // "Calculate minimum flare radius"
inline constexpr auto manual_mode_option = "Option2";     // "Manually specify flare radius"
inline constexpr auto calculate_button = "Command1";      // "Calculate"
inline constexpr auto cruise_control_check = "Check1";    // "Cruise control"
inline constexpr auto options_link = "Label3";            // "Options"
inline constexpr auto mode_link = "Label_mode";           // "Simple" or "Full"
inline constexpr auto about_link = "Label13";             // "About"
inline constexpr auto enclosure_link = "Label_enclosure"; // "Enclosure designer"
inline constexpr auto simple_mode_caption = "Label4";     // "Simple mode"
inline constexpr auto graph_hint = "Label5";  // "Click graph to change frequency tracked..."
inline constexpr auto graph = "Picture3";     // the velocity graph
inline constexpr auto status_line = "Label9"; // the verdict or the clicked frequency's limits
} // namespace main

// The allowance reminder: the small bar graphic of the main window and of the
// options dialog, with the two totals beside it.
namespace reminder {
inline constexpr auto frame = "Label_allowances";                   // around the bars
inline constexpr auto chuffing_seating_bar = "Label_chuff_seat";    // chuffing: seating only
inline constexpr auto chuffing_music_bar = "Label_chuff_music";     // and masking, music
inline constexpr auto chuffing_home_theatre_bar = "Label_chuff_ht"; // and masking, home theatre
inline constexpr auto core_seating_bar = "Label_core_seat";         // core: seating only
inline constexpr auto core_music_bar = "Label_core_music";          // and masking, music
inline constexpr auto core_home_theatre_bar = "Label_core_ht";      // and masking, home theatre
inline constexpr auto chuffing_total = "lbl_bound_tot"; // per cent: "0", "25", "40" or "55"
inline constexpr auto core_total = "lbl_core_tot";      // per cent
} // namespace reminder

// The options dialog: the allowances of the two limits and the content type.
namespace options {
inline constexpr auto dialog = "frmOptions";     // "Venturon Options"
inline constexpr auto chuffing_frame = "Frame2"; // "...acceptable Boundary Layer turbulence"
inline constexpr auto chuffing_masking_option = "Option_chuff_mask"; // seating and masking
inline constexpr auto chuffing_seating_option = "Option_chuff_seat"; // seating position only
inline constexpr auto chuffing_none_option = "Option_chuff_none";    // "None"
inline constexpr auto core_frame = "Frame1";          // "...acceptable Core turbulence"
inline constexpr auto compression_warning = "Label1"; // "...can allow port compression..."
inline constexpr auto core_masking_option = "Option_core_mask"; // as for chuffing
inline constexpr auto core_seating_option = "Option_core_seat"; // as for chuffing
inline constexpr auto core_none_option = "Option_core_none";    // "None"
inline constexpr auto content_frame = "Frame3";        // "Value of content masking allowance"
inline constexpr auto music_option = "Option1";        // "15% for Music..."
inline constexpr auto home_theatre_option = "Option2"; // "30% for Home Theatre..."
inline constexpr auto chart = "Picture1";              // usable velocity against area ratio
inline constexpr auto reminder_caption = "Label6";     // "Allowances reminder as displayed..."
inline constexpr auto ok_button = "Command1";          // "OK": stores the choice
} // namespace options

// The units dialog.
namespace units {
inline constexpr auto dialog = "frmUnits";               // "Units of measurement for Venturon"
inline constexpr auto metric_option = "Option1";         // "Metric - mm (default)"
inline constexpr auto feet_inches_option = "Option2";    // feet, inches and fractions
inline constexpr auto decimal_inches_option = "Option3"; // decimal inches
inline constexpr auto rules_frame = "Frame2"; // "Rules for entering Imperial Measurements"
// The rules for typing imperial lengths, top to bottom.
inline constexpr const char* rules[] = {"Label3", "Label4", "Label6",  "Label15", "Label10",
                                        "Label8", "Label9", "Label11", "Label7"};
inline constexpr auto ok_button = "Command1"; // "OK"
} // namespace units

// The warning about a port wider than the model was fitted to.
namespace diameter_warning {
inline constexpr auto dialog = "frmDiaWarning"; // "Venturon  Diameter Warning"
inline constexpr auto heading = "Label1";       // "Diameter exceeds 165 mm"
inline constexpr auto tested_range = "Label2";  // "...based on testing of ports up to 152mm..."
inline constexpr auto caution = "Label3";       // "...should be regarded with caution"
inline constexpr auto icon = "Picture1";        // the warning sign
inline constexpr auto dont_warn_again_check = "Check1"; // "Don't warn me again"
inline constexpr auto ok_button = "OKButton";           // "OK"
} // namespace diameter_warning

// The about box: a panel of texts and links, and one with the port's cross-section.
namespace about {
inline constexpr auto dialog = "frmAbout";           // "About Venturon"
inline constexpr auto about_panel = "Frame1";        // the texts and links
inline constexpr auto port_photograph = "Picture1";  // a six-inch port with a one-inch flare
inline constexpr auto version_line = "Label1";       // "Venturon  version ..."
inline constexpr auto credit_line = "Label6";        // the authors
inline constexpr auto free_software_note = "Label4"; // "This software is free..."
inline constexpr auto theory_note = "Label2";        // "If you would like to view the theory..."
inline constexpr auto web_link = "Label9";           // to the web page
inline constexpr auto feedback_note = "Label7";      // "If you have any feedback..."
inline constexpr auto email_link = "Label8";         // "send me an email"
inline constexpr auto show_graphic_link = "Label3";  // "Show me where to measure"
inline constexpr auto graphic_panel = "Frame2";      // the cross-section instead of the texts
inline constexpr auto graphic_heading = "Label10";   // "Cross-section of flared port"
inline constexpr auto cross_section = "Picture3";    // the port cut along its axis
inline constexpr auto return_link = "Label5";        // "Return to "About" display"
inline constexpr auto strip = "Picture2";            // the thin line above the buttons
inline constexpr auto system_info_button = "cmdSysInfo";      // "System Info..."
inline constexpr auto re_enable_warnings_button = "Command1"; // "Re-enable Warnings"
inline constexpr auto ok_button = "cmdOK";                    // "OK"
} // namespace about

} // namespace venturon::designed
