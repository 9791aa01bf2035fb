#pragma once

#include "model/state_words.h"
#include "model/subdivision.h"

#include <optional>
#include <string>

// What hexil-export writes.
enum class Format { png, svg, markdown, csv, json };

// One export: the viewer's state and where it goes.
struct ExportOptions {
    StateWords state;
    std::string font;   // empty: tahoma.ttf in the working directory, then the default font
    std::string output; // "-" for standard output
    Format format = Format::png;
    std::string check; // --check's mesh file; empty otherwise
};

struct Command {
    enum Action { run, check, help, version, fail };
    Action action = fail;
    ExportOptions options;
    std::string error; // for fail: one line naming the option and the reason
};

// Reads the command line with getopt_long: the state's words as options (--angles N,
// --no-labels, --no-listing, --pick X,Y, --select NAME, --walk STEPS, --mesh FILE;
// state_words.h), --font PATH, --output/-o FILE, --format png|svg|md|csv|json,
// --check FILE, --help/-h, --version/-V. --angles with --mesh is refused: a mesh has no N.
// --check FILE makes the action check, which needs no --output (the other options are
// read, and refused when bad, but play no part).
// The format is --format's when given, else FILE's extension (case-blind); "-" writes a
// text format (not png) to standard output and needs --format. Later options override
// earlier ones: of --pick and --select the later one counts, and so does the later
// --walk. A walk needs --pick or --select to start from. Whether the selected record
// exists and each step applies depends on the structure: applyState and optionRefusal tell. Nothing
// is opened or checked on disk here.
Command parseCommand(int argc, char* argv[]);

// The usage text that --help prints.
std::string usage();

// The file name extension of a format, without the dot ("md" for markdown).
const char* extension(Format format);
