#include "web/link.h"

#include "mesh/planar_mesh.h"
#include "model/state_words.h"

#include <memory>

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

// The words of a fragment read into words, with one call of skip for each part refused.
// Returns the pick word's value as given.
template <typename Skip>
std::string_view readFragment(std::string_view fragment, StateWords& words, const Skip& skip) {
    std::string_view pickText;
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
        if (!word) {
            skip(part, "not a word of the link");
        } else if (readStateWord(*word, value, words).kind != WordFault::none &&
                   *word != StateWord::walk) { // a walk's steps are judged as it is taken
            skip(part, linkRefusal(*word));
        } else if (*word == StateWord::pick) {
            pickText = value;
        }
    }
    return pickText;
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
    const std::string_view pickText = readFragment(fragment, words, skip);
    if (!words.mesh.empty()) {
        const std::string part = "mesh=" + words.mesh;
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
    for (const auto& [part, why] : linkRefusals(words, applied, s, pickText)) {
        skip(part, why);
    }
    return ignored;
}

std::string stateFragment(int angles, const Subdivision& s, std::string_view meshName) {
    if (s.mesh && meshName.empty()) {
        return "";
    }
    std::string fragment =
        s.mesh ? "mesh=" + std::string(meshName) : "angles=" + std::to_string(angles);
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
