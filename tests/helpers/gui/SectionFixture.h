#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "EditorTestKit.h"

#include "Arrays.h"
#include "Buttons.h"
#include "VtrPlus.h"

namespace gui_test
{

/** Every byte of the process-wide tables that a setter may write. */
struct TableImage
{
    TableImage()
    {
        std::memcpy (mcp[0], cb, sizeof (cb));
        std::memcpy (mcp[1], lg, sizeof (lg));
        std::memcpy (mcp[2], nd, sizeof (nd));
        std::memcpy (hui[0], HuiBnPairs, sizeof (HuiBnPairs));
        std::memcpy (hui[1], HuiKnPairs, sizeof (HuiKnPairs));
        std::memcpy (hui[2], HuiFdknPairs, sizeof (HuiFdknPairs));
        std::memcpy (hui[3], HuiJogPairs, sizeof (HuiJogPairs));
        std::memcpy (velos, knobVelos, sizeof (knobVelos));
    }

    bool operator== (const TableImage& other) const
    {
        return std::memcmp (this, &other, sizeof (*this)) == 0;
    }

    unsigned char mcp[3][100][4] {};
    unsigned char hui[4][70][2] {};
    unsigned char velos[9][2] {};
};


/** A fresh device world around one picture section, which each test builds
    once it has set the mode and map it wants; the world is reset again after.
*/
template <typename Section>
struct SectionFixture : public ::testing::Test
{
    SectionFixture()            { resetEditorWorld(); }
    ~SectionFixture() override  { section.reset(); resetEditorWorld(); }

    Section& build()
    {
        section = std::make_unique<Section>();
        return *section;
    }

    /** The section's button now bound to this control id, or nullptr. */
    MappableButton* buttonFor (int cid)
    {
        for (auto* c : section->getChildren())
            if (auto* b = dynamic_cast<MappableButton*> (c); b != nullptr && b->cid == cid)
                return b;

        return nullptr;
    }

    static VtrPlus& device()                    { return *VtrPlus::singletonHolder.get(); }
    static juce::ValueTree control (int cid)    { return device().getCurrentMap().getControlById (cid); }

    std::unique_ptr<Section> section;
};

} // namespace gui_test
