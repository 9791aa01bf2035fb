#include "export/png_export.h"

#include <png.h>

std::string encodePng(SDL_Surface* surface) {
    // The three bytes of each pixel in red, green, blue order, as PNG_FORMAT_RGB reads them.
    const bool little = SDL_BYTEORDER == SDL_LIL_ENDIAN;
    SDL_Surface* rgb = SDL_CreateRGBSurface(SDL_SWSURFACE, surface->w, surface->h, 24,
                                            little ? 0x0000ff : 0xff0000, 0x00ff00,
                                            little ? 0xff0000 : 0x0000ff, 0);
    if (!rgb) {
        return {};
    }
    SDL_BlitSurface(surface, nullptr, rgb, nullptr);

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(rgb->w);
    image.height = static_cast<png_uint_32>(rgb->h);
    image.format = PNG_FORMAT_RGB;
    std::string bytes;
    png_alloc_size_t size = 0;
    // The first call measures, the second writes.
    if (png_image_write_to_memory(&image, nullptr, &size, 0, rgb->pixels, rgb->pitch, nullptr)) {
        bytes.resize(size);
        const bool written = png_image_write_to_memory(&image, bytes.data(), &size, 0, rgb->pixels,
                                                       rgb->pitch, nullptr);
        bytes.resize(written ? size : 0);
    }
    png_image_free(&image);
    SDL_FreeSurface(rgb);
    return bytes;
}
