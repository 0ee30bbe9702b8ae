#include <gtest/gtest.h>
#include <zuvo_firmware/zuvo_firmware.h>

namespace
{
    using zuvo::Product;

    /** Puts the registry variant back to the normal one, also when a check fails. */
    struct ScopedVariant
    {
        explicit ScopedVariant (int variant)   { zuvo::g_forTargetDeviceQ = variant; }
        ~ScopedVariant()                       { zuvo::g_forTargetDeviceQ = 0; }
    };

    /** Checks a lookup of the registry in the normal variant, then in the target one. */
    template <typename Lookup, typename Value>
    void expectPerVariant (Lookup lookup, const Value& inNormalVariant, const Value& inTargetVariant)
    {
        {
            const ScopedVariant normal (0);
            EXPECT_EQ (lookup(), inNormalVariant);
        }

        const ScopedVariant target (1);
        EXPECT_EQ (lookup(), inTargetVariant);
    }

    struct NameCase
    {
        const char* portName;
        Product::PID normalPid;
        Product::PID targetPid;
    };

    const NameCase portNames[] =
    {
        { "Vantor M+ MIDI 1", 156, 2000 },
        { "  VANTOR M+  ", 156, 2000 },
        { "Vantor-M+ Port 1", 156, 2000 },
        { "vantor_m+", 156, 2000 },
        { "Vantor X+ Port 2", 161, 2000 },
        { "Vantor X+ MIDI 1", 161, 2000 },

        // The character between the family word and the model is required, and the plus is part of the model.
        { "VantorM+ MIDI 1", 2000, 2000 },
        { "VantorX+", 2000, 2000 },
        { "Vantor M MIDI 1", 150, 2000 },
        { "Vantor M", 2000, 2000 },

        // Co-branded editions carry the controller's fragment, but the exclusion rows ahead claim them;
        // the target variant knows them as products of their own.
        { "Kestrel Vantor M+ MIDI 1", 2000, 301 },
        { "Vantor M+ Nordlys", 2000, 302 },
        { "Kestrel Vantor G+", 2000, 303 },
        { "Vantor G+ MIDI 1", 158, 2000 },

        // A suffixed model stands before the plain one.
        { "Ostra C1 MK2", 102, 2000 },
        { "Ostra C1", 101, 2000 },
        { "Ostra C1 OEM", 2000, 304 },
        { "Kaleo 49 MK2 MIDI", 116, 2000 },
        { "Kaleo 49", 111, 2000 },

        // Inner blanks stay as they are: "?" takes exactly one character.
        { "Vantor  M+", 2000, 2000 },

        { "Zuvo firmware upgrade", 2000, 2000 },
        { "", 2000, 2000 },
        { "Microsoft GS Wavetable Synth", 2000, 2000 }
    };
}

TEST (ProductRegistry, RecognisesProductsByTheFirstMatchingRowOfTheChainInForce)
{
    for (const auto& c : portNames)
    {
        SCOPED_TRACE (c.portName);
        expectPerVariant ([&c] { return Product::pidFromDeviceName (c.portName); }, c.normalPid, c.targetPid);
    }
}

TEST (ProductRegistry, NamesDependOnTheVariant)
{
    struct Case { Product::PID pid; const char* normalName; const char* targetName; };

    const Case cases[] =
    {
        { 156, "Vantor M+", "Unknown" },
        { 161, "Vantor X+", "Unknown" },
        { 2000, "Unknown", "Unknown" },
        { -1, "Unknown", "Unknown" },
        { 142, "Lumo Beat", "Unknown" },
        { 143, "Lumo Beat", "Unknown" },
        { 301, "Unknown", "Kestrel Vantor M+" }
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.pid);
        expectPerVariant ([&c] { return Product::getName (c.pid); }, juce::String (c.normalName), juce::String (c.targetName));
    }

    // Only 1 selects the target variant.
    const ScopedVariant other (2);
    EXPECT_EQ (Product::getName (156), "Vantor M+");
    EXPECT_EQ (Product::pidFromDeviceName ("Vantor M+"), 156);
}

TEST (ProductRegistry, OnlyTwoThousandIsAnInvalidProduct)
{
    EXPECT_FALSE (Product::validPID (2000));

    for (const auto pid : { 156, 161, -1, 0, 1999, 2001 })
        EXPECT_TRUE (Product::validPID (pid)) << pid;
}

TEST (ProductRegistry, TheTargetSetHoldsTheProductsOfTheTargetVariant)
{
    const ScopedVariant target (1);
    int numTargets = 0;

    for (int pid = 0; pid < 2100; ++pid)
    {
        if (! Product::isTargetProduct (pid))
            continue;

        ++numTargets;
        EXPECT_NE (Product::getName (pid), "Unknown") << pid;
    }

    EXPECT_EQ (numTargets, 11);
    EXPECT_FALSE (Product::isTargetProduct (156));
    EXPECT_FALSE (Product::isTargetProduct (161));
}
