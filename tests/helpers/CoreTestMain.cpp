#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

// The framework is initialised once for the whole run, so tests can use the
// message loop, value trees and files.
int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);
    juce::ScopedJuceInitialiser_GUI framework;
    return RUN_ALL_TESTS();
}
