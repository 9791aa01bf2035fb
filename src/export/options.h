#pragma once

#include "model/subdivision.h"
#include "model/walk.h"

#include <optional>
#include <string>

// What hexil-export writes.
enum class Format { png, svg, markdown, csv, json };

// A window pixel clicked with the left button.
struct Click {
    int x = 0;
    int y = 0;
};

// One export: the viewer's state and where it goes.
struct ExportOptions {
    int angles = startAngles;
    bool showLabels = true;
    bool showListing = true;
    std::optional<Click> pick;       // at most one of pick and select is set
    std::optional<RecordRef> select; // a record picked by name, as h over its listing row
    std::string walk;                // step letters (e n p o v f, either case) to follow
                                     // from the pick or the selected record
    std::string font;   // empty: tahoma.ttf in the working directory, then the default font
    std::string output; // "-" for standard output
    Format format = Format::png;
};

struct Command {
    enum Action { run, help, version, fail };
    Action action = fail;
    ExportOptions options;
    std::string error; // for fail: one line naming the option and the reason
};

// Reads the command line with getopt_long:
//   --angles N (0 to maxAngles, default startAngles), --no-labels, --no-listing, --pick X,Y
//   (a pixel of the window), --select NAME (v3, f2, e7), --walk STEPS (letters e n p o v
//   f), --font PATH, --output/-o FILE, --format png|svg|md|csv|json, --help/-h,
//   --version/-V.
// The format is --format's when given, else FILE's extension (case-blind); "-" writes a
// text format (not png) to standard output and needs --format. Later options override
// earlier ones: of --pick and --select the later one counts, and so does the later
// --walk. A walk needs --pick or --select to start from. Whether the selected record
// exists and each step applies depends on the structure: selectAndWalk tells. Nothing
// is opened or checked on disk here.
Command parseCommand(int argc, char* argv[]);

// Makes the selection the options ask for on the structure built from them: the click,
// or the record named; then each step of the walk in order. Returns the error line for
// bad input, naming the option and the reason ("--walk: step 2 'n' needs a picked
// half-edge"), and an empty text when everything applied.
std::string selectAndWalk(Subdivision& s, const ExportOptions& options);

// The usage text that --help prints.
std::string usage();

// The file name extension of a format, without the dot ("md" for markdown).
const char* extension(Format format);
