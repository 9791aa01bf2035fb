#pragma once

#include "model/subdivision.h"
#include "model/walk.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The viewer's state in words, as hexil-export's options and the page's link both give it:
//   angles N       the corner count, a whole number from 0 to maxAngles
//   labels 0|1     the labels shown (the viewer's key c); hexil-export says --no-labels
//   listing 0|1    the listing shown (key t); hexil-export says --no-listing
//   pick X,Y       one left click at a window pixel
//   select NAME    the record named (v3, f2, e7) picked, as h over its listing row
//   walk STEPS     then the steps taken from the pick, letters e n p o v f in either case
//   mesh NAME      a mesh file (OBJ, OFF) shown in place of the fan; the caller opens it
//                  and sets the structure's mesh before applyState, which then ignores
//                  angles (hexil-export refuses both together)
// Numbers are whole and decimal, without a sign. Of pick and select the later word
// counts; of the same word twice, the later one.

// A window pixel clicked with the left button.
struct Click {
    int x = 0;
    int y = 0;

    bool operator==(const Click&) const = default;
};

// The state the words describe; a default value is the viewer's start.
struct StateWords {
    int angles = startAngles;
    bool showLabels = true;
    bool showListing = true;
    std::optional<Click> pick;       // at most one of pick and select is set
    std::optional<RecordRef> select; // whether it exists depends on the structure
    std::string walk;                // kept as given: its letters are judged as it is taken
    std::string mesh;                // the file's name as given; empty for the fan
};

enum class StateWord { angles, labels, listing, pick, select, walk, mesh };

// The word a name stands for ("angles", ...), or nothing for any other text.
std::optional<StateWord> stateWordNamed(std::string_view name);
// Its name.
const char* stateWordName(StateWord word);

// Why a word's value was refused.
struct WordFault {
    enum Kind {
        none,
        notNumber,     // angles: not a whole decimal number
        outOfRange,    // angles: a number outside 0 to maxAngles, or signed
        notSwitch,     // labels, listing: neither 0 nor 1
        notClick,      // pick: not two whole numbers and a comma
        outsideWindow, // pick: a pixel outside the window, or signed
        notName,       // select: not a record's name
        noSteps,       // walk: empty
        notAStep,      // walk: a letter that is not a step
        noFile,        // mesh: an empty name
    };
    Kind kind = none;
    std::size_t letter = 0; // notAStep: the first such letter, counted from 0
};

// Reads one word's value into state. A good value takes effect; a refused one leaves
// state as it was, except a walk, which is kept as given even when refused (the link
// takes its steps up to the first that is not one). Checks nothing that depends on the
// structure.
WordFault readStateWord(StateWord word, std::string_view value, StateWords& state);

// What became of the words on a structure.
struct StateApplied {
    bool nothingToPick = false; // a pick was given but the structure is empty
    bool noSuchRecord = false;  // the record selected does not exist
    std::size_t stepsTaken = 0; // the walk's letters taken; fewer than all when it stopped
};

// Sets the switches, builds the structure for the words' angles, then picks or selects and
// takes the walk's steps up to the first that is not a step or does not apply.
StateApplied applyState(const StateWords& words, Subdivision& s);

// The refusals in hexil-export's words: one line naming the option and the reason.
//   --angles: "x" is not a whole number
std::string optionRefusal(StateWord word, const WordFault& fault, std::string_view value);
// The first thing that did not apply, or an empty text when everything did.
//   --walk: step 2 'n' needs a picked half-edge
//   --select: f10 does not exist in square-hole.obj (f0 to f9)
std::string optionRefusal(const StateWords& words, const StateApplied& applied,
                          const Subdivision& s);

// Whether a mesh's name stays beside the page that names it: no scheme, no host, no
// absolute path and no "..", so that the page fetches only from its own folder; and no
// control character, such as a 0 that would cut the name short on its way to the page.
bool isBesidePage(std::string_view name);

// The refusals in the link's words: why a part was ignored, the part quoted by the caller.
//   N is a number from 0 to 9999
std::string linkRefusal(StateWord word);
// A part of the link that did not apply and why, one for the pick or the selection and one
// for the walk at most, in that order; pickText is the pick word's value as given.
//   {"walk=xo", "step 3 'x' is not e, n, p, o, v or f"}
std::vector<std::pair<std::string, std::string>> linkRefusals(const StateWords& words,
                                                              const StateApplied& applied,
                                                              const Subdivision& s,
                                                              std::string_view pickText);
