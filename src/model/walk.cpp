#include "model/walk.h"

#include <cctype>
#include <charconv>

namespace {

struct StepName {
    Step step;
    char letter;
    const char* field;
};

constexpr StepName stepNames[] = {
    {Step::edge, 'e', "edge"}, {Step::next, 'n', "next"},     {Step::prev, 'p', "prev"},
    {Step::opp, 'o', "opp"},   {Step::target, 'v', "target"}, {Step::face, 'f', "face"},
};

const StepName& named(Step step) {
    return stepNames[static_cast<int>(step)];
}

} // namespace

std::string recordName(RecordRef record) {
    if (record.kind == RecordRef::none) {
        return "";
    }
    // Built in place: a frame names every record, tens of thousands at the largest N.
    char name[16] = {"-vfe"[record.kind]}; // the letter by kind, then the number
    return {name, std::to_chars(name + 1, name + sizeof name, record.number).ptr};
}

std::optional<RecordRef> parseRecordName(std::string_view name) {
    if (name.size() < 2) {
        return std::nullopt;
    }
    RecordRef record;
    switch (name[0]) {
    case 'v':
        record.kind = RecordRef::vertex;
        break;
    case 'f':
        record.kind = RecordRef::face;
        break;
    case 'e':
        record.kind = RecordRef::halfEdge;
        break;
    default:
        return std::nullopt;
    }
    const std::string_view digits = name.substr(1);
    // The listing never writes a sign or a leading zero, so neither names a record.
    if (!std::isdigit(static_cast<unsigned char>(digits[0])) ||
        (digits[0] == '0' && digits.size() > 1)) {
        return std::nullopt;
    }
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), record.number);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return record;
}

std::optional<Step> stepForLetter(char letter) {
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    for (const StepName& s : stepNames) {
        if (s.letter == lower) {
            return s.step;
        }
    }
    return std::nullopt;
}

char stepLetter(Step step) {
    return named(step).letter;
}

const char* fieldName(Step step) {
    return named(step).field;
}
