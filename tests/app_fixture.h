#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// A fresh working directory for one test, with tahoma.ttf unless asked not to.
struct WorkingDirectory {
    explicit WorkingDirectory(bool withFont = true) {
        std::string name = (std::filesystem::temp_directory_path() / "hexil-XXXXXX").string();
        path = ::mkdtemp(name.data());
        if (withFont) {
            std::filesystem::copy_file(HEXIL_FONT_PATH, path / "tahoma.ttf");
        }
        std::filesystem::current_path(path);
    }
    ~WorkingDirectory() {
        std::filesystem::current_path(original);
        std::filesystem::remove_all(path);
    }

    std::string read(const std::string& name) const {
        std::ifstream in(path / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path original = std::filesystem::current_path();
    std::filesystem::path path;
};
