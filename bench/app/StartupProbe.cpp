// Starts the piano in an X server and times, from the moment it is started, when its window is
// mapped and when the score picture's pixels are on screen; reads the process's memory then and
// after it has settled. Prints numbers; never fails on them.
// Usage: startup_probe <piano binary> [runs]

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

long statusKiB(pid_t pid, const char* field)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::strlen(field) + 1));
    return -1;
}

struct Run {
    double mapped = -1, painted = -1;
    long peakAtPaintKiB = -1, residentSettledKiB = -1, peakSettledKiB = -1;
};

Run measure(Display* display, const char* piano)
{
    Run run;
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True);

    const auto t0 = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(piano, piano, static_cast<char*>(nullptr));
        _exit(127);
    }

    Window window = 0;
    while (!window && msSince(t0) < 20000) {
        while (XPending(display)) {
            XEvent e;
            XNextEvent(display, &e);
            if (e.type == MapNotify && e.xmap.event == root) {
                window = e.xmap.window;
                run.mapped = msSince(t0);
            }
        }
        if (!window)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    // Painted: a pixel inside the score picture is neither unpainted black nor the window's blue.
    while (window && msSince(t0) < 20000) {
        XImage* image = XGetImage(display, window, 300, 300, 1, 1, AllPlanes, ZPixmap);
        if (image) {
            const unsigned long pixel = XGetPixel(image, 0, 0);
            XDestroyImage(image);
            if (pixel != 0 && pixel != 0x0088ff) {
                run.painted = msSince(t0);
                run.peakAtPaintKiB = statusKiB(pid, "VmHWM");
                break;
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    std::this_thread::sleep_for(std::chrono::seconds(4));
    run.residentSettledKiB = statusKiB(pid, "VmRSS");
    run.peakSettledKiB = statusKiB(pid, "VmHWM");
    kill(pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 100 && waitpid(pid, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    XSelectInput(display, root, NoEventMask);
    return run;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <piano binary> [runs]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    std::vector<double> mapped, painted, peakPaint, rssSettled, peakSettled;
    for (int i = 0; i < runs; ++i) {
        const Run r = measure(display, argv[1]);
        std::printf("run %d: mapped %.0f ms, painted %.0f ms, peak memory at paint %ld MiB, "
                    "resident after 4 s %ld MiB (peak %ld MiB)\n",
                    i + 1, r.mapped, r.painted, r.peakAtPaintKiB / 1024, r.residentSettledKiB / 1024,
                    r.peakSettledKiB / 1024);
        mapped.push_back(r.mapped);
        painted.push_back(r.painted);
        peakPaint.push_back(r.peakAtPaintKiB / 1024.0);
        rssSettled.push_back(r.residentSettledKiB / 1024.0);
        peakSettled.push_back(r.peakSettledKiB / 1024.0);
    }
    std::printf("median over %d runs: mapped %.0f ms, painted %.0f ms, peak memory at paint %.0f MiB, "
                "resident after 4 s %.0f MiB (peak %.0f MiB)\n",
                runs, median(mapped), median(painted), median(peakPaint), median(rssSettled), median(peakSettled));
    XCloseDisplay(display);
    return 0;
}
