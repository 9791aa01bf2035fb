#include "application.h"

int main(int, char**) {
    return runViewer();
}
