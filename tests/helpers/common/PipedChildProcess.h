#pragma once

#include <juce_core/juce_core.h>

#include <sys/types.h>

/** A child process that reads lines from this one and writes lines back:
    its standard input and output are pipes to this process, its standard
    error is this process's.

    The destructor closes the child's input, which tells a well-behaved child
    to end, and waits for it; one that has not ended within five seconds is
    killed. The pipes are not inherited by any other child.
*/
class PipedChildProcess
{
public:
    /** Starts the program (the first argument, a path) with the rest as its arguments. */
    explicit PipedChildProcess (const juce::StringArray& arguments);
    ~PipedChildProcess();

    bool hasStarted() const noexcept   { return pid > 0; }

    /** Writes the text and a newline to the child's input; false when it could not. */
    bool writeLine (const juce::String& line);

    /** The next line of the child's output (UTF-8, without its newline);
        empty when none came within the time or the output ended. */
    juce::String readLine (int timeoutMs);

private:
    pid_t pid = -1;
    int toChild = -1;
    int fromChild = -1;
    std::string unread;   // output read past the last line taken

    JUCE_DECLARE_NON_COPYABLE (PipedChildProcess)
};
