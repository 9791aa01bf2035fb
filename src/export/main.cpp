#include "export/export.h"

#include <iostream>

int main(int argc, char* argv[]) {
    return exportMain(argc, argv, std::cout, std::cerr);
}
