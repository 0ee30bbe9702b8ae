namespace zuvo
{

/** EF 7F 7F: Pitch Bend on channel 16 at its highest value. The unit takes it
    as the marker before the start and the end of a mapping stream, and before
    the upgrade request and the loader's command frames.
*/
extern const juce::uint8 midiExtra[3];

/** zuvo::midiExtra as one message. */
juce::MidiMessage midiExtraMessage();

/** One payload byte as the unit takes it: Note On on channel 16 (9F) whose
    note is the byte's high nibble and whose velocity is its low nibble, so 00
    travels as 9F 00 00 (a Note On with velocity 0, not a Note Off).
*/
juce::MidiMessage nibbleMessage (juce::uint8 byte);

} // namespace zuvo
