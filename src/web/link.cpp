#include "web/link.h"

#include <charconv>

namespace {

// Reads a whole decimal number without sign, as hexil-export's options do.
bool readNumber(std::string_view text, int& number) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, number);
    return !text.empty() && text[0] != '-' && text[0] != '+' && result.ec == std::errc{} &&
           result.ptr == end;
}

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

struct Wanted {
    int angles;
    bool showLabels;
    bool showListing;
    std::string_view select; // the word's value; empty when not given
    std::string_view pick;
    std::string_view walk;
    bool pickLast = false; // pick came after select
};

} // namespace

std::string applyFragment(std::string_view fragment, int& angles, Subdivision& s) {
    std::string ignored;
    const auto skip = [&](std::string_view part, const std::string& why) {
        ignored += (ignored.empty() ? "" : "; ") + quoted(part) + " (" + why + ")";
    };
    Wanted wanted{angles, s.showLabels, s.showListing, {}, {}, {}};
    if (fragment.size() > maxFragmentLength) {
        ignored = "all of it (more than " + std::to_string(maxFragmentLength) + " characters)";
        fragment = {};
    }
    while (!fragment.empty()) {
        const std::size_t amp = fragment.find('&');
        const std::string_view part = fragment.substr(0, amp);
        fragment = amp == std::string_view::npos ? std::string_view{} : fragment.substr(amp + 1);
        if (part.empty()) {
            continue;
        }
        const std::size_t equals = part.find('=');
        const std::string_view word = part.substr(0, equals);
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view{} : part.substr(equals + 1);
        int number = 0;
        if (word == "angles") {
            if (readNumber(value, number) && number <= maxAngles) {
                wanted.angles = number;
            } else {
                skip(part, "N is a number from 0 to " + std::to_string(maxAngles));
            }
        } else if (word == "labels" || word == "listing") {
            if (value == "0" || value == "1") {
                (word == "labels" ? wanted.showLabels : wanted.showListing) = value == "1";
            } else {
                skip(part, "0 or 1");
            }
        } else if (word == "select") {
            if (parseRecordName(value)) {
                wanted.select = value;
                wanted.pickLast = false;
            } else {
                skip(part, "a record's name such as v3, f2 or e7");
            }
        } else if (word == "pick") {
            const std::size_t comma = value.find(',');
            int y = 0;
            if (comma != std::string_view::npos && readNumber(value.substr(0, comma), number) &&
                readNumber(value.substr(comma + 1), y) && number < windowWidth &&
                y < windowHeight) {
                wanted.pick = value;
                wanted.pickLast = true;
            } else {
                skip(part, "a window pixel X,Y");
            }
        } else if (word == "walk") {
            wanted.walk = value;
        } else {
            skip(part, "not a word of the link");
        }
    }

    angles = wanted.angles;
    s.showLabels = wanted.showLabels;
    s.showListing = wanted.showListing;
    s.build(angles);
    bool picked = false;
    if (!wanted.pick.empty() && wanted.pickLast && s.vertices.size() >= 3) {
        const std::size_t comma = wanted.pick.find(',');
        int x = 0;
        int y = 0;
        readNumber(wanted.pick.substr(0, comma), x);
        readNumber(wanted.pick.substr(comma + 1), y);
        s.pick(x, y);
        picked = true;
    } else if (!wanted.select.empty()) {
        picked = s.select(*parseRecordName(wanted.select));
        if (!picked) {
            skip("select=" + std::string{wanted.select},
                 "no such record at N = " + std::to_string(angles));
        }
    } else if (!wanted.pick.empty()) {
        skip("pick=" + std::string{wanted.pick},
             "nothing to pick at N = " + std::to_string(angles));
    }
    for (std::size_t i = 0; i < wanted.walk.size(); ++i) {
        const std::optional<Step> step = stepForLetter(wanted.walk[i]);
        const std::string where =
            "step " + std::to_string(i + 1) + " '" + std::string(1, wanted.walk[i]) + "'";
        if (!step) {
            skip("walk=" + std::string{wanted.walk.substr(i)},
                 where + " is not e, n, p, o, v or f");
            break;
        }
        if (!picked || !s.step(*step)) {
            skip("walk=" + std::string{wanted.walk.substr(i)},
                 where + " does not apply to " +
                     (picked ? recordName(s.selected()) : std::string{"nothing picked"}));
            break;
        }
    }
    return ignored;
}

std::string stateFragment(int angles, const Subdivision& s) {
    std::string fragment = "angles=" + std::to_string(angles);
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
    return fragment == "angles=" + std::to_string(startAngles) ? "" : fragment;
}
