#pragma once

#include <optional>
#include <string>
#include <string_view>

// A record named by its kind and number, as the listing names it: v3, f2, e7.
struct RecordRef {
    enum Kind { none, vertex, face, halfEdge };
    Kind kind = none;
    int number = -1;

    bool operator==(const RecordRef&) const = default;
};

// "v3", "f2", "e7" (and "e-1" for a link to no record); empty for none. Every output names
// records this way.
std::string recordName(RecordRef record);
inline std::string recordName(RecordRef::Kind kind, int number) {
    return recordName(RecordRef{kind, number});
}
// A vertex's edge as the listing and the tables name it: "-" for a vertex that has none
// (a mesh's vertex that no face uses).
inline std::string vertexEdgeName(int halfEdge) {
    return halfEdge < 0 ? "-" : recordName(RecordRef::halfEdge, halfEdge);
}
// The record a name such as "v3", "f2" or "e7" names, whether or not it exists in a
// structure; nothing for any other text (a missing or signed number, leading zeros,
// a letter other than v, f or e, trailing characters).
std::optional<RecordRef> parseRecordName(std::string_view name);

// One step of a walk: the record field it follows. edge applies to a vertex or a face;
// the other five to a half-edge.
enum class Step { edge, next, prev, opp, target, face };

// The step a letter stands for, case-blind: e, n, p, o, v, f.
std::optional<Step> stepForLetter(char letter);
// Its letter, lower case.
char stepLetter(Step step);
// The name of the field it follows: "edge", "next", "prev", "opp", "target", "face".
const char* fieldName(Step step);

// The longest walk kept: at one step more the anchor moves forward one step, so the
// expression stays short and always reads true.
constexpr int maxWalkSteps = 8;
