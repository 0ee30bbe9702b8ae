#include "PipedChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

PipedChildProcess::PipedChildProcess (const juce::StringArray& arguments)
{
    int input[2], output[2];

    if (pipe2 (input, O_CLOEXEC) != 0)
        return;

    if (pipe2 (output, O_CLOEXEC) != 0)
    {
        close (input[0]);
        close (input[1]);
        return;
    }

    // dup2 leaves the child's ends open across exec; every other copy closes there.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init (&actions);
    posix_spawn_file_actions_adddup2 (&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2 (&actions, output[1], STDOUT_FILENO);

    std::vector<std::string> strings;
    std::vector<char*> argv;

    for (const auto& argument : arguments)
        strings.push_back (argument.toStdString());

    for (auto& s : strings)
        argv.push_back (s.data());

    argv.push_back (nullptr);

    if (posix_spawn (&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;

    posix_spawn_file_actions_destroy (&actions);
    close (input[0]);
    close (output[1]);
    toChild = input[1];
    fromChild = output[0];
}

PipedChildProcess::~PipedChildProcess()
{
    close (toChild);

    if (pid > 0)
    {
        // A descriptor for the child reads as ready once it has ended.
        const auto ended = (int) syscall (SYS_pidfd_open, pid, 0);
        pollfd end { ended, POLLIN, 0 };

        if (ended < 0 || poll (&end, 1, 5000) <= 0)
            kill (pid, SIGKILL);

        waitpid (pid, nullptr, 0);
        close (ended);
    }

    close (fromChild);
}

bool PipedChildProcess::writeLine (const juce::String& line)
{
    const auto bytes = line.toStdString() + "\n";

    for (size_t written = 0; written < bytes.size();)
    {
        const auto n = write (toChild, bytes.data() + written, bytes.size() - written);

        if (n <= 0)
            return false;

        written += (size_t) n;
    }

    return true;
}

juce::String PipedChildProcess::readLine (int timeoutMs)
{
    if (! hasStarted())
        return {};

    const auto giveUpAt = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    for (;;)
    {
        if (const auto end = unread.find ('\n'); end != std::string::npos)
        {
            const auto line = juce::String::fromUTF8 (unread.data(), (int) end);
            unread.erase (0, end + 1);
            return line;
        }

        const auto msLeft = (int) (giveUpAt - juce::Time::getMillisecondCounter());
        pollfd ready { fromChild, POLLIN, 0 };

        if (msLeft <= 0 || poll (&ready, 1, msLeft) <= 0)
            return {};

        char buffer[4096];
        const auto n = read (fromChild, buffer, sizeof (buffer));

        if (n <= 0)
            return {};

        unread.append (buffer, (size_t) n);
    }
}
