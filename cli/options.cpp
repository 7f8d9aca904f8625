#include "options.h"

#include "enclosure_options.h"
#include "number_text.h"
#include "slot_options.h"
#include "suggestion.h"
#include "venturon_version.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUtf8StringView>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace venturon::cli {

std::string quoted_text(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        out += static_cast<unsigned char>(c) < ' ' ? '?' : c;
    }
    return out + "\"";
}

void reject(std::string_view option, std::string_view text, std::string_view why) {
    throw BadInput{"--" + std::string(option) + " " + quoted_text(text) + ": " + std::string(why)};
}

namespace {

template <typename T> struct Choice {
    std::string_view name;
    T value;
};

template <typename T, std::size_t N>
T choose(std::string_view option, std::string_view text, const Choice<T> (&choices)[N]) {
    std::string expected;
    for (std::size_t i = 0; i < N; ++i) {
        if (text == choices[i].name) {
            return choices[i].value;
        }
        expected += (i == 0 ? "" : i + 1 == N ? " or " : ", ") + std::string(choices[i].name);
    }
    reject(option, text, "expected " + expected);
}

const Choice<UnitsMode> unit_choices[] = {
    {units_mode_text(UnitsMode::metric), UnitsMode::metric},
    {units_mode_text(UnitsMode::inches), UnitsMode::inches},
    {units_mode_text(UnitsMode::decimal_inches), UnitsMode::decimal_inches},
};
constexpr Choice<Allowance> allowance_choices[] = {
    {"none", Allowance::none},
    {"seating", Allowance::seating},
    {"seating-and-masking", Allowance::seating_and_masking},
};
constexpr Choice<Content> content_choices[] = {
    {"music", Content::music},
    {"home-theatre", Content::home_theatre},
};
constexpr Choice<Format> format_choices[] = {
    {"table", Format::table},
    {"json", Format::json},
    {"csv", Format::csv},
};
constexpr Choice<CutterSystem> cutter_choices[] = {
    {"metric", CutterSystem::metric},
    {"imperial", CutterSystem::imperial},
};

enum class Sign { positive, not_negative };

double length(std::string_view option, std::string_view text, UnitsMode units, Sign sign) {
    const LengthReading reading = read_length(text, units);
    if (!reading.millimetres) {
        reject(option, text, reading.problem);
    }
    const double mm = *reading.millimetres;
    if (mm < 0) {
        reject(option, text, "must not be negative");
    }
    if (sign == Sign::positive && mm == 0) {
        reject(option, text, "must be greater than 0");
    }
    return mm;
}

std::array<double, 4> velocities(std::string_view text) {
    const auto parts = split_text(text, ',');
    if (parts.size() != 4) {
        reject("velocities", text,
               "give four velocities in m/s (20, 25, 30 and 35 Hz) separated by commas");
    }
    std::array<double, 4> out{};
    for (std::size_t i = 0; i < 4; ++i) {
        const NumberReading reading = read_number(parts[i]);
        if (reading.too_large) {
            reject("velocities", text, quoted_text(parts[i]) + " is " + std::string(too_large));
        }
        const auto v = reading.value;
        if (!v) {
            reject("velocities", text,
                   quoted_text(parts[i]) + " is not a number of metres per second");
        }
        if (*v < 0) {
            reject("velocities", text, "velocities must not be negative");
        }
        out[i] = *v;
    }
    return out;
}

// Like the main window's port-count field: the whole part of the absolute value,
// and 0 becomes 1. Text that is no number at all is refused rather than taken as 1.
double ports(std::string_view text) {
    const NumberReading reading = read_number(text);
    if (reading.too_large) {
        reject("ports", text, too_large);
    }
    const auto n = reading.value;
    if (!n) {
        reject("ports", text, "not a number");
    }
    const double whole = std::floor(std::fabs(*n));
    return whole == 0 ? 1 : whole;
}

DiameterSweep diameter_sweep(std::string_view text, UnitsMode units) {
    const auto parts = split_text(text, ':');
    if (parts.size() != 3) {
        reject("sweep-diameter", text, "expected FROM:TO:STEP");
    }
    DiameterSweep sweep;
    auto part = [&](std::string_view which, std::string_view part_text, Sign sign) {
        const LengthReading reading = read_length(part_text, units);
        if (!reading.millimetres) {
            reject("sweep-diameter", text, std::string(which) + ": " + reading.problem);
        }
        if (*reading.millimetres < 0 || (sign == Sign::positive && *reading.millimetres == 0)) {
            reject("sweep-diameter", text, std::string(which) + " must be greater than 0");
        }
        return *reading.millimetres;
    };
    sweep.from_mm = part("FROM", parts[0], Sign::positive);
    sweep.to_mm = part("TO", parts[1], Sign::positive);
    sweep.step_mm = part("STEP", parts[2], Sign::positive);
    if (sweep.to_mm < sweep.from_mm) {
        reject("sweep-diameter", text, "TO must not be less than FROM");
    }
    // A tiny allowance so that 100:200:0.1 ends at 200 despite binary fractions.
    const double steps = (sweep.to_mm - sweep.from_mm) / sweep.step_mm + 1e-9;
    if (!(steps < sweep_row_limit)) {
        reject("sweep-diameter", text,
               "more than " + std::to_string(sweep_row_limit) + " rows; use a larger STEP");
    }
    sweep.rows = static_cast<int>(std::floor(steps)) + 1;
    return sweep;
}

PortSweep port_sweep(std::string_view text) {
    const auto parts = split_text(text, ':');
    if (parts.size() != 2) {
        reject("sweep-ports", text, "expected FROM:TO");
    }
    auto count = [&](std::string_view which, std::string_view part_text) {
        const auto n = read_number(part_text).value;
        // Beyond 1e15 the counts no longer show as whole numbers.
        if (!n || *n < 1 || *n > 1e15 || *n != std::floor(*n)) {
            reject("sweep-ports", text,
                   std::string(which) + " must be a whole number from 1 to 1000000000000000");
        }
        return *n;
    };
    PortSweep sweep{count("FROM", parts[0]), count("TO", parts[1])};
    if (sweep.to < sweep.from) {
        reject("sweep-ports", text, "TO must not be less than FROM");
    }
    if (sweep.to - sweep.from >= sweep_row_limit) {
        reject("sweep-ports", text, "more than " + std::to_string(sweep_row_limit) + " rows");
    }
    return sweep;
}

GraphRequest graph_request(std::string_view option, const QString& path) {
    const std::string text = path.toStdString();
    GraphRequest request;
    request.path = path;
    request.option = option;
    const QFileInfo file(path);
    const QString suffix = file.suffix().toLower();
    if (suffix == QLatin1String("png")) {
        request.format = GraphFormat::png;
    } else if (suffix == QLatin1String("svg")) {
        request.format = GraphFormat::svg;
    } else {
        reject(option, text, "give a file name ending in .png or .svg");
    }
    if (file.isDir()) {
        reject(option, text, "is a folder; give a file name ending in .png or .svg");
    }
    const QString folder = file.absolutePath();
    if (!QFileInfo(folder).isDir()) {
        const std::string folder_text = folder.toStdString();
        reject(option, text, "there is no folder " + quoted_text(std::string_view(folder_text)));
    }
    return request;
}

// WIDTHxHEIGHT in whole pixels.
void graph_size(std::string_view text, GraphRequest& request) {
    const auto x = text.find_first_of("xX");
    const auto side = [](std::string_view digits) {
        const auto value = digits.size() <= 5 ? whole_number(digits) : std::nullopt;
        return value && *value <= graph_side_limit ? *value : 0;
    };
    const int width = x == std::string_view::npos ? 0 : side(text.substr(0, x));
    const int height = x == std::string_view::npos ? 0 : side(text.substr(x + 1));
    if (width == 0 || height == 0) {
        reject("graph-size", text,
               "expected WIDTHxHEIGHT in pixels, each from 1 to " +
                   std::to_string(graph_side_limit) + " (for example 401x117)");
    }
    request.width = width;
    request.height = height;
}

struct OptionSet {
    QCommandLineOption diameter{{"d", "diameter"},
                                "Internal diameter of each port (required). Millimetres, or "
                                "imperial with --units inches or decimalinches.",
                                "length"};
    QCommandLineOption radius{{"r", "radius"},
                              "Flare radius (with --slot, the round-over). Without it, the "
                              "smallest radius that keeps the port free of chuffing is worked out.",
                              "length"};
    QCommandLineOption ports{{"p", "ports"},
                             "Number of ports (with --slot, of slots); the whole part counts and 0 "
                             "means 1 (default: 1).",
                             "count",
                             "1"};
    QCommandLineOption velocities{"velocities",
                                  "Air velocities the design needs at 20, 25, 30 and 35 Hz, "
                                  "in m/s, separated by commas (required without driver inputs).",
                                  "v20,v25,v30,v35"};
    QCommandLineOption units{{"u", "units"},
                             "How lengths are read and shown: metric (mm), inches (feet, "
                             "inches and fractions) or decimalinches (default: metric).",
                             "units",
                             QString::fromLatin1(units_mode_text(UnitsMode::metric).data())};
    QCommandLineOption chuffing{"chuffing-allowance",
                                "Allowance on the chuffing limit: none, seating or "
                                "seating-and-masking (default: seating-and-masking).",
                                "allowance", "seating-and-masking"};
    QCommandLineOption core{"core-allowance",
                            "Allowance on the core limit: none, seating or "
                            "seating-and-masking (default: none).",
                            "allowance", "none"};
    QCommandLineOption content{"content",
                               "Programme content for the masking allowance: music or "
                               "home-theatre (default: home-theatre).",
                               "type", "home-theatre"};
    QCommandLineOption round_over{"round-over",
                                  "Also name the smallest standard round-over cutter (metric "
                                  "or imperial) that cuts at least the minimum radius.",
                                  "system"};
    QCommandLineOption sweep_diameter{"sweep-diameter",
                                      "Rescale the velocities from --diameter to each diameter "
                                      "from FROM to TO in steps of STEP and work out the "
                                      "minimum radius and verdict for each.",
                                      "from:to:step"};
    QCommandLineOption sweep_ports{
        "sweep-ports", "The same over the port counts FROM to TO, at --diameter.", "from:to"};
    QCommandLineOption graph{"graph",
                             "Also draw the velocity graph, as the main window shows it, into "
                             "a PNG or SVG file (chosen by the extension). Not with a sweep.",
                             "file"};
    QCommandLineOption graph_size{"graph-size",
                                  "Size of each graph in pixels (default: 401x117, the "
                                  "window's graph, for --graph; 600x300 for the enclosure's).",
                                  "widthxheight"};
    QCommandLineOption enclosure_graph{
        "enclosure-graph",
        "With driver inputs: draw the port air velocity (peak) from 15 to 40 Hz against the "
        "core and chuffing limits of the port into a PNG or SVG file. Not with a sweep.",
        "file"};
    QCommandLineOption excursion_graph{
        "excursion-graph",
        "With driver inputs: draw the cone excursion (peak) from 10 to 200 Hz against Xmax "
        "into a PNG or SVG file. Not with a sweep.",
        "file"};
    QCommandLineOption plot{
        "plot",
        "With driver inputs: draw one of the designer's views from 10 to 200 Hz into a PNG "
        "or SVG file; VIEW is spl, max-spl, velocity, excursion, impedance or group-delay. "
        "Repeat it for more views. Not with a sweep.",
        "view=file"};
    QCommandLineOption format{{"f", "format"},
                              "Output: table, json or csv (default: table). JSON and CSV give "
                              "lengths in mm and velocities in m/s.",
                              "format",
                              "table"};
    QCommandLineOption help{{"h", "help"}, "Show this help and exit."};
    QCommandLineOption version{{"v", "version"}, "Show the version and exit."};
};

constexpr std::string_view description =
    "Works out the core and chuffing velocity limits of a loudspeaker port at 20, 25, 30\n"
    "and 35 Hz, the minimum flare radius and whether the port will be noise free.\n"
    "Given a driver and a vented box (--driver FILE, --design FILE, or --fs, --vas, --vb,\n"
    "...), it also works out the port air velocities itself and the length of port that\n"
    "tunes the box; --suggest-box suggests boxes for the driver instead.";

constexpr std::string_view epilogue =
    "\n"
    "Imperial lengths are decimal inches (6.25) or feet, whole inches and a fraction\n"
    "of 1/2, 1/4, 1/8 or 1/16 inch (6' 10 1/2). Quote them for the shell.\n"
    "\n"
    "Driver and box values are always in the units of a data sheet, whatever --units\n"
    "says: Hz, litres, cm^2, ohm, mm (Xmax), mH, W, V (RMS) and degrees Celsius. Each\n"
    "overrides the --driver file's value; \"none\" (or an empty value) clears it, and an\n"
    "empty --outer-mouth, --inner-mouth or --flared-ends is its default. Without\n"
    "--velocities, the port air velocities (peak) the enclosure gives at 20, 25, 30 and\n"
    "35 Hz are the required velocities. The port length is worked out for --radius, or\n"
    "else for the minimum radius found. With a sweep, the driver inputs only supply\n"
    "the reference velocities.\n"
    "\n"
    "The --driver file is recognised by its content. Venturon's own inputs file holds\n"
    "one \"key = value\" per line (# starts a comment): fs_hz, qes, qms, qts, vas_l,\n"
    "sd_cm2, re_ohm, xmax_mm, le_mh, pe_w, drivers, vb_l, fb_hz, ql, qa, qp, power_w,\n"
    "voltage_v, temperature_c, outer_mouth (flanged or free), inner_mouth (flanged or\n"
    "free), flared_ends (both, outer, inner or none), port_shape (round or slot), the\n"
    "slot's slots, slot_width_mm, slot_height_mm, slot_walls and slot_radius_mm, and\n"
    "highpass_1 to highpass_4 (filters as --highpass writes them). An empty value or a\n"
    "missing key means not given. Key = value driver files with a [Driver] section and\n"
    "JSON data sheets give the driver alone, in SI units (Vas in m^3, Sd in m^2, Xmax\n"
    "in m, Le in H); what they leave out is worked out where the physics allows (Qts\n"
    "from Qes and Qms, Qes from BL, Mms and Re, Vas from Cms and Sd, Sd from Dia), and\n"
    "the report says so.\n"
    "\n"
    "A --design file (saved by the enclosure window) holds the inputs file's keys and\n"
    "port_diameter_mm, port_count, flare_radius_mm and flare_radius_is_minimum.\n"
    "\n"
    "A high-pass filter is its kind and order, or q and its Q, then @ and its\n"
    "frequency in Hz: bw1@F to bw8@F (Butterworth, -3 dB at F), lr2@F, lr4@F, lr8@F\n"
    "(Linkwitz-Riley, -6 dB at F), bessel2@F to bessel4@F (Bessel, -3 dB at F), qQ@F\n"
    "(s^2 / (s^2 + s/Q + 1) at F, Q 0.1 to 20); F from 1 to 1000 Hz. Letters in any\n"
    "case, blanks around the parts allowed. Up to four act in series on the\n"
    "amplifier's output.\n"
    "\n"
    "--max-output works at each frequency with the amplifier at the drive level\n"
    "(--power or --voltage), the driver's Xmax (peak) and Pe (the RMS voltage across\n"
    "each driver at most sqrt(Pe Re)), and the port's chuffing and core limits for\n"
    "--radius (or the minimum radius found) with the allowances; a limit not known\n"
    "does not bind.\n"
    "\n"
    "A slot (--slot, or port_shape = slot in the --driver or --design file and no\n"
    "--diameter) is tuned by its own mass integral, with end corrections by the image\n"
    "principle for its wall sides. Its limits, verdict and minimum round-over are\n"
    "approximate: the model was built for round ports and reads a slot as a round port\n"
    "of its hydraulic diameter (4 x area / perimeter) with its round-over as the flare.\n"
    "Not with a sweep.\n"
    "\n"
    "--suggest-box gives the flattest box for the driver: among the tunings at which\n"
    "the response approaches the passband as a fourth-order high pass, the box with\n"
    "the lowest F3 whose response nowhere rises above the passband. --suggest-vb adds\n"
    "the flattest tuning of a volume, --suggest-f3 the smallest box reaching an F3.\n"
    "\n"
    "Examples:\n"
    "  venturon-calc --diameter 100 --velocities 10,14,12,7\n"
    "  venturon-calc -u inches -d 4 -r \"1/2\" -p 2 --velocities 10,14,12,7 --round-over imperial\n"
    "  venturon-calc -d 100 --velocities 10,14,12,7 --sweep-diameter 80:160:10 --format csv\n"
    "  venturon-calc -d 100 -r 20 --velocities 10,14,12,7 --graph port.png --graph-size 802x234\n"
    "  venturon-calc -d 100 --fs 25 --qes 0.45 --qms 5 --vas 100 --sd 500 --re 3.6 --xmax 12 \\\n"
    "      --vb 60 --fb 30 --power 100\n"
    "  venturon-calc -d 100 -p 2 --driver box.ini --power 300 --curve --format csv\n"
    "  venturon-calc -d 100 -r 40 --driver box.ini --pe 300 --highpass bw4@18 --max-output \\\n"
    "      --plot max-spl=max.png --plot spl=spl.svg\n"
    "  venturon-calc --slot 250x50 --slot-walls 1 -r 20 --driver box.ini\n"
    "  venturon-calc -d 100 --driver woofer.txt --power 100 --suggest-box --suggest-f3 30\n"
    "  venturon-calc --design subwoofer.design\n"
    "\n"
    "Each graph option needs a file of its own.\n"
    "\n"
    "Exit status: 0 on success, 2 for bad input, 1 when the output cannot be written.\n";

std::string help_text(const QCommandLineParser& parser) {
    // Qt's own usage line names argv[0] as typed; ours names the program.
    const QString generated = parser.helpText();
    const auto usage_end = generated.indexOf('\n');
    std::string text = "Usage: " + std::string(program_name) +
                       " --diameter LENGTH --velocities V20,V25,V30,V35 [options]\n" + "       " +
                       std::string(program_name) + " --diameter LENGTH --driver FILE [options]\n" +
                       "       " + std::string(program_name) + " --design FILE [options]\n" +
                       "       " + std::string(program_name) +
                       " --slot WIDTHxHEIGHT [--slot-walls N] (--velocities ... | --driver FILE) "
                       "[options]\n" +
                       "       " + std::string(program_name) +
                       " --diameter LENGTH --driver FILE --power WATTS --suggest-box [options]\n\n";
    text += generated.mid(usage_end + 1).toStdString();
    text += epilogue;
    return text;
}

// An option that a sweep cannot take, refused with the reason.
void refuse_with_sweep(const Options& options, std::string_view option, std::string_view why) {
    if (options.sweep_diameter || options.sweep_ports) {
        throw BadInput{std::string(option) + " cannot be used with " +
                       (options.sweep_diameter ? "--sweep-diameter" : "--sweep-ports") + ": " +
                       std::string(why)};
    }
}

// A graph option needs a build that draws.
void refuse_without_drawing(std::string_view option) {
    if (!graph_output_available()) {
        throw BadInput{std::string(option) + ": this build of " + std::string(program_name) +
                       " cannot draw graphs"};
    }
}

// A picture of the enclosure: it needs driver inputs and a single calculation.
std::optional<GraphRequest> enclosure_graph_request(const QCommandLineParser& parser,
                                                    const QCommandLineOption& option,
                                                    const Options& options) {
    if (!parser.isSet(option)) {
        return std::nullopt;
    }
    const std::string name = option.names().constFirst().toStdString();
    if (!options.enclosure) {
        throw BadInput{"--" + name + " needs driver inputs (--driver FILE, or --fs, --vas, ...)"};
    }
    refuse_without_drawing("--" + name);
    refuse_with_sweep(options, "--" + name, "a sweep has no single graph");
    GraphRequest request = graph_request(name, parser.value(option));
    request.width = enclosure_graph_default_width;
    request.height = enclosure_graph_default_height;
    return request;
}

// --plot VIEW=FILE, each with the enclosure's default size.
std::vector<PlotRequest> plot_requests(const QCommandLineParser& parser,
                                       const QCommandLineOption& option, const Options& options) {
    std::vector<PlotRequest> out;
    if (!parser.isSet(option)) {
        return out;
    }
    if (!options.enclosure) {
        throw BadInput{"--plot needs driver inputs (--driver FILE, or --fs, --vas, ...)"};
    }
    refuse_without_drawing("--plot");
    refuse_with_sweep(options, "--plot", "a sweep has no single graph");
    for (const QString& value : parser.values(option)) {
        const std::string text = value.toStdString();
        const auto equals = value.indexOf(QLatin1Char('='));
        std::string expected;
        for (std::size_t i = 0; i < plot_view_keys.size(); ++i) {
            expected += (i == 0                           ? ""
                         : i + 1 == plot_view_keys.size() ? " or "
                                                          : ", ") +
                        std::string(plot_view_keys[i]);
        }
        if (equals < 0) {
            reject("plot", text, "expected VIEW=FILE, VIEW one of " + expected);
        }
        const std::string key = value.left(equals).trimmed().toStdString();
        const auto* found = std::find(plot_view_keys.begin(), plot_view_keys.end(), key);
        if (found == plot_view_keys.end()) {
            reject("plot", text, "unknown view " + quoted_text(key) + "; expected " + expected);
        }
        PlotRequest request;
        request.view = static_cast<PlotView>(found - plot_view_keys.begin());
        request.graph = graph_request("plot", value.mid(equals + 1));
        request.graph.width = enclosure_graph_default_width;
        request.graph.height = enclosure_graph_default_height;
        out.push_back(std::move(request));
    }
    return out;
}

// The file a graph's path names, however it is spelt: "p.svg", "./p.svg", a link to
// it or a path through a linked folder all give the same text. A file that is not
// there yet is named by its folder, resolved, and its name; on Unix one that is
// there by its device and inode, which a hard link shares.
QString graph_file_identity(const QString& path) {
    QFileInfo file(path);
    // Links are followed to the file they name, as the writer does, even to one
    // that is not there yet.
    for (int depth = 0; depth < 64 && file.isSymLink(); ++depth) {
        file.setFile(file.symLinkTarget());
    }
#ifdef Q_OS_UNIX
    struct stat status {};
    if (::stat(QFile::encodeName(file.filePath()).constData(), &status) == 0) {
        return QStringLiteral("inode %1:%2").arg(status.st_dev).arg(status.st_ino);
    }
#endif
    if (file.exists()) {
        return file.canonicalFilePath();
    }
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    return QDir(folder.isEmpty() ? file.absolutePath() : folder).filePath(file.fileName());
}

// Two graph options that name one file would leave only the last picture in it.
void refuse_shared_graph_files(const Options& options) {
    std::vector<const GraphRequest*> requests;
    const auto add = [&requests](const std::optional<GraphRequest>& request) {
        if (request) {
            requests.push_back(&*request);
        }
    };
    add(options.graph);
    if (options.enclosure) {
        add(options.enclosure->velocity_graph);
        add(options.enclosure->excursion_graph);
        for (const PlotRequest& plot : options.enclosure->plots) {
            requests.push_back(&plot.graph);
        }
    }
    for (std::size_t later = 1; later < requests.size(); ++later) {
        for (std::size_t earlier = 0; earlier < later; ++earlier) {
            const GraphRequest& a = *requests[earlier];
            const GraphRequest& b = *requests[later];
            if (graph_file_identity(a.path) == graph_file_identity(b.path)) {
                reject(b.option, b.path.toStdString(),
                       "the same file as --" + a.option + " " + quoted_text(a.path.toStdString()) +
                           "; give each graph a file of its own");
            }
        }
    }
}

// Reads an option's value as typed.
struct Values {
    const QCommandLineParser& parser;
    std::string operator()(const QCommandLineOption& option) const {
        return parser.value(option).toStdString();
    }
};

// The units, the allowances, the format and the cutter system.
void read_choices(const Values& value, const OptionSet& o, Options& options) {
    options.units = choose("units", value(o.units), unit_choices);
    options.allowances.chuffing =
        choose("chuffing-allowance", value(o.chuffing), allowance_choices);
    options.allowances.core = choose("core-allowance", value(o.core), allowance_choices);
    options.allowances.content = choose("content", value(o.content), content_choices);
    options.format = choose("format", value(o.format), format_choices);
    if (value.parser.isSet(o.round_over)) {
        options.round_over = choose("round-over", value(o.round_over), cutter_choices);
    }
}

// The --design file's port where the command line gives none: its diameter, its
// number of ports, and its flare radius when that is not the minimum.
void port_from_design(const QCommandLineParser& parser, const OptionSet& o,
                      const EnclosureRequest& request, Options& options) {
    const DesignPort& port = request.design->port;
    const std::string file = request.design_file.toStdString();
    if (!parser.isSet(o.diameter)) {
        if (!port.diameter_mm) {
            reject("design", file, "port_diameter_mm: not given; give --diameter");
        }
        if (!(*port.diameter_mm > 0)) {
            reject("design", file, "port_diameter_mm: must be greater than 0");
        }
        options.diameter_mm = *port.diameter_mm;
    }
    if (!parser.isSet(o.ports) && port.count) {
        // As the main window's field reads it: the whole part of the absolute value,
        // and 0 is 1.
        const double whole = std::floor(std::fabs(*port.count));
        options.ports = whole == 0 ? 1 : whole;
    }
    if (!parser.isSet(o.radius) && !port.minimum_radius && port.flare_radius_mm) {
        if (*port.flare_radius_mm < 0) {
            reject("design", file, "flare_radius_mm: must not be negative");
        }
        options.radius_mm = *port.flare_radius_mm;
    }
}

// The port and the velocities it must carry (or the driver inputs that give them).
void read_port(const Values& value, const OptionSet& o, const EnclosureOptions& e,
               const SlotOptions& s, Options& options) {
    const QCommandLineParser& parser = value.parser;
    const bool diameter = parser.isSet(o.diameter);
    // A --driver file may hold a slot, and a --design its port.
    if (!diameter && !s.slot_given(parser) && !e.driver_given(parser) && !e.design_given(parser)) {
        throw BadInput{"missing --diameter, or --slot (see --help)"};
    }
    if (diameter) {
        options.diameter_mm = length("diameter", value(o.diameter), options.units, Sign::positive);
    }
    if (parser.isSet(o.radius)) {
        options.radius_mm = length("radius", value(o.radius), options.units, Sign::not_negative);
    }
    options.ports = ports(value(o.ports));
    options.enclosure = e.read(parser);
    // A design's round port stands in for the options not given; its slot is read
    // as a --driver file's is.
    const bool design_port = options.enclosure && options.enclosure->design &&
                             !s.slot_given(parser) &&
                             options.enclosure->inputs.port_shape == PortShape::round;
    if (design_port) {
        port_from_design(parser, o, *options.enclosure, options);
    }
    s.read(parser, diameter, parser.isSet(o.ports), options);
    if (!diameter && !options.slot && !design_port) {
        throw BadInput{"missing --diameter, or --slot (the --driver file's port_shape is round; "
                       "see --help)"};
    }
    options.velocities_given = parser.isSet(o.velocities);
    if (options.velocities_given) {
        options.velocities = velocities(value(o.velocities));
    } else if (!options.enclosure) {
        throw BadInput{"missing --velocities, or driver inputs to work them out (see --help)"};
    }
}

void read_sweeps(const Values& value, const OptionSet& o, Options& options) {
    if (value.parser.isSet(o.sweep_diameter)) {
        options.sweep_diameter = diameter_sweep(value(o.sweep_diameter), options.units);
    }
    if (value.parser.isSet(o.sweep_ports)) {
        options.sweep_ports = port_sweep(value(o.sweep_ports));
    }
    if (options.sweep_diameter && options.sweep_ports) {
        throw BadInput{"--sweep-diameter and --sweep-ports cannot be used together"};
    }
    if (options.radius_mm) {
        refuse_with_sweep(options, "--radius", "a sweep works out the minimum radius");
    }
    if (options.slot) {
        refuse_with_sweep(options, "a slot port", "a sweep goes over round ports");
    }
    if (options.enclosure && options.enclosure->curve) {
        refuse_with_sweep(options, "--curve", "a sweep has no single enclosure");
    }
    if (options.enclosure && options.enclosure->max_output) {
        refuse_with_sweep(options, "--max-output", "a sweep has no single enclosure");
    }
}

// The graph files, each with its size.
void read_graphs(const Values& value, const OptionSet& o, Options& options) {
    const QCommandLineParser& parser = value.parser;
    if (parser.isSet(o.graph)) {
        refuse_without_drawing("--graph");
        refuse_with_sweep(options, "--graph", "a sweep has no single graph");
        options.graph = graph_request("graph", parser.value(o.graph));
    }
    const auto enclosure_velocity = enclosure_graph_request(parser, o.enclosure_graph, options);
    const auto enclosure_excursion = enclosure_graph_request(parser, o.excursion_graph, options);
    auto plots = plot_requests(parser, o.plot, options);
    if (options.enclosure) {
        options.enclosure->velocity_graph = enclosure_velocity;
        options.enclosure->excursion_graph = enclosure_excursion;
        options.enclosure->plots = std::move(plots);
    }
    refuse_shared_graph_files(options);
    if (!parser.isSet(o.graph_size)) {
        return;
    }
    if (!options.draws_graphs()) {
        throw BadInput{
            "--graph-size needs --graph, --enclosure-graph, --excursion-graph or --plot"};
    }
    if (options.enclosure) {
        for (PlotRequest& plot : options.enclosure->plots) {
            graph_size(value(o.graph_size), plot.graph);
        }
    }
    for (auto* request : {options.graph ? &*options.graph : nullptr,
                          options.enclosure && options.enclosure->velocity_graph
                              ? &*options.enclosure->velocity_graph
                              : nullptr,
                          options.enclosure && options.enclosure->excursion_graph
                              ? &*options.enclosure->excursion_graph
                              : nullptr}) {
        if (request) {
            graph_size(value(o.graph_size), *request);
        }
    }
}

Options read_options(const QCommandLineParser& parser, const OptionSet& o,
                     const EnclosureOptions& e, const SlotOptions& s) {
    const Values value{parser};
    Options options;
    read_choices(value, o, options);
    read_port(value, o, e, s, options);
    read_sweeps(value, o, options);
    read_graphs(value, o, options);
    return options;
}

} // namespace

std::optional<std::string> argument_encoding_problem(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (QUtf8StringView(argument.data(), qsizetype(argument.size())).isValidUtf8()) {
            continue;
        }
        std::string shown;
        for (char c : argument) {
            const auto byte = static_cast<unsigned char>(c);
            shown += byte >= 0x80 || byte < ' ' ? '?' : c;
        }
        return "argument \"" + shown +
               "\" is not valid UTF-8 text; give file names in UTF-8 (rename the file)";
    }
    return std::nullopt;
}

std::string_view program_version() {
    return version;
}

ParsedCommandLine parse_command_line(const QStringList& arguments) {
    const OptionSet o;
    const EnclosureOptions e;
    const SlotOptions s;
    const SuggestionOptions g;
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(description.data(), description.size()));
    parser.addOptions({o.diameter, o.radius, o.ports, o.velocities, o.units, o.chuffing, o.core,
                       o.content, o.round_over, o.sweep_diameter, o.sweep_ports, o.graph,
                       o.graph_size, o.format});
    parser.addOptions(s.options());
    parser.addOptions(e.options());
    parser.addOptions({o.enclosure_graph, o.excursion_graph, o.plot});
    parser.addOptions(g.options());
    parser.addOptions({o.help, o.version});

    ParsedCommandLine parsed;
    if (!parser.parse(arguments)) {
        parsed.text = parser.errorText().toStdString();
        return parsed;
    }
    if (parser.isSet(o.help)) {
        parsed.action = ParsedCommandLine::Action::help;
        parsed.text = help_text(parser);
        return parsed;
    }
    if (parser.isSet(o.version)) {
        parsed.action = ParsedCommandLine::Action::version;
        parsed.text = std::string(program_name) + " " + std::string(program_version()) + "\n";
        return parsed;
    }
    if (!parser.positionalArguments().isEmpty()) {
        parsed.text = "unexpected argument \"" +
                      parser.positionalArguments().constFirst().toStdString() + "\" (see --help)";
        return parsed;
    }
    try {
        parsed.options = read_options(parser, o, e, s);
        g.read(parser, parsed.options);
        parsed.action = ParsedCommandLine::Action::run;
    } catch (const BadInput& bad) {
        parsed.text = bad.message;
    }
    return parsed;
}

std::string_view allowance_name(Allowance allowance) {
    for (const auto& choice : allowance_choices) {
        if (choice.value == allowance) {
            return choice.name;
        }
    }
    return {};
}

std::string_view content_name(Content content) {
    for (const auto& choice : content_choices) {
        if (choice.value == content) {
            return choice.name;
        }
    }
    return {};
}

} // namespace venturon::cli
