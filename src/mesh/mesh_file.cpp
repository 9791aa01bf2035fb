#include "mesh/mesh_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

FileBytes readMeshFile(const std::string& path) {
    FileBytes file;
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (!stream) {
        file.error = std::strerror(errno);
        return file;
    }
    char buffer[1 << 16];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, stream)) > 0;) {
        file.bytes.append(buffer, n);
        if (file.bytes.size() > maxMeshFileBytes) {
            file.error = tooLargeReason();
            break;
        }
    }
    if (file.error.empty() && std::ferror(stream)) {
        file.error = std::strerror(errno);
    }
    std::fclose(stream);
    if (!file.error.empty()) {
        file.bytes.clear();
    }
    return file;
}

std::string tooLargeReason() {
    return "it is larger than " + std::to_string(maxMeshFileBytes >> 20) + " MiB";
}
