#pragma once

#include <juce_graphics/juce_graphics.h>

/**
    Decodes a PNG picture that the build draws into the program: 8-bit RGBA
    rows stored unfiltered, which it inflates straight into the new image's
    pixels. That takes a fraction of the time of the framework's decoder, which
    passes the whole picture through a buffer of its own, and the editor's
    largest pictures are decoded while its window waits for its first frame.

    A PNG of any other form goes to the framework's decoder. Data that is no
    whole PNG, or whose rows are cut short or do not inflate, gives a null
    image: the framework's decoder does not survive some of it.
*/
juce::Image decodeEmbeddedPng (const void* data, size_t numBytes);
