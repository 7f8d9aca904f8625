#pragma once

// Small-signal model of a vented box: one or more identical drivers in a closed
// volume with ports, as a lumped impedance-analogy circuit solved at each
// frequency. Everything is in SI units (m, m^2, m^3, Hz, ohm, W, V, Pa, kg/m^3).

#include "filters.h"
#include "inputs.h"

#include <complex>
#include <optional>
#include <span>
#include <vector>

namespace venturon {

// The air's temperature when none is given, C.
inline constexpr double standard_temperature_c = input_row(Field::temperature).if_absent;

struct AirProperties {
    double temperature_c = standard_temperature_c;
    double speed_of_sound = 0; // m/s
    double density = 0;        // kg/m^3
};

// Dry air at 101.325 kPa. c = 331.3 sqrt(1 + T/273.15), rho from the ideal gas law.
// A temperature outside limits::temperature_c is clamped into it (not a number: 20 C).
AirProperties air_properties(double temperature_c = standard_temperature_c);

// Small-signal parameters of one driver. A Q of 0 means "not given": Qts may stand
// in for Qes or Qms (1/Qts = 1/Qes + 1/Qms).
struct DriverParameters {
    double fs_hz = 0;
    double qes = 0;
    double qms = 0;
    double qts = 0;
    double vas_m3 = 0;
    double sd_m2 = 0;
    double re_ohm = 0;
    double xmax_m = 0; // one way, peak; 0: unknown
    double le_h = 0;   // 0: no voice-coil inductance
    // Thermal rating of one driver, W; 0: unknown. It bounds the RMS voltage across
    // each driver to sqrt(Pe Re), the convention of the common simulators (the
    // power Pe into the coil's DC resistance).
    double pe_w = 0;
    int count = 1; // identical drivers in the box, in parallel on the same voltage
};

// Net volume, tuning and losses, each loss as its Q at Fb; nullopt: no such loss.
struct BoxParameters {
    double vb_m3 = 0;
    double fb_hz = 0;
    std::optional<double> ql = input_row(Field::ql).first_start; // leakage, RAL across the box
    std::optional<double> qa; // absorption, RAB in series with the compliance
    std::optional<double> qp; // port, RAP in series with the port mass
};

// The signal: an electrical power into the nominal resistance of the load (Re/N
// for N drivers) or an RMS voltage, from a source of 0 ohm: the amplifier's
// output at its maximum. The high-pass filters of EnclosureInput act on it, so
// the drivers see it filtered.
struct Drive {
    enum class Kind { power, voltage };
    Kind kind = Kind::power;
    double value = 0; // W or V RMS

    static Drive power_w(double watts) { return {Kind::power, watts}; }
    static Drive voltage_rms(double volts) { return {Kind::voltage, volts}; }
};

// The ports' cross-section, for the air velocity in them.
struct PortSize {
    double diameter_m = 0;
    int count = 1;
    // One port's area when it is not round (a slot, whose diameter_m is then its
    // hydraulic diameter); 0: that of the circle of diameter_m.
    double area_m2 = 0;
};

struct EnclosureInput {
    DriverParameters driver;
    BoxParameters box;
    Drive drive;
    PortSize port;
    double temperature_c = standard_temperature_c;
    // High-pass filters on the amplifier's output, in series; at most
    // max_filter_stages. Every output but the impedance follows the filtered voltage.
    std::vector<FilterStage> highpass;
};

// The model's own value of a row's input (in the model's units): nothing for an
// input it was not given (a Q of 0, no loss, the other of power and voltage, Xmax
// unknown) or one that is not part of it (the curve's).
std::optional<double> input_value(const EnclosureInput& input, Field field);
// Sets a row's input from a value in the model's units.
void set_input(EnclosureInput& input, Field field, double value);

struct SolvedEnclosure;
Checked<SolvedEnclosure> solve_enclosure(const EnclosureInput& input);

// The validated input and the circuit's constants; evaluating a frequency with it
// needs no further checks. Only solve_enclosure makes one.
struct SolvedEnclosure {
    AirProperties air;
    DriverParameters driver; // Qes, Qms and Qts all filled in
    BoxParameters box;
    PortSize port;
    std::vector<FilterStage> highpass;
    // One driver, mechanical side.
    double cms = 0; // m/N
    double mms = 0; // kg
    double rms = 0; // N s/m
    double bl = 0;  // T m
    // The box, acoustical side.
    double cab = 0;          // m^5/N
    double map = 0;          // kg/m^4, all ports together
    double gal = 0;          // 1/RAL, m^5/(N s); 0: no leakage
    double rab = 0;          // N s/m^5; 0: no absorption loss
    double rap = 0;          // N s/m^5; 0: no port loss
    double e_peak = 0;       // V, peak of the amplifier's sine (across each driver unfiltered)
    double port_area_m2 = 0; // all ports together

private:
    SolvedEnclosure() = default;
    friend Checked<SolvedEnclosure> solve_enclosure(const EnclosureInput& input);
};

// Amplitudes are peaks of the sine; the complex values are phasors with the
// amplifier's voltage at phase 0. Everything but the impedance is after the
// high-pass filters.
struct ResponsePoint {
    double frequency_hz = 0;
    double port_velocity = 0;          // m/s, peak
    double excursion_m = 0;            // one cone, peak
    double excursion_ratio = 0;        // excursion over Xmax; 0 when Xmax is unknown
    double spl_db = 0;                 // 1 m, half space; never below that of 1e-30 Pa (-506 dB)
    double spl_unfiltered_db = 0;      // the same without the high-pass filters
    std::complex<double> filter{1, 0}; // the filters' gain: driver voltage over amplifier's
    double filter_db = 0;              // its magnitude in dB (0 without filters)
    // Group delay of the sound pressure, filters included, s: minus the slope of
    // its phase against angular frequency.
    double group_delay_s = 0;
    std::complex<double> impedance;            // ohm, the whole load (all drivers in parallel)
    double impedance_magnitude = 0;            // ohm
    std::complex<double> cone_volume_velocity; // m^3/s peak, all cones, into the box
    std::complex<double> port_volume_velocity; // m^3/s peak, all ports, out of the box
    std::complex<double> box_pressure;         // Pa peak
};

// The response at one frequency. A frequency outside limits::frequency_hz (or not
// a number) is clamped into it; the point carries the frequency used.
ResponsePoint response_at(const SolvedEnclosure& model, double frequency_hz);

// `points` frequencies spaced evenly on a log scale from low_hz to high_hz, both
// included (a single point is at low_hz). Needs low_hz <= high_hz, both within
// limits::frequency_hz, and 1 to limits::max_points points.
Checked<std::vector<ResponsePoint>> response_curve(const SolvedEnclosure& model, double low_hz,
                                                   double high_hz, int points);
// The same into the caller's buffer, one point per element; nullopt on success.
std::optional<InputError> fill_response_curve(const SolvedEnclosure& model, double low_hz,
                                              double high_hz, std::span<ResponsePoint> out);

// Level the response approaches far above Fs and Fb (1 m, half space, no
// inductance), for showing the response relative to the passband.
double passband_spl_db(const SolvedEnclosure& model);

// Whether a level is taken after the high-pass filters or without them.
enum class Filtering { filtered, unfiltered };

// F3: where the response, coming down from well above Fs, Fb and the filters'
// frequencies, first falls 3 dB below the passband level; nothing when it never
// does above the model's lowest frequency. The filtered response by default.
std::optional<double> f3_hz(const SolvedEnclosure& model,
                            Filtering filtering = Filtering::filtered);

} // namespace venturon
