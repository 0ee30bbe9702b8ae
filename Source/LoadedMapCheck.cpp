#include "LoadedMapCheck.h"

#include "Arrays.h"
#include "Defa.h"

namespace
{
    enum Mode { proTools = 2, usrdefHui = 4 };
    enum Kind { button, knob, jogWheel, fader, masterFader };

    /** An int property in plain decimal, or its default when it is missing;
        nothing for any other text. */
    std::optional<int> intOf (const juce::ValueTree& control, const juce::Identifier& property, int fallback)
    {
        if (! control.hasProperty (property))
            return fallback;

        const auto text = control[property].toString();
        const auto number = text.getIntValue();

        if (juce::String (number) != text)
            return {};

        return number;
    }

    bool isIn (std::optional<int> number, int lowest, int highest)
    {
        return number.has_value() && *number >= lowest && *number <= highest;
    }

    template <size_t size>
    bool isIn (std::optional<int> number, const juce::uint8 (&bytes)[size])
    {
        return number.has_value() && std::find (bytes, bytes + size, *number) != bytes + size;
    }

    juce::String typeOf (const juce::ValueTree& control)
    {
        return control.getProperty (Tags::type, CtType::slugForType (0)).toString();
    }

    bool isMcpControl (const juce::ValueTree& control)
    {
        const auto type = typeOf (control);

        return CtType::slugForType (CtType (type)) == type
            && isIn (intOf (control, Tags::chan, 1), 1, 16)
            && isIn (intOf (control, Tags::value, 0), 0, 127)
            && isIn (intOf (control, Tags::v1, 0), 0, 127)
            && isIn (intOf (control, Tags::v2, 0), 0, 127)
            && isIn (intOf (control, Tags::velo, 127), 0, 127);
    }

    /** The pair bytes that the value boxes offer for a kind. */
    bool isHuiPairOfKind (int kind, std::optional<int> value1, std::optional<int> value2)
    {
        switch (kind)
        {
            case button:   return isIn (value1, 0, numHuiButtonZones - 1) && isIn (value2, HuiBnV2);
            case knob:     return isIn (value1, HuiKnV1) && isIn (value2, 0, numHuiKnobValue2 - 1);
            case jogWheel: return value1 == huiJogZone && isIn (value2, HuiJogV2);
            default:       return isIn (value1, HuiFdknV1) && isIn (value2, 0, numHuiFaderValue2 - 1);
        }
    }

    bool isProToolsJogFunction (std::optional<int> value)
    {
        return value == protoolsJogIndexesWhenZmN || isIn (value, protoolsJogIndexesWhenZmLR);
    }

    bool isHuiControl (int mode, int id, const juce::ValueTree& control)
    {
        const auto value = intOf (control, Tags::value, 0);
        const auto value1 = intOf (control, Tags::v1, 0);
        const auto value2 = intOf (control, Tags::v2, 0);

        if (typeOf (control) != CtType::slugForType (1)
             || ! isIn (intOf (control, Tags::chan, 1), 1, 16)
             || ! isIn (intOf (control, Tags::velo, 127), 0, 127))
            return false;

        const auto kind = (int) Defa::kindForCid (id);

        // Earlier editors stored the jog function of the zoom state they were
        // saved in; the load puts the normal state's back.
        if (mode == proTools && kind == jogWheel)
            return value == value1 && value == value2 && isProToolsJogFunction (value);

        if (mode == proTools)
            return value == Defa::factoryValue (proTools, id)
                && value1 == Defa::factoryV1V2 (proTools, id, 1)
                && value2 == Defa::factoryV1V2 (proTools, id, 2);

        if (! isHuiPairOfKind (kind, value1, value2))
            return false;

        if (kind == fader || kind == masterFader)
            return value == Defa::pairIndexFor (kind, *value1, *value2);

        return isIn (value, 0, Defa::nSelsInFunc2 (usrdefHui, kind) - 1);
    }
}

bool holdsOnlyWhatTheEditorWrites (const CtMap& loadedMap)
{
    const auto mode = (int) loadedMap.getCtMode();
    std::set<int> ids;

    for (const auto& control : loadedMap.tree.getChildWithName (Tags::controls))
    {
        const auto id = intOf (control, Tags::cid, 0);

        if (control.getType() != Tags::control || ! isIn (id, 1, 89) || ! ids.insert (*id).second)
            return false;

        if (control[Tags::kind].toString() != CtKind::slugForType (Defa::kindForCid (*id)))
            return false;

        const auto fits = mode == proTools || mode == usrdefHui ? isHuiControl (mode, *id, control)
                                                                : isMcpControl (control);
        if (! fits)
            return false;
    }

    return true;
}
