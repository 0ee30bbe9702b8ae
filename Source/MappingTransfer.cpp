#include "MappingTransfer.h"

#include <zuvo_core/zuvo_core.h>

#include "Arrays.h"
#include "Defa.h"

namespace Messages
{
    juce::MidiMessage makeStart (int productId, int mode)
    {
        const juce::uint8 bytes[] = { 0xf0, 0x1d, 0x03,
                                      (juce::uint8) ((productId >> 7) & 0xff), (juce::uint8) (productId % 128),
                                      (juce::uint8) CtMode::protocolForType (mode),
                                      (juce::uint8) (mode == 4 ? 4 : mode + 1),
                                      0x7f, 0xf7 };
        return juce::MidiMessage (bytes, (int) sizeof (bytes));
    }

    juce::MidiMessage makeEnd()
    {
        return juce::MidiMessage::noteOn (15, 127, (juce::uint8) 127);
    }
}

void sendMidiBuffer (midiports::Output& output, const juce::MidiBuffer& block)
{
    output.sendBlockOfMessagesNow (block);
}

namespace
{
    using Record = std::array<juce::uint8, 6>;

    constexpr int numPositions = 98;

    /** The control whose record each stream position 1 to 98 carries; 0 where
        the record comes from a fixed slot (zoom buttons, directions, jog). */
    constexpr int controlAt[numPositions] = {
        25, 26, 27, 28, 29, 30, 31, 32,     // SEL 1-8
        17, 18, 19, 20, 21, 22, 23, 24,     // MUTE 1-8
         9, 10, 11, 12, 13, 14, 15, 16,     // SOLO 1-8
         1,  2,  3,  4,  5,  6,  7,  8,     // REC 1-8
        52, 51, 50, 49,                     // master strip
        57, 56, 55, 54,                     // bank and channel
        58, 59, 61, 60, 63, 62,             // transport
         0,  0,                             // zoom buttons
        49, 49, 49, 49, 49, 49, 49, 49, 49, // slots without a control
        33, 34, 35, 36, 37, 38, 39, 40,     // knob pushes
        64,                                 // scrub
         0,  0,  0,  0,                     // jog directions
        65, 66, 67, 68, 69, 70, 71, 72,     // knob rotation
         0,  0,                             // jog turn
        41, 42, 43, 44, 45, 46, 47, 48,     // fader touch
        53,                                 // master fader touch
        77, 78, 79, 80, 81, 82, 83, 84,     // faders
        85                                  // master fader
    };

    juce::uint8 low8 (int value)     { return (juce::uint8) (value & 0xff); }
    int intOf (const juce::ValueTree& control, const juce::Identifier& property)   { return (int) control[property]; }

    /** Sends the records of one map in their forms, blocks and pauses. */
    class Transfer
    {
    public:
        Transfer (midiports::Output& o, const CtMap& m)
            : output (o), mode (m.getCtMode()), isHui (CtMode::protocolForType (mode) == 1),
              // "pro-tools" is a factory mode: the unit gets its factory image,
              // whatever a loaded file or the "usrdef-hui" edits left behind.
              isFactoryHui (mode == 2), map (isFactoryHui ? CtMap (CtMode (2)) : m)
        {
        }

        void run (int productId)
        {
            output.sendMessageNow (zuvo::midiExtraMessage());
            output.sendMessageNow (Messages::makeStart (productId, mode));
            pause (2);

            for (int position = 1; position <= numPositions; ++position)
                sendPosition (position);

            output.sendMessageNow (zuvo::midiExtraMessage());
            countedStep (1);
            output.sendMessageNow (Messages::makeEnd());
            countedStep (1);
        }

    private:
        /** The slot of a position is that of its control in the stream table,
            so a map that lacks the control still sends that slot's record. */
        void sendPosition (int position)
        {
            const auto cid = controlAt[position - 1];
            const auto control = map.getControlById (cid);
            const auto slot = slotForCid (cid);

            if (position == 47 || position == 48)           sendZoomRecord (1, position);
            else if (position >= 67 && position <= 70)      sendDirectionRecord (1, position);
            else if (position >= 71 && position <= 78)      sendKnobRecord (1, control, slot);
            else if (position == 79 || position == 80)      sendJogRecord (1, position == 80);
            else if (position >= 90)                        sendFaderRecord (1, control, slot);
            else                                            sendControlRecord (control, slot);
        }

        //==============================================================================
        void sendControlRecord (const juce::ValueTree& control, int slot)
        {
            if (isHui)
                return sendInPairs ({ 0x0b, 0xb0, 0x0f, low8 (intOf (control, Tags::v1)), 0x2f, low8 (intOf (control, Tags::v2)) }, 1);

            if (intOf (control, Tags::value) == 0)
                return sendInPairs ({ 0x09, 0x90, 0x00, 0x7f, 0x00, 0x00 }, 1);

            const auto* t = slotRecord (slot);

            for (const auto byte : { t[0], t[1], t[2], (juce::uint8) 0x7f })
            {
                sendBlock ({ byte });
                countedStep (1);
            }

            sendBlock ({ 0x00, 0x00 });
            pause (1);
        }

        void sendZoomRecord (int pauseMs, int slot)
        {
            if (isHui)
                sendInPairs ({ 0x0b, 0xb0, 0x0f, pt[88][1], 0x2f, pt[88][2] }, pauseMs);
            else
                sendInPairs ({ 0x09, 0x90, slotRecord (slot)[2], 0x7f, 0x00, 0x00 }, pauseMs);
        }

        void sendDirectionRecord (int pauseMs, int slot)
        {
            if (isHui)
            {
                const auto* pair = isFactoryHui ? factoryHuiBnPair (slot - 1) : HuiBnPairs[slot - 1];
                return sendSingly ({ 0x0b, 0xb0, 0x0f, pair[0], 0x2f, pair[1] }, pauseMs);
            }

            const auto* t = slotRecord (slot);
            sendSingly ({ t[0], t[1], t[2], 0x7f, 0x00, 0x00 }, pauseMs);
        }

        void sendKnobRecord (int pauseMs, const juce::ValueTree& knob, int slot)
        {
            if (isHui)
                return sendSingly ({ 0x0b, 0xb0, (juce::uint8) (0x40 + lowNibbleOfValue2 (knob)), 0x40, 0x00, 0x00 }, pauseMs);

            const auto* t = slotRecord (slot);
            sendSingly ({ t[0], t[1], t[2], t[3], 0x00, 0x00 }, pauseMs);
        }

        void sendJogRecord (int pauseMs, bool half)
        {
            if (isHui)
            {
                const auto row = half ? 0 : 1;
                const auto* pair = isFactoryHui ? factoryHuiJogPair (row) : HuiJogPairs[row];
                return sendSingly ({ 0x0b, 0xb0, 0x0f, 0x0d, 0x2f, pair[1] }, pauseMs);
            }

            const auto* t = slotRecord (79 + (half ? 1 : 0));
            sendSingly ({ t[0], t[1], t[2], t[3], 0x00, 0x00 }, pauseMs);
        }

        void sendFaderRecord (int pauseMs, const juce::ValueTree& fader, int slot)
        {
            if (isHui)
            {
                const auto x = lowNibbleOfValue2 (fader);

                if (Defa::indexForvalue (mode, 3, intOf (fader, Tags::value)) <= 8)
                    sendSingly ({ 0x0b, 0xb0, x, 0x00, (juce::uint8) (0x20 + x), 0x00 }, pauseMs);
                else
                    sendSingly ({ 0x0b, 0xb0, (juce::uint8) (0x40 + x), 0x40, 0x00, 0x00 }, pauseMs);

                return;
            }

            const auto* t = slotRecord (slot);
            sendSingly ({ t[0], t[1], t[2], 0x00, 0x00, 0x00 }, pauseMs);
        }

        //==============================================================================
        static juce::uint8 lowNibbleOfValue2 (const juce::ValueTree& control)
        {
            return (juce::uint8) (intOf (control, Tags::v2) & 0x0f);
        }

        const juce::uint8* slotRecord (int slot) const
        {
            return arrForMoid[mode][slot];
        }

        /** Three blocks of two, each followed by an uncounted pause. */
        void sendInPairs (const Record& r, int pauseMs)
        {
            for (size_t i = 0; i < r.size(); i += 2)
            {
                sendBlock ({ r[i], r[i + 1] });
                pause (pauseMs);
            }
        }

        /** Six blocks of one, each followed by a counted step. */
        void sendSingly (const Record& r, int pauseMs)
        {
            for (const auto byte : r)
            {
                sendBlock ({ byte });
                countedStep (pauseMs);
            }
        }

        void sendBlock (std::initializer_list<juce::uint8> bytes)
        {
            for (const auto byte : bytes)
                block.addEvent (zuvo::nibbleMessage (byte), 0);

            sendMidiBuffer (output, block);
            block.clear();
        }

        void countedStep (int pauseMs)
        {
            if (++pacing == 2)
            {
                pacing = 0;
                pause (pauseMs);
            }
        }

        /** juce::Thread::sleep overshoots a 1 ms pause by some 7 % (the kernel's
            timer slack), 20 ms over the 297 pauses of a stream; so this sleeps
            for most of the pause and spins for the rest. */
        static void pause (int ms)
        {
            using Clock = std::chrono::steady_clock;
            const auto end = Clock::now() + std::chrono::milliseconds (ms);
            std::this_thread::sleep_for (std::chrono::microseconds (ms * 1000 - 150));

            while (Clock::now() < end)
                std::this_thread::yield();
        }

        midiports::Output& output;
        const int mode;
        const bool isHui, isFactoryHui;
        const CtMap map;
        juce::MidiBuffer block;
        int pacing = 0;
    };
}

juce::Result sendMapping (const juce::String& outputName, const CtMap& map, int& pid)
{
    if (outputName.isEmpty())
        return juce::Result::fail ("No device selected");

    const auto index = midiports::getOutputDevices().indexOf (outputName);

    if (index < 0)
        return juce::Result::fail (outputName + ": device does not exist");

    auto output = midiports::openOutputDevice (index);

    if (output == nullptr)
        return juce::Result::fail (outputName + ": could not open device");

    pid = 156 + 5 * (displayingExpander ? 1 : 0);
    Transfer (*output, map).run (pid);
    return juce::Result::ok();
}
