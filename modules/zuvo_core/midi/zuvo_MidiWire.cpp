namespace zuvo
{

const juce::uint8 midiExtra[3] = { 0xef, 0x7f, 0x7f };

juce::MidiMessage midiExtraMessage()
{
    return juce::MidiMessage (midiExtra, (int) sizeof (midiExtra));
}

juce::MidiMessage nibbleMessage (juce::uint8 byte)
{
    const juce::uint8 bytes[] = { 0x9f, (juce::uint8) (byte >> 4), (juce::uint8) (byte & 0x0f) };
    return juce::MidiMessage (bytes, (int) sizeof (bytes));
}

} // namespace zuvo
