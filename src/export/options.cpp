#include "export/options.h"

#include "model/subdivision.h"

#include <getopt.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <string_view>

namespace {

// Long options without a short form get codes above any character; a state word's option
// its word's code.
enum Code { noLabelsCode = 256, noListingCode, fontCode, formatCode, checkCode, stateWordCode };

constexpr int codeOf(StateWord word) {
    return stateWordCode + static_cast<int>(word);
}

const option longOptions[] = {
    {"angles", required_argument, nullptr, codeOf(StateWord::angles)},
    {"no-labels", no_argument, nullptr, noLabelsCode},
    {"no-listing", no_argument, nullptr, noListingCode},
    {"pick", required_argument, nullptr, codeOf(StateWord::pick)},
    {"select", required_argument, nullptr, codeOf(StateWord::select)},
    {"walk", required_argument, nullptr, codeOf(StateWord::walk)},
    {"mesh", required_argument, nullptr, codeOf(StateWord::mesh)},
    {"check", required_argument, nullptr, checkCode},
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
           "  or:  hexil-export --check MESH\n"
           "Writes what the HEXIL viewer shows for one state, or its records as tables.\n"
           "\n"
           "  --angles N      corners of the polygon, 0 to " +
           std::to_string(maxAngles) + " (default " + std::to_string(startAngles) +
           "; below 3: empty)\n"
           "  --mesh MESH     a planar mesh file (OBJ or OFF) in place of the polygon\n"
           "                  (not with --angles); its findings go to standard error\n"
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
           std::to_string(windowWidth) + " x " + std::to_string(windowHeight) +
           " frame, FILE.svg the same as vector\n"
           "                  shapes, FILE.md or FILE.csv the record tables, FILE.json the\n"
           "                  records and links; - for standard output (with --format)\n"
           "  --format F      png, svg, md, csv or json, whatever FILE's extension\n"
           "  --check MESH    print MESH's findings (file:line: error: ...) and a summary\n"
           "                  to standard output; no --output needed\n"
           "  -h, --help      show this help and exit\n"
           "  -V, --version   show the version and exit\n"
           "\n"
           "A mesh's records: vertices in file order (v0 the file's first vertex); faces\n"
           "the file's in file order, then one per boundary loop (outer or hole), the loops\n"
           "in the order of the lowest-numbered half-edge across from them; half-edges face\n"
           "by face, each face's from its first corner on; a vertex's edge the\n"
           "lowest-numbered boundary half-edge leaving it, else the lowest leaving it.\n"
           "\n"
           "Exit status: 0 when the file was written (--check: when the mesh opens), 2 for\n"
           "bad input (nothing is written).\n";
}

Command parseCommand(int argc, char* argv[]) {
    Command command;
    ExportOptions& o = command.options;
    std::optional<Format> format;
    bool anglesGiven = false;
    optind = 0; // a fresh scan, also when called again
    opterr = 0;
    int code;
    while ((code = getopt_long(argc, argv, ":o:hV", longOptions, nullptr)) != -1) {
        const std::string_view value = optarg ? optarg : "";
        if (code >= stateWordCode) {
            const StateWord word = StateWord(code - stateWordCode);
            if (const WordFault fault = readStateWord(word, value, o.state); fault.kind) {
                return failure(optionRefusal(word, fault, value));
            }
            anglesGiven = anglesGiven || word == StateWord::angles;
            continue;
        }
        switch (code) {
        case noLabelsCode:
            o.state.showLabels = false;
            break;
        case noListingCode:
            o.state.showListing = false;
            break;
        case fontCode:
            if (value.empty()) {
                return failure("--font: the path is empty");
            }
            o.font = value;
            break;
        case checkCode:
            if (value.empty()) {
                return failure("--check: the file name is empty");
            }
            o.check = value;
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
    if (anglesGiven && !o.state.mesh.empty()) {
        return failure("--angles: not with --mesh (a mesh has no N)");
    }
    if (!o.check.empty()) {
        command.action = Command::check;
        return command;
    }
    if (!o.state.walk.empty() && !o.state.pick && !o.state.select) {
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
