// frame_watch WINDOW PID QUIET_SECONDS X Y W H: sends SIGCONT to PID (0: to nobody), then
// reads the rectangle (X, Y, W, H) of the window over and over and, once it has stood
// still for QUIET_SECONDS, prints the seconds from the SIGCONT to the last change seen
// and the number of changes. A stopped viewer with input queued thus gives the time
// until its last frame is on the screen, to about a millisecond. A small rectangle that
// every frame changes (the status line) keeps the X server from being loaded by the
// watching itself.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>
#include <sys/types.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

struct Area {
    int x, y;
    unsigned width, height;
};

bool grab(Display* display, Window window, Area area, std::vector<char>& pixels) {
    XImage* image =
        XGetImage(display, window, area.x, area.y, area.width, area.height, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return false;
    }
    const size_t size = static_cast<size_t>(image->bytes_per_line) * image->height;
    pixels.assign(image->data, image->data + size);
    XDestroyImage(image);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 8) {
        std::fprintf(stderr, "usage: frame_watch WINDOW PID QUIET_SECONDS X Y W H\n");
        return 2;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const pid_t pid = static_cast<pid_t>(std::atol(argv[2]));
    const std::chrono::duration<double> quiet(std::atof(argv[3]));
    const Area area{std::atoi(argv[4]), std::atoi(argv[5]),
                    static_cast<unsigned>(std::atoi(argv[6])),
                    static_cast<unsigned>(std::atoi(argv[7]))};
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr || window == 0) {
        std::fprintf(stderr, "frame_watch: no display or no window\n");
        return 1;
    }
    std::vector<char> previous;
    std::vector<char> current;
    if (!grab(display, window, area, previous)) {
        std::fprintf(stderr, "frame_watch: cannot read the window\n");
        return 1;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    if (pid > 0 && kill(pid, SIGCONT) != 0) {
        std::perror("frame_watch: SIGCONT");
        return 1;
    }
    Clock::time_point lastChange = start;
    int changes = 0;
    while (Clock::now() - lastChange < quiet) {
        if (!grab(display, window, area, current)) {
            std::fprintf(stderr, "frame_watch: the window went away\n");
            return 1;
        }
        if (current != previous) {
            lastChange = Clock::now();
            ++changes;
            previous.swap(current);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::printf("%.4f %d\n", std::chrono::duration<double>(lastChange - start).count(), changes);
    XCloseDisplay(display);
    return 0;
}
