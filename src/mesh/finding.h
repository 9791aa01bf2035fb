#pragma once

#include <string>
#include <string_view>
#include <vector>

// One thing a mesh file's reader or checker has to say, tied to the file's line.
struct Finding {
    enum Kind { error, warning, note };
    Kind kind = error;
    int line = 0; // counted from 1; 0 for the file as a whole
    std::string text;
};

// The findings of one file, in the order they were found. Errors keep the mesh from
// opening; warnings and notes do not. Past maxFindingsOfAKind errors (or warnings) only
// their number is kept.
struct Findings {
    std::vector<Finding> kept;
    int errors = 0;
    int warnings = 0;

    void add(Finding::Kind kind, int line, std::string text);
    bool failed() const { return errors > 0; }
    // Every finding as the lines compilers write, which editors jump to:
    //   square-hole.obj:12: error: face 5 uses vertex 40, but the file has 32 vertices
    // and, past the cap, one line with the number left out:
    //   square-hole.obj: error: 130 more errors
    std::vector<std::string> lines(std::string_view fileName) const;
};

constexpr int maxFindingsOfAKind = 25;
