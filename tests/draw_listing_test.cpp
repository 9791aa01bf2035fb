#include "draw_support.h"
#include "listing.h"

#include <algorithm>
#include <string>
#include <vector>

class DrawListingTest : public DrawTest {
  protected:
    // Whether the item at (x, y) shows exactly text in fill: compared with the same label
    // drawn alone, below the reach of the row above and above the row below.
    bool shows(const std::string& text, int x, int y, SDL_Color fill) {
        SDL_Surface* alone = SDL_ConvertSurface(surface, surface->format, SDL_SWSURFACE);
        SDL_FillRect(alone, nullptr, 0xffffff);
        drawLabel(alone, &font, model.paperColor, fill, text, x, y);
        int w = 0;
        TTF_SizeUTF8(font.plain, text.c_str(), &w, nullptr);
        bool same = true;
        for (int j = y + 3; j < y + 14; ++j) {
            for (int i = x; i < std::min(1000, x + w + 4); ++i) {
                same = same &&
                       raw(i, j) == static_cast<Uint32*>(alone->pixels)[j * alone->pitch / 4 + i];
            }
        }
        SDL_FreeSurface(alone);
        return same;
    }

    // Which of the first rows of the column from x0 to x1 hold text near color.
    std::vector<int> rowsIn(SDL_Color color, int x0, int x1, int rows) const {
        std::vector<int> found;
        for (int r = 0; r < rows; ++r) {
            if (count(x0, 41 + 14 * r, x1, 53 + 14 * r, near(color)) > 0) {
                found.push_back(r);
            }
        }
        return found;
    }
};

TEST_F(DrawListingTest, RowsOfTheTriangleCarryItsNumbers) {
    model.build(3);
    drawListing(model, surface);
    const SDL_Color ink = model.inkColor;
    EXPECT_TRUE(shows("List of vertices (3):", 428, 20, ink));
    EXPECT_TRUE(shows("List of faces (2):", 600, 20, ink));
    EXPECT_TRUE(shows("List of half-edges (6):", 705, 20, ink));
    for (auto [text, x, y] : {std::tuple{"v2", 428, 67},
                              {"x: 400", 468, 67},
                              {"y: 299", 508, 67},
                              {"e2", 548, 67},
                              {"f1", 600, 53},
                              {"e5", 630, 53},
                              {"e4", 705, 95},
                              {"v1", 735, 95},
                              {"f1", 765, 95},
                              {"next: e5", 795, 95},
                              {"prev: e3", 855, 95},
                              {"opp: e0", 915, 95}}) {
        EXPECT_TRUE(shows(text, x, y, ink)) << text << " at " << x << "," << y;
    }
}

TEST_F(DrawListingTest, SelectedRowsTakeTheSelectionColours) {
    model.build(3);
    model.pick(175, 429); // vertex 0
    drawListing(model, surface);
    EXPECT_EQ(std::vector<int>{0}, rowsIn(model.highlightColor, 428, 600, 3));
    EXPECT_EQ((std::vector<int>{0, 1, 3, 4}), rowsIn(model.highlightColor, 705, 1000, 6));
    EXPECT_EQ((std::vector<int>{2, 5}), rowsIn(model.inkColor, 705, 1000, 6));
    EXPECT_EQ(std::vector<int>{}, rowsIn(model.highlightColor, 600, 700, 2));

    const std::pair<int, int> clicks[] = {{249, 299}, {600, 100}}; // the triangle, the outside
    for (int picked = 0; picked < 2; ++picked) {
        SDL_FillRect(surface, nullptr, 0xffffff);
        model.pick(clicks[picked].first, clicks[picked].second);
        drawListing(model, surface);
        EXPECT_EQ(std::vector<int>{picked}, rowsIn(model.highlightColor, 600, 700, 2));
        EXPECT_EQ(std::vector<int>{1 - picked}, rowsIn(model.neighbourLabelColor, 600, 700, 2));
        EXPECT_EQ(std::vector<int>{}, rowsIn(model.highlightColor, 428, 600, 3));
    }
}

TEST_F(DrawListingTest, MissingLinksAndRowsPastTheBottom) {
    model.halfEdges = {HalfEdge{}};
    drawListing(model, surface);
    EXPECT_TRUE(shows("v-1", 735, 39, model.inkColor));
    EXPECT_TRUE(shows("next: e-1", 795, 39, model.inkColor));
    EXPECT_EQ(count(765, 39, 795, 56, notWhite), 0); // no face item

    // 5000 rows reach far past the 16-bit range of a blit; none of those below row 600
    // may land anywhere, so the column looks as with the 41 rows that start above it.
    model.halfEdges.clear();
    model.vertices.assign(41, Vertex{});
    SDL_FillRect(surface, nullptr, 0xffffff);
    drawListing(model, surface);
    const int few = count(428, 39, 600, 600, dark);
    model.vertices.assign(5000, Vertex{});
    SDL_FillRect(surface, nullptr, 0xffffff);
    drawListing(model, surface);
    EXPECT_EQ(few, count(428, 39, 600, 600, dark));
    EXPECT_GT(count(428, 585, 600, 600, dark), 0);
}
