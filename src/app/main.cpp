#include "app/application.h"

#include <optional>
#include <string>

// hexil [FILE]: the mesh in FILE, else the fan. Further arguments are not read.
int main(int argc, char** argv) {
    return runViewer({}, argc > 1 ? std::optional<std::string>(argv[1]) : std::nullopt);
}
