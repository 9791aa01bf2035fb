#include "export/svg_painter.h"

#include <cstdio>
#include <sstream>

namespace {

std::string hex(SDL_Color c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
    return text;
}

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// A one-pixel shape drawn at pixel x covers [x, x + 1): its centre line is x + 0.5.
struct Centre {
    int value;
};
std::ostream& operator<<(std::ostream& out, Centre c) {
    return out << c.value << ".5";
}

std::string textStyle() {
    return "stroke-width=\"" + std::to_string(2 * textOutlineWidth) +
           "\" stroke-linejoin=\"round\" paint-order=\"stroke\"";
}

struct SvgPainter {
    std::ostringstream& out;
    const char* group = nullptr;

    // Opens the group of a kind of shape, closing the one before, so that each kind's
    // common style is written once.
    void enter(const char* name, const char* style) {
        if (group == name) {
            return;
        }
        if (group) {
            out << "</g>\n";
        }
        group = name;
        out << "<g class=\"" << name << "\" " << style << ">\n";
    }

    void background() {
        out << "<rect width=\"" << windowWidth << "\" height=\"" << windowHeight << "\" fill=\""
            << hex(palette::paperColor) << "\"/>\n";
    }

    // SDL_gfx fills every pixel whose centre lies within the polygon's corners, the
    // boundary included; a stroke of one pixel in the fill colour stands for that.
    void face(int f, const std::vector<Sint16>& xs, const std::vector<Sint16>& ys,
              SDL_Color color) {
        enter("faces", "stroke-width=\"1\" stroke-linejoin=\"round\"");
        out << "<polygon id=\"f" << f << "\" points=\"";
        for (std::size_t i = 0; i < xs.size(); ++i) {
            out << (i ? " " : "") << Centre{xs[i]} << ',' << Centre{ys[i]};
        }
        out << "\" fill=\"" << hex(color) << "\" stroke=\"" << hex(color) << "\"/>\n";
    }

    void arrow(int h, const Arrow& a, SDL_Color color) {
        enter(
            "half-edges",
            "fill=\"none\" stroke-width=\"1\" stroke-linecap=\"round\" stroke-linejoin=\"round\"");
        const auto at = [&](Pixel p) { out << Centre{p.x} << ' ' << Centre{p.y}; };
        out << "<path id=\"e" << h << "\" d=\"M";
        at(a.from);
        out << 'L';
        at(a.to);
        out << 'M';
        at(a.wing1);
        out << 'L';
        at(a.to);
        out << 'L';
        at(a.wing2);
        out << "\" stroke=\"" << hex(color) << "\"/>\n";
    }

    void dot(int v, Pixel centre, int radius, SDL_Color color) {
        enter("vertices", "stroke=\"none\"");
        out << "<circle id=\"v" << v << "\" cx=\"" << Centre{centre.x} << "\" cy=\""
            << Centre{centre.y} << "\" r=\"" << Centre{radius} << "\" fill=\"" << hex(color)
            << "\"/>\n";
    }

    // The plain glyphs start textOutlineWidth pixels into the outlined rendering, on the
    // font's baseline; the outline is a stroke twice as wide, painted first.
    void text(Font* font, const std::string& text, SDL_Color fill, SDL_Color outline, int x,
              int y) {
        if (!font || !font->plain) {
            return;
        }
        enter("text", textStyle().c_str());
        const char* family = TTF_FontFaceFamilyName(font->plain);
        out << "<text x=\"" << x + textOutlineWidth << "\" y=\""
            << y + textOutlineWidth + TTF_FontAscent(font->plain) << "\" font-family=\""
            << escaped(family ? family : "sans-serif") << "\" font-size=\"" << font->pointSize
            << "\" fill=\"" << hex(fill) << "\" stroke=\"" << hex(outline) << "\">" << escaped(text)
            << "</text>\n";
    }

    // Placing a label needs its size, which only the rendering knows.
    template <class Place>
    void label(Font* font, const std::string& text, SDL_Color fill, SDL_Color outline,
               Place place) {
        SDL_Surface* rendered = renderOutlinedText(font, textOutlineWidth, text, fill, outline);
        if (!rendered) {
            return;
        }
        const Pixel at = place(rendered->w, rendered->h);
        SDL_FreeSurface(rendered);
        this->text(font, text, fill, outline, at.x, at.y);
    }

    void finish() {
        if (group) {
            out << "</g>\n";
        }
        out << "</svg>\n";
    }
};

} // namespace

std::string frameSvg(const Subdivision& s, const StatusLine& status) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\""
        << windowWidth << "\" height=\"" << windowHeight << "\" viewBox=\"0 0 " << windowWidth
        << ' ' << windowHeight << "\">\n<title>HEXIL, Angles: " << status.angles << "</title>\n";
    SvgPainter painter{out};
    paintFrame(s, status, painter);
    painter.finish();
    return out.str();
}
