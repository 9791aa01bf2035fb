// The page's address, its words for the picture and its records tables, natively.
#include "export/html_tables.h"
#include "export/options.h"
#include "model/state_words.h"
#include "model/validation.h"
#include "web/description.h"
#include "web/link.h"

#include <gtest/gtest.h>

namespace {

// What a state shows: N, the two switches, what is picked and the walk.
std::string shown(int angles, const Subdivision& s) {
    return std::to_string(angles) + ' ' + std::to_string(s.showLabels) +
           std::to_string(s.showListing) + ' ' + recordName(s.selected()) + ' ' +
           s.walkExpression();
}

// hexil-export on the words of a fragment, each as its option: what it shows, or its
// error line.
std::string byCommandLine(const std::string& fragment) {
    std::vector<std::string> words{"hexil-export", "-o", "x.json"};
    for (std::size_t at = 0; at <= fragment.size();) {
        const std::size_t amp = std::min(fragment.find('&', at), fragment.size());
        const std::string part = fragment.substr(at, amp - at),
                          word = part.substr(0, part.find('='));
        at = amp + 1;
        if (word == "labels" || word == "listing") {
            words.push_back("--no-" + word);
        } else if (!part.empty()) {
            words.insert(words.end(), {"--" + word, part.substr(word.size() + 1)});
        }
    }
    std::vector<char*> argv;
    for (std::string& w : words) {
        argv.push_back(w.data());
    }
    const Command command = parseCommand(static_cast<int>(argv.size()), argv.data());
    if (command.action != Command::run) {
        return command.error;
    }
    Subdivision s;
    const StateApplied applied = applyState(command.options.state, s);
    const std::string refused = optionRefusal(command.options.state, applied, s);
    return refused.empty() ? shown(command.options.state.angles, s) : refused;
}

// One table of the state's words through both readers: the link and hexil-export's options
// (labels=0 and listing=0 as --no-labels and --no-listing).
TEST(StateWords, TheLinkAndTheCommandLineReadThemAlike) {
    const std::string huge(100000, 'n'), fill(4088, '&');
    const std::string all = "all of it (more than 4096 characters)";
    const std::string nameIt = "is not a record name (v, f or e and a number, as v3, f2, e7)";
    const std::string window = "lies outside the 1000 x 600 window (0 to 999, 0 to 599)";
    // fragment; what the link shows and its notice ("" for none); what hexil-export shows
    // or says ("" for the same as the link, "-" where it has no such options)
    // clang-format off
    const std::vector<std::tuple<std::string, std::string, std::string, std::string>> cases{
        {"", "6 11  ", "", ""},
        {"angles=6", "6 11  ", "", ""},
        {"angles=9999", "9999 11  ", "", ""},
        {"angles=10000", "6 11  ", "\"angles=10000\" (N is a number from 0 to 9999)", "--angles: 10000 is out of range (0 to 9999)"},
        {"angles=0", "0 11  ", "", ""},
        {"angles=-1", "6 11  ", "\"angles=-1\" (N is a number from 0 to 9999)", "--angles: -1 is out of range (0 to 9999)"},
        {"angles=-0", "6 11  ", "\"angles=-0\" (N is a number from 0 to 9999)", "--angles: -0 is out of range (0 to 9999)"},
        {"angles=+6", "6 11  ", "\"angles=+6\" (N is a number from 0 to 9999)", "--angles: \"+6\" is not a whole number"},
        {"angles=007&angles=3&angles=4", "4 11  ", "", ""},
        {"angles=99999999999", "6 11  ", "\"angles=99999999999\" (N is a number from 0 to 9999)", "--angles: \"99999999999\" is not a whole number"},
        {"labels=0&listing=0", "6 00  ", "", ""},
        {"labels=0&labels=1&listing=1", "6 11  ", "", "-"},
        {"labels=2&listing=", "6 11  ", "\"labels=2\" (0 or 1); \"listing=\" (0 or 1)", "-"},
        {"zoom=3&listing=0", "6 10  ", "\"zoom=3\" (not a word of the link)", "-"},
        {"pick=999,599", "6 11 f4 ", "", ""},
        {"pick=0,0", "6 11 f4 ", "", ""},
        {"pick=1000,599", "6 11  ", "\"pick=1000,599\" (a window pixel X,Y)", "--pick: 1000,599 " + window},
        {"pick=999,600", "6 11  ", "\"pick=999,600\" (a window pixel X,Y)", "--pick: 999,600 " + window},
        {"pick=-0,5", "6 11  ", "\"pick=-0,5\" (a window pixel X,Y)", "--pick: -0,5 " + window},
        {"pick=3,4,5", "6 11  ", "\"pick=3,4,5\" (a window pixel X,Y)", "--pick: \"3,4,5\" is not X,Y (two whole numbers and a comma)"},
        {"pick=325,429&select=f0", "6 11 f0 ", "", ""},
        {"select=f0&pick=325,429", "6 11 v0 ", "", ""},
        {"angles=2&select=v0&pick=1,1", "2 11  ", "\"pick=1,1\" (nothing to pick at N = 2)", ""},
        {"select=v6", "6 11  ", "\"select=v6\" (no such record at N = 6)", "--select: v6 does not exist at N = 6 (v0 to v5)"},
        {"select=v5", "6 11 v5 ", "", ""},
        {"select=x1", "6 11  ", "\"select=x1\" (a record's name such as v3, f2 or e7)", "--select: \"x1\" " + nameIt},
        {"select=f0&walk=ENO&&", "6 11 e3 f0.edge.next.opp = e3", "", ""},
        {"select=f0&walk=e&walk=en", "6 11 e1 f0.edge.next = e1", "", ""},
        {"pick=200,386&walk=e", "6 11 e0 f0.edge = e0", "", ""},
        {"select=e3&walk=nnnnnnnn", "6 11 e5 e3.next.next.next.next.next.next.next.next = e5", "", ""},
        {"select=e3&walk=nnnnnnnnn", "6 11 e3 e4.next.next.next.next.next.next.next.next = e3", "", ""},
        {"select=f0&walk=enxo", "6 11 e1 f0.edge.next = e1", "\"walk=xo\" (step 3 'x' is not e, n, p, o, v or f)", "--walk: \"enxo\": letter 3 is not a step (e, n, p, o, v, f)"},
        {"select=f0&walk=enoe", "6 11 e3 f0.edge.next.opp = e3", "\"walk=e\" (step 4 'e' does not apply to e3)", "--walk: step 4 'e' needs a picked vertex or face"},
        {"select=f0&walk=n", "6 11 f0 ", "\"walk=n\" (step 1 'n' does not apply to f0)", "--walk: step 1 'n' needs a picked half-edge"},
        {"walk=n", "6 11  ", "\"walk=n\" (step 1 'n' does not apply to nothing picked)", "--walk: nothing to start from (give --pick or --select)"},
        {"angles=2&pick=1,1&walk=e", "2 11  ", "\"pick=1,1\" (nothing to pick at N = 2); \"walk=e\" (step 1 'e' does not apply to nothing picked)", "--walk: step 1 'e' has nothing to start from (at N = 2 the structure is empty)"},
        {"angles=8" + fill, "8 11  ", "", "-"},
        {"angles=8&" + fill, "6 11  ", all, "-"},
        {huge, "6 11  ", all, "-"},
        {"select=f0&" + std::string(4000, 'x'), "6 11 f0 ", "\"xxxxxxxxxxxxxxxxxxxxxxxx...\" (not a word of the link)", "-"},
    };
    // clang-format on
    for (const auto& [fragment, state, notice, command] : cases) {
        const std::string name = fragment.substr(0, 60);
        int angles = startAngles;
        Subdivision s;
        s.build(angles);
        EXPECT_EQ(applyFragment(fragment, angles, s), notice) << name;
        EXPECT_FALSE(checkInvariants(s)) << name;
        EXPECT_EQ(shown(angles, s), state) << name;
        if (command != "-") {
            EXPECT_EQ(byCommandLine(fragment), command.empty() ? state : command) << name;
        }
    }
}

// Every record and every walk of up to two steps from it, at N = 3 to 9 with the switches
// set either way, comes back from its own fragment exactly.
TEST(Link, EveryStateComesBackFromItsFragment) {
    const auto state = [](int angles, const Subdivision& s) {
        return std::tuple(angles, s.showLabels, s.showListing, s.selected(), s.pickedVertexEdges,
                          s.pickedFaceNeighbours, s.walkPath, s.walkExpression());
    };
    for (int n = 3; n <= 9; ++n) {
        Subdivision s;
        s.showLabels = n % 2 == 0;
        s.showListing = n % 3 != 0;
        s.build(n);
        const auto roundTrip = [&](const Subdivision& walked) {
            int angles = startAngles;
            Subdivision back;
            back.build(angles);
            EXPECT_EQ(applyFragment(stateFragment(n, walked), angles, back), "");
            EXPECT_TRUE(state(angles, back) == state(n, walked)) << stateFragment(n, walked);
        };
        roundTrip(s);
        for (RecordRef::Kind kind : {RecordRef::vertex, RecordRef::face, RecordRef::halfEdge}) {
            for (int number = 0; s.exists({kind, number}); ++number) {
                for (int ab = 0; ab < 49; ++ab) { // two steps, 6 standing for none
                    Subdivision walked = s;
                    walked.select({kind, number});
                    if ((ab / 7 < 6 && !walked.step(Step(ab / 7))) ||
                        (ab % 7 < 6 && !walked.step(Step(ab % 7)))) {
                        continue;
                    }
                    roundTrip(walked);
                }
            }
        }
    }
}

// A mesh file that the link names, opened from the bytes the page fetched, or refused.
TEST(Link, AMeshBesideThePage) {
    const std::string
        triangle = "v 0 0\nv 1 0\nv 0 1\nf 1 2 3\n",
        beside =
            "\"mesh=../t.obj\" (a mesh file beside the page, such as examples/square-hole.obj)";
    // fragment; the bytes fetched (none: not found); the file to fetch; what is shown; the
    // notice; the findings
    // clang-format off
    const std::vector<std::tuple<std::string, std::optional<std::string>, std::string, std::string, std::string, std::vector<std::string>>> cases{
        {"mesh=t.obj&select=f1&walk=e", triangle, "t.obj", "6 11 e3 f1.edge = e3", "", {}},
        {"mesh=x.off&mesh=t.obj&select=f2", triangle, "t.obj", "6 11  ", "\"select=f2\" (no such record in t.obj)", {}},
        {"mesh=t.obj&select=f0", triangle + "f 1 2 4\n", "t.obj", "6 11 f0 ", "\"mesh=t.obj\" (the file does not open; its findings are under the picture)",
         {"t.obj:5: error: face 1 uses vertex 4, but the file has 3 vertices"}},
        {"mesh=t.obj", std::nullopt, "t.obj", "6 11  ", "\"mesh=t.obj\" (no such file beside the page)", {}},
        {"mesh=../t.obj", triangle, "", "6 11  ", beside, {}},
        {"mesh=http://evil/t.obj", triangle, "", "6 11  ", "\"mesh=http://evil/t.obj\"" + beside.substr(beside.find(' ')), {}},
        {"mesh=", triangle, "", "6 11  ", "\"mesh=\"" + beside.substr(beside.find(' ')), {}},
        {"mesh=a%26b%20%25.obj&select=f0", triangle, "a&b %.obj", "6 11 f0 ", "", {}},
        {"mesh=..%2Ft.obj", triangle, "", "6 11  ", "\"mesh=..%2Ft.obj\"" + beside.substr(beside.find(' ')), {}},
        {"mesh=t%2.obj", triangle, "", "6 11  ", "\"mesh=t%2.obj\"" + beside.substr(beside.find(' ')), {}},
        {"mesh=t.obj%1F.off", triangle, "", "6 11  ", "\"mesh=t.obj%1F.off\"" + beside.substr(beside.find(' ')), {}},
        {"mesh=t.obj" + std::string(4086, '&'), triangle, "t.obj", "6 11  ", "", {}},
        {"mesh=t.obj" + std::string(4087, '&'), triangle, "", "6 11  ", "all of it (more than 4096 characters)", {}},
    };
    // clang-format on
    for (const auto& [fragment, bytes, fetched, state, notice, lines] : cases) {
        int angles = startAngles;
        Subdivision s;
        std::vector<std::string> findings;
        EXPECT_EQ(linkedMesh(fragment), fetched) << fragment;
        EXPECT_EQ(applyFragment(fragment, angles, s, bytes, &findings), notice) << fragment;
        EXPECT_EQ(findings, lines) << fragment;
        EXPECT_EQ(shown(angles, s), state) << fragment;
        EXPECT_FALSE(checkInvariants(s)) << fragment;
    }
    int angles = startAngles;
    Subdivision s;
    applyFragment(std::get<0>(cases[0]), angles, s, triangle);
    EXPECT_EQ(describe(angles, s), "t.obj. Picked half-edge e3 from v1 to v0 in face f1 (an outer "
                                   "boundary); next e4, prev e5, opp e0. Walk: f1.edge = e3.");
    EXPECT_EQ(stateFragment(angles, s, "t.obj"), std::get<0>(cases[0]));
    EXPECT_EQ(stateFragment(angles, s, ""), ""); // from the user's device: no link shows it
    // Every byte of a name but letters, digits, - . _ ~ and / escaped, and read back alike.
    const std::string odd = "ex/a&b=c#d %e+f\xC3\xA9~_-.obj";
    const std::string written = stateFragment(angles, s, odd);
    EXPECT_EQ(written, "mesh=ex/a%26b%3Dc%23d%20%25e%2Bf%C3%A9~_-.obj&select=f1&walk=e");
    EXPECT_EQ(linkedMesh(written), odd);
}

TEST(Description, SaysWhatThePictureShows) {
    // fragment, its words
    const std::vector<std::pair<std::string, std::string>> cases{
        {"", "Angles: 6. Nothing picked."},
        {"angles=2&labels=0", "Angles: 2. No polygon: it needs 3 corners or more. Labels hidden."},
        {"select=f0", "Angles: 6. Picked face f0; faces across its edges: f4, f1, f4."},
        {"select=f4&listing=0", "Angles: 6. Listing hidden. Picked face f4 (the outer face); "
                                "faces across its edges: f3, f3, f0, f0, f1, f2."},
        {"select=v1",
         "Angles: 6. Picked vertex v1 at (175, 429); half-edges at it: e0, e2, e13, e14."},
        {"select=f0&walk=eno", "Angles: 6. Picked half-edge e3 from v2 to v0 in face f1; next e4, "
                               "prev e5, opp e1. Walk: f0.edge.next.opp = e3."},
        {"angles=40&select=v0", "Angles: 40. Picked vertex v0 at (398, 323); half-edges at it: "
                                "e0, e1, e3, e4, e6, e7, e9, e10, e12, e13, e15, e16 and 66 more."},
    };
    for (const auto& [fragment, words] : cases) {
        int angles = startAngles;
        Subdivision s;
        EXPECT_EQ(applyFragment(fragment, angles, s), "");
        EXPECT_EQ(describe(angles, s), words);
    }
}

TEST(HtmlTables, TheRecordsWithTheSelectionMarked) {
    int angles = startAngles;
    Subdivision s;
    applyFragment("select=f0&walk=eno", angles, s);
    const std::string html = htmlTables(s);
    for (const char* part :
         {"<table>\n<caption>Vertices (6)</caption>\n<thead><tr><th scope=\"col\">vertex</th>"
          "<th scope=\"col\">x</th><th scope=\"col\">y</th><th scope=\"col\">edge</th>"
          "<th scope=\"col\">selected</th></tr></thead>\n<tbody>\n<tr><th scope=\"row\">v0</th>"
          "<td class=\"number\">325</td><td class=\"number\">429</td><td>e10</td><td></td></tr>\n",
          "<caption>Faces (5)</caption>",
          "<tr><th scope=\"row\">f4 (outer)</th><td>e17</td><td></td></tr>",
          "<tr class=\"picked\"><th "
          "scope=\"row\">e3</th><td>v0</td><td>f1</td><td>e4</td><td>e5</td>"
          "<td>e1</td><td>picked</td></tr>",
          "<tr class=\"next\"><th scope=\"row\">e4</th>",
          "<tr class=\"prev\"><th scope=\"row\">e5</th>",
          "<tr class=\"opp\"><th scope=\"row\">e1</th>", "<caption>Half-edges (18)</caption>"}) {
        EXPECT_NE(html.find(part), std::string::npos) << part;
    }
    applyFragment("select=v1", angles, s);
    for (const char* part : {"<tr class=\"picked\"><th scope=\"row\">v1</th>",
                             "<tr class=\"at-picked-vertex\"><th scope=\"row\">e13</th>"}) {
        EXPECT_NE(htmlTables(s).find(part), std::string::npos) << part;
    }
}

} // namespace
