#include "Shared.h"

namespace
{
    /** Lists of slugs and names, built on first use. */
    const juce::StringArray& modeSlugs()
    {
        static const juce::StringArray slugs { "mackie", "logic", "pro-tools", "usrdef-mcp", "usrdef-hui" };
        return slugs;
    }

    const juce::StringArray& modeNames()
    {
        static const juce::StringArray names { "Mackie", "Logic Pro", "Pro Tools", "User Define", "User Define" };
        return names;
    }

    const juce::StringArray& kindSlugs()
    {
        static const juce::StringArray slugs { "button", "knob", "jog-wheel", "fader", "master-fader" };
        return slugs;
    }

    const juce::StringArray& typeSlugs()
    {
        static const juce::StringArray slugs { "note", "cc", "pitch", "null" };
        return slugs;
    }

    /** The index of an exact, case-sensitive match in the list, or 0. */
    int valueOfSlug (const juce::StringArray& slugs, const juce::String& text)
    {
        return juce::jmax (0, slugs.indexOf (text, false));
    }

    juce::String entryOf (const juce::StringArray& list, int index)
    {
        // StringArray gives the empty string for an index outside the list.
        return list[index];
    }
}

//==============================================================================
CtMode::CtMode (const juce::String& slug) : value (valueOfSlug (modeSlugs(), slug.trim())) {}

juce::String CtMode::slugForType (int modeNumber)  { return entryOf (modeSlugs(), modeNumber); }
juce::String CtMode::nameForType (int modeNumber)  { return entryOf (modeNames(), modeNumber); }

int CtMode::protocolForType (int modeNumber) noexcept
{
    return modeNumber == 2 || modeNumber == 4 ? 1 : 0;
}

CtKind::CtKind (const juce::String& slug) : value (valueOfSlug (kindSlugs(), slug)) {}

juce::String CtKind::slugForType (int kindNumber)  { return entryOf (kindSlugs(), kindNumber); }

CtType::CtType (const juce::String& slug) : value (valueOfSlug (typeSlugs(), slug)) {}

juce::String CtType::slugForType (int typeNumber)  { return entryOf (typeSlugs(), typeNumber); }

//==============================================================================
namespace Tags
{
    const juce::Identifier modes    { "modes" };
    const juce::Identifier curr     { "current" };
    const juce::Identifier map      { "map" };
    const juce::Identifier mode     { "mode" };
    const juce::Identifier name     { "name" };
    const juce::Identifier ptcl     { "protocol" };
    const juce::Identifier controls { "controls" };
    const juce::Identifier control  { "control" };
    const juce::Identifier cid      { "id" };
    const juce::Identifier kind     { "kind" };
    const juce::Identifier type     { "type" };
    const juce::Identifier chan     { "chan" };
    const juce::Identifier value    { "value" };
    const juce::Identifier v1       { "value1" };
    const juce::Identifier v2       { "value2" };
    const juce::Identifier velo     { "velo" };
}

int isZoomNorLR = 0;
int isJogLorR = 0;
bool displayingExpander = false;

//==============================================================================
namespace Defa
{
    int kindForCid (int cid) noexcept
    {
        if (cid >= 65 && cid <= 72)  return 1;
        if (cid == 73 || cid == 74)  return 2;
        if (cid >= 77 && cid <= 84)  return 3;
        if (cid == 85)               return 4;
        return 0;
    }

    int indexForId (int cid) noexcept
    {
        if (cid == 75 || cid == 76)  return cid - 29;
        if (cid >= 86)               return 155 - cid;
        if (cid >= 1 && cid <= 64)   return cid - 1;
        if (cid >= 65 && cid <= 72)  return cid - 65;

        if (cid == 73 || cid == 74)
        {
            switch (isZoomNorLR)
            {
                case 0:  return 0;
                case 1:  return 2 + isJogLorR;
                case 2:  return 4 + isJogLorR;
                default: return -1;
            }
        }

        if (cid >= 77 && cid <= 84)  return cid - 77;
        if (cid == 85)               return 0;
        return -1;
    }
}
