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
#include <array>
#include <charconv>
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
        {{"--mesh", "a.obj", "--angles", "6", "-o", "a.png"}, "--angles: not with --mesh (a mesh has no N)"},
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

// Worked from the records (the README's table of N = 3; the square's v2 at x 249, its
// triangles 0, 2, 1 and 0, 3, 2, its outer half-edges e6 to e9 ending at v0 to v3): the
// triangle's CSV; the square's with f0 picked at (200, 300), across e0, e1, e2 the outer
// face, f1 and the outer face; the triangle's JSON with v0 picked and no labels, its records
// as the CSV's (below).
TEST(ExportTables, WorkedDocuments) {
    Subdivision s;
    s.build(3);
    // clang-format off
    EXPECT_EQ("kind,number,x,y,edge,target,face,next,prev,opp,selected\r\nvertex,0,175,429,1,,,,,,\r\nvertex,1,174,170,0,,,,,,\r\n"
              "vertex,2,400,299,2,,,,,,\r\nface,0,,,0,,,,,,\r\nface,1,,,5,,,,,,\r\nhalf-edge,0,,,,0,0,1,2,4,\r\nhalf-edge,1,,,,2,0,2,0,3,\r\n"
              "half-edge,2,,,,1,0,0,1,5,\r\nhalf-edge,3,,,,0,1,4,5,1,\r\nhalf-edge,4,,,,1,1,5,3,0,\r\nhalf-edge,5,,,,2,1,3,4,2,\r\n", csvTable(s));
    s.build(4);
    s.pick(200, 300);
    EXPECT_EQ("kind,number,x,y,edge,target,face,next,prev,opp,selected\r\nvertex,0,250,450,4,,,,,,\r\nvertex,1,100,300,0,,,,,,\r\n"
              "vertex,2,249,150,3,,,,,,\r\nvertex,3,400,299,5,,,,,,\r\nface,0,,,0,,,,,,picked\r\nface,1,,,3,,,,,,neighbour\r\n"
              "face,2,,,9,,,,,,neighbour\r\nhalf-edge,0,,,,0,0,1,2,7,\r\nhalf-edge,1,,,,2,0,2,0,3,\r\nhalf-edge,2,,,,1,0,0,1,8,\r\n"
              "half-edge,3,,,,0,1,4,5,1,\r\nhalf-edge,4,,,,3,1,5,3,6,\r\nhalf-edge,5,,,,2,1,3,4,9,\r\nhalf-edge,6,,,,0,2,7,9,4,\r\n"
              "half-edge,7,,,,1,2,8,6,0,\r\nhalf-edge,8,,,,2,2,9,7,2,\r\nhalf-edge,9,,,,3,2,6,8,5,\r\n", csvTable(s));
    s.build(3);
    s.pick(175, 429);
    StateWords o;
    o.angles = 3, o.showLabels = false, o.pick = Click{175, 429};
    json document = toJson(s, o);
    EXPECT_TRUE(document["vertices"].size() == 3 && document["faces"].size() == 2 && document["halfEdges"].size() == 6);
    document.erase("vertices"), document.erase("faces"), document.erase("halfEdges");
    EXPECT_EQ(json::parse(R"({"program": "hexil-export", "version": ")" HEXIL_VERSION R"(", "angles": 3, "showLabels": false, "showListing": true,
        "selection": {"click": {"x": 175, "y": 429}, "vertex": 0, "face": null, "vertexEdges": [0, 1, 3, 4], "faceNeighbours": []}})"), document);
    // clang-format on
}

// For every N from 3 to 200 the CSV read back as text: the header, then n vertex, n - 1 face
// and 4n - 6 half-edge rows numbered in order and ended by CRLF, the kind's columns filled and
// the others empty, every coordinate in the window and every link a record's number; next
// and prev undo each other, opp pairs two half-edges running either way along one edge, a
// cycle keeps its face, a vertex's edge starts there and a face's lies in it. The JSON holds
// the same records, only the last face outer.
TEST(ExportTables, EveryNReadsBackAsAHalfEdgeStructure) {
    const char* kinds[] = {"vertex", "face", "half-edge"};
    const char* keys[] = {"vertices", "faces", "halfEdges", "x",    "y",  "edge",
                          "target",   "face",  "next",      "prev", "opp"};
    const char* filled[] = {"xxxxx      ", "xx  x      ", "xx   xxxxx "}; // columns 0 to 10
    for (int angles = 3; angles <= 200; ++angles) {
        Subdivision s;
        s.build(angles);
        StateWords o;
        o.angles = angles;
        json document = toJson(s, o);
        const std::string csv = csvTable(s), what = n("N = ", angles);
        const int e = 4 * angles - 6, counts[] = {angles, angles - 1, e};
        const int limits[] = {0, 0, 1000, 600, e, angles, angles - 1, e, e, e};
        ASSERT_TRUE(csv.starts_with("kind,number,x,y,edge,target,face,next,prev,opp,selected\r\n"));
        std::istringstream lines(csv.substr(csv.find('\n') + 1));
        std::string line, cell;
        std::vector<std::array<int, 10>> records[3]; // each row's columns read as numbers
        for (int k = 0; k < 3; ++k) {
            ASSERT_EQ(counts[k], document[keys[k]].size()) << what;
            for (int i = 0; i < counts[k]; ++i) {
                ASSERT_TRUE(std::getline(lines, line) && line.ends_with('\r')) << what << i;
                std::istringstream cells(line.replace(line.size() - 1, 1, ","));
                json& record = document[keys[k]][i];
                EXPECT_TRUE(record["number"] == i &&
                            (k != 1 || record["outer"] == (i == angles - 2)));
                std::array<int, 10>& values = records[k].emplace_back();
                int c = 0;
                for (; std::getline(cells, cell, ',') && c < 11; ++c) {
                    int v = -1;
                    std::from_chars(cell.data(), cell.data() + cell.size(), v);
                    EXPECT_TRUE(filled[k][c] == ' ' ? cell.empty()
                                : c == 0            ? cell == kinds[k]
                                : c == 1            ? cell == n("", i)
                                                    : n("", v) == cell && v >= 0 && v < limits[c] &&
                                               record[keys[c + 1]] == v)
                        << what << " " << line << " column " << c;
                    if (c >= 2 && c < 10) {
                        values[c] = std::clamp(v, 0, std::max(limits[c] - 1, 0)); // an index
                    }
                }
                ASSERT_EQ(11, c) << what << " " << line;
            }
        }
        EXPECT_FALSE(std::getline(lines, line)) << what;
        const auto& h = records[2]; // columns 5 to 9: target, face, next, prev, opp
        for (int x = 0; x < e; ++x) {
            const auto& a = h[x];
            EXPECT_TRUE(h[a[8]][7] == x && h[a[7]][8] == x && a[9] != x && h[a[9]][9] == x &&
                        h[a[7]][6] == a[6] && h[a[9]][5] == h[a[8]][5] && h[h[a[9]][8]][5] == a[5])
                << what << " e" << x;
        }
        for (int v = 0; v < angles; ++v) {
            EXPECT_EQ(v, h[h[records[0][v][4]][8]][5]) << what << " v" << v;
        }
        for (int f = 0; f < angles - 1; ++f) {
            EXPECT_EQ(f, h[records[1][f][4]][6]) << what << " f" << f;
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
        {{"--mesh", HEXIL_MESHES "/square-hole.obj", "--select", "f10"}, "--select: f10 does not exist in square-hole.obj (f0 to f9)"},
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

// --check writes the findings and, when the mesh opens, its summary to standard output;
// --mesh writes the findings to standard error and, on an error, nothing else. A triangle
// with a spare vertex, worked out by hand: v0 to v2 at (0, 0), (1, 0), (0, 1), v3 at
// (5, 5.25) scaled by 320 / 5 into x 60 to 380 and centred in y 100 to 560 (336 of 460
// high: y 0 at 498); e3 to e5 the boundary loop from across e0 on.
TEST(ExportMesh, CheckFindingsAndTheRecordsOfAFile) {
    const WorkingDirectory dir(false);
    std::ofstream("bad.obj") << "v 0 0 0\nv 1 0 0\nf 1 2 7\nf 1 2\n";
    std::ofstream("spare.off") << "OFF\n4 1 0\n0 0 0\n1 0 0\n0 1 0\n5 0.525e1 0\n3 0 1 2\n";
    const std::string bad = "bad.obj:3: error: face 0 uses vertex 7, but the file has 2 vertices\n"
                            "bad.obj:4: error: face 1 has 2 corners, fewer than three\n";
    const std::string spare =
        "spare.off:6: warning: vertex v3 is used by no face: it keeps its number, with no edge\n";
    const std::string none = ": cannot read \"none.obj\": No such file or directory\n";
    // clang-format off
    const std::tuple<std::vector<std::string>, int, std::string, std::string> cases[] = {
        {{"--check", HEXIL_MESHES "/square-hole.obj"}, 0, "square-hole.obj: 16 vertices, 8 faces and 2 boundary loops (1 outer, 1 hole), 48 half-edges\n", ""},
        {{"--check", "spare.off"}, 0, spare + "spare.off: 4 vertices, 1 face and 1 boundary loop (1 outer, 0 holes), 6 half-edges\n", ""},
        {{"--check", "bad.obj"}, 2, bad, ""}, {{"--check", "none.obj"}, 2, "", "hexil-export: --check" + none},
        {{"--mesh", "bad.obj", "-o", "x.csv"}, 2, "", bad}, {{"--mesh", "none.obj", "-o", "x.csv"}, 2, "", "hexil-export: --mesh" + none},
        {{"--mesh", "spare.off", "-o", "-", "--format", "csv"}, 0, "kind,number,x,y,edge,target,face,next,prev,opp,selected,line,boundary,readX,readY,readZ\r\n"
         "vertex,0,60,498,4,,,,,,,3,,0,0,0\r\nvertex,1,124,498,3,,,,,,,4,,1,0,0\r\nvertex,2,60,434,5,,,,,,,5,,0,1,0\r\nvertex,3,380,162,,,,,,,,6,,5,5.25,0\r\n"
         "face,0,,,0,,,,,,,7,,,,\r\nface,1,,,3,,,,,,,,outer,,,\r\nhalf-edge,0,,,,1,0,1,2,3,,,,,,\r\nhalf-edge,1,,,,2,0,2,0,5,,,,,,\r\n"
         "half-edge,2,,,,0,0,0,1,4,,,,,,\r\nhalf-edge,3,,,,0,1,4,5,0,,,,,,\r\nhalf-edge,4,,,,2,1,5,3,2,,,,,,\r\nhalf-edge,5,,,,1,1,3,4,1,,,,,,\r\n", spare}};
    // clang-format on
    for (const auto& [words, status, out, err] : cases) {
        std::ostringstream gotOut, gotErr;
        EXPECT_EQ(status, exportWith(words, gotOut, gotErr)) << words[1];
        EXPECT_EQ(out, gotOut.str()) << words[1];
        EXPECT_EQ(err, gotErr.str()) << words[1];
    }
    EXPECT_EQ((std::vector<std::string>{"bad.obj", "spare.off"}), filesHere());
    std::ostringstream md, json, err;
    exportWith({"--mesh", "spare.off", "--select", "f1", "-o", "-", "--format", "md"}, md, err);
    for (const char* part :
         {"# HEXIL, spare.off\n\n## Selection\n\nSelected f1: picked face f1 (outer).",
          "\n## Vertices of spare.off (4)\n\n| vertex | x | y | edge | line "
          "|\n|---|---:|---:|---|---:|\n",
          "| v3 | 380 | 162 | - | 6 |\n\n## Faces of spare.off (2)\n\n| face | edge | line "
          "|\n|---|---|---:|\n| f0 | e0 | 7 |\n| f1 (outer) | e3 |  |\n",
          "\n## Half-edges of spare.off (6)\n"}) {
        EXPECT_NE(std::string::npos, md.str().find(part)) << part;
    }
    exportWith({"--mesh", HEXIL_MESHES "/square-hole.obj", "-o", "-", "--format", "json"}, json,
               err);
    const nlohmann::json document = nlohmann::json::parse(json.str()), &faces = document["faces"];
    EXPECT_EQ(nlohmann::json::parse(
                  R"({"file": "square-hole.obj", "format": "obj", "vertices": 16, "faces": 8,
        "boundaryLoops": 2, "outer": 1, "holes": 1, "halfEdges": 48})"),
              document["source"]);
    EXPECT_TRUE(document["angles"].is_null() &&
                document["vertices"][0]["read"] == nlohmann::json({0, 0, 0}) &&
                document["vertices"][15]["read"] == nlohmann::json({3, 3, 0}) &&
                document["vertices"][15]["line"] == 19);
    nlohmann::json kinds = nlohmann::json::array();
    for (const int f : {0, 7, 8, 9}) {
        kinds.push_back({faces[f]["line"], faces[f]["boundary"]});
    }
    EXPECT_EQ(nlohmann::json::parse(R"([[20, null], [27, null], [null, "outer"], [null, "hole"]])"),
              kinds);
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
