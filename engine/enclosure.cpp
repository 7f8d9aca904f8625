#include "enclosure.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <tuple>

namespace venturon {

namespace {

using Complex = std::complex<double>;

constexpr double pi = std::numbers::pi;
constexpr double reference_pressure = 20e-6; // Pa RMS, 0 dB SPL
constexpr double listening_distance = 1.0;   // m
// Pressures below this count as this for the level, so that it stays finite.
constexpr double min_pressure = 1e-30; // Pa

// An input with its name and unit for messages, and its bounds.
struct Quantity {
    Field field;
    std::string_view name;
    std::string_view unit;
    Range range;
};

constexpr Quantity temperature_q{Field::temperature, "Temperature", "C", limits::temperature_c};
constexpr Quantity fs_q{Field::fs, "Fs", "Hz", limits::fs_hz};
constexpr Quantity qes_q{Field::qes, "Qes", "", limits::q_driver};
constexpr Quantity qms_q{Field::qms, "Qms", "", limits::q_driver};
constexpr Quantity qts_q{Field::qts, "Qts", "", limits::q_driver};
constexpr Quantity vas_q{Field::vas, "Vas", "m^3", limits::vas_m3};
constexpr Quantity sd_q{Field::sd, "Sd", "m^2", limits::sd_m2};
constexpr Quantity re_q{Field::re, "Re", "ohm", limits::re_ohm};
constexpr Quantity xmax_q{Field::xmax, "Xmax", "m", limits::xmax_m};
constexpr Quantity le_q{Field::le, "Le", "H", limits::le_h};
constexpr Quantity vb_q{Field::vb, "Vb", "m^3", limits::vb_m3};
constexpr Quantity fb_q{Field::fb, "Fb", "Hz", limits::fb_hz};
constexpr Quantity ql_q{Field::ql, "QL", "", limits::q_box};
constexpr Quantity qa_q{Field::qa, "QA", "", limits::q_box};
constexpr Quantity qp_q{Field::qp, "QP", "", limits::q_box};
constexpr Quantity power_q{Field::power, "Power", "W", limits::power_w};
constexpr Quantity voltage_q{Field::voltage, "Voltage", "V", limits::voltage_v};
constexpr Quantity port_diameter_q{Field::port_diameter, "Port diameter", "m",
                                   limits::port_diameter_m};
constexpr Quantity low_q{Field::low_frequency, "Low frequency", "Hz", limits::frequency_hz};
constexpr Quantity high_q{Field::high_frequency, "High frequency", "Hz", limits::frequency_hz};

// Decimal text without an exponent or trailing zeros: 0.00001, 100000, -50. Always
// with a point, whatever the locale says.
std::string plain_number(double v) {
    std::array<char, 400> text{}; // room for the largest double with its nine decimals
    const auto written =
        std::to_chars(text.data(), text.data() + text.size(), v, std::chars_format::fixed, 9);
    std::string s(text.data(), written.ptr);
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') {
        s.pop_back();
    }
    return s;
}

std::optional<InputError> check(double value, const Quantity& q) {
    return check_input(value, q.field, q.name, q.unit, q.range);
}

std::optional<InputError> check_optional(const std::optional<double>& value, const Quantity& q) {
    return value ? check(*value, q) : std::nullopt;
}

// Fills in the Q that was not given; 0 means not given.
std::optional<InputError> complete_q(DriverParameters& d) {
    const bool es = d.qes != 0;
    const bool ms = d.qms != 0;
    const bool ts = d.qts != 0;
    for (const auto& [given, value, q] :
         {std::tuple{es, d.qes, qes_q}, std::tuple{ms, d.qms, qms_q},
          std::tuple{ts, d.qts, qts_q}}) {
        if (given) {
            if (auto error = check(value, q)) {
                return error;
            }
        }
    }
    if (es && ms) {
        const double qts = d.qes * d.qms / (d.qes + d.qms);
        if (ts && std::abs(d.qts - qts) > limits::qts_tolerance * qts) {
            return InputError{Field::qts, "Qts does not agree with Qes and Qms, which give " +
                                              plain_number(std::round(qts * 1e4) / 1e4)};
        }
        d.qts = qts;
        return std::nullopt;
    }
    if (!es && !ms) {
        return InputError{Field::qes, "Qes or Qms must be given"};
    }
    if (!ts) {
        return es ? InputError{Field::qms, "Qms or Qts must be given with Qes"}
                  : InputError{Field::qes, "Qes or Qts must be given with Qms"};
    }
    // One of Qes, Qms with Qts: the other from 1/Qts = 1/Qes + 1/Qms.
    const double known = es ? d.qes : d.qms;
    const std::string known_name = es ? "Qes" : "Qms";
    const std::string other_name = es ? "Qms" : "Qes";
    if (d.qts >= known) {
        return InputError{Field::qts, "Qts must be less than " + known_name};
    }
    const double other = known * d.qts / (known - d.qts);
    if (!(other <= limits::q_driver.high)) {
        return InputError{Field::qts, "Qts is too close to " + known_name + ": the " + other_name +
                                          " it gives is above " +
                                          plain_number(limits::q_driver.high)};
    }
    (es ? d.qms : d.qes) = other;
    return std::nullopt;
}

std::optional<InputError> validate(const EnclosureInput& in, DriverParameters& driver) {
    const auto& d = in.driver;
    const auto& b = in.box;
    for (const auto& [value, q] :
         {std::pair{in.temperature_c, temperature_q}, std::pair{d.fs_hz, fs_q}}) {
        if (auto error = check(value, q)) {
            return error;
        }
    }
    if (auto error = complete_q(driver)) {
        return error;
    }
    for (const auto& [value, q] :
         {std::pair{d.vas_m3, vas_q}, std::pair{d.sd_m2, sd_q}, std::pair{d.re_ohm, re_q},
          std::pair{d.xmax_m, xmax_q}, std::pair{d.le_h, le_q}}) {
        if (auto error = check(value, q)) {
            return error;
        }
    }
    if (auto error =
            check_count(d.count, limits::max_driver_count, Field::driver_count, "Driver count")) {
        return error;
    }
    for (const auto& [value, q] : {std::pair{b.vb_m3, vb_q}, std::pair{b.fb_hz, fb_q}}) {
        if (auto error = check(value, q)) {
            return error;
        }
    }
    for (const auto& [value, q] :
         {std::pair{b.ql, ql_q}, std::pair{b.qa, qa_q}, std::pair{b.qp, qp_q}}) {
        if (auto error = check_optional(value, q)) {
            return error;
        }
    }
    if (auto error =
            check(in.drive.value, in.drive.kind == Drive::Kind::power ? power_q : voltage_q)) {
        return error;
    }
    if (auto error = check(in.port.diameter_m, port_diameter_q)) {
        return error;
    }
    return check_count(in.port.count, limits::max_port_count, Field::port_count, "Port count");
}

// 1/z without the library division's handling of infinities; every denominator the
// model divides by has a magnitude far from under- and overflow.
Complex inverse(Complex z) {
    const double n = z.real() * z.real() + z.imag() * z.imag();
    return {z.real() / n, -z.imag() / n};
}

// |z| without std::abs's scaling (hypot): the magnitudes here are far from under-
// and overflow, and a curve asks for several per point.
double magnitude(Complex z) {
    return std::sqrt(z.real() * z.real() + z.imag() * z.imag());
}

// Natural logarithm of a positive normal x: its binary exponent plus the atanh
// series of the mantissa m in [sqrt(1/2), sqrt(2)], ln m = 2 (s + s^3/3 + ...)
// with s = (m - 1)/(m + 1), |s| < 0.172; eleven terms leave an error below 1e-17.
// A library call per point costs more than the rest of the point once a vector
// unit's upper halves are left dirty (as they are in the Qt program), so the
// curve does without one.
double ln(double x) {
    auto bits = std::bit_cast<std::uint64_t>(x);
    int exponent = static_cast<int>((bits >> 52) & 0x7ff) - 1023;
    bits = (bits & 0x000f'ffff'ffff'ffffULL) | 0x3ff0'0000'0000'0000ULL;
    double m = std::bit_cast<double>(bits); // [1, 2)
    if (m > std::numbers::sqrt2) {
        m /= 2;
        ++exponent;
    }
    const double s = (m - 1) / (m + 1);
    const double s2 = s * s;
    constexpr double inverse_odd[] = {1.0 / 21, 1.0 / 19, 1.0 / 17, 1.0 / 15, 1.0 / 13, 1.0 / 11,
                                      1.0 / 9,  1.0 / 7,  1.0 / 5,  1.0 / 3,  1.0};
    double series = 0;
    for (double c : inverse_odd) {
        series = series * s2 + c;
    }
    return exponent * std::numbers::ln2 + 2 * s * series;
}

double spl_of(double peak_pressure) {
    const double rms = std::max(peak_pressure / std::numbers::sqrt2, min_pressure);
    return 20 / std::numbers::ln10 * ln(rms / reference_pressure);
}

ResponsePoint evaluate(const SolvedEnclosure& m, double f) {
    const double w = 2 * pi * f;
    const double n = m.driver.count;
    const double sd = m.driver.sd_m2;

    // Per driver: electrical and mechanical impedances.
    const Complex ze{m.driver.re_ohm, w * m.driver.le_h};
    const Complex zm{m.rms, w * m.mms - 1 / (w * m.cms)};
    // The box node: compliance (with absorption), leakage and port branches.
    const double wc = w * m.cab;
    const Complex yb = Complex{0, wc} * inverse(Complex{1, wc * m.rab});
    const Complex yp = inverse(Complex{m.rap, w * m.map});
    const Complex y = yb + m.gal + yp;

    // Written with the box admittance in the numerators, so that a lossless box
    // at Fb (y = 0, the cones standing still) needs no extra branch: d is never 0
    // because the driver's mechanical resistance is positive.
    const Complex inv_d = inverse(zm * y + n * sd * sd);
    const Complex zin = ze + m.bl * m.bl * y * inv_d;
    const Complex i = m.e_peak * inverse(zin);
    const Complex u = m.bl * i * y * inv_d; // cone velocity, into the box
    const Complex p = n * sd * m.bl * i * inv_d;
    const Complex port_flow = p * yp;
    const Complex radiated = -p * yb; // port + leak - cones

    ResponsePoint out;
    out.frequency_hz = f;
    out.port_velocity = magnitude(port_flow) / m.port_area_m2;
    out.excursion_m = magnitude(u) / w;
    out.excursion_ratio = m.driver.xmax_m > 0 ? out.excursion_m / m.driver.xmax_m : 0;
    out.spl_db = spl_of(m.air.density * w * magnitude(radiated) / (2 * pi * listening_distance));
    out.impedance = zin / n;
    out.impedance_magnitude = magnitude(out.impedance);
    out.cone_volume_velocity = n * sd * u;
    out.port_volume_velocity = port_flow;
    out.box_pressure = p;
    return out;
}

} // namespace

std::optional<InputError> check_input(double value, Field field, std::string_view name,
                                      std::string_view unit, Range range) {
    const std::string unit_text = unit.empty() ? "" : " " + std::string(unit);
    if (range.low > 0 && !(value > 0)) {
        return InputError{field, std::string(name) + " must be greater than 0" + unit_text};
    }
    if (!(value >= range.low && value <= range.high)) {
        return InputError{field, std::string(name) + " must be between " + plain_number(range.low) +
                                     " and " + plain_number(range.high) + unit_text};
    }
    return std::nullopt;
}

std::optional<InputError> check_count(int count, int max, Field field, std::string_view name) {
    if (count < 1 || count > max) {
        return InputError{field,
                          std::string(name) + " must be between 1 and " + std::to_string(max)};
    }
    return std::nullopt;
}

std::string_view field_name(Field field) {
    switch (field) {
    case Field::temperature:
        return "temperature";
    case Field::fs:
        return "fs";
    case Field::qes:
        return "qes";
    case Field::qms:
        return "qms";
    case Field::qts:
        return "qts";
    case Field::vas:
        return "vas";
    case Field::sd:
        return "sd";
    case Field::re:
        return "re";
    case Field::xmax:
        return "xmax";
    case Field::le:
        return "le";
    case Field::driver_count:
        return "driver_count";
    case Field::vb:
        return "vb";
    case Field::fb:
        return "fb";
    case Field::ql:
        return "ql";
    case Field::qa:
        return "qa";
    case Field::qp:
        return "qp";
    case Field::power:
        return "power";
    case Field::voltage:
        return "voltage";
    case Field::port_diameter:
        return "port_diameter";
    case Field::port_count:
        return "port_count";
    case Field::flare_radius:
        return "flare_radius";
    case Field::straight_length:
        return "straight_length";
    case Field::low_frequency:
        return "low_frequency";
    case Field::high_frequency:
        return "high_frequency";
    case Field::points:
        return "points";
    }
    return "unknown";
}

AirProperties air_properties(double temperature_c) {
    const double t =
        std::isnan(temperature_c)
            ? 20
            : std::clamp(temperature_c, limits::temperature_c.low, limits::temperature_c.high);
    AirProperties air;
    air.temperature_c = t;
    air.speed_of_sound = 331.3 * std::sqrt(1 + t / 273.15);
    air.density = 101325 / (287.05 * (t + 273.15));
    return air;
}

Checked<SolvedEnclosure> solve_enclosure(const EnclosureInput& in) {
    SolvedEnclosure m;
    m.driver = in.driver;
    if (auto error = validate(in, m.driver)) {
        return *error;
    }
    m.air = air_properties(in.temperature_c);
    m.box = in.box;
    m.port = in.port;
    const auto& d = m.driver;
    const double rho_c2 = m.air.density * m.air.speed_of_sound * m.air.speed_of_sound;

    const double ws = 2 * pi * d.fs_hz;
    m.cms = d.vas_m3 / (rho_c2 * d.sd_m2 * d.sd_m2);
    m.mms = 1 / (ws * ws * m.cms);
    m.rms = ws * m.mms / d.qms;
    m.bl = std::sqrt(ws * m.mms * d.re_ohm / d.qes);

    const double wb = 2 * pi * m.box.fb_hz;
    m.cab = m.box.vb_m3 / rho_c2;
    m.map = 1 / (wb * wb * m.cab);
    m.gal = m.box.ql ? wb * m.cab / *m.box.ql : 0; // QL = wb CAB RAL
    m.rab = m.box.qa ? 1 / (wb * m.cab * *m.box.qa) : 0;
    m.rap = m.box.qp ? 1 / (wb * m.cab * *m.box.qp) : 0;

    const double e_rms = in.drive.kind == Drive::Kind::power
                             ? std::sqrt(in.drive.value * d.re_ohm / d.count)
                             : in.drive.value;
    m.e_peak = std::numbers::sqrt2 * e_rms;
    const double radius = m.port.diameter_m / 2;
    m.port_area_m2 = m.port.count * pi * radius * radius;
    return m;
}

ResponsePoint response_at(const SolvedEnclosure& model, double frequency_hz) {
    double f = frequency_hz;
    if (!(f >= limits::frequency_hz.low)) {
        f = limits::frequency_hz.low;
    }
    f = std::min(f, limits::frequency_hz.high);
    return evaluate(model, f);
}

std::optional<InputError> fill_response_curve(const SolvedEnclosure& model, double low_hz,
                                              double high_hz, std::span<ResponsePoint> out) {
    if (auto error = check(low_hz, low_q)) {
        return error;
    }
    if (auto error = check(high_hz, high_q)) {
        return error;
    }
    if (high_hz < low_hz) {
        return InputError{Field::high_frequency,
                          "High frequency must not be below the low frequency"};
    }
    if (out.empty() || out.size() > static_cast<std::size_t>(limits::max_points)) {
        return InputError{Field::points,
                          "Points must be between 1 and " + std::to_string(limits::max_points)};
    }
    // Each frequency is the last times a fixed ratio: no exp per point. The drift
    // stays within a few ulps per step, and the last point is high_hz exactly.
    const std::size_t n = out.size();
    const double ratio =
        n > 1 ? std::exp(std::log(high_hz / low_hz) / static_cast<double>(n - 1)) : 1;
    double f = low_hz;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        out[i] = evaluate(model, f);
        f *= ratio;
    }
    out[n - 1] = evaluate(model, n > 1 ? high_hz : low_hz);
    return std::nullopt;
}

Checked<std::vector<ResponsePoint>> response_curve(const SolvedEnclosure& model, double low_hz,
                                                   double high_hz, int points) {
    if (points < 1 || points > limits::max_points) {
        return InputError{Field::points,
                          "Points must be between 1 and " + std::to_string(limits::max_points)};
    }
    std::vector<ResponsePoint> curve(static_cast<std::size_t>(points));
    if (auto error = fill_response_curve(model, low_hz, high_hz, curve)) {
        return *error;
    }
    return curve;
}

double passband_spl_db(const SolvedEnclosure& m) {
    const double n = m.driver.count;
    const double peak = m.air.density * n * m.driver.sd_m2 * m.bl * m.e_peak /
                        (2 * pi * listening_distance * m.driver.re_ohm * m.mms);
    return spl_of(peak);
}

} // namespace venturon
