// The page's address, its words for the picture and its records tables, natively.
#include "export/html_tables.h"
#include "model/validation.h"
#include "web/description.h"
#include "web/link.h"

#include <gtest/gtest.h>

namespace {

TEST(Link, FragmentsGiveTheirValidPartAndNameTheRest) {
    const std::string huge(100000, 'n');
    // fragment, the state's own fragment after it, what the notice names ("" for none)
    const std::vector<std::tuple<std::string, std::string, std::string>> cases{
        {"", "", ""},
        {"angles=6", "", ""},
        {"select=f0&walk=ENO&&", "angles=6&select=f0&walk=eno", ""},
        {"pick=200,386&walk=e", "angles=6&select=f0&walk=e", ""},
        {"walk=n&select=e3&angles=6&angles=9", "angles=9&select=e3&walk=n", ""},
        {"select=e3&walk=" + std::string(20, 'n'), "angles=6&select=e3&walk=nnnnnnnn", ""},
        {"angles=99999&select=v1", "angles=6&select=v1", "\"angles=99999\" (N is"},
        {"angles=-1", "", "\"angles=-1\""},
        {"angles=0&select=v0", "angles=0", "\"select=v0\" (no such record at N = 0)"},
        {"select=e18", "", "\"select=e18\" (no such record at N = 6)"},
        {"select=x1&labels=2", "", "\"select=x1\" (a record's name"},
        {"labels=2", "", "\"labels=2\" (0 or 1)"},
        {"zoom=3&listing=0", "angles=6&listing=0", "\"zoom=3\" (not a word of the link)"},
        {"select=f0&walk=enxo", "angles=6&select=f0&walk=en", "step 3 'x' is not e, n, p"},
        {"select=f0&walk=ee", "angles=6&select=f0&walk=e", "step 2 'e' does not apply to e0"},
        {"walk=n", "", "step 1 'n' does not apply to nothing picked"},
        {"pick=1000,5", "", "\"pick=1000,5\" (a window pixel"},
        {huge, "", "all of it (more than 4096 characters)"},
        {"select=f0&" + std::string(4000, 'x'), "angles=6&select=f0",
         "\"xxxxxxxxxxxxxxxxxxxxxxxx...\""}};
    for (const auto& [fragment, state, notice] : cases) {
        int angles = startAngles;
        Subdivision s;
        s.build(angles);
        const std::string applied = applyFragment(fragment, angles, s),
                          name = fragment.substr(0, 80);
        EXPECT_FALSE(checkInvariants(s)) << name;
        EXPECT_EQ(stateFragment(angles, s), state) << name;
        EXPECT_TRUE(notice.empty()
                        ? applied.empty()
                        : applied.find(notice) != std::string::npos && applied.size() < 200)
            << name << ": " << applied;
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
