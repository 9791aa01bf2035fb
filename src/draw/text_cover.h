#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

// The pixels of a target that some text already covers with full alpha, one bit each.
// Texts are painted in order and a pixel of full alpha replaces whatever lay under it, so
// a text whose every pixel a later text covers this way cannot be seen: walking the texts
// from the last, such a text need not be rendered at all.
struct TextCover {
    int width = 0;
    int height = 0;
    int words = 0; // per row
    std::vector<std::uint64_t> bits;

    // An empty cover of a width by height target.
    TextCover(int width, int height);

    // Whether every pixel of area, which must lie inside the target, is covered. An empty
    // area is covered.
    bool covers(const SDL_Rect& area) const;
    // Adds the pixels of text, a 32-bit rendering with alpha in its top byte laid with its
    // top-left corner at (x, y), whose alpha is full, as far as they lie inside clip.
    void add(const SDL_Surface* text, int x, int y, const SDL_Rect& clip);
};
