#pragma once

// Length of round ports with quarter-circle flares for a box volume and tuning.
// SI units throughout. Slot ports (slot_port.h) rest on the same solver, PortAir.

#include "enclosure.h"

namespace venturon {

// End correction of a mouth, as a factor of its radius.
enum class MouthCondition {
    flanged, // in a baffle or wall: 0.85
    free,    // in open air inside the box: 0.613
};

double end_correction_factor(MouthCondition mouth);

struct PortEnd {
    bool flared = true; // with the flare radius of the port; a plain cut end otherwise
    MouthCondition mouth = MouthCondition::flanged;
};

// N identical ports. A flare is a quarter circle of radius r, tangent to the tube
// and meeting the baffle at a right angle: its mouth radius is d/2 + r, its length
// along the axis r. A flare radius of 0 makes both ends plain.
struct FlaredPort {
    double diameter_m = 0;
    double flare_radius_m = 0;
    int count = 1;
    PortEnd outer{true, MouthCondition::flanged};
    PortEnd inner{true, MouthCondition::free};
};

// Acoustic masses of one port, kg/m^4. A flare's is rho/pi times the integral of
// dx/a(x)^2 along it, with a(x) = d/2 + r - sqrt(r^2 - x^2) at a distance x from
// where the tube ends; a mouth's is rho k a / (pi a^2) for its radius a and factor k.
struct PortMasses {
    double straight = 0;
    double outer_flare = 0;
    double inner_flare = 0;
    double outer_mouth = 0; // end correction
    double inner_mouth = 0;

    double total() const {
        return straight + outer_flare + inner_flare + outer_mouth + inner_mouth;
    }
};

// Whether a straight length tunes the box, and why not when none does.
enum class PortFit {
    fits,
    // The flares and end corrections alone already hold more air mass than the
    // tuning allows: the straight length is 0 and fb_hz the highest tuning these
    // ports reach.
    flares_too_heavy,
    // The straight part would be longer than limits::straight_length_m: the
    // length shown is that limit and fb_hz the tuning it gives, the lowest these
    // ports reach.
    too_long,
};

// The lumped model takes the air in a port as one mass, which holds while the
// port is much shorter than the wavelength: its first pipe resonance should lie
// at least this many times above the tuning.
inline constexpr double pipe_resonance_margin = 5;

struct PortLength {
    PortFit fit = PortFit::fits;
    bool reachable = false;       // fit == PortFit::fits
    double straight_length_m = 0; // tube to cut between the flares
    double overall_length_m = 0;  // mouth to mouth: straight part plus r per flared end
    double fb_hz = 0;             // tuning with this length
    double max_fb_hz = 0;         // tuning with no straight part
    PortMasses masses;
    double required_mass = 0; // kg/m^4, per port, for the requested tuning
    // Room the ports take in the box, all of them: their interior air, straight
    // part and flares, walls taken as thin and the whole length as inside the box.
    double displaced_volume_m3 = 0;
    // Mouth to mouth plus both end corrections (k times each mouth's radius): the
    // length of the air column that resonates as an open pipe.
    double effective_length_m = 0;
    double pipe_resonance_hz = 0; // c / (2 effective length)

    // The ports hold more air than the net volume of the box.
    bool larger_than(double vb_m3) const { return displaced_volume_m3 > vb_m3; }
    // The first pipe resonance lies below pipe_resonance_margin times the tuning.
    bool too_long_for_model(double fb_hz) const {
        return pipe_resonance_hz < pipe_resonance_margin * fb_hz;
    }
};

// One port's air apart from its straight part, whatever the port's shape: what the
// length that tunes a box, and the tuning of a length, rest on.
struct PortAir {
    PortMasses masses;            // its straight part's left at 0
    double straight_area_m2 = 0;  // the straight part's cross-section
    double ends_length_m = 0;     // along the axis, both flared or rounded ends together
    double ends_volume_m3 = 0;    // the air in them
    double end_corrections_m = 0; // both mouths', as lengths of the air column
};

// The straight length that tunes N ports of this air with the compliance of vb_m3
// to fb_hz, and the tuning of a straight length (as port_length and port_tuning
// below). No checks: the callers check their ports, the box and the tuning or
// length first.
PortLength length_for_tuning(const PortAir& air, int count, double vb_m3, double fb_hz,
                             double temperature_c);
PortLength tuning_for_length(const PortAir& air, int count, double vb_m3, double straight_length_m,
                             double temperature_c);

// The straight length that tunes the N ports with the compliance of vb_m3 to fb_hz:
// the ports' mass in parallel, M/N, resonates with CAB = Vb/(rho c^2) at Fb.
Checked<PortLength> port_length(const FlaredPort& port, double vb_m3, double fb_hz,
                                double temperature_c = standard_temperature_c);

// The tuning for a given straight length (reachable is true, max_fb_hz as above,
// required_mass is that of the tuning found).
Checked<PortLength> port_tuning(const FlaredPort& port, double vb_m3, double straight_length_m,
                                double temperature_c = standard_temperature_c);

} // namespace venturon
