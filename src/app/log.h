#pragma once

#include <fstream>
#include <string>

// The start-up and shutdown log. The file is truncated on opening and every line is
// flushed as it is written. Lines are given as UTF-8 and stored in Windows-1250, one
// byte per Slovak letter. A file that cannot be opened drops every line silently.
struct Log {
    explicit Log(const std::string& fileName);

    void writeLine(const std::string& text);

    std::ofstream stream;
};

// UTF-8 to Windows-1250; a character the code page lacks, or a malformed sequence,
// becomes '?'.
std::string toWindows1250(const std::string& utf8);
