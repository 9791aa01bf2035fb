#include "app/application.h"

int main(int, char**) {
    return runViewer();
}
