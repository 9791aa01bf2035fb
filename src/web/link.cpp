#include "web/link.h"

#include "mesh/planar_mesh.h"
#include "model/state_words.h"

#include <memory>
#include <optional>
#include <string>

namespace {

// A part of the fragment quoted for the notice, cut short so that the notice stays one
// short line whatever the fragment holds.
std::string quoted(std::string_view part) {
    constexpr std::size_t longest = 24;
    std::string text{part.substr(0, longest)};
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            c = '?';
        }
    }
    return "\"" + text + (part.size() > longest ? "...\"" : "\"");
}

int hexDigit(char c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : -1;
}

// A link's file name with its %XX escapes undone (a browser writes a space in an address
// as %20); nothing for a % not followed by two hexadecimal digits.
std::optional<std::string> unescaped(std::string_view value) {
    std::string name;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '%') {
            name += value[i];
            continue;
        }
        const int high = i + 2 < value.size() ? hexDigit(value[i + 1]) : -1;
        const int low = high >= 0 ? hexDigit(value[i + 2]) : -1;
        if (low < 0) {
            return std::nullopt;
        }
        name += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return name;
}

// A file name as a link writes it: letters, digits, - . _ ~ and / as they are, every
// other byte as %XX, so that & # % and spaces in a name cannot change the link's words.
std::string escaped(std::string_view name) {
    constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            text += c;
        } else {
            text += {'%', digits[byte >> 4], digits[byte & 0xF]};
        }
    }
    return text;
}

// The parts of a fragment that are quoted as given rather than as read.
struct GivenParts {
    std::string_view pickValue; // the pick word's value
    std::string_view meshPart;  // the mesh word's, escapes and all
};

// The words of a fragment read into words, with one call of skip for each part refused.
template <typename Skip>
GivenParts readFragment(std::string_view fragment, StateWords& words, const Skip& skip) {
    GivenParts given;
    while (!fragment.empty()) {
        const std::size_t amp = fragment.find('&');
        const std::string_view part = fragment.substr(0, amp);
        fragment = amp == std::string_view::npos ? std::string_view{} : fragment.substr(amp + 1);
        if (part.empty()) {
            continue;
        }
        const std::size_t equals = part.find('=');
        const std::optional<StateWord> word = stateWordNamed(part.substr(0, equals));
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view{} : part.substr(equals + 1);
        const std::optional<std::string> name =
            word == StateWord::mesh ? unescaped(value) : std::string(value);
        if (!word) {
            skip(part, "not a word of the link");
        } else if (!name) {
            skip(part, linkRefusal(*word));
        } else if (readStateWord(*word, *word == StateWord::mesh ? *name : value, words).kind !=
                       WordFault::none &&
                   *word != StateWord::walk) { // a walk's steps are judged as it is taken
            skip(part, linkRefusal(*word));
        } else if (*word == StateWord::pick) {
            given.pickValue = value;
        } else if (*word == StateWord::mesh) {
            given.meshPart = part;
        }
    }
    return given;
}

// Whether a fragment is too long to read: then it is ignored whole.
bool tooLong(std::string_view fragment) {
    return fragment.size() > maxFragmentLength;
}

} // namespace

std::string linkedMesh(std::string_view fragment) {
    if (tooLong(fragment)) {
        return "";
    }
    StateWords words;
    readFragment(fragment, words, [](std::string_view, const std::string&) {});
    return isBesidePage(words.mesh) ? words.mesh : "";
}

std::string applyFragment(std::string_view fragment, int& angles, Subdivision& s,
                          const std::optional<std::string>& meshBytes,
                          std::vector<std::string>* findings) {
    std::string ignored;
    const auto skip = [&](std::string_view part, const std::string& why) {
        ignored += (ignored.empty() ? "" : "; ") + quoted(part) + " (" + why + ")";
    };
    StateWords words{angles, s.showLabels, s.showListing, {}, {}, {}, {}};
    if (tooLong(fragment)) {
        ignored = "all of it (more than " + std::to_string(maxFragmentLength) + " characters)";
        fragment = {};
    }
    const GivenParts given = readFragment(fragment, words, skip);
    if (!words.mesh.empty()) {
        const std::string_view part = given.meshPart;
        if (!isBesidePage(words.mesh)) {
            skip(part, linkRefusal(StateWord::mesh));
        } else if (!meshBytes) {
            skip(part, "no such file beside the page");
        } else {
            MeshOpening opening = openMesh(*meshBytes, words.mesh);
            if (findings) {
                *findings = opening.lines();
            }
            if (opening.mesh) {
                s.mesh = opening.mesh;
            } else {
                skip(part, "the file does not open; its findings are under the picture");
            }
        }
    }
    angles = words.angles;
    const StateApplied applied = applyState(words, s);
    for (const auto& [part, why] : linkRefusals(words, applied, s, given.pickValue)) {
        skip(part, why);
    }
    return ignored;
}

std::string stateFragment(int angles, const Subdivision& s, std::string_view meshName) {
    if (s.mesh && meshName.empty()) {
        return "";
    }
    std::string fragment =
        s.mesh ? "mesh=" + escaped(meshName) : "angles=" + std::to_string(angles);
    if (!s.showLabels) {
        fragment += "&labels=0";
    }
    if (!s.showListing) {
        fragment += "&listing=0";
    }
    if (!s.walkPath.empty()) {
        fragment += "&select=" + recordName(s.walkPath.front());
    }
    if (!s.walkSteps.empty()) {
        fragment += "&walk=";
        for (Step step : s.walkSteps) {
            fragment += stepLetter(step);
        }
    }
    return !s.mesh && fragment == "angles=" + std::to_string(startAngles) ? "" : fragment;
}
