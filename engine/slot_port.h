#pragma once

// Slot ports: rectangular ports, often with one or two of the box's own walls as
// their sides, their free edges rounded over at either end. Their length for a box
// volume and tuning, by the same acoustic-mass integral as round ports
// (port_length.h), and the size the velocity-limit model reads them as. SI units.
//
// A slot's inside is W wide and H high. Against a wall (walls = 1) it lies along
// the floor: one of its width sides (the sides W long) is the box's wall. In a
// corner (walls = 2) one width side and one height side are walls. A wall side is
// flat to the mouth; each free side of a rounded end leaves the straight part
// along a quarter circle of radius r, as a round port's flare does, and meets the
// baffle (or the inside of the box) at a right angle:
//
//        free side   ___________________
//                   /                   |  <- round-over of radius r
//   straight part  |                    |
//   H              |                    |      mouth: H + r on this side
//   ===============|====================|== wall side (floor): stays flat
//                  <- straight length -> <- r ->
//
// At a distance x into a rounded end every free side stands e(x) = r - sqrt(r^2 -
// x^2) further out, so the cross-section is (W + f_w e)(H + f_h e), with f_w the
// free height sides (they bound the width: 2, 2, 1 for 0, 1, 2 walls) and f_h the
// free width sides (2, 1, 1). Its acoustic mass is rho times the integral of
// dx / S(x) over the r of its depth.
//
// End corrections by the image principle: a rigid wall mirrors the flow, so a
// slot against k walls radiates, with its images, like a port of 2^k times its
// mouth's area carrying 2^k times its flow. Each mouth's correction is then that of
// the circle of that area (0.85 flanged, 0.613 free, times its radius) as a length
// of the slot's own mouth. This is an approximation: the walls are taken as
// rigid planes reaching well beyond the mouth (a box's wall ends at its corners,
// and inside the box at the next wall), and a rectangle's correction as that of
// the circle of its area, which is close for mouths near square and somewhat too
// large for long thin ones (the slot then comes out a little short and tunes a
// little high). With three walls the images would repeat without end, so a slot
// has at most two.

#include "port_length.h"

namespace venturon {

// N identical slots. The round-over is on the free sides of each flared end; a
// radius of 0 leaves both ends sharp.
struct SlotPort {
    double width_m = 0;  // inside, along the wall when there is one
    double height_m = 0; // inside, away from the wall
    int walls = 0;       // sides that are the box's own walls: 0, 1 or 2
    double radius_m = 0; // round-over of the free edges at a flared end
    int count = 1;
    PortEnd outer{true, MouthCondition::flanged};
    PortEnd inner{true, MouthCondition::free};
};

// One slot's inside cross-section, m^2.
double slot_area(double width_m, double height_m);

// 4 A / P, with P the whole perimeter of the inside: the air touches a wall side
// as much as a free one, so the walls do not change it. A square's is its side.
// The velocity-limit model (model.h), built for round ports, reads a slot as a
// round port of this diameter with the round-over as its flare radius (both in mm
// there): core_limit(d, f, ...), chuff_limit(d, r, f, ...), required_flare_radius.
// Those limits are approximate, and whatever shows them must say so: the reading
// gives a thin slot a lower core limit than a round port of its area, and mostly a
// lower chuffing limit (with a round-over near a small slot's smaller side the
// chuffing limit can come out a few per cent higher).
double hydraulic_diameter(double width_m, double height_m);

// The largest round-over a slot takes: its smaller side. The round-over is cut in
// the panels that form the slot's free sides; one larger than the slot is narrow
// makes a mouth that is mostly round-over, where neither the section model above
// (each free side moving out on its own) nor the velocity-limit model, read with
// the hydraulic diameter, can be relied on.
double largest_round_over(double width_m, double height_m);

// The image principle's factor on a mouth's area: 2^walls.
double image_factor(int walls);

// How many free sides bound each dimension (they carry the round-over).
struct FreeSides {
    int across_width = 2;  // height sides: the width grows by this many times e(x)
    int across_height = 2; // width sides: the height grows by this many times e(x)
};
FreeSides free_sides(int walls);

// Checks the slots: count, sides, walls and round-over against their rows (in the
// model's units), then the round-over against largest_round_over.
std::optional<InputError> check_slot(const SlotPort& slot);

// The round-over against the slot's sides, all three in one unit (the scale says
// which, for the message): round_over_beyond_slot with the largest as its value.
std::optional<InputError> check_round_over(double radius, double width, double height, Scale scale);

// The slots' cross-section for the box model's air velocity: the hydraulic
// diameter as its diameter (for the velocity-limit model) and the inside area.
PortSize slot_port_size(const SlotPort& slot);

// The straight length that tunes the N slots with the compliance of vb_m3 to fb_hz
// (as port_length does for round ports): overall_length_m adds r per rounded end,
// displaced_volume_m3 is the slots' inside air (a wall side takes no room of its
// own, and the other walls are taken as thin), effective_length_m adds the image
// end corrections.
Checked<PortLength> slot_length(const SlotPort& slot, double vb_m3, double fb_hz,
                                double temperature_c = standard_temperature_c);

// The tuning for a given straight length.
Checked<PortLength> slot_tuning(const SlotPort& slot, double vb_m3, double straight_length_m,
                                double temperature_c = standard_temperature_c);

} // namespace venturon
