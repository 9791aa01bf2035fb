#include "SDL_ttf.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_STROKER_H

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

#ifdef HEXIL_WEB_TTF_NAMESPACE
namespace HEXIL_WEB_TTF_NAMESPACE {
#endif

namespace {

FT_Library library = nullptr;
int startCount = 0;

// Whole pixels from FreeType's 26.6 fixed point, rounded the way SDL_ttf rounds them.
int floorPixels(FT_Pos value) {
    return static_cast<int>((value & -64) / 64);
}
int ceilPixels(FT_Pos value) {
    return static_cast<int>(((value + 63) & -64) / 64);
}

// One character's box in pixels, relative to the pen on the baseline (y up), and its
// coverage bitmap.
struct Glyph {
    FT_UInt index = 0;
    int minX = 0;
    int maxX = 0;
    int minY = 0;
    int maxY = 0;
    int yOffset = 0; // rows from the surface's top to the box's top
    int advance = 0;
    int width = 0;
    int rows = 0;
    int pitch = 0;
    std::vector<unsigned char> coverage;
};

} // namespace

struct TTF_Font {
    FT_Face face = nullptr;
    std::vector<unsigned char> file; // FreeType reads the face from here while it is open
    int ascent = 0;
    int height = 0;
    int outline = 0;
    std::unordered_map<Uint16, Glyph> glyphs; // emptied whenever the outline changes
};

namespace {

bool loadGlyph(TTF_Font* font, Uint16 character, Glyph& glyph) {
    FT_Face face = font->face;
    glyph.index = FT_Get_Char_Index(face, character);
    if (FT_Load_Glyph(face, glyph.index, FT_LOAD_DEFAULT) != 0) {
        return false;
    }
    // The box comes from the plain glyph's metrics even when the outline is drawn, so an
    // outlined glyph's bitmap, larger by the outline on every side, is placed as if it
    // were the plain one: down and to the right by the outline width.
    const FT_Glyph_Metrics& metrics = face->glyph->metrics;
    glyph.minX = floorPixels(metrics.horiBearingX);
    glyph.maxX = glyph.minX + ceilPixels(metrics.width);
    glyph.maxY = floorPixels(metrics.horiBearingY);
    glyph.minY = glyph.maxY - ceilPixels(metrics.height);
    glyph.yOffset = font->ascent - glyph.maxY;
    glyph.advance = ceilPixels(metrics.horiAdvance);

    FT_Glyph stroked = nullptr;
    const FT_Bitmap* bitmap = &face->glyph->bitmap;
    if (font->outline > 0 && face->glyph->format != FT_GLYPH_FORMAT_BITMAP) {
        FT_Stroker stroker = nullptr;
        if (FT_Get_Glyph(face->glyph, &stroked) != 0 || FT_Stroker_New(library, &stroker) != 0) {
            FT_Done_Glyph(stroked);
            return false;
        }
        FT_Stroker_Set(stroker, font->outline * 64, FT_STROKER_LINECAP_ROUND,
                       FT_STROKER_LINEJOIN_ROUND, 0);
        FT_Glyph_Stroke(&stroked, stroker, 1);
        FT_Stroker_Done(stroker);
        if (FT_Glyph_To_Bitmap(&stroked, FT_RENDER_MODE_NORMAL, nullptr, 1) != 0) {
            FT_Done_Glyph(stroked);
            return false;
        }
        bitmap = &reinterpret_cast<FT_BitmapGlyph>(stroked)->bitmap;
    } else if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
        return false;
    }
    glyph.width = static_cast<int>(bitmap->width);
    glyph.rows = static_cast<int>(bitmap->rows);
    glyph.pitch = bitmap->pitch;
    glyph.coverage.assign(bitmap->buffer, bitmap->buffer + glyph.rows * glyph.pitch);
    FT_Done_Glyph(stroked);
    return true;
}

const Glyph* findGlyph(TTF_Font* font, Uint16 character) {
    auto [slot, fresh] = font->glyphs.try_emplace(character);
    if (fresh && !loadGlyph(font, character, slot->second)) {
        font->glyphs.erase(slot);
        return nullptr;
    }
    return &slot->second;
}

// The text as 16-bit characters, decoded as SDL_ttf 2.0.11 decodes it: without checks. A
// lead byte takes as many following bytes as it announces, whatever they are (the string's
// end reads as 0 here, where the library reads on), the bits above 16 fall off, a lone
// continuation byte stands for itself, and a 0 ends the text. Then, as in the library's
// 16-bit renderer, U+FEFF is skipped and U+FFFE is skipped and byte-swaps every character
// after it until the next U+FEFF.
std::vector<Uint16> characters(const char* text) {
    std::vector<Uint16> decoded;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const std::size_t length = std::strlen(text);
    bool swapped = false;
    for (std::size_t i = 0; i < length; ++i) {
        unsigned character = bytes[i];
        const int extra = character >= 0xF0 ? 3 : character >= 0xE0 ? 2 : character >= 0xC0 ? 1 : 0;
        if (extra > 0) {
            character &= 0x3Fu >> extra;
        }
        for (int k = 0; k < extra; ++k) {
            ++i;
            character = character << 6 | (i < length ? bytes[i] & 0x3Fu : 0u);
        }
        const auto c = static_cast<Uint16>(character);
        if (c == 0) {
            break;
        }
        if (c == 0xFEFF || c == 0xFFFE) {
            swapped = c == 0xFFFE;
            continue;
        }
        decoded.push_back(swapped ? SDL_Swap16(c) : c);
    }
    return decoded;
}

} // namespace

int TTF_Init() {
    if (startCount == 0 && FT_Init_FreeType(&library) != 0) {
        SDL_SetError("Couldn't init FreeType engine");
        return -1;
    }
    ++startCount;
    return 0;
}

void TTF_Quit() {
    if (startCount > 0 && --startCount == 0) {
        FT_Done_FreeType(library);
    }
}

TTF_Font* TTF_OpenFont(const char* file, int ptsize) {
    if (startCount == 0) {
        SDL_SetError("Library not initialized");
        return nullptr;
    }
    // SDL opens the file, so a missing one gives SDL's own error, as with the library.
    SDL_RWops* stream = SDL_RWFromFile(file, "rb");
    if (!stream) {
        return nullptr;
    }
    auto* font = new TTF_Font;
    const int size = SDL_RWseek(stream, 0, RW_SEEK_END);
    SDL_RWseek(stream, 0, RW_SEEK_SET);
    font->file.resize(size > 0 ? size : 0);
    const bool read = size > 0 && SDL_RWread(stream, font->file.data(), size, 1) == 1;
    SDL_RWclose(stream);
    if (!read || FT_New_Memory_Face(library, font->file.data(), size, 0, &font->face) != 0) {
        SDL_SetError("Couldn't load font file");
        delete font;
        return nullptr;
    }
    if (FT_Set_Char_Size(font->face, 0, ptsize * 64, 0, 0) != 0) {
        SDL_SetError("Couldn't set font size");
        TTF_CloseFont(font);
        return nullptr;
    }
    const FT_Fixed scale = font->face->size->metrics.y_scale;
    font->ascent = ceilPixels(FT_MulFix(font->face->ascender, scale));
    const int descent = ceilPixels(FT_MulFix(font->face->descender, scale));
    font->height = font->ascent - descent + 1; // the baseline's own row
    return font;
}

void TTF_CloseFont(TTF_Font* font) {
    if (font) {
        FT_Done_Face(font->face);
        delete font;
    }
}

void TTF_SetFontOutline(TTF_Font* font, int outline) {
    font->outline = outline;
    font->glyphs.clear();
}

namespace {

// A text's glyphs, or nothing with SDL's error set when one cannot be loaded.
bool glyphsOf(TTF_Font* font, const char* text, std::vector<const Glyph*>& glyphs) {
    for (const Uint16 character : characters(text)) {
        const Glyph* glyph = findGlyph(font, character);
        if (!glyph) {
            SDL_SetError("Couldn't find glyph");
            return false;
        }
        glyphs.push_back(glyph);
    }
    return true;
}

int kerning(TTF_Font* font, FT_UInt previous, const Glyph* glyph) {
    FT_Vector delta{0, 0};
    if (FT_HAS_KERNING(font->face) && previous && glyph->index) {
        FT_Get_Kerning(font->face, previous, glyph->index, FT_KERNING_DEFAULT, &delta);
    }
    return static_cast<int>(delta.x >> 6);
}

// The size of the glyphs' rendering: the union of the glyph boxes and pen advances from the
// first pen position, never less than the font's height, grown by the outline on every side.
void sizeOf(TTF_Font* font, const std::vector<const Glyph*>& glyphs, int& width, int& height) {
    int penX = 0;
    int minX = 0;
    int maxX = 0;
    int minY = 0;
    FT_UInt previous = 0;
    for (const Glyph* glyph : glyphs) {
        penX += kerning(font, previous, glyph);
        minX = std::min(minX, penX + glyph->minX);
        maxX = std::max(maxX, penX + std::max(glyph->advance, glyph->maxX));
        penX += glyph->advance;
        minY = std::min(minY, glyph->minY);
        previous = glyph->index;
    }
    const int grow = font->outline > 0 ? 2 * font->outline : 0;
    width = maxX - minX + grow;
    height = std::max(font->ascent - minY + grow, font->height);
}

} // namespace

int TTF_SizeUTF8(TTF_Font* font, const char* text, int* w, int* h) {
    std::vector<const Glyph*> glyphs;
    if (!glyphsOf(font, text, glyphs)) {
        return -1;
    }
    int width = 0;
    int height = 0;
    sizeOf(font, glyphs, width, height);
    if (w) {
        *w = width;
    }
    if (h) {
        *h = height;
    }
    return 0;
}

SDL_Surface* TTF_RenderUTF8_Blended(TTF_Font* font, const char* text, SDL_Color fg) {
    std::vector<const Glyph*> glyphs;
    if (!glyphsOf(font, text, glyphs)) {
        return nullptr;
    }
    int width = 0;
    int height = 0;
    sizeOf(font, glyphs, width, height);
    if (width == 0) {
        SDL_SetError("Text has zero width");
        return nullptr;
    }
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0x00FF0000,
                                                0x0000FF00, 0x000000FF, 0xFF000000);
    if (!surface) {
        return nullptr;
    }
    // Every pixel holds the colour at alpha 0, and each glyph's coverage is OR-ed into the
    // alpha byte, so where glyphs overlap their coverages mix bitwise.
    const Uint32 color = Uint32{fg.r} << 16 | Uint32{fg.g} << 8 | fg.b;
    SDL_FillRect(surface, nullptr, color);
    auto* pixels = static_cast<Uint32*>(surface->pixels);
    const long end = static_cast<long>(surface->pitch / 4) * height;

    // Only the first glyph's negative left bearing moves the pen; a later glyph reaching
    // left of its row starts on the row above. A row runs on past its right end into the
    // next row, up to the end of the pixels; rows above or below the surface are dropped.
    int penX = !glyphs.empty() && glyphs.front()->minX < 0 ? -glyphs.front()->minX : 0;
    FT_UInt previous = 0;
    for (const Glyph* glyph : glyphs) {
        penX += kerning(font, previous, glyph);
        // The library cuts a plain bitmap wider than its box to the box. FreeType 2.12 never
        // renders one (none of the DejaVu faces does at 1 to 200 pt), so that is left out.
        const int columns = glyph->width;
        for (int row = 0; row < glyph->rows; ++row) {
            const int y = row + glyph->yOffset;
            if (y < 0 || y >= height) {
                continue;
            }
            const unsigned char* source = glyph->coverage.data() + row * glyph->pitch;
            long at = static_cast<long>(y) * (surface->pitch / 4) + penX + glyph->minX;
            for (int column = 0; column < columns && at < end; ++column, ++at) {
                if (at >= 0) { // where the library would write before its pixels
                    pixels[at] |= color | Uint32{source[column]} << 24;
                }
            }
        }
        penX += glyph->advance;
        previous = glyph->index;
    }
    return surface;
}

#ifdef HEXIL_WEB_TTF_NAMESPACE
}
#endif
