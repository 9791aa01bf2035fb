#pragma once

#include <cstddef>
#include <string>

// The largest mesh file read: far more than a mesh of maxMeshHalfEdges needs, so that a
// file without end (a device, a pipe) is refused instead of read forever.
constexpr std::size_t maxMeshFileBytes = std::size_t{64} << 20;

// A file's bytes, or why they could not all be read.
struct FileBytes {
    std::string bytes;
    std::string error; // empty when read
};

// Reads the file at path whole, refusing one of more than maxMeshFileBytes with
// tooLargeReason().
FileBytes readMeshFile(const std::string& path);

// Why a file of more than maxMeshFileBytes is not read: "it is larger than 64 MiB".
std::string tooLargeReason();
