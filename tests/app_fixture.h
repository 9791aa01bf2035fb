#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

// Runs a test in a fresh working directory, with the label font as tahoma.ttf unless
// asked not to, and returns to the original directory afterwards.
struct WorkingDirectory {
    explicit WorkingDirectory(bool withFont = true) {
        namespace fs = std::filesystem;
        original = fs::current_path();
        path = fs::temp_directory_path() /
               ("hexil-" + std::to_string(::getpid()) + "-" + std::to_string(counter()++));
        fs::remove_all(path);
        fs::create_directories(path);
        if (withFont) {
            fs::copy_file(HEXIL_FONT_PATH, path / "tahoma.ttf");
        }
        fs::current_path(path);
    }
    ~WorkingDirectory() {
        std::filesystem::current_path(original);
        std::filesystem::remove_all(path);
    }

    std::string read(const std::string& name) const {
        std::ifstream in(path / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    static int& counter() {
        static int n = 0;
        return n;
    }

    std::filesystem::path original;
    std::filesystem::path path;
};
