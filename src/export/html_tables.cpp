#include "export/html_tables.h"

#include "export/markup.h"
#include "export/tables.h"

#include <algorithm>
#include <sstream>

std::string htmlTables(const Subdivision& s) {
    std::ostringstream out;
    const std::vector<RecordTable> tables = recordTables(s);
    const SelectionRoles roles(s);
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
            const int number = static_cast<int>(r);
            const std::string selected = roleWord(t == 0   ? roles.vertex(number)
                                                  : t == 1 ? roles.face(number)
                                                           : roles.halfEdge(number));
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
