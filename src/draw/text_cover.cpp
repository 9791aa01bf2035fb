#include "draw/text_cover.h"

#include <algorithm>

namespace {

constexpr int bitsPerWord = 64;
constexpr Uint32 fullAlpha = 0xFF000000;

// The bits from column first up to, not including, column last within one word.
std::uint64_t span(int first, int last) {
    const std::uint64_t upTo =
        last == bitsPerWord ? ~std::uint64_t{0} : (std::uint64_t{1} << last) - 1;
    return upTo & ~((std::uint64_t{1} << first) - 1);
}

} // namespace

TextCover::TextCover(int width, int height)
    : width(width), height(height), words((width + bitsPerWord - 1) / bitsPerWord),
      bits(static_cast<std::size_t>(words) * static_cast<std::size_t>(height)) {}

bool TextCover::covers(const SDL_Rect& area) const {
    const int right = area.x + area.w;
    for (int y = area.y; y < area.y + area.h; ++y) {
        const std::uint64_t* row = bits.data() + static_cast<std::size_t>(y) * words;
        for (int x = area.x; x < right;) {
            const int word = x / bitsPerWord;
            const int end = std::min(right, (word + 1) * bitsPerWord);
            const std::uint64_t wanted = span(x % bitsPerWord, end - word * bitsPerWord);
            if ((row[word] & wanted) != wanted) {
                return false;
            }
            x = end;
        }
    }
    return true;
}

void TextCover::add(const SDL_Surface* text, int x, int y, const SDL_Rect& clip) {
    const int left = std::max({x, static_cast<int>(clip.x), 0});
    const int top = std::max({y, static_cast<int>(clip.y), 0});
    const int right = std::min({x + text->w, clip.x + static_cast<int>(clip.w), width});
    const int bottom = std::min({y + text->h, clip.y + static_cast<int>(clip.h), height});
    for (int row = top; row < bottom; ++row) {
        const auto* source = reinterpret_cast<const Uint32*>(
            static_cast<const Uint8*>(text->pixels) + (row - y) * text->pitch);
        std::uint64_t* covered = bits.data() + static_cast<std::size_t>(row) * words;
        for (int col = left; col < right;) {
            const int word = col / bitsPerWord;
            const int end = std::min(right, (word + 1) * bitsPerWord);
            const int first = col % bitsPerWord;
            std::uint64_t full = 0;
            for (int k = 0; k < end - col; ++k) {
                full |= std::uint64_t{source[col - x + k] >= fullAlpha} << k;
            }
            covered[word] |= full << first;
            col = end;
        }
    }
}
