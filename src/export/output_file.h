#pragma once

#include <string>

// Writes a file whole or not at all: the bytes go to a new temporary file in the target's
// directory, which is renamed over the target only once everything is written. A failure
// at any step removes the temporary file and leaves the target as it was.
struct OutputFile {
    // Creates the temporary file; false (with error set) when the target's directory
    // cannot take it or the target is a directory.
    bool open(const std::string& path);
    // Writes the bytes, closes the file and renames it into place; false (with error
    // set) when a step fails.
    bool commit(const std::string& bytes);
    ~OutputFile();

    std::string path;
    std::string temporary; // empty when there is none
    int descriptor = -1;
    std::string error; // the reason, as the system gave it
};
