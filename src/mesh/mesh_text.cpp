#include "mesh/mesh_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <locale>
#include <map>
#include <sstream>
#include <string>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// The powers of ten that a double holds exactly.
constexpr std::array<double, 23> exactPowers{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// A line split into its words, into words (emptied first); a # starts a comment.
void splitWords(std::string_view line, std::vector<std::string_view>& words) {
    line = line.substr(0, line.find('#'));
    words.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < line.size() && !isBlank(line[i])) {
            ++i;
        }
        if (i > start) {
            words.push_back(line.substr(start, i - start));
        }
    }
}

std::string quoted(std::string_view word) {
    constexpr std::size_t longest = 32;
    std::string text(word.substr(0, longest));
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            c = '?';
        }
    }
    return "\"" + text + (word.size() > longest ? "...\"" : "\"");
}

// A whole number, all of text.
bool readIndex(std::string_view text, long long& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && stop == end;
}

// The file's lines, each without its line end.
struct Lines {
    std::string_view rest;
    int number = 0;

    bool next(std::string_view& line) {
        if (rest.empty()) {
            return false;
        }
        const std::size_t end = rest.find('\n');
        line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        ++number;
        return true;
    }
};

struct Reader {
    MeshText& mesh;

    void say(Finding::Kind kind, int line, std::string text) {
        mesh.findings.add(kind, line, std::move(text));
    }

    // Reads count coordinates from words; false, with an error, when one is not a number.
    bool readPoint(const std::vector<std::string_view>& words, std::size_t first, int line) {
        Point3 p;
        double* coordinate[] = {&p.x, &p.y, &p.z};
        const std::size_t given = std::min<std::size_t>(words.size() - first, 3);
        bool good = true;
        for (std::size_t i = 0; i < given; ++i) {
            switch (readNumber(words[first + i], *coordinate[i])) {
            case NumberRead::number:
                break;
            case NumberRead::notANumber:
                say(Finding::error, line,
                    "vertex " + std::to_string(mesh.vertices.size()) + ": " +
                        quoted(words[first + i]) + " is not a number");
                good = false;
                break;
            case NumberRead::notFinite:
                say(Finding::error, line,
                    "vertex " + std::to_string(mesh.vertices.size()) + ": " +
                        quoted(words[first + i]) + " is not a finite coordinate");
                good = false;
                break;
            }
        }
        mesh.vertices.push_back(p);
        mesh.vertexLines.push_back(line);
        return good;
    }

    // Ends the face whose corners were added since the last one ended.
    void endFace(int line) {
        const std::size_t corners = mesh.corners.size() - mesh.faceStarts.back();
        if (corners < 3) {
            say(Finding::error, line,
                "face " + std::to_string(mesh.faceCount()) + " has " + std::to_string(corners) +
                    (corners == 1 ? " corner" : " corners") + ", fewer than three");
        }
        mesh.faceStarts.push_back(static_cast<int>(mesh.corners.size()));
        mesh.faceLines.push_back(line);
    }

    void readObj(std::string_view bytes);
    void readOff(std::string_view bytes);
};

void Reader::readObj(std::string_view bytes) {
    // What an ignored kind of statement holds, for its note.
    const std::map<std::string_view, const char*> ignoredKinds{{"vt", "texture coordinates"},
                                                               {"vn", "normals"},
                                                               {"vp", "parameter points"},
                                                               {"o", "object names"},
                                                               {"g", "group names"},
                                                               {"s", "smoothing groups"},
                                                               {"usemtl", "materials"},
                                                               {"mtllib", "material files"},
                                                               {"l", "lines"}};
    std::map<std::string_view, std::pair<int, int>> ignored; // kind: first line, count
    // Faces name vertices that may come later in the file: their corners are judged at the
    // end, against the number of vertices the file has.
    struct Corner {
        std::size_t face;
        std::size_t at; // in mesh.corners
        long long index;
        std::string_view word;
    };
    std::vector<Corner> corners;
    Lines lines{bytes};
    std::string_view line;
    std::vector<std::string_view> words;
    while (lines.next(line)) {
        splitWords(line, words);
        if (words.empty()) {
            continue;
        }
        const std::string_view kind = words[0];
        if (kind == "v") {
            if (words.size() < 3) {
                say(Finding::error, lines.number,
                    "vertex " + std::to_string(mesh.vertices.size()) +
                        " needs at least two coordinates");
                mesh.vertices.emplace_back();
                mesh.vertexLines.push_back(lines.number);
            } else {
                readPoint(words, 1, lines.number);
            }
        } else if (kind == "f") {
            for (std::size_t i = 1; i < words.size(); ++i) {
                long long index = 0;
                const std::string_view word = words[i].substr(0, words[i].find('/'));
                if (!readIndex(word, index)) {
                    say(Finding::error, lines.number,
                        "face " + std::to_string(mesh.faceCount()) + ": corner " +
                            quoted(words[i]) + " does not name a vertex");
                    index = 0;
                } else if (index < 0) {
                    index += static_cast<long long>(mesh.vertices.size()) + 1;
                    if (index < 1) {
                        say(Finding::error, lines.number,
                            "face " + std::to_string(mesh.faceCount()) + " uses vertex " +
                                std::string(word) + ", before the file's first vertex");
                        index = 0;
                    }
                } else if (index == 0) {
                    say(Finding::error, lines.number,
                        "face " + std::to_string(mesh.faceCount()) +
                            " uses vertex 0, but OBJ counts vertices from 1");
                }
                // A vertex already read is known to be there; a later one is judged at the end.
                if (index > 0 && index <= static_cast<long long>(mesh.vertices.size())) {
                    mesh.corners.push_back(static_cast<int>(index - 1));
                    continue;
                }
                if (index > 0) {
                    corners.push_back({mesh.faceCount(), mesh.corners.size(), index, word});
                }
                mesh.corners.push_back(-1);
            }
            endFace(lines.number);
        } else if (const auto known = ignoredKinds.find(kind); known != ignoredKinds.end()) {
            auto [at, added] = ignored.try_emplace(known->first, lines.number, 0);
            ++at->second.second;
        } else {
            say(Finding::warning, lines.number, "unknown statement " + quoted(kind) + " ignored");
        }
    }
    const long long count = static_cast<long long>(mesh.vertices.size());
    for (const Corner& c : corners) {
        if (c.index > count) {
            say(Finding::error, mesh.faceLines[c.face],
                "face " + std::to_string(c.face) + " uses vertex " + std::string(c.word) +
                    ", but the file has " + std::to_string(count) +
                    (count == 1 ? " vertex" : " vertices"));
        } else {
            mesh.corners[c.at] = static_cast<int>(c.index - 1);
        }
    }
    for (const auto& [kind, at] : ignored) {
        say(Finding::note, at.first,
            std::to_string(at.second) + " '" + std::string(kind) + "' statement" +
                (at.second == 1 ? "" : "s") + " (" + ignoredKinds.at(kind) +
                ") ignored: HEXIL reads only v and f");
    }
}

void Reader::readOff(std::string_view bytes) {
    Lines lines{bytes};
    std::string_view line;
    std::vector<std::string_view> words;
    // The next line with words on it; false at the end of the file.
    const auto nextWords = [&] {
        while (lines.next(line)) {
            splitWords(line, words);
            if (!words.empty()) {
                return true;
            }
        }
        return false;
    };
    nextWords(); // the header, known to be there
    std::vector<std::string_view> counts(words.begin() + 1, words.end());
    if (counts.empty() && nextWords()) {
        counts = words;
    }
    const int countsLine = lines.number;
    long long vertexCount = 0;
    long long faceCount = 0;
    if (counts.size() < 2 || !readIndex(counts[0], vertexCount) ||
        !readIndex(counts[1], faceCount) || vertexCount < 0 || faceCount < 0) {
        say(Finding::error, countsLine,
            "the counts of vertices and faces are missing after the OFF header");
        return;
    }
    // Each vertex and face takes a line, so larger counts than lines cannot be met; the
    // check keeps a file of a few bytes from asking for a huge allocation.
    const auto linesLeft = static_cast<long long>(bytes.size());
    for (long long v = 0; v < vertexCount; ++v) {
        if (v > linesLeft || !nextWords()) {
            say(Finding::error, lines.number,
                "the file ends after " + std::to_string(v) + " of its " +
                    std::to_string(vertexCount) + " vertices");
            return;
        }
        if (words.size() < 3) {
            say(Finding::error, lines.number,
                "vertex " + std::to_string(v) + " needs three coordinates");
            mesh.vertices.emplace_back();
            mesh.vertexLines.push_back(lines.number);
        } else {
            readPoint(words, 0, lines.number);
        }
    }
    for (long long f = 0; f < faceCount; ++f) {
        if (f > linesLeft || !nextWords()) {
            say(Finding::error, lines.number,
                "the file ends after " + std::to_string(f) + " of its " +
                    std::to_string(faceCount) + " faces");
            return;
        }
        long long k = 0;
        if (!readIndex(words[0], k) || k < 0) {
            say(Finding::error, lines.number,
                "face " + std::to_string(f) + ": " + quoted(words[0]) +
                    " is not a number of corners");
            k = 0;
        } else if (static_cast<long long>(words.size()) - 1 < k) {
            say(Finding::error, lines.number,
                "face " + std::to_string(f) + " has " + std::to_string(k) + " corners but lists " +
                    std::to_string(words.size() - 1));
            k = static_cast<long long>(words.size()) - 1;
        }
        for (long long i = 1; i <= k; ++i) {
            long long index = -1;
            if (!readIndex(words[i], index)) {
                say(Finding::error, lines.number,
                    "face " + std::to_string(f) + ": corner " + quoted(words[i]) +
                        " does not name a vertex");
                index = -1;
            } else if (index < 0 || index >= vertexCount) {
                say(Finding::error, lines.number,
                    "face " + std::to_string(f) + " uses vertex " + std::string(words[i]) +
                        ", but the file has " + std::to_string(vertexCount) +
                        (vertexCount == 1 ? " vertex" : " vertices") + ", counted from 0");
                index = -1;
            }
            mesh.corners.push_back(static_cast<int>(index));
        }
        endFace(lines.number);
    }
    if (nextWords()) {
        say(Finding::warning, lines.number, "text after the last face ignored");
    }
}

bool isOffHeader(std::string_view word) {
    return word == "OFF" || word == "COFF" || word == "NOFF" || word == "CNOFF";
}

} // namespace

NumberRead readNumber(std::string_view text, double& value) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        ++i;
    }
    const std::string_view body = text.substr(i);
    const auto named = [body](std::string_view name) {
        return body.size() == name.size() &&
               std::equal(body.begin(), body.end(), name.begin(), [](char c, char n) {
                   return (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) == n;
               });
    };
    if (named("inf") || named("infinity") || named("nan")) {
        return NumberRead::notFinite;
    }
    // The grammar first: digits, a point, digits, an exponent.
    std::uint64_t mantissa = 0;
    int digits = 0; // significant digits in mantissa
    int scale = 0;  // decimal places to move the point
    bool anyDigit = false;
    bool exact = true; // the mantissa holds every digit
    const auto takeDigits = [&](bool afterPoint) {
        while (i < text.size() && isDigit(text[i])) {
            anyDigit = true;
            const int d = text[i] - '0';
            if (digits < 19) {
                if (mantissa != 0 || d != 0) {
                    ++digits;
                }
                mantissa = mantissa * 10 + static_cast<std::uint64_t>(d);
                scale -= afterPoint ? 1 : 0;
            } else {
                exact = exact && d == 0;
                scale += afterPoint ? 0 : 1;
            }
            ++i;
        }
    };
    takeDigits(false);
    if (i < text.size() && text[i] == '.') {
        ++i;
        takeDigits(true);
    }
    if (!anyDigit) {
        return NumberRead::notANumber;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const std::size_t start = i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
            ++i;
        }
        if (i == text.size() || !isDigit(text[i])) {
            return NumberRead::notANumber;
        }
        int exponent = 0;
        const auto [stop, error] = std::from_chars(text.data() + start + (text[start] == '+'),
                                                   text.data() + text.size(), exponent);
        if (error != std::errc() || stop != text.data() + text.size()) {
            // An exponent beyond int: the number is 0 or not finite.
            if (error == std::errc::result_out_of_range && stop == text.data() + text.size()) {
                if (text[start] == '-' || mantissa == 0) {
                    value = negative ? -0.0 : 0.0;
                    return NumberRead::number;
                }
                return NumberRead::notFinite;
            }
            return NumberRead::notANumber;
        }
        scale += exponent;
        i = text.size();
    }
    if (i != text.size()) {
        return NumberRead::notANumber;
    }
    // Up to 2^53 and a power of ten that a double holds exactly, one multiplication or
    // division rounds correctly; anything else goes to the standard library's reading.
    if (exact && mantissa <= (std::uint64_t{1} << 53) && scale >= -22 && scale <= 22) {
        const double m = static_cast<double>(mantissa);
        value = scale < 0 ? m / exactPowers[static_cast<std::size_t>(-scale)]
                          : m * exactPowers[static_cast<std::size_t>(scale)];
        value = negative ? -value : value;
        return NumberRead::number;
    }
    // Past the largest double, or below the smallest, whatever the digits.
    if (mantissa != 0 && digits + scale > 310) {
        return NumberRead::notFinite;
    }
    if (mantissa == 0 || digits + scale < -330) {
        value = negative ? -0.0 : 0.0;
        return NumberRead::number;
    }
    std::istringstream stream{std::string(text)};
    stream.imbue(std::locale::classic());
    stream >> value;
    if (stream.fail() || !std::isfinite(value)) {
        return NumberRead::notFinite;
    }
    return NumberRead::number;
}

MeshText readMeshText(std::string_view bytes) {
    MeshText mesh;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    Reader reader{mesh};
    Lines lines{bytes};
    std::string_view line;
    std::vector<std::string_view> words;
    while (lines.next(line)) {
        splitWords(line, words);
        if (!words.empty()) {
            mesh.format = isOffHeader(words[0]) ? MeshFormat::off : MeshFormat::obj;
            break;
        }
    }
    if (mesh.format == MeshFormat::off) {
        reader.readOff(bytes);
    } else {
        reader.readObj(bytes);
    }
    return mesh;
}
