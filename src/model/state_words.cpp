#include "model/state_words.h"

#include "mesh/planar_mesh.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr const char* wordNames[] = {"angles", "labels", "listing", "pick",
                                     "select", "walk",   "mesh"};

// A whole decimal number, all of text. A sign makes no number of the state's: a minus
// reads as a number out of range, so that the refusal says what is wrong with it.
struct Number {
    bool read = false;
    bool signedOrNegative = false;
    int value = 0;
};

Number wholeNumber(std::string_view text) {
    Number n;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, n.value);
    n.read = !text.empty() && error == std::errc() && stop == end;
    n.signedOrNegative = n.read && text[0] == '-';
    return n;
}

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// "1000 x 600".
std::string windowSize() {
    return std::to_string(windowWidth) + " x " + std::to_string(windowHeight);
}

// What a name ranges over at this size: "v0 to v5", or why there is nothing.
std::string namesAt(const Subdivision& s, RecordRef::Kind kind) {
    const std::size_t count = kind == RecordRef::vertex ? s.vertices.size()
                              : kind == RecordRef::face ? s.faces.size()
                                                        : s.halfEdges.size();
    if (count == 0) {
        return "the structure is empty";
    }
    return recordName({kind, 0}) + " to " + recordName({kind, static_cast<int>(count) - 1});
}

} // namespace

std::optional<StateWord> stateWordNamed(std::string_view name) {
    for (int w = 0; w < static_cast<int>(std::size(wordNames)); ++w) {
        if (name == wordNames[w]) {
            return StateWord(w);
        }
    }
    return std::nullopt;
}

const char* stateWordName(StateWord word) {
    return wordNames[static_cast<int>(word)];
}

WordFault readStateWord(StateWord word, std::string_view value, StateWords& state) {
    switch (word) {
    case StateWord::angles: {
        const Number n = wholeNumber(value);
        if (!n.read) {
            return {WordFault::notNumber};
        }
        if (n.signedOrNegative || n.value > maxAngles) {
            return {WordFault::outOfRange};
        }
        state.angles = n.value;
        break;
    }
    case StateWord::labels:
    case StateWord::listing:
        if (value != "0" && value != "1") {
            return {WordFault::notSwitch};
        }
        (word == StateWord::labels ? state.showLabels : state.showListing) = value == "1";
        break;
    case StateWord::pick: {
        const std::size_t comma = value.find(',');
        const Number x = wholeNumber(value.substr(0, comma));
        const Number y = comma == value.npos ? Number{} : wholeNumber(value.substr(comma + 1));
        if (!x.read || !y.read) {
            return {WordFault::notClick};
        }
        if (x.signedOrNegative || y.signedOrNegative || x.value >= windowWidth ||
            y.value >= windowHeight) {
            return {WordFault::outsideWindow};
        }
        state.pick = Click{x.value, y.value};
        state.select.reset();
        break;
    }
    case StateWord::select: {
        const std::optional<RecordRef> record = parseRecordName(value);
        if (!record) {
            return {WordFault::notName};
        }
        state.select = record;
        state.pick.reset();
        break;
    }
    case StateWord::mesh:
        if (value.empty()) {
            return {WordFault::noFile};
        }
        state.mesh = value;
        break;
    case StateWord::walk:
        state.walk = value;
        if (value.empty()) {
            return {WordFault::noSteps};
        }
        for (std::size_t i = 0; i < value.size(); ++i) {
            if (!stepForLetter(value[i])) {
                return {WordFault::notAStep, i};
            }
        }
        break;
    }
    return {};
}

StateApplied applyState(const StateWords& words, Subdivision& s) {
    StateApplied applied;
    s.showLabels = words.showLabels;
    s.showListing = words.showListing;
    s.build(words.angles);
    if (words.pick) {
        if (s.faces.empty()) {
            applied.nothingToPick = true;
        } else {
            s.pick(words.pick->x, words.pick->y);
        }
    } else if (words.select) {
        applied.noSuchRecord = !s.select(*words.select);
    }
    for (const char letter : words.walk) {
        const std::optional<Step> step = stepForLetter(letter);
        if (!step || !s.step(*step)) {
            break;
        }
        ++applied.stepsTaken;
    }
    return applied;
}

std::string optionRefusal(StateWord word, const WordFault& fault, std::string_view value) {
    const std::string option = "--" + std::string(stateWordName(word)) + ": ";
    switch (fault.kind) {
    case WordFault::none:
        break;
    case WordFault::notNumber:
        return option + inQuotes(value) + " is not a whole number";
    case WordFault::outOfRange:
        return option + std::string(value) + " is out of range (0 to " + std::to_string(maxAngles) +
               ")";
    case WordFault::notSwitch:
        return option + inQuotes(value) + " is not 0 or 1";
    case WordFault::notClick:
        return option + inQuotes(value) + " is not X,Y (two whole numbers and a comma)";
    case WordFault::outsideWindow:
        return option + std::string(value) + " lies outside the " + windowSize() +
               " window (0 to " + std::to_string(windowWidth - 1) + ", 0 to " +
               std::to_string(windowHeight - 1) + ")";
    case WordFault::notName:
        return option + inQuotes(value) +
               " is not a record name (v, f or e and a number, as v3, f2, e7)";
    case WordFault::noSteps:
        return option + "no steps given (letters e, n, p, o, v, f)";
    case WordFault::noFile:
        return option + "the file name is empty";
    case WordFault::notAStep:
        return option + inQuotes(value) + ": letter " + std::to_string(fault.letter + 1) +
               " is not a step (e, n, p, o, v, f)";
    }
    return "";
}

std::string optionRefusal(const StateWords& words, const StateApplied& applied,
                          const Subdivision& s) {
    if (applied.noSuchRecord) {
        return "--select: " + recordName(*words.select) + " does not exist " +
               (s.mesh ? "in " + s.mesh->name : "at N = " + std::to_string(words.angles)) + " (" +
               namesAt(s, words.select->kind) + ")";
    }
    if (applied.stepsTaken == words.walk.size()) {
        return "";
    }
    const char letter = words.walk[applied.stepsTaken];
    const std::string step = "--walk: step " + std::to_string(applied.stepsTaken + 1) + " '" +
                             std::string(1, letter) + "' ";
    if (s.selected().kind == RecordRef::none) {
        return step + "has nothing to start from (at N = " + std::to_string(words.angles) +
               " the structure is empty)";
    }
    return step + (stepForLetter(letter) == Step::edge ? "needs a picked vertex or face"
                                                       : "needs a picked half-edge");
}

std::string linkRefusal(StateWord word) {
    switch (word) {
    case StateWord::angles:
        return "N is a number from 0 to " + std::to_string(maxAngles);
    case StateWord::labels:
    case StateWord::listing:
        return "0 or 1";
    case StateWord::pick:
        return "a window pixel X,Y";
    case StateWord::select:
        return "a record's name such as v3, f2 or e7";
    case StateWord::mesh:
        return "a mesh file beside the page, such as examples/square-hole.obj";
    case StateWord::walk:
        break;
    }
    return "";
}

bool isBesidePage(std::string_view name) {
    if (name.empty() || name.front() == '/' || name.front() == '\\' ||
        name.find(':') != std::string_view::npos ||
        std::any_of(name.begin(), name.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; })) {
        return false;
    }
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = std::min(name.find_first_of("/\\", start), name.size());
        if (name.substr(start, end - start) == "..") {
            return false;
        }
        start = end + 1;
    }
    return true;
}

std::vector<std::pair<std::string, std::string>> linkRefusals(const StateWords& words,
                                                              const StateApplied& applied,
                                                              const Subdivision& s,
                                                              std::string_view pickText) {
    std::vector<std::pair<std::string, std::string>> refused;
    const std::string atN =
        s.mesh ? " in " + s.mesh->name : " at N = " + std::to_string(words.angles);
    if (applied.nothingToPick) {
        refused.emplace_back("pick=" + std::string(pickText), "nothing to pick" + atN);
    } else if (applied.noSuchRecord) {
        refused.emplace_back("select=" + recordName(*words.select), "no such record" + atN);
    }
    const std::size_t i = applied.stepsTaken;
    if (i < words.walk.size()) {
        const RecordRef at = s.selected();
        const std::string where =
            "step " + std::to_string(i + 1) + " '" + std::string(1, words.walk[i]) + "'";
        refused.emplace_back(
            "walk=" + words.walk.substr(i),
            where + (!stepForLetter(words.walk[i])
                         ? " is not e, n, p, o, v or f"
                         : " does not apply to " +
                               (at.kind == RecordRef::none ? "nothing picked" : recordName(at))));
    }
    return refused;
}
