#include "export/svg_painter.h"

#include "export/markup.h"

#include <cstdio>
#include <optional>
#include <span>
#include <sstream>

namespace {

std::string hex(SDL_Color c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
    return text;
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
    void face(const FaceShape& face) {
        enter("faces", "stroke-width=\"1\" stroke-linejoin=\"round\"");
        out << "<polygon id=\"f" << face.face << "\" points=\"";
        for (std::size_t i = 0; i < face.xs.size(); ++i) {
            out << (i ? " " : "") << Centre{face.xs[i]} << ',' << Centre{face.ys[i]};
        }
        out << "\" fill=\"" << hex(face.fillColor) << "\" stroke=\"" << hex(face.fillColor)
            << "\"/>\n";
    }

    void arrow(const ArrowShape& arrow) {
        enter(
            "half-edges",
            "fill=\"none\" stroke-width=\"1\" stroke-linecap=\"round\" stroke-linejoin=\"round\"");
        const auto at = [&](Pixel p) { out << Centre{p.x} << ' ' << Centre{p.y}; };
        const auto lines = [&](const Arrow& a) {
            out << 'M';
            at(a.from);
            out << 'L';
            at(a.to);
            out << 'M';
            at(a.wing1);
            out << 'L';
            at(a.to);
            out << 'L';
            at(a.wing2);
        };
        // A heavy arrow's second copy joins the same path, so that each half-edge stays
        // one element.
        out << "<path id=\"e" << arrow.halfEdge << "\" d=\"";
        lines(arrow.arrow);
        if (arrow.heavy()) {
            lines(moved(arrow.arrow, arrow.copyOffset));
        }
        out << "\" stroke=\"" << hex(arrow.lineColor) << "\"/>\n";
    }

    void dot(const DotShape& dot) {
        enter("vertices", "stroke=\"none\"");
        out << "<circle id=\"v" << dot.vertex << "\" cx=\"" << Centre{dot.centre.x} << "\" cy=\""
            << Centre{dot.centre.y} << "\" r=\"" << Centre{dot.radius} << "\" fill=\""
            << hex(dot.fillColor) << "\"/>\n";
    }

    // The plain glyphs start textOutlineWidth pixels into the outlined rendering, on the
    // font's baseline; the outline is a stroke twice as wide, painted first.
    void text(const TextShape& text) {
        Pixel at = text.place.at;
        if (text.place.rule != TextPlace::corner) {
            const std::optional<TextSize> size =
                outlinedSize(text.font, textOutlineWidth, text.text);
            if (!size) {
                return;
            }
            at = text.place.topLeft(*size);
        }
        static const std::string style = textStyle();
        enter("text", style.c_str());
        const char* family = TTF_FontFaceFamilyName(text.font->plain);
        out << "<text x=\"" << at.x + textOutlineWidth << "\" y=\""
            << at.y + textOutlineWidth + TTF_FontAscent(text.font->plain) << "\" font-family=\""
            << escapedMarkup(family ? family : "sans-serif") << "\" font-size=\""
            << text.font->pointSize << "\" fill=\"" << hex(text.fillColor) << "\" stroke=\""
            << hex(text.outlineColor) << "\">" << escapedMarkup(text.text) << "</text>\n";
    }

    void texts(std::span<const TextShape> texts) {
        for (const TextShape& t : texts) {
            text(t);
        }
    }

    void finish() {
        if (group) {
            out << "</g>\n";
        }
        out << "</svg>\n";
    }
};

static_assert(Painter<SvgPainter>);

} // namespace

std::string frameSvg(const Subdivision& s, const StatusLine& status) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\""
        << windowWidth << "\" height=\"" << windowHeight << "\" viewBox=\"0 0 " << windowWidth
        << ' ' << windowHeight << "\">\n<title>HEXIL, Angles: " << status.angles << "</title>\n";
    SvgPainter painter{out};
    paint(framePicture(s, status), painter);
    painter.finish();
    return out.str();
}
