#pragma once

#include <iosfwd>

// hexil-export with the command line argv: parses it, opens the fonts when a picture is
// asked for (or a font is named), builds the polygon or opens --mesh's file in the asked
// state, makes the file and writes it whole (or to out for "-"). --help and --version
// print to out. A bad command line, a mesh file that cannot be read, a font that does not
// open or a file that cannot be written is one line on err naming the option and the
// reason, and status 2 with nothing written. A mesh's findings (openMesh) are written to
// err as Findings::lines does, named by the file's name without its folder; one with an
// error is status 2 with nothing written. --check FILE writes FILE's findings and, when
// it opens, meshSummary's line to out: status 0 when it opens, else 2. Returns the exit
// status: 0 on success, 1 when SDL_ttf or the PNG encoder fails.
int exportMain(int argc, char* argv[], std::ostream& out, std::ostream& err);
