#pragma once

#include <string>
#include <string_view>

// text with &, <, > and " written as character references, safe inside an element or a
// double-quoted attribute of HTML, SVG or XML.
std::string escapedMarkup(std::string_view text);
