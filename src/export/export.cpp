#include "export/export.h"

#include "draw/frame.h"
#include "draw/layout.h"
#include "export/json_export.h"
#include "export/options.h"
#include "export/output_file.h"
#include "export/png_export.h"
#include "export/svg_painter.h"
#include "export/tables.h"

#include "mesh/mesh_file.h"
#include "mesh/planar_mesh.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <ostream>

namespace {

// The viewer's surface: 32 bits, red, green and blue bytes, no alpha.
SDL_Surface* frameSurface() {
    return SDL_CreateRGBSurface(SDL_SWSURFACE, windowWidth, windowHeight, frameBitsPerPixel,
                                0xff0000, 0x00ff00, 0x0000ff, 0);
}

std::string renderPng(const Subdivision& s, const StatusLine& status) {
    SDL_Surface* surface = frameSurface();
    if (!surface) {
        return {};
    }
    drawFrame(surface, s, status);
    std::string bytes = encodePng(surface);
    SDL_FreeSurface(surface);
    return bytes;
}

// Reads and opens the mesh file that option names, with its findings as lines on
// findingsOut. Null when the file cannot be read (one line on err) or the mesh does not
// open.
std::shared_ptr<const PlanarMesh> openMeshFile(const char* option, const std::string& path,
                                               std::ostream& findingsOut, std::ostream& err) {
    const FileBytes file = readMeshFile(path);
    if (!file.error.empty()) {
        err << "hexil-export: " << option << ": cannot read \"" << path << "\": " << file.error
            << '\n';
        return nullptr;
    }
    MeshOpening opening = openMesh(file.bytes, path);
    for (const std::string& line : opening.lines()) {
        findingsOut << line << '\n';
    }
    return opening.mesh;
}

bool readable(const std::string& path) {
    return std::ifstream(path).good();
}

// The fonts the viewer opens, at its two sizes; closed with SDL_ttf still running.
struct Fonts {
    Font status;
    Font labels;
    ~Fonts() {
        closeFont(status);
        closeFont(labels);
    }
    bool open(const std::string& path) {
        status = openFontPair(path.c_str(), layout::statusPointSize);
        labels = openFontPair(path.c_str(), layout::labelPointSize);
        return status.plain && labels.plain;
    }
};

struct TtfSession {
    bool started = TTF_Init() == 0;
    ~TtfSession() {
        if (started) {
            TTF_Quit();
        }
    }
};

} // namespace

int exportMain(int argc, char* argv[], std::ostream& out, std::ostream& err) {
    const Command command = parseCommand(argc, argv);
    switch (command.action) {
    case Command::help:
        out << usage();
        return 0;
    case Command::version:
        out << "hexil-export " HEXIL_VERSION "\n";
        return 0;
    case Command::fail:
        err << "hexil-export: " << command.error << '\n';
        return 2;
    case Command::check: {
        const auto mesh = openMeshFile("--check", command.options.check, out, err);
        if (mesh) {
            out << meshSummary(*mesh) << '\n';
        }
        return mesh ? 0 : 2;
    }
    case Command::run:
        break;
    }
    const ExportOptions& o = command.options;

    // The structure first: a mesh that does not open, a record that does not exist or a
    // step that does not apply is bad input, told before anything is opened.
    Subdivision s;
    if (!o.state.mesh.empty()) {
        s.mesh = openMeshFile("--mesh", o.state.mesh, err, err);
        if (!s.mesh) {
            return 2;
        }
    }
    const StateApplied applied = applyState(o.state, s);
    if (const std::string error = optionRefusal(o.state, applied, s); !error.empty()) {
        err << "hexil-export: " << error << '\n';
        return 2;
    }

    const TtfSession ttf;
    if (!ttf.started) {
        err << "hexil-export: TTF_Init: " << SDL_GetError() << '\n';
        return 1;
    }
    Fonts fonts;
    const bool picture = o.format == Format::png || o.format == Format::svg;
    if (!o.font.empty()) {
        if (!fonts.open(o.font)) {
            err << "hexil-export: --font: cannot open \"" << o.font << "\": " << SDL_GetError()
                << '\n';
            return 2;
        }
    } else if (picture) {
        const std::string here = std::string(layout::fontName) + ".ttf";
        if (!fonts.open(readable(here) ? here : HEXIL_DEFAULT_FONT)) {
            err << "hexil-export: --font: none given, and neither " << here << " here nor "
                << HEXIL_DEFAULT_FONT << " opens: " << SDL_GetError() << '\n';
            return 2;
        }
    }

    OutputFile file;
    if (o.output != "-" && !file.open(o.output)) {
        err << "hexil-export: --output: cannot write \"" << o.output << "\": " << file.error
            << '\n';
        return 2;
    }

    s.font = &fonts.labels;
    const StatusLine status{&fonts.status, o.state.angles, s.mesh ? s.mesh->name : std::string()};

    std::string bytes;
    switch (o.format) {
    case Format::png:
        bytes = renderPng(s, status);
        if (bytes.empty()) {
            err << "hexil-export: --output: the PNG could not be encoded\n";
            return 1;
        }
        break;
    case Format::svg:
        bytes = frameSvg(s, status);
        break;
    case Format::markdown:
        bytes = markdownTables(s, o.state);
        break;
    case Format::csv:
        bytes = csvTable(s);
        break;
    case Format::json:
        bytes = toJson(s, o.state).dump(2) + "\n";
        break;
    }

    if (o.output == "-") {
        out << bytes << std::flush;
        return out ? 0 : 2;
    }
    if (!file.commit(bytes)) {
        err << "hexil-export: --output: cannot write \"" << o.output << "\": " << file.error
            << '\n';
        return 2;
    }
    return 0;
}
