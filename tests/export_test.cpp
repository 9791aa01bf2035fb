#include "export/json_export.h"
#include "export/options.h"
#include "export/tables.h"
#include "model/subdivision.h"
#include "model/validation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <string>
#include <vector>

namespace {

using nlohmann::json;

Command parsed(std::vector<std::string> words) {
    words.insert(words.begin(), "hexil-export");
    std::vector<char*> argv;
    for (std::string& w : words) {
        argv.push_back(w.data());
    }
    argv.push_back(nullptr);
    return parseCommand(static_cast<int>(words.size()), argv.data());
}

// Each command line with what it gives: the options as "N labels listing pick format
// output", or the error line.
TEST(ExportOptions, CommandLines) {
    struct Case {
        std::vector<std::string> words;
        std::string expected;
    };
    // clang-format off
    const Case cases[] = {
        {{"-o", "a.png"}, "6 1 1 - png a.png"},
        {{"--angles", "0", "--no-labels", "--no-listing", "--output=x/A.SVG"}, "0 0 0 - svg x/A.SVG"},
        {{"--angles=9999", "--pick", "0,599", "-o", "t.md"}, "9999 1 1 0,599 md t.md"},
        {{"--pick", "999,0", "--output", "-", "--format", "json"}, "6 1 1 999,0 json -"},
        {{"--format", "csv", "-o", "table.txt"}, "6 1 1 - csv table.txt"},
        {{"--ang", "3", "-o", "b.json", "--angles", "4"}, "4 1 1 - json b.json"},
        {{"--angles", "x", "-o", "a.png"}, "--angles: \"x\" is not a whole number"},
        {{"--angles", "10000", "-o", "a.png"}, "--angles: 10000 is out of range (0 to 9999)"},
        {{"--angles", "-1", "-o", "a.png"}, "--angles: -1 is out of range (0 to 9999)"},
        {{"--angles", "6.5", "-o", "a.png"}, "--angles: \"6.5\" is not a whole number"},
        {{"--angles", "99999999999", "-o", "a.png"}, "--angles: \"99999999999\" is not a whole number"},
        {{"--pick", "3", "-o", "a.png"}, "--pick: \"3\" is not X,Y (two whole numbers and a comma)"},
        {{"--pick", "3,4,5", "-o", "a.png"}, "--pick: \"3,4,5\" is not X,Y (two whole numbers and a comma)"},
        {{"--pick", "1000,5", "-o", "a.png"}, "--pick: 1000,5 lies outside the 1000 x 600 window (0 to 999, 0 to 599)"},
        {{"--format", "gif", "-o", "a.png"}, "--format: \"gif\" is not one of png, svg, md, csv, json"},
        {{"-o", "a.txt"}, "--output: \"a.txt\" has no known extension (.png, .svg, .md, .csv, .json); or give --format"},
        {{"-o", "-"}, "--output: - (standard output) takes a text format: --format svg, md, csv or json"},
        {{"-o", "-", "--format", "png"}, "--output: - (standard output) takes a text format: --format svg, md, csv or json"},
        {{"--angles", "3"}, "--output: missing (the file to write, or - with --format)"},
        {{"-o", "a.png", "extra"}, "\"extra\": unexpected argument (the file to write goes after --output)"},
        {{"-o", "a.png", "--angles"}, "--angles: needs a value"},
        {{"-o"}, "--output: needs a value"},
        {{"--no-labels=1", "-o", "a.png"}, "--no-labels: takes no value"},
        {{"--frob", "-o", "a.png"}, "--frob: unknown option (see --help)"},
        {{"-x", "-o", "a.png"}, "-x: unknown option (see --help)"},
        {{"--font", "", "-o", "a.png"}, "--font: the path is empty"},
    };
    // clang-format on
    for (const Case& c : cases) {
        const Command command = parsed(c.words);
        std::string got = command.error;
        if (command.action == Command::run) {
            const ExportOptions& o = command.options;
            std::ostringstream text;
            text << o.angles << ' ' << o.showLabels << ' ' << o.showListing << ' '
                 << (o.pick ? std::to_string(o.pick->x) + "," + std::to_string(o.pick->y) : "-")
                 << ' ' << extension(o.format) << ' ' << o.output;
            got = text.str();
        }
        EXPECT_EQ(c.expected, got) << c.words.front();
    }
    EXPECT_EQ(Command::help, parsed({"--angles", "3", "--help"}).action);
    EXPECT_EQ(Command::version, parsed({"-V"}).action);
}

// The cells of the lines that start with prefix and a digit, split at separator; Markdown's outer
// pipes are dropped.
std::vector<std::vector<std::string>> rows(const std::string& text, const std::string& prefix,
                                           char separator) {
    std::vector<std::vector<std::string>> found;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(prefix, 0) != 0 ||
            !std::isdigit(static_cast<unsigned char>(line[prefix.size()]))) {
            continue;
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::vector<std::string> cells;
        std::istringstream in(separator == '|' ? line.substr(2, line.size() - 4) : line);
        for (std::string cell; std::getline(in, cell, separator);) {
            cells.push_back(cell.substr(cell.find_first_not_of(' ') == std::string::npos
                                            ? 0
                                            : cell.find_first_not_of(' ')));
            while (!cells.back().empty() && cells.back().back() == ' ') {
                cells.back().pop_back();
            }
        }
        if (line.back() == separator && separator == ',') {
            cells.emplace_back();
        }
        found.push_back(cells);
    }
    return found;
}

std::string n(const char* prefix, int number) {
    return prefix + std::to_string(number);
}

// A structure read back from its JSON document.
Subdivision fromJson(const json& d) {
    Subdivision s;
    for (const json& v : d.at("vertices")) {
        s.vertices.push_back({v.at("x"), v.at("y"), v.at("edge")});
    }
    for (const json& f : d.at("faces")) {
        s.faces.push_back({f.at("edge")});
    }
    for (const json& h : d.at("halfEdges")) {
        s.halfEdges.push_back(
            {h.at("target"), h.at("face"), h.at("prev"), h.at("next"), h.at("opp")});
    }
    if (const json& pick = d.at("selection"); !pick.is_null()) {
        s.pickedVertex = pick.at("vertex").is_null() ? -1 : pick.at("vertex").get<int>();
        s.pickedFace = pick.at("face").is_null() ? -1 : pick.at("face").get<int>();
        s.pickedVertexEdges = pick.at("vertexEdges").get<std::vector<int>>();
        s.pickedFaceNeighbours = pick.at("faceNeighbours").get<std::vector<int>>();
    }
    return s;
}

// For every N from 3 to 200, with the listing on and off and with nothing, vertex 0 or
// the outer face picked: every row of the Markdown and CSV tables against the model, and
// the JSON read back into the same records and selection, which pass the invariants.
TEST(ExportTables, EveryRecordAndLinkForNFrom3To200) {
    for (int angles = 3; angles <= 200; ++angles) {
        for (int view = 0; view < 4; ++view) {
            Subdivision s;
            s.showListing = view != 1;
            s.build(angles);
            ExportOptions o;
            o.angles = angles;
            o.showListing = s.showListing;
            if (view == 2) {
                o.pick = Click{s.vertices[0].x, s.vertices[0].y};
            } else if (view == 3) {
                o.pick = Click{999, 599};
            }
            if (o.pick) {
                s.pick(o.pick->x, o.pick->y);
            }
            const std::string what =
                "N = " + std::to_string(angles) + ", view " + std::to_string(view);
            ASSERT_EQ(view == 2, s.pickedVertex == 0) << what;

            const std::string md = markdownTables(s, o);
            const auto mv = rows(md, "| v", '|'), mf = rows(md, "| f", '|'),
                       mh = rows(md, "| e", '|');
            ASSERT_EQ(s.vertices.size(), mv.size()) << what;
            ASSERT_EQ(s.faces.size(), mf.size()) << what;
            ASSERT_EQ(s.halfEdges.size(), mh.size()) << what;
            const std::string csv = csvTable(s);
            const auto cv = rows(csv, "vertex,", ','), cf = rows(csv, "face,", ','),
                       ch = rows(csv, "half-edge,", ',');
            ASSERT_EQ(s.vertices.size(), cv.size()) << what;
            ASSERT_EQ(s.faces.size(), cf.size()) << what;
            ASSERT_EQ(s.halfEdges.size(), ch.size()) << what;
            for (int i = 0; i < angles; ++i) {
                const Vertex& v = s.vertices[i];
                EXPECT_EQ(
                    (std::vector<std::string>{n("v", i), n("", v.x), n("", v.y), n("e", v.edge)}),
                    mv[i])
                    << what;
                EXPECT_EQ((std::vector<std::string>{"vertex", n("", i), n("", v.x), n("", v.y),
                                                    n("", v.edge), "", "", "", "", "",
                                                    i == s.pickedVertex ? "picked" : ""}),
                          cv[i])
                    << what;
            }
            for (int j = 0; j < angles - 1; ++j) {
                const bool outer = j == angles - 2;
                const bool neighbour =
                    std::count(s.pickedFaceNeighbours.begin(), s.pickedFaceNeighbours.end(), j) > 0;
                EXPECT_EQ((std::vector<std::string>{n("f", j) + (outer ? " (outer)" : ""),
                                                    n("e", s.faces[j].edge)}),
                          mf[j])
                    << what;
                EXPECT_EQ((std::vector<std::string>{"face", n("", j), "", "",
                                                    n("", s.faces[j].edge), "", "", "", "", "",
                                                    j == s.pickedFace ? "picked"
                                                    : neighbour       ? "neighbour"
                                                                      : ""}),
                          cf[j])
                    << what;
            }
            for (int k = 0; k < 4 * angles - 6; ++k) {
                const HalfEdge& h = s.halfEdges[k];
                const bool at =
                    std::count(s.pickedVertexEdges.begin(), s.pickedVertexEdges.end(), k) > 0;
                EXPECT_EQ((std::vector<std::string>{n("e", k), n("v", h.target), n("f", h.face),
                                                    n("e", h.next), n("e", h.prev), n("e", h.opp)}),
                          mh[k])
                    << what;
                EXPECT_EQ(
                    (std::vector<std::string>{"half-edge", n("", k), "", "", "", n("", h.target),
                                              n("", h.face), n("", h.next), n("", h.prev),
                                              n("", h.opp), at ? "at picked vertex" : ""}),
                    ch[k])
                    << what;
            }

            const json document = json::parse(toJson(s, o).dump(2));
            const Subdivision back = fromJson(document);
            EXPECT_EQ(s.vertices, back.vertices) << what;
            EXPECT_EQ(s.faces, back.faces) << what;
            EXPECT_EQ(s.halfEdges, back.halfEdges) << what;
            EXPECT_EQ(s.pickedVertex, back.pickedVertex) << what;
            EXPECT_EQ(s.pickedFace, back.pickedFace) << what;
            EXPECT_EQ(s.pickedVertexEdges, back.pickedVertexEdges) << what;
            EXPECT_EQ(s.pickedFaceNeighbours, back.pickedFaceNeighbours) << what;
            const Violation broken = checkInvariants(back);
            EXPECT_FALSE(broken) << what << ": invariant " << broken.invariant << " "
                                 << broken.what;
            EXPECT_EQ(angles, document.at("angles")) << what;
            EXPECT_TRUE(document.at("faces").back().at("outer").get<bool>()) << what;
        }
    }
}

// The selection as the handout states it, for the triangle.
TEST(ExportTables, SelectionOfTheTriangle) {
    struct Case {
        int x, y;
        const char* line;
    };
    const Case cases[] = {
        {175, 429,
         "Left click at (175, 429): picked vertex v0 at (175, 429).\n\nHalf-edges that start or "
         "end there: e0, e1, e3, e4.\n"},
        {249, 299,
         "Left click at (249, 299): picked face f0.\n\nFaces across its half-edges, in cycle "
         "order: f1, f1, f1.\n"},
        {600, 100,
         "Left click at (600, 100): picked face f1 (outer).\n\nFaces across its half-edges, in "
         "cycle order: f0, f0, f0.\n"},
    };
    for (const Case& c : cases) {
        Subdivision s;
        s.build(3);
        s.pick(c.x, c.y);
        ExportOptions o;
        o.angles = 3;
        o.pick = Click{c.x, c.y};
        const std::string md = markdownTables(s, o);
        EXPECT_EQ(c.line, md.substr(md.find("Left click"))) << c.x;
    }
    Subdivision empty;
    empty.build(2);
    ExportOptions o;
    o.angles = 2;
    o.pick = Click{1, 1};
    EXPECT_NE(std::string::npos, markdownTables(empty, o).find("nothing picked"));
}

} // namespace
