/*
    Start-up time and peak memory of the editor, against the framework's floor:

        vtr_startup_benchmark [RUNS]

    Each round starts a bare framework window (one painted component) and then
    the editor on a private X server, the editor with fresh settings and
    single-instance folders; it measures the time until the window shows
    painted content, reads the peak resident memory (VmHWM) once it has
    settled, and ends the program with Escape. Prints every round, then the
    medians, their ratio and the worst.
*/

#include "gui/XSession.h"

#include <X11/keysym.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace
{
using Clock = std::chrono::steady_clock;

/** Whether the window's row shows more than one colour: the panel has been painted. */
bool isPainted (Display* display, Window window, int row)
{
    XWindowAttributes attributes {};
    if (XGetWindowAttributes (display, window, &attributes) == 0 || row >= attributes.height)
        return false;

    auto* image = XGetImage (display, window, 0, row, (unsigned int) attributes.width, 1, AllPlanes, ZPixmap);
    if (image == nullptr)
        return false;

    auto painted = false;
    for (int x = 1; x < attributes.width && ! painted; ++x)
        painted = XGetPixel (image, x, 0) != XGetPixel (image, 0, 0);

    XDestroyImage (image);
    return painted;
}

long peakResidentKiB (pid_t pid)
{
    std::ifstream status ("/proc/" + std::to_string (pid) + "/status");
    std::string key;

    while (status >> key)
    {
        if (key == "VmHWM:")
        {
            long kib = 0;
            status >> kib;
            return kib;
        }

        status.ignore (4096, '\n');
    }

    return -1;
}

struct Run { double startMs = -1.0; long peakKiB = -1; };

Run measureOneStart (const std::string& programPath, const x_session::PrivateServer& server)
{
    namespace fs = std::filesystem;
    const auto scratch = fs::temp_directory_path() / ("vtr-startup-" + std::to_string (getpid()));
    fs::create_directories (scratch / "settings");
    fs::create_directories (scratch / "instance");

    Run run;
    const auto start = Clock::now();
    const auto editor = x_session::startEditor (programPath, server, scratch / "settings", scratch / "instance");
    Window window = None;

    while (editor->isRunning() && Clock::now() - start < std::chrono::seconds (20))
    {
        const auto windows = server.shownWindows();

        if (windows.size() == 1 && isPainted (server.getDisplay(), windows.front(), 151))
        {
            window = windows.front();
            run.startMs = std::chrono::duration<double, std::milli> (Clock::now() - start).count();
            break;
        }

        x_session::sleepMs (1);
    }

    if (window != None)
    {
        x_session::sleepMs (1000);
        run.peakKiB = peakResidentKiB (editor->getPid());
        server.sendKey (window, XK_Escape);
        editor->endsWithin (10000);
    }

    fs::remove_all (scratch);
    return run;
}

double median (std::vector<double> times)
{
    std::sort (times.begin(), times.end());
    return times[times.size() / 2];
}
} // namespace

int main (int argc, char* argv[])
{
    const auto runs = argc > 1 ? std::max (1, std::atoi (argv[1])) : 10;

    const x_session::PrivateServer server;
    if (server.getDisplay() == nullptr)
    {
        std::fprintf (stderr, "could not start Xvfb\n");
        return 1;
    }

    std::vector<double> bareTimes, editorTimes;
    long worstPeak = 0;

    for (int i = 0; i < runs; ++i)
    {
        const auto bare = measureOneStart (VTR_BARE_WINDOW_PATH, server);
        const auto editor = measureOneStart (VTR_APP_PATH, server);

        if (bare.startMs < 0 || editor.startMs < 0)
        {
            std::fprintf (stderr, "round %d: no painted window\n", i + 1);
            return 1;
        }

        std::printf ("round %2d: first painted window after %6.1f ms (bare window %6.1f ms), peak resident %6.1f MiB\n",
                     i + 1, editor.startMs, bare.startMs, (double) editor.peakKiB / 1024.0);
        bareTimes.push_back (bare.startMs);
        editorTimes.push_back (editor.startMs);
        worstPeak = std::max (worstPeak, editor.peakKiB);
    }

    const auto editorMedian = median (editorTimes);
    const auto bareMedian = median (bareTimes);
    std::printf ("start-up: median %.1f ms, bare window %.1f ms, ratio %.2f (target <= 1.3); worst %.1f ms (target < 400 ms)\n",
                 editorMedian, bareMedian, editorMedian / bareMedian, *std::max_element (editorTimes.begin(), editorTimes.end()));
    std::printf ("peak resident: worst %.1f MiB (target < 80 MiB)\n", (double) worstPeak / 1024.0);
    return 0;
}
