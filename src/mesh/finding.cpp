#include "mesh/finding.h"

#include <algorithm>
#include <climits>

namespace {

const char* kindName(Finding::Kind kind) {
    switch (kind) {
    case Finding::error:
        return "error";
    case Finding::warning:
        return "warning";
    case Finding::note:
        break;
    }
    return "note";
}

} // namespace

void Findings::add(Finding::Kind kind, int line, std::string text) {
    int& count = kind == Finding::error ? errors : warnings;
    if (kind == Finding::note || ++count <= maxFindingsOfAKind) {
        kept.push_back({kind, line, std::move(text)});
    }
}

std::vector<std::string> Findings::lines(std::string_view fileName) const {
    const std::string name(fileName);
    std::vector<std::string> out;
    // In the file's order, as a compiler tells them; what concerns the whole file last.
    std::vector<Finding> sorted = kept;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Finding& l, const Finding& r) {
        return (l.line == 0 ? INT_MAX : l.line) < (r.line == 0 ? INT_MAX : r.line);
    });
    for (const Finding& f : sorted) {
        out.push_back(name + (f.line > 0 ? ":" + std::to_string(f.line) : "") + ": " +
                      kindName(f.kind) + ": " + f.text);
    }
    for (const auto& [kind, count] :
         {std::pair{Finding::error, errors}, {Finding::warning, warnings}}) {
        if (count > maxFindingsOfAKind) {
            out.push_back(name + ": " + kindName(kind) + ": " +
                          std::to_string(count - maxFindingsOfAKind) + " more " + kindName(kind) +
                          "s");
        }
    }
    return out;
}
