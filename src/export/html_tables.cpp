#include "export/html_tables.h"

#include "export/markup.h"
#include "export/tables.h"

#include <algorithm>
#include <sstream>

namespace {

bool listed(const std::vector<int>& positions, int position) {
    return std::find(positions.begin(), positions.end(), position) != positions.end();
}

// What the selection makes of record number of the table at index (vertices, faces,
// half-edges); empty for nothing.
std::string mark(const Subdivision& s, std::size_t table, int number) {
    if (table == 0) {
        return number == s.pickedVertex ? "picked" : "";
    }
    if (table == 1) {
        return number == s.pickedFace                   ? "picked"
               : listed(s.pickedFaceNeighbours, number) ? "neighbour"
                                                        : "";
    }
    return number == s.pickedHalfEdge            ? "picked"
           : number == s.pickedNext              ? "next"
           : number == s.pickedPrev              ? "prev"
           : number == s.pickedOpp               ? "opp"
           : listed(s.pickedVertexEdges, number) ? "at picked vertex"
                                                 : "";
}

} // namespace

std::string htmlTables(const Subdivision& s) {
    std::ostringstream out;
    const std::vector<RecordTable> tables = recordTables(s);
    for (std::size_t t = 0; t < tables.size(); ++t) {
        const RecordTable& table = tables[t];
        out << "<table>\n<caption>" << escapedMarkup(table.title) << " (" << table.rows.size()
            << ")</caption>\n<thead><tr>";
        for (const std::string& column : table.columns) {
            out << "<th scope=\"col\">" << escapedMarkup(column) << "</th>";
        }
        out << "<th scope=\"col\">selected</th></tr></thead>\n<tbody>\n";
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            const std::vector<std::string>& row = table.rows[r];
            const std::string selected = mark(s, t, static_cast<int>(r));
            std::string name = selected;
            std::replace(name.begin(), name.end(), ' ', '-');
            out << (name.empty() ? "<tr>" : "<tr class=\"" + name + "\">");
            for (std::size_t c = 0; c < row.size(); ++c) {
                const char* cell = c == 0 ? "th scope=\"row\"" : "td";
                out << '<' << cell << (c > 0 && table.numeric[c] ? " class=\"number\">" : ">")
                    << escapedMarkup(row[c]) << (c == 0 ? "</th>" : "</td>");
            }
            out << "<td>" << selected << "</td></tr>\n";
        }
        out << "</tbody>\n</table>\n";
    }
    return out.str();
}
