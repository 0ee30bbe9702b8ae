/*
    Turns a font file into the framework's own typeface format, holding the
    outlines, advances and kerning of the Latin-1 characters:

        vtr_serialise_typeface FONT_FILE OUTPUT_FILE

    Loading that format needs no font library and reads no installed font, so
    the editor starts without scanning the fonts of the machine; its glyphs are
    the font's own outlines, drawn as the framework draws any font.
*/

#include <juce_graphics/juce_graphics.h>

#include <cstdio>

namespace
{
constexpr juce::juce_wchar firstCharacter = 32;
constexpr juce::juce_wchar lastCharacter = 255;

juce::String text (juce::juce_wchar c)    { return juce::String::charToString (c); }

/** The advance of c (in font heights) and, when a kerning follows, the advance of the pair. */
float advanceOf (juce::Typeface& typeface, const juce::String& characters)
{
    juce::Array<int> glyphs;
    juce::Array<float> offsets;
    typeface.getGlyphPositions (characters, glyphs, offsets);
    return offsets.isEmpty() ? 0.0f : offsets.getLast();
}
} // namespace

int main (int argc, char* argv[])
{
    if (argc != 3)
    {
        std::fprintf (stderr, "usage: %s FONT_FILE OUTPUT_FILE\n", argv[0]);
        return 2;
    }

    juce::MemoryBlock fontData;

    if (! juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]).loadFileAsData (fontData))
        return 1;

    const auto source = juce::Typeface::createSystemTypefaceFor (fontData.getData(), fontData.getSize());

    if (source == nullptr || source->getName().isEmpty())
        return 1;

    juce::CustomTypeface typeface;
    typeface.setCharacteristics (source->getName(), source->getStyle(), source->getAscent(), L' ');

    for (auto c = firstCharacter; c <= lastCharacter; ++c)
    {
        juce::Array<int> glyphs;
        juce::Array<float> offsets;
        source->getGlyphPositions (text (c), glyphs, offsets);

        if (glyphs.size() != 1 || glyphs[0] < 0)
            continue;

        juce::Path outline;
        source->getOutlineForGlyph (glyphs[0], outline);
        typeface.addGlyph (c, outline, offsets[1]);
    }

    // Every pair whose advance differs from the sum of its characters' advances.
    for (auto first = firstCharacter; first <= lastCharacter; ++first)
        for (auto second = firstCharacter; second <= lastCharacter; ++second)
        {
            const auto kerning = advanceOf (*source, text (first) + text (second))
                                   - advanceOf (*source, text (first)) - advanceOf (*source, text (second));

            if (std::abs (kerning) > 1.0e-6f)
                typeface.addKerningPair (first, second, kerning);
        }

    juce::FileOutputStream out (juce::File::getCurrentWorkingDirectory().getChildFile (argv[2]));

    if (! out.openedOk() || ! out.setPosition (0) || ! out.truncate().wasOk())
        return 1;

    return typeface.writeToStream (out) ? 0 : 1;
}
