// Bytes as a mesh file for the reader and checker: no crash, no hang; a mesh opens exactly
// when no error is found, and every mesh that opens keeps every invariant once opened into
// the structure, also with a vertex, a face, a boundary face or a half-edge selected and
// one step walked from it. A libFuzzer target with -fsanitize=fuzzer, else main replays a
// corpus, a fixed-seed stream of its files mutated, and large garbage.
#include "mesh/planar_mesh.h"
#include "model/subdivision.h"
#include "model/validation.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

void fail(const char* what, const Violation& v = {}) {
    std::fprintf(stderr, "mesh_fuzz: %s (invariant %d at %d: %s)\n", what, v.invariant, v.record,
                 v.what.c_str());
    std::abort();
}

void check(const Subdivision& s, const char* when) {
    if (const Violation v = checkInvariants(s)) {
        fail(when, v);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    MeshOpening opening = openMesh(bytes, "fuzz.obj");
    if ((opening.findings.failed() && opening.findings.lines("fuzz.obj").empty()) ||
        (opening.mesh != nullptr) == opening.findings.failed()) {
        fail("a mesh opens exactly when no error is found, and every error is told");
    }
    if (!opening.mesh) {
        return 0;
    }
    const PlanarMesh& m = *opening.mesh;
    const int vertices = static_cast<int>(m.vertices.size());
    const int faces = static_cast<int>(m.faces.size());
    const int halfEdges = static_cast<int>(m.halfEdges.size());
    if (halfEdges > maxMeshHalfEdges || m.fileFaces < 1 || faces <= m.fileFaces ||
        m.boundary.size() != m.faces.size() || m.faceLines.size() != m.faces.size() ||
        m.outerLoops < 1 || m.outerLoops + m.holes != faces - m.fileFaces) {
        fail("the records' counts disagree");
    }
    Subdivision s;
    s.open(opening.mesh, startAngles);
    check(s, "opened");
    const auto pick = [size](int count) { return static_cast<int>(size % count); };
    const RecordRef records[] = {{RecordRef::vertex, pick(vertices)},
                                 {RecordRef::face, pick(m.fileFaces)},
                                 {RecordRef::face, m.fileFaces + pick(faces - m.fileFaces)},
                                 {RecordRef::halfEdge, pick(halfEdges)}};
    constexpr Step steps[] = {Step::edge, Step::face, Step::opp, Step::next};
    for (int i = 0; i < 4; ++i) {
        if (!s.select(records[i])) {
            fail("an existing record cannot be selected");
        }
        check(s, "selected");
        s.step(steps[i]);
        check(s, "stepped");
    }
    return 0;
}

#ifndef HEXIL_LIBFUZZER
namespace {

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void run(const std::string& bytes) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// One of a few changes that keep most of a file's sense: a byte set at random, a line
// dropped or repeated, a number replaced by an edge case, a piece of another file spliced in.
std::string mutated(const std::vector<std::string>& files, std::mt19937& random) {
    std::string bytes = files[random() % files.size()];
    const auto at = [&](const std::string& s) { return s.empty() ? 0 : random() % s.size(); };
    static const char* const numbers[] = {"0",   "-1",         "1",     "2",      "3",
                                          "-4",  "99999",      "1e308", "1e-320", "nan",
                                          "0.5", "4294967297", "/",     "\n"};
    for (unsigned changes = 1 + random() % 3; changes > 0; --changes) {
        const std::size_t i = at(bytes);
        const std::size_t start =
            bytes.rfind('\n', i) == std::string::npos ? 0 : bytes.rfind('\n', i) + 1;
        const std::size_t end = std::min(bytes.find('\n', i), bytes.size());
        switch (random() % 5) {
        case 0:
            if (!bytes.empty()) {
                bytes[i] = static_cast<char>(random());
            }
            break;
        case 1:
            bytes.erase(start, end - start);
            break;
        case 2:
            bytes.insert(start, bytes.substr(start, end + 1 - start));
            break;
        case 3: {
            const std::size_t space = bytes.find_first_of(" \t", i);
            const std::size_t last =
                std::min(bytes.find_first_of(" \t\r\n", space + 1), bytes.size());
            if (space < last) {
                bytes.replace(space + 1, last - space - 1, numbers[random() % std::size(numbers)]);
            }
            break;
        }
        default: {
            const std::string& other = files[random() % files.size()];
            const std::size_t from = at(other);
            bytes.insert(start, other.substr(from, random() % 200));
        }
        }
    }
    return bytes;
}

// Large inputs that must be refused in time proportional to their size.
std::vector<std::string> garbage(std::mt19937& random) {
    constexpr std::size_t megabyte = 1 << 20;
    std::vector<std::string> inputs;
    std::string noise(megabyte, '\0');
    for (char& c : noise) {
        c = static_cast<char>(random());
    }
    inputs.push_back(noise);
    const auto repeated = [&](const std::string& head, const std::string& line) {
        std::string bytes = head;
        while (bytes.size() < megabyte) {
            bytes += line;
        }
        return bytes;
    };
    inputs.push_back(repeated("", "f 1 2 3\n"));
    inputs.push_back(repeated("v 0 0 0\nv 1 0 0\nv 0 1 0\n", "f 1 2 3\n"));
    inputs.push_back(repeated("", "v 1 2 3\n"));
    inputs.push_back(repeated("OFF\n2000000000 2000000000 0\n", "0 0 0\n"));
    inputs.push_back(repeated("OFF\n3 99999999999999999999 0\n0 0 0\n1 0 0\n0 1 0\n", "3 0 1 2\n"));
    inputs.push_back(repeated("f ", "1 "));
    inputs.push_back(repeated("v ", "123456789"));
    // A fan of triangles around one vertex at the size limit: every edge meets at the hub.
    constexpr int fan = maxMeshHalfEdges / 4 - 1;
    std::string hub = "v 0 0 0\n";
    for (int i = 0; i < fan; ++i) {
        const double angle = 6.283185307179586 * i / fan;
        hub +=
            "v " + std::to_string(std::cos(angle)) + " " + std::to_string(std::sin(angle)) + " 0\n";
    }
    for (int i = 0; i < fan; ++i) {
        hub += "f 1 " + std::to_string(i + 2) + " " + std::to_string((i + 1) % fan + 2) + "\n";
    }
    inputs.push_back(hub);
    return inputs;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
            files.push_back(fileBytes(entry.path()));
            run(files.back());
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "mesh_fuzz: no corpus files\n");
        return 1;
    }
    std::mt19937 random(20260314);
    constexpr int generated = 20000;
    for (int i = 0; i < generated; ++i) {
        run(mutated(files, random));
    }
    const std::vector<std::string> large = garbage(random);
    for (const std::string& bytes : large) {
        run(bytes);
    }
    std::printf("mesh_fuzz: %zu corpus files, %d mutated and %zu large inputs passed\n",
                files.size(), generated, large.size());
    return 0;
}
#endif
