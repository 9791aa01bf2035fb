#include "mesh/mesh_checker.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <set>
#include <span>

std::string vertexName(int vertex) {
    return "v" + std::to_string(vertex);
}

std::string faceName(int face) {
    return "face " + std::to_string(face);
}

double cross(Point2 o, Point2 a, Point2 b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

int sign(double value) {
    return (value > 0) - (value < 0);
}

namespace {

// How far a vertex may lie from the mesh's plane, and how small a face's area may be
// before it counts as none, relative to the mesh's size (its bounding box's diagonal).
constexpr double flatTolerance = 1e-6;
constexpr double areaTolerance = 1e-12;
// The most corners of a face checked for a vertex met twice pair by pair.
constexpr std::size_t smallFace = 8;

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string listed(const std::vector<int>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == lines.size() ? " and " : ", ") + std::to_string(lines[i]);
    }
    return text;
}

// Whether p, known to lie on the line through a and b, lies strictly between them.
bool strictlyBetween(Point2 a, Point2 b, Point2 p) {
    const double t = (p.x - a.x) * (b.x - a.x) + (p.y - a.y) * (b.y - a.y);
    const double length = (b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y);
    return t > 0 && t < length;
}

// How long a stretch two segments on one line have in common.
double sharedLength(Point2 a, Point2 b, Point2 c, Point2 d) {
    const bool alongX = std::abs(b.x - a.x) >= std::abs(b.y - a.y);
    const auto at = [&](Point2 p) { return alongX ? p.x : p.y; };
    return std::min(std::max(at(a), at(b)), std::max(at(c), at(d))) -
           std::max(std::min(at(a), at(b)), std::min(at(c), at(d)));
}

double area(std::span<const int> corners, const std::vector<Point2>& points) {
    double twice = 0;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Point2 a = points[corners[i]];
        const Point2 b = points[corners[(i + 1) % corners.size()]];
        twice += a.x * b.y - b.x * a.y;
    }
    return twice / 2;
}

} // namespace

EdgeGrid::EdgeGrid(const std::vector<MeshEdge>& edges, const std::vector<Point2>& points) {
    double right = points[edges[0].a].x, top = points[edges[0].a].y;
    left = right;
    bottom = top;
    double far = 0;
    for (const MeshEdge& e : edges) {
        for (int end : {e.a, e.b}) {
            const Point2 q = points[end];
            left = std::min(left, q.x);
            right = std::max(right, q.x);
            bottom = std::min(bottom, q.y);
            top = std::max(top, q.y);
            far = std::max({far, std::abs(q.x), std::abs(q.y)});
        }
    }
    side = std::clamp(static_cast<int>(std::ceil(std::sqrt(static_cast<double>(edges.size())))), 1,
                      maxGridSide);
    width = (right - left) / side;
    height = (top - bottom) / side;
    width = width > 0 ? width : 1;
    height = height > 0 ? height : 1;
    across = 1 / width;
    up = 1 / height;
    margin = gridMargin * (std::max(right - left, top - bottom) + far);
    edgesByCell = Groups(static_cast<std::size_t>(cells()), [&](auto give) {
        for (std::size_t i = 0; i < edges.size(); ++i) {
            forEachCell(points[edges[i].a], points[edges[i].b],
                        [&](int c) { give(c, static_cast<int>(i)); });
        }
    });
}

bool MeshChecker::checkSize() {
    const std::size_t corners = text.corners.size();
    // Every corner starts a half-edge of its own face, so the corners alone bound the count
    // from below before any edge is matched.
    if (corners > static_cast<std::size_t>(maxMeshHalfEdges)) {
        error(0, "the faces have " + std::to_string(corners) +
                     " corners, so the mesh would have more than " +
                     std::to_string(maxMeshHalfEdges) + " half-edges, the most HEXIL opens");
        return false;
    }
    if (text.vertices.size() > static_cast<std::size_t>(maxMeshHalfEdges)) {
        error(0, "the file has " + std::to_string(text.vertices.size()) +
                     " vertices, more than the " + std::to_string(maxMeshHalfEdges) +
                     " that HEXIL opens");
        return false;
    }
    if (text.faceCount() == 0 && !findings.failed()) {
        error(0, "the file has no faces");
        return false;
    }
    return true;
}

void MeshChecker::checkFaces() {
    valid.assign(text.faceCount(), true);
    std::vector<int> sorted;
    for (std::size_t face = 0; face < text.faceCount(); ++face) {
        const std::span<const int> corners = text.face(face);
        if (corners.size() < 3 || std::find(corners.begin(), corners.end(), -1) != corners.end()) {
            valid[face] = false; // already told
            continue;
        }
        // Most faces are small: a look at every pair clears them without the sorted copy.
        if (corners.size() <= smallFace) {
            bool twice = false;
            for (std::size_t i = 1; i < corners.size(); ++i) {
                for (std::size_t j = 0; j < i; ++j) {
                    twice = twice || corners[i] == corners[j];
                }
            }
            if (!twice) {
                continue;
            }
        }
        sorted.assign(corners.begin(), corners.end());
        std::sort(sorted.begin(), sorted.end());
        for (std::size_t i = 1; i < sorted.size(); ++i) {
            if (sorted[i] == sorted[i - 1] && (i == 1 || sorted[i - 2] != sorted[i])) {
                error(lineOf(static_cast<int>(face)),
                      "face " + std::to_string(face) + " visits vertex " + vertexName(sorted[i]) +
                          " more than once");
                valid[face] = false;
            }
        }
    }
}

bool MeshChecker::checkEdges() {
    for (std::size_t face = 0; face < text.faceCount(); ++face) {
        if (!valid[face]) {
            continue;
        }
        const std::span<const int> c = text.face(face);
        for (std::size_t i = 0; i < c.size(); ++i) {
            sides.push_back(
                {c[i], c[(i + 1) % c.size()], static_cast<int>(face), static_cast<int>(i)});
        }
    }
    // By edge (lower end, then higher), each edge's sides in face order as they were
    // added: two stable counting passes, by the higher end and then by the lower. The
    // sides themselves move, not their numbers (Groups): the opening's hottest loop.
    std::vector<MeshSide> byHigher(sides.size());
    std::vector<int> start(text.vertices.size() + 1);
    const auto pass = [&](const std::vector<MeshSide>& from, std::vector<MeshSide>& to, auto end) {
        std::fill(start.begin(), start.end(), 0);
        for (const MeshSide& s : from) {
            ++start[static_cast<std::size_t>(end(s)) + 1];
        }
        std::partial_sum(start.begin(), start.end(), start.begin());
        for (const MeshSide& s : from) {
            to[static_cast<std::size_t>(start[static_cast<std::size_t>(end(s))]++)] = s;
        }
    };
    pass(sides, byHigher, [](const MeshSide& s) { return std::max(s.a, s.b); });
    pass(byHigher, sides, [](const MeshSide& s) { return std::min(s.a, s.b); });
    bool good = true;
    for (std::size_t i = 0; i < sides.size();) {
        std::size_t j = i + 1;
        const int a = std::min(sides[i].a, sides[i].b);
        const int b = std::max(sides[i].a, sides[i].b);
        while (j < sides.size() && std::min(sides[j].a, sides[j].b) == a &&
               std::max(sides[j].a, sides[j].b) == b) {
            ++j;
        }
        if (j - i >= 3) {
            std::vector<int> lines;
            for (std::size_t k = i; k < j; ++k) {
                lines.push_back(lineOf(sides[k].face));
            }
            error(lines.front(), "the edge from " + vertexName(a) + " to " + vertexName(b) +
                                     " is used by " + std::to_string(j - i) + " faces (lines " +
                                     listed(lines) +
                                     "), but a half-edge has one opp, so an edge has at most "
                                     "two faces");
            good = false;
        } else if (j - i == 2 && sides[i].a == sides[i + 1].a) {
            error(lineOf(sides[i + 1].face),
                  faceAt(sides[i].face) + " and " + faceAt(sides[i + 1].face) + " both run from " +
                      vertexName(sides[i].a) + " to " + vertexName(sides[i].b) +
                      ": their orientations disagree (one of them is turned over)");
            good = false;
        }
        edges.push_back({a, b, static_cast<int>(i), j - i == 2 ? static_cast<int>(i + 1) : -1});
        i = j;
    }
    if (good && 2 * edges.size() > static_cast<std::size_t>(maxMeshHalfEdges)) {
        error(0, "the mesh has " + std::to_string(2 * edges.size()) +
                     " half-edges, more than the " + std::to_string(maxMeshHalfEdges) +
                     " that HEXIL opens");
        return false;
    }
    return good;
}

// Finds the plane, refuses a mesh that is not flat, and lays every vertex into the plane.
bool MeshChecker::project(PlanarMesh& mesh) {
    const std::vector<Point3>& p = text.vertices;
    Point3 low = p[text.corners[0]], high = low;
    for (const MeshSide& s : sides) {
        const Point3& q = p[s.a];
        low = {std::min(low.x, q.x), std::min(low.y, q.y), std::min(low.z, q.z)};
        high = {std::max(high.x, q.x), std::max(high.y, q.y), std::max(high.z, q.z)};
    }
    const double size = std::hypot(high.x - low.x, high.y - low.y, high.z - low.z);
    // The plane is the first face's: through its first three corners, so that a vertex
    // moved off a flat mesh is the one named, and turned the way the face winds (its
    // Newell normal). Three corners on a line leave the faces' normals added up, each
    // turned to agree with the rest.
    std::vector<Point3> normals(text.faceCount());
    for (const MeshSide& s : sides) {
        const Point3 &a = p[s.a], &b = p[s.b];
        Point3& n = normals[s.face];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    const int firstFace =
        static_cast<int>(std::find(valid.begin(), valid.end(), true) - valid.begin());
    const Point3 first = normals[firstFace];
    // The plane of the face's first three corners, turned the way the face winds.
    const std::span<const int> c = text.face(firstFace);
    const Point3 a = p[c[0]], b = p[c[1]], d = p[c[2]];
    const Point3 ab{b.x - a.x, b.y - a.y, b.z - a.z}, ad{d.x - a.x, d.y - a.y, d.z - a.z};
    Point3 n{ab.y * ad.z - ab.z * ad.y, ab.z * ad.x - ab.x * ad.z, ab.x * ad.y - ab.y * ad.x};
    const double turn = n.x * first.x + n.y * first.y + n.z * first.z < 0 ? -1 : 1;
    n = {turn * n.x, turn * n.y, turn * n.z};
    if (std::hypot(n.x, n.y, n.z) <= areaTolerance * size * size) {
        n = {};
        for (const Point3& m : normals) {
            const double turn = m.x * n.x + m.y * n.y + m.z * n.z < 0 ? -1 : 1;
            n = {n.x + turn * m.x, n.y + turn * m.y, n.z + turn * m.z};
        }
    }
    double length = std::hypot(n.x, n.y, n.z);
    if (!(length > 0)) {
        n = {0, 0, 1};
        length = 1;
    }
    n = {n.x / length, n.y / length, n.z / length};
    const Point3 mean = p[text.face(firstFace)[0]];
    std::vector<bool> used(p.size(), false);
    for (const MeshSide& s : sides) {
        used[s.a] = true;
    }
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (used[i] &&
            std::max({std::abs(p[i].x), std::abs(p[i].y), std::abs(p[i].z)}) > maxMeshCoordinate) {
            error(text.vertexLines[i], "vertex " + vertexName(static_cast<int>(i)) +
                                           " lies too far out: HEXIL opens coordinates up to " +
                                           number(maxMeshCoordinate) + " from the origin");
            return false;
        }
    }
    int farthest = -1;
    double distance = 0;
    bool level = true; // every used vertex at the first one's z
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (!used[i]) {
            continue;
        }
        const double d =
            std::abs((p[i].x - mean.x) * n.x + (p[i].y - mean.y) * n.y + (p[i].z - mean.z) * n.z);
        if (d > distance) {
            distance = d;
            farthest = static_cast<int>(i);
        }
        level = level && p[i].z == low.z;
    }
    if (farthest >= 0 && distance > flatTolerance * size) {
        error(text.vertexLines[farthest], "the mesh is not flat: " + vertexName(farthest) +
                                              " lies " + number(distance) +
                                              " from the plane of the first face (at most " +
                                              number(flatTolerance * size) + " is taken as flat)");
        return false;
    }
    points.resize(p.size());
    if (level || (n.x == 0 && n.y == 0)) {
        for (std::size_t i = 0; i < p.size(); ++i) {
            points[i] = {p[i].x, p[i].y};
        }
    } else {
        // Seen from the side on which the first face runs counter-clockwise: along -n when
        // n agrees with the first face's normal. The picture's x follows the coordinate axis
        // that lies most in the plane.
        const double toward = first.x * n.x + first.y * n.y + first.z * n.z < 0 ? -1 : 1;
        n = {toward * n.x, toward * n.y, toward * n.z};
        const double along[] = {std::abs(n.x), std::abs(n.y), std::abs(n.z)};
        const int axis = static_cast<int>(std::min_element(along, along + 3) - along);
        Point3 u{axis == 0 ? 1.0 : 0.0, axis == 1 ? 1.0 : 0.0, axis == 2 ? 1.0 : 0.0};
        const double dot = u.x * n.x + u.y * n.y + u.z * n.z;
        u = {u.x - dot * n.x, u.y - dot * n.y, u.z - dot * n.z};
        const double ul = std::hypot(u.x, u.y, u.z);
        u = {u.x / ul, u.y / ul, u.z / ul};
        const Point3 w{n.y * u.z - n.z * u.y, n.z * u.x - n.x * u.z, n.x * u.y - n.y * u.x};
        for (std::size_t i = 0; i < p.size(); ++i) {
            points[i] = {p[i].x * u.x + p[i].y * u.y + p[i].z * u.z,
                         p[i].x * w.x + p[i].y * w.y + p[i].z * w.z};
        }
    }
    mesh.points = points;
    return true;
}

void MeshChecker::checkAreas() {
    double low = points[sides[0].a].x, high = low;
    double bottom = points[sides[0].a].y, top = bottom;
    for (const MeshSide& s : sides) {
        const Point2 q = points[s.a];
        low = std::min(low, q.x);
        high = std::max(high, q.x);
        bottom = std::min(bottom, q.y);
        top = std::max(top, q.y);
    }
    const double smallest =
        areaTolerance * ((high - low) * (high - low) + (top - bottom) * (top - bottom));
    int firstFace = -1;
    for (std::size_t face = 0; face < text.faceCount(); ++face) {
        if (!valid[face]) {
            continue;
        }
        const double a = area(text.face(face), points);
        if (std::abs(a) <= smallest) {
            error(lineOf(static_cast<int>(face)),
                  "face " + std::to_string(face) + " has no area: its corners lie on one line");
            continue;
        }
        // Two vertices at one point are only a warning, but an edge between them points
        // nowhere, so the boundary could not be followed around its ends.
        const std::span<const int> c = text.face(face);
        bool point = false;
        for (std::size_t i = 0; i < c.size() && !point; ++i) {
            const Point2 p = points[c[i]], q = points[c[(i + 1) % c.size()]];
            if (p.x == q.x && p.y == q.y) {
                error(lineOf(static_cast<int>(face)),
                      "face " + std::to_string(face) + "'s edge from " + vertexName(c[i]) + " to " +
                          vertexName(c[(i + 1) % c.size()]) +
                          " has no length: both lie at one point");
                point = true;
            }
        }
        if (firstFace < 0) {
            firstFace = static_cast<int>(face);
            orientation = sign(a);
        } else if (sign(a) != orientation) {
            error(lineOf(static_cast<int>(face)),
                  "face " + std::to_string(face) + " runs " +
                      (orientation > 0 ? "clockwise" : "counter-clockwise") + " where " +
                      faceAt(firstFace) + " runs " +
                      (orientation > 0 ? "counter-clockwise" : "clockwise") +
                      ": it is turned over, so it overlaps its neighbours");
        }
    }
}

void MeshChecker::checkCrossings() {
    grid = EdgeGrid(edges, points);
    std::set<std::pair<int, int>> told;
    const auto edgeAt = [&](const MeshEdge& e) {
        const MeshSide& s = sides[e.first];
        return "edge " + vertexName(e.a) + "-" + vertexName(e.b) + " of " + faceName(s.face);
    };
    const auto tell = [&](int i, int j, const std::string& what) {
        if (told.insert({std::min(i, j), std::max(i, j)}).second) {
            const MeshEdge &e = edges[i], &g = edges[j];
            const int other = sides[g.first].face;
            error(lineOf(sides[e.first].face), edgeAt(e) + " " + what + " " + edgeAt(g) +
                                                   " (line " + std::to_string(lineOf(other)) + ")");
        }
    };
    const auto tellPoint = [&](int vertex, int j) {
        if (told.insert({-1 - vertex, j}).second) {
            const MeshEdge& g = edges[j];
            error(lineOf(sides[g.first].face), "vertex " + vertexName(vertex) + " (line " +
                                                   std::to_string(text.vertexLines[vertex]) +
                                                   ") lies on " + edgeAt(g));
        }
    };
    // Two edges from one vertex overlap when they leave it the same way. Sorted by the way
    // they leave, such edges are neighbours, so a vertex of many edges (a fan's hub) never
    // compares them all in pairs.
    const Groups leaving(points.size(), [&](auto give) {
        for (std::size_t i = 0; i < edges.size(); ++i) {
            give(edges[i].a, static_cast<int>(i));
            give(edges[i].b, static_cast<int>(i));
        }
    });
    constexpr double sameWay = 1e-9; // radians; the test itself is exact
    const double fullTurn = 2 * std::acos(-1.0);
    // Each edge's place in the counter-clockwise order around its ends a and b.
    std::vector<std::pair<int, int>> place(edges.size());
    std::vector<std::pair<double, int>> way;
    for (std::size_t vertex = 0; vertex < points.size(); ++vertex) {
        const Point2 s = points[vertex];
        const int at = static_cast<int>(vertex);
        const auto end = [&](int i) { return points[edges[i].a == at ? edges[i].b : edges[i].a]; };
        way.clear();
        for (int i : leaving.of(at)) {
            way.push_back({std::atan2(end(i).y - s.y, end(i).x - s.x), i});
        }
        std::sort(way.begin(), way.end());
        const std::size_t n = way.size();
        for (std::size_t k = 0; k < n; ++k) {
            const int i = way[k].second;
            (edges[i].a == at ? place[i].first : place[i].second) = static_cast<int>(k);
            for (std::size_t d = 1; d < n; ++d) {
                const std::size_t m = (k + d) % n;
                if (way[m].first - way[k].first + (m < k ? fullTurn : 0) > sameWay) {
                    break;
                }
                const Point2 p = end(i), q = end(way[m].second);
                if (cross(s, p, q) == 0 &&
                    (p.x - s.x) * (q.x - s.x) + (p.y - s.y) * (q.y - s.y) > 0) {
                    tell(std::min(i, way[m].second), std::max(i, way[m].second), "overlaps");
                }
            }
        }
    }
    // Whether edges i < j, which share no vertex, cross, overlap or touch; told when tellIt.
    const auto faulty = [&](int i, int j, bool tellIt) {
        const MeshEdge &e = edges[i], &g = edges[j];
        const Point2 a = points[e.a], b = points[e.b];
        const Point2 c = points[g.a], d = points[g.b];
        const int o1 = sign(cross(a, b, c)), o2 = sign(cross(a, b, d));
        const int o3 = sign(cross(c, d, a)), o4 = sign(cross(c, d, b));
        if (o1 * o2 < 0 && o3 * o4 < 0) {
            if (tellIt) {
                tell(i, j, "crosses");
            }
            return true;
        }
        if (o1 == 0 && o2 == 0 && sharedLength(a, b, c, d) > 0) {
            if (tellIt) {
                tell(i, j, "overlaps");
            }
            return true;
        }
        // An end on the other edge's inside; an end at the other's end is two vertices at
        // one point, which is only a warning.
        bool found = false;
        const std::pair<int, int> onEdge[] = {{o1, g.a}, {o2, g.b}, {o3, e.a}, {o4, e.b}};
        for (int k = 0; k < 4; ++k) {
            const auto [o, end] = onEdge[k];
            const bool onE = k < 2;
            if (o == 0 &&
                (onE ? strictlyBetween(a, b, points[end]) : strictlyBetween(c, d, points[end]))) {
                found = true;
                if (tellIt) {
                    tellPoint(end, onE ? i : j);
                }
            }
        }
        return found;
    };
    // In a cell, the edges are grouped by the end that most of the cell's edges share, and
    // edges of one group (which meet at that end) are not compared: around a fan's hub every
    // cell holds most of the hub's edges. What a cell finds is told in edge order.
    std::vector<int> uses(points.size(), 0);
    std::vector<std::pair<int, int>> grouped; // the group's end and the edge
    std::vector<std::pair<int, int>> found;
    for (int c = 0; c < grid.cells(); ++c) {
        const std::span<const int> cell = grid.cell(c);
        for (int i : cell) {
            ++uses[edges[i].a];
            ++uses[edges[i].b];
        }
        grouped.clear();
        for (int i : cell) {
            const MeshEdge& e = edges[i];
            grouped.push_back({uses[e.b] > uses[e.a] ? e.b : e.a, i});
        }
        for (int i : cell) {
            uses[edges[i].a] = uses[edges[i].b] = 0;
        }
        std::sort(grouped.begin(), grouped.end());
        found.clear();
        for (std::size_t x = 0, next = 0; x < grouped.size(); ++x) {
            while (next < grouped.size() && grouped[next].first == grouped[x].first) {
                ++next;
            }
            for (std::size_t y = next; y < grouped.size(); ++y) {
                const int i = std::min(grouped[x].second, grouped[y].second);
                const int j = std::max(grouped[x].second, grouped[y].second);
                const MeshEdge &e = edges[i], &g = edges[j];
                if (e.a != g.a && e.a != g.b && e.b != g.a && e.b != g.b && faulty(i, j, false)) {
                    found.push_back({i, j});
                }
            }
        }
        std::sort(found.begin(), found.end());
        for (const auto& [i, j] : found) {
            faulty(i, j, true);
        }
    }
    if (findings.failed()) {
        return;
    }
    // Faces that touch at a vertex without crossing can still overlap: one lies in the other's
    // corner there. A face's two sides at a corner must be neighbours in the order around the
    // vertex, the way in following the way out when the faces run counter-clockwise.
    std::vector<int> cornerEdge(sides.size());
    const std::vector<int>& base = text.faceStarts;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        for (int side : {edges[i].first, edges[i].second}) {
            if (side >= 0) {
                cornerEdge[base[sides[side].face] + sides[side].corner] = static_cast<int>(i);
            }
        }
    }
    for (std::size_t face = 0; face < text.faceCount(); ++face) {
        const std::span<const int> c = text.face(face);
        const int k = static_cast<int>(c.size());
        for (int corner = 0; corner < k; ++corner) {
            const int vertex = c[corner];
            const int out = cornerEdge[base[face] + corner];
            const int in = cornerEdge[base[face] + (corner + k - 1) % k];
            const auto placeOf = [&](int i) {
                return edges[i].a == vertex ? place[i].first : place[i].second;
            };
            const std::span<const int> around = leaving.of(vertex);
            const int n = static_cast<int>(around.size());
            const int from = orientation > 0 ? placeOf(out) : placeOf(in);
            const int to = orientation > 0 ? placeOf(in) : placeOf(out);
            if ((from + 1) % n != to) {
                const int inside = *std::find_if(around.begin(), around.end(), [&](int i) {
                    return placeOf(i) == (from + 1) % n;
                });
                const int other = sides[edges[inside].first].face;
                error(lineOf(other), faceAt(other) + " lies in the corner of " +
                                         faceAt(static_cast<int>(face)) + " at " +
                                         vertexName(vertex) + ": faces overlap");
                return;
            }
        }
    }
}

// Numbers the records of a mesh that passed every check.

void MeshChecker::checkNesting(const PlanarMesh& m) {
    std::vector<int> piece(m.read.size());
    std::iota(piece.begin(), piece.end(), 0);
    const auto root = [&](int x) {
        while (piece[x] != x) {
            x = piece[x] = piece[piece[static_cast<std::size_t>(x)]];
        }
        return x;
    };
    for (const MeshEdge& e : edges) {
        piece[root(e.a)] = root(e.b);
    }
    std::vector<int> leftmost(m.read.size(), -1);
    for (const MeshEdge& e : edges) {
        for (int end : {e.a, e.b}) {
            int& l = leftmost[root(end)];
            const Point2 p = points[end];
            if (l < 0 || p.x < points[l].x || (p.x == points[l].x && p.y < points[l].y)) {
                l = end;
            }
        }
    }
    for (std::size_t r = 0; r < leftmost.size(); ++r) {
        const int start = leftmost[r];
        if (start < 0) {
            continue;
        }
        const Point2 p = points[start];
        int hit = -1;
        double hitX = 0;
        const int row = grid.row(p.y);
        for (int col = grid.column(p.x); col >= 0; --col) {
            for (int i : grid.cell(row * grid.side + col)) {
                const MeshEdge& e = edges[i];
                if (root(e.a) == static_cast<int>(r)) {
                    continue;
                }
                const Point2 a = points[e.a], b = points[e.b];
                if ((a.y > p.y) == (b.y > p.y)) {
                    continue;
                }
                const double x = a.x + (b.x - a.x) * (p.y - a.y) / (b.y - a.y);
                if (x < p.x && (hit < 0 || x > hitX)) {
                    hit = i;
                    hitX = x;
                }
            }
            if (hit >= 0 && hitX >= grid.left + col * grid.width) {
                break;
            }
        }
        if (hit < 0) {
            continue;
        }
        // The region on the ray's side of the edge is the face of the side running down
        // (faces counter-clockwise) or up (clockwise).
        const MeshEdge& e = edges[hit];
        int inside = -1;
        for (int sideAt : {e.first, e.second}) {
            if (sideAt < 0) {
                continue;
            }
            const MeshSide& s = sides[sideAt];
            const bool down = points[s.a].y > points[s.b].y;
            if (down == (orientation > 0)) {
                inside = s.face;
            }
        }
        if (inside >= 0) {
            // The vertex's edge runs along the boundary: the face across from it is the
            // piece's own.
            const HalfEdge& out = m.halfEdges[m.vertices[start].edge];
            const int own = out.face < m.fileFaces ? out.face : m.halfEdges[out.opp].face;
            error(lineOf(own), "the piece with " + faceAt(own) + " lies inside " + faceAt(inside) +
                                   ": faces overlap");
        }
    }
}
