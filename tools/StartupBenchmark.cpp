/*
    Start-up time and peak memory of the editor:

        vtr_startup_benchmark [EDITOR [RUNS]]      (an empty EDITOR: the one built with it)

    Each run starts the editor on a private X server with fresh settings and
    single-instance folders, measures the time until its window shows painted
    content, reads the peak resident memory (VmHWM) once it has settled, and
    ends it with Escape. Prints every run, then the median and the worst.
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

Run measureOneStart (const std::string& editorPath, const x_session::PrivateServer& server)
{
    namespace fs = std::filesystem;
    const auto scratch = fs::temp_directory_path() / ("vtr-startup-" + std::to_string (getpid()));
    fs::create_directories (scratch / "settings");
    fs::create_directories (scratch / "instance");

    Run run;
    const auto start = Clock::now();
    const auto editor = x_session::startEditor (editorPath, server, scratch / "settings", scratch / "instance");
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
} // namespace

int main (int argc, char* argv[])
{
    const std::string editorPath = argc > 1 && *argv[1] != 0 ? argv[1] : VTR_APP_PATH;
    const auto runs = argc > 2 ? std::max (1, std::atoi (argv[2])) : 10;

    const x_session::PrivateServer server;
    if (server.getDisplay() == nullptr)
    {
        std::fprintf (stderr, "could not start Xvfb\n");
        return 1;
    }

    std::vector<double> times;
    long worstPeak = 0;

    for (int i = 0; i < runs; ++i)
    {
        const auto run = measureOneStart (editorPath, server);

        if (run.startMs < 0)
        {
            std::fprintf (stderr, "run %d: no painted window\n", i + 1);
            return 1;
        }

        std::printf ("run %2d: first painted window after %6.1f ms, peak resident %6.1f MiB\n",
                     i + 1, run.startMs, (double) run.peakKiB / 1024.0);
        times.push_back (run.startMs);
        worstPeak = std::max (worstPeak, run.peakKiB);
    }

    std::sort (times.begin(), times.end());
    std::printf ("start-up: median %.1f ms, worst %.1f ms (target < 400 ms); peak resident: worst %.1f MiB (target < 80 MiB)\n",
                 times[times.size() / 2], times.back(), (double) worstPeak / 1024.0);
    return 0;
}
