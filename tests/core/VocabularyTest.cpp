#include <gtest/gtest.h>

#include <Shared.h>
#include <common/FactoryImage.h>

namespace
{
    struct SlugCase
    {
        const char* text;
        int expected;
    };

    TEST (Vocabulary, ModeSlugsAreTrimmedThenMatchedExactly)
    {
        const SlugCase cases[] {
            { "mackie", 0 }, { "logic", 1 }, { "pro-tools", 2 }, { "usrdef-mcp", 3 }, { "usrdef-hui", 4 },
            { " logic ", 1 }, { "\tusrdef-hui\n", 4 }, { "Logic", 0 }, { "LOGIC", 0 }, { "", 0 },
            { "usrdef", 0 }, { "pro tools", 0 }, { "3", 0 }
        };

        for (const auto& c : cases)
        {
            SCOPED_TRACE (c.text);
            EXPECT_EQ ((int) CtMode (juce::String (c.text)), c.expected);
        }
    }

    TEST (Vocabulary, KindAndTypeSlugsAreMatchedUntrimmed)
    {
        const SlugCase kinds[] {
            { "button", 0 }, { "knob", 1 }, { "jog-wheel", 2 }, { "fader", 3 }, { "master-fader", 4 },
            { " knob", 0 }, { "Fader", 0 }, { "", 0 }
        };
        const SlugCase types[] {
            { "note", 0 }, { "cc", 1 }, { "pitch", 2 }, { "null", 3 }, { "CC", 0 }, { "pitch ", 0 }, { "", 0 }
        };

        for (const auto& c : kinds)
        {
            SCOPED_TRACE (c.text);
            EXPECT_EQ ((int) CtKind (juce::String (c.text)), c.expected);
        }

        for (const auto& c : types)
        {
            SCOPED_TRACE (c.text);
            EXPECT_EQ ((int) CtType (juce::String (c.text)), c.expected);
        }
    }

    TEST (Vocabulary, SlugsNamesAndProtocolsOfEveryValue)
    {
        struct ModeCase { int mode; const char* slug; const char* name; int protocol; };
        const ModeCase modes[] {
            { 0, "mackie", "Mackie", 0 }, { 1, "logic", "Logic Pro", 0 }, { 2, "pro-tools", "Pro Tools", 1 },
            { 3, "usrdef-mcp", "User Define", 0 }, { 4, "usrdef-hui", "User Define", 1 },
            { 5, "", "", 0 }, { -1, "", "", 0 }
        };

        for (const auto& c : modes)
        {
            SCOPED_TRACE (c.mode);
            EXPECT_EQ (CtMode::slugForType (c.mode), c.slug);
            EXPECT_EQ (CtMode::nameForType (c.mode), c.name);
            EXPECT_EQ (CtMode::protocolForType (c.mode), c.protocol);

            // A slug reads back as its own mode.
            if (c.mode >= 0 && c.mode <= 4)
            {
                EXPECT_EQ ((int) CtMode (CtMode::slugForType (c.mode)), c.mode);
            }
        }

        EXPECT_EQ (CtKind::slugForType (2), "jog-wheel");
        EXPECT_EQ (CtKind::slugForType (4), "master-fader");
        EXPECT_EQ (CtKind::slugForType (5), "");
        EXPECT_EQ (CtType::slugForType (3), "null");
        EXPECT_EQ (CtType::slugForType (9), "");
        EXPECT_EQ (CtType::slugForType (-1), "");
    }

    TEST (Vocabulary, TagsHoldTheTreeNames)
    {
        const std::pair<const juce::Identifier*, const char*> tags[] {
            { &Tags::modes, "modes" }, { &Tags::curr, "current" }, { &Tags::map, "map" },
            { &Tags::mode, "mode" }, { &Tags::name, "name" }, { &Tags::ptcl, "protocol" },
            { &Tags::controls, "controls" }, { &Tags::control, "control" }, { &Tags::cid, "id" },
            { &Tags::kind, "kind" }, { &Tags::type, "type" }, { &Tags::chan, "chan" },
            { &Tags::value, "value" }, { &Tags::v1, "value1" }, { &Tags::v2, "value2" }, { &Tags::velo, "velo" }
        };

        for (const auto& [tag, text] : tags)
            EXPECT_EQ (tag->toString(), text);
    }

    //==============================================================================
    struct ControlCase
    {
        int firstId, lastId, kind, firstPosition;
        int positionStep = 1;
    };

    TEST (Vocabulary, KindAndPositionOfEveryControlId)
    {
        const ScopedViewState normal (0, 0);

        const ControlCase cases[] {
            { 1, 64, 0, 0 }, { 65, 72, 1, 0 }, { 73, 74, 2, 0, 0 }, { 75, 76, 0, 46 },
            { 77, 84, 3, 0 }, { 85, 85, 4, 0 }, { 86, 89, 0, 69, -1 },
            { 0, 0, 0, -1, 0 }, { -5, -1, 0, -1, 0 }, { 90, 95, 0, 65, -1 }
        };

        for (const auto& c : cases)
        {
            for (int id = c.firstId; id <= c.lastId; ++id)
            {
                SCOPED_TRACE (id);
                EXPECT_EQ (Defa::kindForCid (id), c.kind);
                EXPECT_EQ (Defa::indexForId (id), c.firstPosition + (id - c.firstId) * c.positionStep);
            }
        }

        EXPECT_EQ (Defa::indexForId (88), 67);
    }

    TEST (Vocabulary, JogPositionFollowsTheViewState)
    {
        struct JogCase { int zoomState, jogHalf, position; };
        const JogCase cases[] {
            { 0, 0, 0 }, { 0, 1, 0 }, { 1, 0, 2 }, { 1, 1, 3 }, { 2, 0, 4 }, { 2, 1, 5 }, { 3, 0, -1 }, { -1, 1, -1 }
        };

        for (const auto& c : cases)
        {
            SCOPED_TRACE (juce::String (c.zoomState) + "/" + juce::String (c.jogHalf));
            const ScopedViewState view (c.zoomState, c.jogHalf);

            // Both halves share the position; only the jog ids move.
            EXPECT_EQ (Defa::indexForId (73), c.position);
            EXPECT_EQ (Defa::indexForId (74), c.position);
            EXPECT_EQ (Defa::indexForId (86), 69);
        }
    }
}
