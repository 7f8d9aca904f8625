#pragma once

// Small-signal model of a vented box: one or more identical drivers in a closed
// volume with ports, as a lumped impedance-analogy circuit solved at each
// frequency. Everything is in SI units (m, m^2, m^3, Hz, ohm, W, V, Pa, kg/m^3).

#include <complex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace venturon {

// The inputs a validation error can point at.
enum class Field {
    temperature,
    fs,
    qes,
    qms,
    qts,
    vas,
    sd,
    re,
    xmax,
    le,
    driver_count,
    vb,
    fb,
    ql,
    qa,
    qp,
    power,
    voltage,
    port_diameter,
    port_count,
    flare_radius,
    straight_length,
    low_frequency,
    high_frequency,
    points,
};

// Short identifier of a field, e.g. "fs", "port_diameter".
std::string_view field_name(Field field);

struct InputError {
    Field field;
    std::string message; // one line, e.g. "Fs must be greater than 0 Hz"
};

// A result, or the error that stopped it.
template <class T> class Checked {
public:
    Checked(T value) : state_(std::move(value)) {}
    Checked(InputError error) : state_(std::move(error)) {}

    explicit operator bool() const { return std::holds_alternative<T>(state_); }
    const T& operator*() const { return std::get<T>(state_); }
    const T* operator->() const { return &std::get<T>(state_); }
    // Only when there is no value.
    const InputError& error() const { return std::get<InputError>(state_); }

private:
    std::variant<T, InputError> state_;
};

// Inclusive bounds of an input.
struct Range {
    double low;
    double high;
};

// Checks one input against its bounds; a range that starts at 0 accepts 0, any
// other needs a positive value. The message names the input and the unit, e.g.
// "Fs must be greater than 0 Hz" or "Fs must be between 1 and 1000 Hz".
std::optional<InputError> check_input(double value, Field field, std::string_view name,
                                      std::string_view unit, Range range);
// A count from 1 to max: "Port count must be between 1 and 1000".
std::optional<InputError> check_count(int count, int max, Field field, std::string_view name);

// What the model accepts. Anything outside is refused with an error naming the
// field, so that every accepted input gives finite results.
namespace limits {
inline constexpr Range temperature_c{-50, 60};
inline constexpr Range fs_hz{1, 1000};
inline constexpr Range q_driver{0.01, 1000}; // Qes, Qms and Qts
inline constexpr Range vas_m3{1e-5, 100};    // 0.01 L to 100 m^3
inline constexpr Range sd_m2{1e-5, 2};       // 0.1 cm^2 to 2 m^2
inline constexpr Range re_ohm{0.1, 1000};
inline constexpr Range xmax_m{0, 0.2}; // 0: unknown
inline constexpr Range le_h{0, 1};     // 0: no inductance
inline constexpr int max_driver_count = 1000;
inline constexpr Range vb_m3{1e-5, 100};
inline constexpr Range fb_hz{1, 1000};
inline constexpr Range q_box{0.1, 1e5}; // QL, QA and QP when given
inline constexpr Range power_w{1e-3, 1e5};
inline constexpr Range voltage_v{1e-3, 2000}; // RMS
inline constexpr Range port_diameter_m{1e-3, 2};
inline constexpr int max_port_count = 1000;
inline constexpr Range frequency_hz{0.1, 1e5};
inline constexpr int max_points = 100000;
// Qts given together with Qes and Qms must agree with them to within this
// fraction (datasheet values are rounded).
inline constexpr double qts_tolerance = 0.05;
} // namespace limits

struct AirProperties {
    double temperature_c = 20;
    double speed_of_sound = 0; // m/s
    double density = 0;        // kg/m^3
};

// Dry air at 101.325 kPa. c = 331.3 sqrt(1 + T/273.15), rho from the ideal gas law.
// A temperature outside limits::temperature_c is clamped into it (not a number: 20 C).
AirProperties air_properties(double temperature_c = 20);

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
    int count = 1;     // identical drivers in the box, in parallel on the same voltage
};

// Net volume, tuning and losses, each loss as its Q at Fb; nullopt: no such loss.
struct BoxParameters {
    double vb_m3 = 0;
    double fb_hz = 0;
    std::optional<double> ql = 7.0; // leakage, RAL across the box
    std::optional<double> qa;       // absorption, RAB in series with the compliance
    std::optional<double> qp;       // port, RAP in series with the port mass
};

// The signal: an electrical power into the nominal resistance of the load (Re/N
// for N drivers) or an RMS voltage, from a source of 0 ohm.
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
};

struct EnclosureInput {
    DriverParameters driver;
    BoxParameters box;
    Drive drive;
    PortSize port;
    double temperature_c = 20;
};

struct SolvedEnclosure;
Checked<SolvedEnclosure> solve_enclosure(const EnclosureInput& input);

// The validated input and the circuit's constants; evaluating a frequency with it
// needs no further checks. Only solve_enclosure makes one.
struct SolvedEnclosure {
    AirProperties air;
    DriverParameters driver; // Qes, Qms and Qts all filled in
    BoxParameters box;
    PortSize port;
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
    double e_peak = 0;       // V, peak of the sine across each driver
    double port_area_m2 = 0; // all ports together

private:
    SolvedEnclosure() = default;
    friend Checked<SolvedEnclosure> solve_enclosure(const EnclosureInput& input);
};

// Amplitudes are peaks of the sine; the complex values are phasors with the drive
// voltage at phase 0.
struct ResponsePoint {
    double frequency_hz = 0;
    double port_velocity = 0;       // m/s, peak
    double excursion_m = 0;         // one cone, peak
    double excursion_ratio = 0;     // excursion over Xmax; 0 when Xmax is unknown
    double spl_db = 0;              // 1 m, half space; never below that of 1e-30 Pa (-506 dB)
    std::complex<double> impedance; // ohm, the whole load (all drivers in parallel)
    double impedance_magnitude = 0; // ohm
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

} // namespace venturon
