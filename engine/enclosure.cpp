#include "enclosure.h"
#include "vector_state.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>
#include <variant>

namespace venturon {

namespace {

using Complex = std::complex<double>;

constexpr double pi = std::numbers::pi;
constexpr double reference_pressure = 20e-6; // Pa RMS, 0 dB SPL
constexpr double listening_distance = 1.0;   // m
// Pressures below this count as this for the level, so that it stays finite.
constexpr double min_pressure = 1e-30; // Pa

// Fills in the Q that was not given; 0 means not given.
std::optional<InputError> complete_q(DriverParameters& d) {
    const bool es = d.qes != 0;
    const bool ms = d.qms != 0;
    const bool ts = d.qts != 0;
    if (es && ms) {
        const double qts = d.qes * d.qms / (d.qes + d.qms);
        if (ts && std::abs(d.qts - qts) > limits::qts_tolerance * qts) {
            return InputError{Field::qts, Problem::qts_disagrees, Scale::model, qts};
        }
        d.qts = qts;
        return std::nullopt;
    }
    if (!es && !ms) {
        return InputError{Field::qes, Problem::no_q, Scale::model};
    }
    if (!ts) {
        return es ? InputError{Field::qms, Problem::q_needs_other, Scale::model, 0, Field::qes}
                  : InputError{Field::qes, Problem::q_needs_other, Scale::model, 0, Field::qms};
    }
    // One of Qes, Qms with Qts: the other from 1/Qts = 1/Qes + 1/Qms.
    const double known = es ? d.qes : d.qms;
    const Field known_field = es ? Field::qes : Field::qms;
    if (d.qts >= known) {
        return InputError{Field::qts, Problem::qts_not_below, Scale::model, d.qts, known_field};
    }
    const double other = known * d.qts / (known - d.qts);
    if (!(other <= limits::q_driver.high)) {
        return InputError{Field::qts, Problem::qts_too_close, Scale::model, other, known_field};
    }
    (es ? d.qms : d.qes) = other;
    return std::nullopt;
}

// Every row the model holds, against its bounds, then the Qs together, then the
// filters.
std::optional<InputError> validate(const EnclosureInput& in, DriverParameters& driver) {
    for (const InputRow& row : input_rows) {
        if (const auto value = input_value(in, row.field)) {
            if (auto error = check_input(row.field, *value)) {
                return error;
            }
        }
    }
    if (auto error = complete_q(driver)) {
        return error;
    }
    return check_filters(in.highpass);
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

double spl_of(double peak_pressure) {
    const double rms = std::max(peak_pressure / std::numbers::sqrt2, min_pressure);
    return 20 * std::log10(rms / reference_pressure);
}

ResponsePoint evaluate(const SolvedEnclosure& m, double f) {
    const double w = 2 * pi * f;
    const Complex s{0, w};
    const double n = m.driver.count;
    const double sd = m.driver.sd_m2;

    // Per driver: electrical and mechanical impedances.
    const Complex ze{m.driver.re_ohm, w * m.driver.le_h};
    const Complex zm{m.rms, w * m.mms - 1 / (w * m.cms)};
    // The box node: compliance (with absorption), leakage and port branches.
    const double wc = w * m.cab;
    const Complex absorbed = inverse(Complex{1, wc * m.rab});
    const Complex yb = Complex{0, wc} * absorbed;
    const Complex yp = inverse(Complex{m.rap, w * m.map});
    const Complex y = yb + m.gal + yp;

    // Written with the box admittance in the numerators, so that a lossless box
    // at Fb (y = 0, the cones standing still) needs no extra branch: d is never 0
    // because the driver's mechanical resistance is positive.
    const Complex d = zm * y + n * sd * sd;
    const Complex inv_d = inverse(d);
    const Complex zin = ze + m.bl * m.bl * y * inv_d;
    const Complex inv_zin = inverse(zin);
    FilterResponse filter;
    if (!m.highpass.empty()) {
        filter = chain_response(m.highpass, f);
    }
    const Complex i = m.e_peak * filter.gain * inv_zin;
    const Complex u = m.bl * i * y * inv_d; // cone velocity, into the box
    const Complex p = n * sd * m.bl * i * inv_d;
    const Complex port_flow = p * yp;
    const Complex radiated = -p * yb; // port + leak - cones

    // The group delay from the slope of the pressure's logarithm, s times the
    // radiated flow: d ln/ds = 1/s + yb'/yb - zin'/zin - d'/d + the filters'.
    const Complex inv_s = inverse(s);
    const Complex dzm = m.mms - inv_s * inv_s / m.cms;
    const Complex dy = m.cab * absorbed * absorbed - m.map * yp * yp;
    const Complex dd = dzm * y + zm * dy;
    const Complex dzin = m.driver.le_h + m.bl * m.bl * (dy - y * dd * inv_d) * inv_d;
    const Complex slope = inv_s + inv_s * absorbed - dzin * inv_zin - dd * inv_d + filter.log_slope;

    const double gain = magnitude(filter.gain);
    const double pressure = m.air.density * w * magnitude(radiated) / (2 * pi * listening_distance);
    ResponsePoint out;
    out.frequency_hz = f;
    out.port_velocity = magnitude(port_flow) / m.port_area_m2;
    out.excursion_m = magnitude(u) / w;
    out.excursion_ratio = m.driver.xmax_m > 0 ? out.excursion_m / m.driver.xmax_m : 0;
    out.spl_db = spl_of(pressure);
    out.spl_unfiltered_db = out.spl_db;
    out.filter = filter.gain;
    if (!m.highpass.empty()) {
        // Four eighth-order stages at 0.1 Hz against 1 kHz still leave 1e-128.
        const double kept = std::max(gain, 1e-300);
        out.spl_unfiltered_db = spl_of(pressure / kept);
        out.filter_db = 20 * std::log10(kept);
    }
    out.group_delay_s = -slope.real();
    out.impedance = zin / n;
    out.impedance_magnitude = magnitude(out.impedance);
    out.cone_volume_velocity = n * sd * u;
    out.port_volume_velocity = port_flow;
    out.box_pressure = p;
    return out;
}

} // namespace

namespace {

// Where the model keeps a row's input: a number, a loss that may be none, a count,
// the drive (power or voltage), or nowhere (the curve's inputs).
using InputPlace = std::variant<std::monostate, double*, std::optional<double>*, int*, Drive*>;

InputPlace place_of(EnclosureInput& in, Field field) {
    switch (field) {
    case Field::fs:
        return &in.driver.fs_hz;
    case Field::qes:
        return &in.driver.qes;
    case Field::qms:
        return &in.driver.qms;
    case Field::qts:
        return &in.driver.qts;
    case Field::vas:
        return &in.driver.vas_m3;
    case Field::sd:
        return &in.driver.sd_m2;
    case Field::re:
        return &in.driver.re_ohm;
    case Field::xmax:
        return &in.driver.xmax_m;
    case Field::le:
        return &in.driver.le_h;
    case Field::pe:
        return &in.driver.pe_w;
    case Field::driver_count:
        return &in.driver.count;
    case Field::vb:
        return &in.box.vb_m3;
    case Field::fb:
        return &in.box.fb_hz;
    case Field::ql:
        return &in.box.ql;
    case Field::qa:
        return &in.box.qa;
    case Field::qp:
        return &in.box.qp;
    case Field::power:
    case Field::voltage:
        return &in.drive;
    case Field::temperature:
        return &in.temperature_c;
    case Field::port_diameter:
        return &in.port.diameter_m;
    case Field::port_count:
        return &in.port.count;
    default:
        return {};
    }
}

Drive::Kind drive_kind(Field field) {
    return field == Field::power ? Drive::Kind::power : Drive::Kind::voltage;
}

// A Q of 0 is one not given.
bool is_q(Field field) {
    return field == Field::qes || field == Field::qms || field == Field::qts;
}

} // namespace

std::optional<double> input_value(const EnclosureInput& in, Field field) {
    // The place is only read here.
    const InputPlace place = place_of(const_cast<EnclosureInput&>(in), field);
    if (const auto* number = std::get_if<double*>(&place)) {
        return is_q(field) && **number == 0 ? std::nullopt : std::optional(**number);
    }
    if (const auto* loss = std::get_if<std::optional<double>*>(&place)) {
        return **loss;
    }
    if (const auto* count = std::get_if<int*>(&place)) {
        return **count;
    }
    if (const auto* drive = std::get_if<Drive*>(&place)) {
        return (*drive)->kind == drive_kind(field) ? std::optional((*drive)->value) : std::nullopt;
    }
    return std::nullopt;
}

void set_input(EnclosureInput& in, Field field, double value) {
    const InputPlace place = place_of(in, field);
    if (const auto* number = std::get_if<double*>(&place)) {
        **number = value;
    } else if (const auto* loss = std::get_if<std::optional<double>*>(&place)) {
        **loss = value;
    } else if (const auto* count = std::get_if<int*>(&place)) {
        **count = static_cast<int>(value);
    } else if (const auto* drive = std::get_if<Drive*>(&place)) {
        **drive = {drive_kind(field), value};
    }
}

AirProperties air_properties(double temperature_c) {
    const double t =
        std::isnan(temperature_c)
            ? standard_temperature_c
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
    m.highpass = in.highpass;
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
    m.port_area_m2 = m.port.count * (m.port.area_m2 > 0 ? m.port.area_m2 : pi * radius * radius);
    return m;
}

ResponsePoint response_at(const SolvedEnclosure& model, double frequency_hz) {
    clear_vector_state();
    double f = frequency_hz;
    if (!(f >= limits::frequency_hz.low)) {
        f = limits::frequency_hz.low;
    }
    f = std::min(f, limits::frequency_hz.high);
    return evaluate(model, f);
}

std::optional<InputError> fill_response_curve(const SolvedEnclosure& model, double low_hz,
                                              double high_hz, std::span<ResponsePoint> out) {
    if (auto error = check_input(Field::low_frequency, low_hz)) {
        return error;
    }
    if (auto error = check_input(Field::high_frequency, high_hz)) {
        return error;
    }
    if (high_hz < low_hz) {
        return InputError{Field::high_frequency, Problem::high_below_low, Scale::model, high_hz};
    }
    if (out.empty() || out.size() > static_cast<std::size_t>(limits::max_points)) {
        return InputError{Field::points, Problem::out_of_range, Scale::model,
                          static_cast<double>(out.size())};
    }
    clear_vector_state();
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
    if (auto error = check_input(Field::points, points)) {
        return *error;
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

std::optional<double> f3_hz(const SolvedEnclosure& m, Filtering filtering) {
    const double target = passband_spl_db(m) - 3;
    const auto below = [&](double f) {
        const ResponsePoint p = response_at(m, f);
        return (filtering == Filtering::filtered ? p.spl_db : p.spl_unfiltered_db) < target;
    };
    // Down from four times the highest of Fs, Fb and the filters' frequencies in
    // steps of 1 %, then halving the step where it crosses.
    double highest = std::max(m.driver.fs_hz, m.box.fb_hz);
    if (filtering == Filtering::filtered) {
        for (const FilterStage& stage : m.highpass) {
            highest = std::max(highest, stage.frequency_hz);
        }
    }
    double high = std::min(4 * highest, limits::frequency_hz.high);
    if (below(high)) {
        return std::nullopt; // the response never reaches the passband
    }
    for (double low = high / 1.01; low >= limits::frequency_hz.low; low /= 1.01) {
        if (below(low)) {
            for (int i = 0; i < 60; ++i) {
                const double mid = std::sqrt(low * high);
                (below(mid) ? low : high) = mid;
            }
            return std::sqrt(low * high);
        }
        high = low;
    }
    return std::nullopt;
}

} // namespace venturon
