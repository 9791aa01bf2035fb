#include "app_fixture.h"
#include "export/export.h"
#include "export/json_export.h"
#include "export/options.h"
#include "export/output_file.h"
#include "export/svg_painter.h"
#include "export/tables.h"
#include "model/subdivision.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using nlohmann::json;

// Runs main on the command line "hexil-export WORDS...".
template <class Main> auto withArguments(std::vector<std::string> words, Main main) {
    words.insert(words.begin(), "hexil-export");
    std::vector<char*> argv;
    for (std::string& w : words) {
        argv.push_back(w.data());
    }
    argv.push_back(nullptr);
    return main(static_cast<int>(words.size()), argv.data());
}

const auto parsed = [](const std::vector<std::string>& words) {
    return withArguments(words, parseCommand);
};

// Each command line and its options ("N labels listing pick format output") or error line.
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
        {{"--angles", "6.5", "-o", "a.png"}, "--angles: \"6.5\" is not a whole number"},
        {{"--pick", "3", "-o", "a.png"}, "--pick: \"3\" is not X,Y (two whole numbers and a comma)"},
        {{"--format", "gif", "-o", "a.png"}, "--format: \"gif\" is not one of png, svg, md, csv, json"},
        {{"-o", "a.txt"}, "--output: \"a.txt\" has no known extension (.png, .svg, .md, .csv, .json); or give --format"},
        {{"-o", "-"}, "--output: - (standard output) takes a text format: --format svg, md, csv or json"},
        {{"-o", "-", "--format", "png"}, "--output: - (standard output) takes a text format: --format svg, md, csv or json"},
        {{"--angles", "3"}, "--output: missing (the file to write, or - with --format)"},
        {{"-o", "a.png", "extra"}, "\"extra\": unexpected argument (the file to write goes after --output)"},
        {{"-o", "a.png", "--angles"}, "--angles: needs a value"}, {{"-o"}, "--output: needs a value"},
        {{"--no-labels=1", "-o", "a.png"}, "--no-labels: takes no value"},
        {{"--frob", "-o", "a.png"}, "--frob: unknown option (see --help)"}, {{"-x", "-o", "a.png"}, "-x: unknown option (see --help)"},
        {{"--font", "", "-o", "a.png"}, "--font: the path is empty"},
    };
    // clang-format on
    for (const Case& c : cases) {
        const Command command = parsed(c.words);
        std::string got = command.error;
        if (command.action == Command::run) {
            const ExportOptions& o = command.options;
            std::ostringstream text;
            const StateWords& w = o.state;
            text << w.angles << ' ' << w.showLabels << ' ' << w.showListing << ' '
                 << (w.pick ? std::to_string(w.pick->x) + "," + std::to_string(w.pick->y) : "-")
                 << ' ' << extension(o.format) << ' ' << o.output;
            got = text.str();
        }
        EXPECT_EQ(c.expected, got) << c.words.front();
    }
    EXPECT_EQ(Command::help, parsed({"--angles", "3", "--help"}).action);
    EXPECT_EQ(Command::version, parsed({"-V"}).action);
}

const auto n = [](const char* prefix, int number) { return prefix + std::to_string(number); };

// For every N from 3 to 200 and four views (listing off, labels off, vertex 0 or the outer
// face picked): the CSV and the JSON document, written out from the model's records.
TEST(ExportTables, EveryRecordAndLinkForNFrom3To200) {
    for (int angles = 3; angles <= 200; ++angles) {
        for (int view = 0; view < 4; ++view) {
            Subdivision s;
            s.showListing = view != 1;
            s.build(angles);
            StateWords o;
            o.angles = angles;
            o.showListing = s.showListing;
            o.showLabels = view != 2;
            if (view >= 2) {
                o.pick = view == 2 ? Click{s.vertices[0].x, s.vertices[0].y} : Click{999, 599};
                s.pick(o.pick->x, o.pick->y);
            }
            const std::string what = n("N = ", angles) + n(", view ", view);
            ASSERT_EQ(view == 2, s.pickedVertex == 0) << what;
            std::string csv = "kind,number,x,y,edge,target,face,next,prev,opp,selected\r\n";
            json records[3];
            // clang-format off
            for (int i = 0; i < angles; ++i) {
                const Vertex& v = s.vertices[i];
                csv += n("vertex,", i) + n(",", v.x) + n(",", v.y) + n(",", v.edge) + ",,,,,," +
                       (i == s.pickedVertex ? "picked" : "") + "\r\n";
                records[0].push_back({{"number", i}, {"x", v.x}, {"y", v.y}, {"edge", v.edge}});
            }
            for (int j = 0; j < angles - 1; ++j) {
                const bool outer = j == angles - 2;
                const int edge = s.faces[j].edge;
                csv += n("face,", j) + n(",,,", edge) + ",,,,,," + (j == s.pickedFace ? "picked"
                       : std::ranges::count(s.pickedFaceNeighbours, j) ? "neighbour" : "") + "\r\n";
                records[1].push_back({{"number", j}, {"edge", edge}, {"outer", outer}});
            }
            for (int k = 0; k < 4 * angles - 6; ++k) {
                const HalfEdge& h = s.halfEdges[k];
                csv += n("half-edge,", k) + n(",,,,", h.target) + n(",", h.face) + n(",", h.next) +
                       n(",", h.prev) + n(",", h.opp) + "," +
                       (std::ranges::count(s.pickedVertexEdges, k) ? "at picked vertex" : "") + "\r\n";
                records[2].push_back({{"number", k}, {"target", h.target}, {"face", h.face},
                                      {"next", h.next}, {"prev", h.prev}, {"opp", h.opp}});
            }
            // clang-format on
            EXPECT_EQ(csv, csvTable(s)) << what;
            json document = json::parse(toJson(s, o).dump(2)), none;
            document.erase("program");
            document.erase("version");
            // clang-format off
            EXPECT_EQ(json({{"angles", angles}, {"showLabels", o.showLabels}, {"showListing", o.showListing},
                            {"vertices", records[0]}, {"faces", records[1]}, {"halfEdges", records[2]},
                            {"selection", view < 2 ? none : json({{"click", {{"x", o.pick->x}, {"y", o.pick->y}}},
                                {"vertex", view == 2 ? json(0) : none}, {"face", view == 3 ? json(angles - 2) : none},
                                {"vertexEdges", s.pickedVertexEdges}, {"faceNeighbours", s.pickedFaceNeighbours}})}}),
                      document) << what;
            // clang-format on
        }
    }
}

// A click's selection as the handout states it: the triangle's outer face, the empty structure.
TEST(ExportTables, SelectionOfTheTriangle) {
    // clang-format off
    const std::tuple<int, int, std::string> cases[] = {
        {600, 100, "Left click at (600, 100): picked face f1 (outer).\n\nFaces across its half-edges, in cycle order: f0, f0, f0.\n"},
        {1, 1, "Left click at (1, 1): nothing picked (the structure is empty).\n"}};
    // clang-format on
    for (const auto& [x, y, line] : cases) {
        const int angles = x == 1 ? 2 : 3; // the empty structure picks nothing
        Subdivision s;
        s.build(angles);
        s.pick(x, y);
        StateWords o;
        o.angles = angles;
        o.pick = Click{x, y};
        const std::string md = markdownTables(s, o);
        EXPECT_EQ(line, md.substr(md.find("Left click"))) << x;
    }
}

std::vector<std::string> filesHere() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A file replaces its target whole, with the umask's mode; one abandoned or failed changes nothing.
TEST(ExportOutput, WholeFileWithTheUsualModeOrNothing) {
    const WorkingDirectory dir(false);
    const std::vector<std::string> target = {"out.csv"};
    for (auto [mask, mode] : {std::pair{022, 0644}, {027, 0640}}) {
        const mode_t before = ::umask(mask);
        OutputFile file;
        ASSERT_TRUE(file.open("out.csv"));
        EXPECT_TRUE(file.commit("a,b\r\n"));
        ::umask(before);
        struct stat written {};
        ASSERT_EQ(0, ::stat("out.csv", &written));
        EXPECT_EQ(mode, static_cast<int>(written.st_mode & 0777)) << std::oct << mask;
        EXPECT_EQ(target, filesHere());
    }
    {
        OutputFile abandoned;
        ASSERT_TRUE(abandoned.open("out.csv"));
        OutputFile failed;
        ASSERT_TRUE(failed.open("out.csv"));
        ::close(failed.descriptor);
        EXPECT_FALSE(failed.commit("x"));
    }
    EXPECT_EQ(target, filesHere());
    EXPECT_EQ("a,b\r\n", dir.read("out.csv"));
}

int exportWith(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    return withArguments(words,
                         [&](int argc, char** argv) { return exportMain(argc, argv, out, err); });
}

// Without --font and tahoma.ttf the picture uses the default font. A font or output failing on the
// way to the disk: status 2, one line on standard error naming the option, nothing written, a file
// there kept.
TEST(ExportMain, FailuresLeaveNothingAndTheDefaultFontServes) {
    const WorkingDirectory dir(false);
    std::ostringstream svg, err;
    EXPECT_EQ(0, exportWith({"--angles", "3", "-o", "-", "--format", "svg"}, svg, err));
    EXPECT_NE(std::string::npos, svg.str().find(">Angles: 3</text>")) << svg.str();
    EXPECT_NE(std::string::npos, svg.str().find("font-family=\"DejaVu Sans\""));
    std::ofstream("kept.png") << "old";
    std::ofstream("a-file");
    // clang-format off
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--font", "missing.ttf", "-o", "x.png"}, "--font: "}, {{"--font", "a-file", "-o", "x.svg"}, "--font: "},
        {{"--font", "missing.ttf", "-o", "x.md"}, "--font: "}, {{"--font", "missing.ttf", "-o", "kept.png"}, "--font: "},
        {{"-o", "/proc/x.png"}, "--output: "}, {{"-o", "no-such-dir/x.png"}, "--output: "}, {{"-o", "a-file/x.png"}, "--output: "}};
    // clang-format on
    for (const auto& [words, option] : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(2, exportWith(words, out, err)) << words.back();
        const std::string line = err.str();
        EXPECT_EQ(0u, line.rfind("hexil-export: " + option, 0)) << line;
        EXPECT_EQ(line.find('\n'), line.size() - 1) << line;
        EXPECT_EQ("", out.str());
        EXPECT_EQ((std::vector<std::string>{"a-file", "kept.png"}), filesHere()) << words.back();
    }
    EXPECT_EQ("old", dir.read("kept.png"));
}

// Every bad --select and --walk: status 2, one line on standard error, nothing written.
TEST(ExportMain, BadSelectionsAndWalks) {
    const WorkingDirectory dir(false);
    // clang-format off
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--select", "e99999999999"}, "--select: \"e99999999999\" is not a record name (v, f or e and a number, as v3, f2, e7)"},
        {{"--select"}, "--select: needs a value"},
        {{"--select", "f5"}, "--select: f5 does not exist at N = 6 (f0 to f4)"},
        {{"--angles", "7", "--select", "e22"}, "--select: e22 does not exist at N = 7 (e0 to e21)"},
        {{"--select", "v0", "--angles", "2"}, "--select: v0 does not exist at N = 2 (the structure is empty)"},
        {{"--pick", "200,386", "--select", "v9"}, "--select: v9 does not exist at N = 6 (v0 to v5)"},
        {{"--select", "f0", "--walk", ""}, "--walk: no steps given (letters e, n, p, o, v, f)"},
        {{"--select", "f0", "--walk"}, "--walk: needs a value"},
        {{"--select", "v3", "--walk", "evN"}, "--walk: step 3 'N' needs a picked half-edge"},
        {{"--select", "e4", "--walk", "nnvn"}, "--walk: step 4 'n' needs a picked half-edge"},
    };
    // clang-format on
    for (const auto& [words, expected] : cases) {
        std::vector<std::string> command = words;
        command.insert(command.begin(), {"-o", "x.json"});
        std::ostringstream out, err;
        EXPECT_EQ(2, exportWith(command, out, err)) << expected;
        EXPECT_EQ("hexil-export: " + expected + "\n", err.str());
        EXPECT_EQ("", out.str());
        EXPECT_EQ(std::vector<std::string>{}, filesHere()) << expected;
        std::filesystem::remove("x.json");
    }
}

// A selection by name or a walk at N = 6 in the JSON, the Markdown above the tables and
// the CSV's selected column; of --pick and --select the later counts.
TEST(ExportMain, SelectionsAndWalksAtSix) {
    const json none;
    const std::vector<int> atV0 = {0, 1, 3, 4, 6, 7, 9, 10, 12, 13};
    struct Case {
        std::vector<std::string> words;
        json selection; // what the selection holds besides the defaults below
        std::string markdown, roles;
    };
    // clang-format off
    const Case cases[] = {
        {{"--select", "f0", "--walk", "eno"}, {{"halfEdge", 3}, {"next", 4}, {"prev", 5}, {"opp", 1}, {"walk", "f0.edge.next.opp = e3"}},
         "Selected f0, then the steps eno: picked half-edge e3.\n\nIts next, prev and opp: e4, e5, e1.\n\nWalk: `f0.edge.next.opp = e3`\n", "opp e1, picked e3, next e4, prev e5"},
        {{"--select", "v3", "--walk", "EP"}, {{"halfEdge", 8}, {"next", 6}, {"prev", 7}, {"opp", 16}, {"walk", "v3.edge.prev = e8"}},
         "Selected v3, then the steps ep: picked half-edge e8.\n\nIts next, prev and opp: e6, e7, e16.\n\nWalk: `v3.edge.prev = e8`\n", "next e6, prev e7, picked e8, opp e16"},
        {{"--select", "e4", "--walk", "f"}, {{"face", 1}, {"faceNeighbours", {0, 2, 4}}, {"walk", "e4.face = f1"}},
         "Selected e4, then the steps f: picked face f1.\n\nFaces across its half-edges, in cycle order: f0, f2, f4.\n\nWalk: `e4.face = f1`\n", "neighbour f0, picked f1, neighbour f2, neighbour f4"},
        {{"--select", "e9", "--walk", "v"}, {{"vertex", 0}, {"vertexEdges", atV0}, {"walk", "e9.target = v0"}},
         "Selected e9, then the steps v: picked vertex v0 at (325, 429).\n\nHalf-edges that start or end there: e0, e1, e3, e4, e6, e7, e9, e10, e12, e13.\n\nWalk: `e9.target = v0`\n",
         "picked v0, at picked vertex e0, at picked vertex e1, at picked vertex e3, at picked vertex e4, at picked vertex e6, at picked vertex e7, at picked vertex e9, at picked vertex e10, at picked vertex e12, at picked vertex e13"},
        {{"--pick", "200,386", "--walk", "e"}, {{"click", {{"x", 200}, {"y", 386}}}, {"halfEdge", 0}, {"next", 1}, {"prev", 2}, {"opp", 13}, {"walk", "f0.edge = e0"}},
         "Left click at (200, 386), then the steps e: picked half-edge e0.\n\nIts next, prev and opp: e1, e2, e13.\n\nWalk: `f0.edge = e0`\n", "picked e0, next e1, prev e2, opp e13"},
        {{"--pick", "200,386", "--select", "f2"}, {{"face", 2}, {"faceNeighbours", {1, 3, 4}}},
         "Selected f2: picked face f2.\n\nFaces across its half-edges, in cycle order: f1, f3, f4.\n", "neighbour f1, picked f2, neighbour f3, neighbour f4"},
        {{"--select", "e7", "--pick", "325,429"}, {{"click", {{"x", 325}, {"y", 429}}}, {"vertex", 0}, {"vertexEdges", atV0}},
         "", "picked v0, at picked vertex e0, at picked vertex e1, at picked vertex e3, at picked vertex e4, at picked vertex e6, at picked vertex e7, at picked vertex e9, at picked vertex e10, at picked vertex e12, at picked vertex e13"}};
    for (const Case& c : cases) {
        std::string text[3];
        int i = 0;
        for (const char* format : {"json", "md", "csv"}) {
            std::vector<std::string> command = c.words;
            command.insert(command.end(), {"-o", "-", "--format", format});
            std::ostringstream out, err;
            EXPECT_EQ(0, exportWith(command, out, err)) << err.str();
            text[i++] = out.str();
        }
        json expected = {{"click", none}, {"vertex", none}, {"face", none}, {"vertexEdges", json::array()}, {"faceNeighbours", json::array()}};
        if (c.words[2] != "--pick") { // by name or with a walk: the half-edge's keys too
            expected.update({{"halfEdge", none}, {"next", none}, {"prev", none}, {"opp", none}, {"walk", none}});
        }
        // clang-format on
        expected.update(c.selection);
        EXPECT_EQ(expected, json::parse(text[0])["selection"]) << c.words[1];
        const std::size_t tables = text[1].find("\n## Vertices");
        EXPECT_EQ("# HEXIL, N = 6\n" +
                      (c.markdown.empty() ? "" : "\n## Selection\n\n" + c.markdown),
                  text[1].substr(0, tables));
        const std::size_t section = text[1].find("## Selection"); // once, before or after
        EXPECT_EQ(text[1].rfind("## Selection"), section);
        EXPECT_EQ(c.markdown.empty(), section > tables) << c.words[1];
        std::string roles; // "ROLE NAME" for each row whose selected column says something
        std::istringstream rows(text[2]);
        for (std::string row; std::getline(rows, row);) {
            const std::size_t number = row.find(',') + 1, role = row.rfind(',') + 1;
            if (role + 1 < row.size() && row[0] != 'k') {
                roles += (roles.empty() ? "" : ", ") + row.substr(role, row.size() - role - 1) +
                         " " + (row[0] == 'h' ? "e" : row.substr(0, 1)) +
                         row.substr(number, row.find(',', number) - number);
            }
        }
        EXPECT_EQ(c.roles, roles) << c.words[1];
    }
}

// For N from 3 to 12, with a half-edge picked: each half-edge's SVG path is its window
// arrow's shaft and both wings on pixel centres, and the picked one's second copy as well.
TEST(ExportSvg, EveryArrowHasTheWindowsShaftAndWings) {
    for (int angles = 3; angles <= 12; ++angles) {
        Subdivision s;
        s.build(angles);
        s.select({RecordRef::halfEdge, angles});
        const std::string svg = frameSvg(s, StatusLine{});
        const Picture picture = framePicture(s, StatusLine{});
        for (const ArrowShape& shape : picture.arrows) {
            std::string d;
            const auto to = [&](char step, Pixel p) {
                d += step + n("", p.x) + n(".5 ", p.y) + ".5";
            };
            for (const Arrow& a : {shape.arrow, moved(shape.arrow, shape.copyOffset)}) {
                to('M', a.from), to('L', a.to), to('M', a.wing1), to('L', a.to), to('L', a.wing2);
                if (!shape.heavy()) {
                    break;
                }
            }
            EXPECT_NE(std::string::npos,
                      svg.find(n("<path id=\"e", shape.halfEdge) + "\" d=\"" + d + '"'))
                << angles << " e" << shape.halfEdge << ": " << d;
        }
        EXPECT_EQ(std::ranges::count(picture.arrows, true, &ArrowShape::heavy), 1);
        EXPECT_EQ(s.halfEdges.size(), picture.arrows.size());
    }
}

} // namespace
