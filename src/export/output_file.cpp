#include "export/output_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string systemError() {
    return std::strerror(errno);
}

} // namespace

bool OutputFile::open(const std::string& target) {
    path = target;
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) {
        error = "is a directory";
        return false;
    }
    const std::filesystem::path where(path);
    const std::filesystem::path directory = where.has_parent_path() ? where.parent_path() : ".";
    std::string pattern = (directory / ("." + where.filename().string() + ".XXXXXX")).string();
    descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0) {
        error = systemError();
        return false;
    }
    temporary = pattern;
    // mkstemp makes the file private; the result gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(descriptor, 0666 & ~mask);
    return true;
}

bool OutputFile::commit(const std::string& bytes) {
    const char* next = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, next, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            error = systemError();
            return false;
        }
        next += written;
        left -= static_cast<std::size_t>(written);
    }
    const int closed = ::close(descriptor);
    descriptor = -1;
    if (closed != 0 || ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = systemError();
        return false;
    }
    temporary.clear();
    return true;
}

OutputFile::~OutputFile() {
    if (descriptor >= 0) {
        ::close(descriptor);
    }
    if (!temporary.empty()) {
        ::unlink(temporary.c_str());
    }
}
