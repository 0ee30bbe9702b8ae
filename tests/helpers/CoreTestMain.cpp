#include <gtest/gtest.h>
#include <juce_events/juce_events.h>
#include <csignal>

// The framework is initialised once for the whole run, so tests can use the
// message loop, value trees and files.
int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);
    // The loopback servers of the tests write to sockets that clients may
    // already have closed.
    std::signal (SIGPIPE, SIG_IGN);

    juce::ScopedJuceInitialiser_GUI framework;
    return RUN_ALL_TESTS();
}
