namespace zuvo
{

/** Which variant of the product registry is in force: 1 the target variant,
    any other value the normal one. 0 at start; the upgrade wizard sets it
    when it is built (see Product::isTargetProduct). */
extern int g_forTargetDeviceQ;

//==============================================================================
/**
    The registry of the maker's products: product IDs, their display names and
    the port-name patterns that recognise them.

    Two variants exist, chosen by g_forTargetDeviceQ: the normal one knows the
    Vantor M+ (156), the Vantor X+ (161) and the maker's other products; the
    target one knows only the co-branded editions and partner products of the
    target set. Static members only; message thread only.
*/
class Product
{
public:
    using PID = int;

    static constexpr PID controllerPid = 156;   // Vantor M+
    static constexpr PID extenderPid = 161;     // Vantor X+
    static constexpr PID unknownPid = 2000;     // nothing recognised, or an excluded edition

    /** False for 2000 only; negative IDs count as valid. */
    static bool validPID (int pid);

    /** The display name in the variant in force; "Unknown" for an ID without a row. */
    static juce::String getName (PID pid);

    /** The product behind a MIDI port name: the name is lower-cased and
        trimmed, then the first row of the pattern chain in force whose
        wildcard matches the whole name decides (an exclusion row gives 2000);
        2000 when no row matches. */
    static PID pidFromDeviceName (const juce::String& deviceName);

    /** Whether the upgrade wizard runs the target variant for this product ID. */
    static bool isTargetProduct (int pid);

    /** Fetches the firmware catalogue for a product from the firmware server.

        On success `firmwares` refers to the catalogue tree holding only the
        product's entries, in catalogue order. On failure it is left as passed,
        except when the catalogue has no entry for the product: then it refers
        to the catalogue tree emptied of entries. The message loop runs
        during the requests (see Network); a catalogue that does not arrive
        whole, with a 2xx status and within the size limit, is not read.
    */
    static juce::Result fetchAvailableFirmwares (int pid, juce::ValueTree& firmwares);

    /** The part of fetchAvailableFirmwares that reads the document: the text
        of the catalogue as the server sent it, with the same results and the
        same effect on `firmwares` for everything after the download. */
    static juce::Result readCatalogue (const juce::String& documentText, int pid, juce::ValueTree& firmwares);
};

} // namespace zuvo
