#include "export/options.h"

#include "model/subdivision.h"

#include <getopt.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <string_view>

namespace {

// Long options without a short form get codes above any character.
enum Code {
    anglesCode = 256,
    noLabelsCode,
    noListingCode,
    pickCode,
    selectCode,
    walkCode,
    fontCode,
    formatCode
};

const option longOptions[] = {
    {"angles", required_argument, nullptr, anglesCode},
    {"no-labels", no_argument, nullptr, noLabelsCode},
    {"no-listing", no_argument, nullptr, noListingCode},
    {"pick", required_argument, nullptr, pickCode},
    {"select", required_argument, nullptr, selectCode},
    {"walk", required_argument, nullptr, walkCode},
    {"font", required_argument, nullptr, fontCode},
    {"output", required_argument, nullptr, 'o'},
    {"format", required_argument, nullptr, formatCode},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
};

const option* byCode(int code) {
    for (const option* o = longOptions; o->name; ++o) {
        if (o->val == code) {
            return o;
        }
    }
    return nullptr;
}

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// A whole decimal number, all of text, or nothing.
std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<Format> formatNamed(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    for (Format f : {Format::png, Format::svg, Format::markdown, Format::csv, Format::json}) {
        if (name == extension(f)) {
            return f;
        }
    }
    return std::nullopt;
}

// "1000 x 600".
std::string windowSize() {
    return std::to_string(windowWidth) + " x " + std::to_string(windowHeight);
}

Command failure(std::string error) {
    Command command;
    command.error = std::move(error);
    return command;
}

} // namespace

const char* extension(Format format) {
    switch (format) {
    case Format::png:
        return "png";
    case Format::svg:
        return "svg";
    case Format::markdown:
        return "md";
    case Format::csv:
        return "csv";
    case Format::json:
        return "json";
    }
    return "";
}

std::string usage() {
    return "Usage: hexil-export [OPTION]... --output FILE\n"
           "Writes what the HEXIL viewer shows for one state, or its records as tables.\n"
           "\n"
           "  --angles N      corners of the polygon, 0 to " +
           std::to_string(maxAngles) + " (default " + std::to_string(startAngles) +
           "; below 3: empty)\n"
           "  --no-labels     no v, e and f labels in the picture (the viewer's key c)\n"
           "  --no-listing    no listing; the polygon moves to the middle (key t)\n"
           "  --pick X,Y      one left click at window pixel (X, Y)\n"
           "  --select NAME   pick the record named NAME (v3, f2, e7), as the viewer's key h\n"
           "                  over its listing row (the later of --pick and --select counts)\n"
           "  --walk STEPS    then step from the pick along the links, one letter each: e\n"
           "                  (edge), n (next), p (prev), o (opp), v (target), f (face)\n"
           "  --font PATH     TrueType font (default: tahoma.ttf here, else DejaVu Sans)\n"
           "  -o, --output FILE\n"
           "                  FILE.png the " +
           windowSize() +
           " frame, FILE.svg the same as vector\n"
           "                  shapes, FILE.md or FILE.csv the record tables, FILE.json the\n"
           "                  records and links; - for standard output (with --format)\n"
           "  --format F      png, svg, md, csv or json, whatever FILE's extension\n"
           "  -h, --help      show this help and exit\n"
           "  -V, --version   show the version and exit\n"
           "\n"
           "Exit status: 0 when the file was written, 2 for bad input (nothing is written).\n";
}

Command parseCommand(int argc, char* argv[]) {
    Command command;
    ExportOptions& o = command.options;
    std::optional<Format> format;
    optind = 0; // a fresh scan, also when called again
    opterr = 0;
    int code;
    while ((code = getopt_long(argc, argv, ":o:hV", longOptions, nullptr)) != -1) {
        const std::string_view value = optarg ? optarg : "";
        switch (code) {
        case anglesCode: {
            const std::optional<int> n = wholeNumber(value);
            if (!n) {
                return failure("--angles: " + inQuotes(value) + " is not a whole number");
            }
            if (*n < 0 || *n > maxAngles) {
                return failure("--angles: " + std::string(value) + " is out of range (0 to " +
                               std::to_string(maxAngles) + ")");
            }
            o.angles = *n;
            break;
        }
        case noLabelsCode:
            o.showLabels = false;
            break;
        case noListingCode:
            o.showListing = false;
            break;
        case pickCode: {
            const std::size_t comma = value.find(',');
            const auto x = wholeNumber(value.substr(0, comma));
            const auto y =
                comma == value.npos ? std::nullopt : wholeNumber(value.substr(comma + 1));
            if (!x || !y) {
                return failure("--pick: " + inQuotes(value) +
                               " is not X,Y (two whole numbers and a comma)");
            }
            if (*x < 0 || *x >= windowWidth || *y < 0 || *y >= windowHeight) {
                return failure("--pick: " + std::string(value) + " lies outside the " +
                               windowSize() + " window (0 to " + std::to_string(windowWidth - 1) +
                               ", 0 to " + std::to_string(windowHeight - 1) + ")");
            }
            o.pick = Click{*x, *y};
            o.select.reset();
            break;
        }
        case selectCode:
            o.select = parseRecordName(value);
            if (!o.select) {
                return failure("--select: " + inQuotes(value) +
                               " is not a record name (v, f or e and a number, as v3, f2, e7)");
            }
            o.pick.reset();
            break;
        case walkCode:
            if (value.empty()) {
                return failure("--walk: no steps given (letters e, n, p, o, v, f)");
            }
            for (std::size_t i = 0; i < value.size(); ++i) {
                if (!stepForLetter(value[i])) {
                    return failure("--walk: " + inQuotes(value) + ": letter " +
                                   std::to_string(i + 1) + " is not a step (e, n, p, o, v, f)");
                }
            }
            o.walk = value;
            break;
        case fontCode:
            if (value.empty()) {
                return failure("--font: the path is empty");
            }
            o.font = value;
            break;
        case 'o':
            if (value.empty()) {
                return failure("--output: the file name is empty");
            }
            o.output = value;
            break;
        case formatCode:
            format = formatNamed(std::string(value));
            if (!format) {
                return failure("--format: " + inQuotes(value) +
                               " is not one of png, svg, md, csv, json");
            }
            break;
        case 'h':
            command.action = Command::help;
            return command;
        case 'V':
            command.action = Command::version;
            return command;
        case ':': {
            const option* known = byCode(optopt);
            return failure(std::string(known ? "--" : "-") +
                           (known ? known->name : std::string(1, static_cast<char>(optopt))) +
                           ": needs a value");
        }
        default: {
            // getopt_long leaves the offending word just before optind.
            std::string word = argv[optind - 1];
            word = word.substr(0, word.find('='));
            if (const option* known = byCode(optopt); known && !known->has_arg) {
                return failure("--" + std::string(known->name) + ": takes no value");
            }
            if (optopt > 0 && optopt < 256 && word.rfind("--", 0) != 0) {
                word = std::string("-") + static_cast<char>(optopt);
            }
            return failure(word + ": unknown option (see --help)");
        }
        }
    }
    if (optind < argc) {
        return failure(inQuotes(argv[optind]) +
                       ": unexpected argument (the file to write goes after --output)");
    }
    if (!o.walk.empty() && !o.pick && !o.select) {
        return failure("--walk: nothing to start from (give --pick or --select)");
    }
    if (o.output.empty()) {
        return failure("--output: missing (the file to write, or - with --format)");
    }
    if (o.output == "-") {
        if (!format || *format == Format::png) {
            return failure("--output: - (standard output) takes a text format: --format svg, "
                           "md, csv or json");
        }
    } else if (!format) {
        std::string ext = std::filesystem::path(o.output).extension().string();
        format = formatNamed(ext.empty() ? ext : ext.substr(1));
        if (!format) {
            return failure("--output: " + inQuotes(o.output) +
                           " has no known extension (.png, .svg, .md, .csv, .json); or give "
                           "--format");
        }
    }
    o.format = *format;
    command.action = Command::run;
    return command;
}

namespace {

// What the name ranges over at this size: "v0 to v5", or why there is nothing.
std::string namesAt(const Subdivision& s, RecordRef::Kind kind) {
    const std::size_t count = kind == RecordRef::vertex ? s.vertices.size()
                              : kind == RecordRef::face ? s.faces.size()
                                                        : s.halfEdges.size();
    if (count == 0) {
        return "the structure is empty";
    }
    return recordName({kind, 0}) + " to " + recordName({kind, static_cast<int>(count) - 1});
}

} // namespace

std::string selectAndWalk(Subdivision& s, const ExportOptions& options) {
    if (options.pick) {
        s.pick(options.pick->x, options.pick->y);
    } else if (options.select && !s.select(*options.select)) {
        return "--select: " + recordName(*options.select) +
               " does not exist at N = " + std::to_string(options.angles) + " (" +
               namesAt(s, options.select->kind) + ")";
    }
    for (std::size_t i = 0; i < options.walk.size(); ++i) {
        const char letter = options.walk[i];
        const RecordRef from = s.selected();
        if (s.step(*stepForLetter(letter))) {
            continue;
        }
        const std::string step =
            "--walk: step " + std::to_string(i + 1) + " '" + std::string(1, letter) + "' ";
        if (from.kind == RecordRef::none) {
            return step + "has nothing to start from (at N = " + std::to_string(options.angles) +
                   " the structure is empty)";
        }
        return step + (*stepForLetter(letter) == Step::edge ? "needs a picked vertex or face"
                                                            : "needs a picked half-edge");
    }
    return "";
}
