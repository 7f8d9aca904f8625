#pragma once

// The options of a slot port: --slot WIDTHxHEIGHT and --slot-walls, with --ports as
// the slot count and --radius as the round-over; or the slot of a --driver file
// whose port_shape is slot.

#include "options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>

namespace venturon::cli {

class SlotOptions {
public:
    SlotOptions();

    QList<QCommandLineOption> options() const;

    // Whether --slot was given.
    bool slot_given(const QCommandLineParser& parser) const { return parser.isSet(slot_); }

    // Reads the slot, after the port's own options and the enclosure's inputs: with
    // --slot, or without --diameter from a --driver file whose port_shape is slot.
    // The slot's numbers go into the enclosure's inputs (options over the file's)
    // and are checked there; options.slot, diameter_mm (the hydraulic diameter),
    // ports and radius_mm (--radius, or else the file's slot_radius_mm) follow
    // them. Raises BadInput naming the option, or the file and its key.
    void read(const QCommandLineParser& parser, bool diameter_given, bool ports_given,
              Options& options) const;

private:
    QCommandLineOption slot_;
    QCommandLineOption walls_;
};

} // namespace venturon::cli
