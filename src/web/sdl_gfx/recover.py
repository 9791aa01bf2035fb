#!/usr/bin/env python3
"""Recovers SDL_gfx source files from the listings in libsdl-gfx1.2-doc.

SDL_gfx's source archive cannot be downloaded here, but Debian's documentation package
carries Doxygen's listing of every file, one source line per HTML line. The listing's
text, with the tags dropped, the entities decoded and each line's number cut off, is the
file, less its documentation comments (Doxygen also turned tabs into spaces, which the
compiler does not see either).

    recover.py HTML_DIR OUT_DIR FILE...     e.g. FILE = SDL_gfxPrimitives.c
"""
import html.parser
import os
import re
import sys

# A few bytes of the listings are not UTF-8 (Latin-1 in comments): they pass through as
# they are.
TEXT = {"encoding": "utf-8", "errors": "surrogateescape"}


class Listing(html.parser.HTMLParser):
    """Collects the text inside <pre class="fragment">, the listing itself."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.depth = 0  # nesting of <pre> while inside the listing
        self.text = []

    def handle_starttag(self, tag, attrs):
        if tag == "pre" and (self.depth or ("class", "fragment") in attrs):
            self.depth += 1

    def handle_endtag(self, tag):
        if tag == "pre" and self.depth:
            self.depth -= 1

    def handle_data(self, data):
        if self.depth:
            self.text.append(data)


def listing_page(name):
    """Doxygen's page name: "SDL_gfxPrimitives.c" -> "_s_d_l__gfx_primitives_8c_source.html"."""
    stem, ext = os.path.splitext(name)
    mangled = re.sub(r"[A-Z_]", lambda m: "_" + m.group(0).lower(), stem)
    return mangled + "_8" + ext[1:] + "_source.html"


def recover(html_dir, name):
    parser = Listing()
    with open(os.path.join(html_dir, listing_page(name)), **TEXT) as page:
        parser.feed(page.read())
    parser.close()
    lines = "".join(parser.text).split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    source = []
    for line in lines:
        # Each line starts with its number, five digits, then a space unless it is empty.
        # Doxygen leaves out the documentation comments, so numbers can jump: the lines
        # between become empty lines and every line keeps its number.
        match = re.match(r"(\d{5}) ?", line)
        if not match or int(match.group(1)) <= len(source):
            sys.exit("recover.py: %s: a line without its number: %r" % (name, line))
        source += [""] * (int(match.group(1)) - 1 - len(source))
        source.append(line[match.end():])
    return "\n".join(source) + "\n"


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    html_dir, out_dir = argv[1], argv[2]
    os.makedirs(out_dir, exist_ok=True)
    for name in argv[3:]:
        text = recover(html_dir, name)
        with open(os.path.join(out_dir, name), "w", **TEXT) as out:
            out.write(text)


if __name__ == "__main__":
    main(sys.argv)
