#include "LoadedMapCheck.h"

#include "Arrays.h"
#include "Defa.h"

namespace
{
    enum Mode { proTools = 2, usrdefMcp = 3, usrdefHui = 4 };
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

    /** A knob or the jog's normal state: the controls whose slot record the
        unit gets with its velocity (the rotation pattern of a controller). */
    bool sendsItsVelocity (int id)
    {
        return (id >= 65 && id <= 72) || id == 73 || id == 74;
    }

    bool isMcpControl (int mode, int id, const juce::ValueTree& control)
    {
        const auto type = typeOf (control);
        const auto velo = intOf (control, Tags::velo, 127);

        if (mode == usrdefMcp && sendsItsVelocity (id) && velo != 64 && velo != 127)
            return false;

        return CtType::slugForType (CtType (type)) == type
            && isIn (intOf (control, Tags::chan, 1), 1, 16)
            && isIn (intOf (control, Tags::value, 0), 0, 127)
            && isIn (intOf (control, Tags::v1, 0), 0, 127)
            && isIn (intOf (control, Tags::v2, 0), 0, 127)
            && isIn (velo, 0, 127);
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
                                                                : isMcpControl (mode, *id, control);
        if (! fits)
            return false;
    }

    return true;
}

//==============================================================================
namespace
{
    const int jogHalves[] = { 73, 74 };

    bool isProToolsJogFunction (std::optional<int> value)
    {
        return value == protoolsJogIndexesWhenZmN || isIn (value, protoolsJogIndexesWhenZmLR);
    }

    void restoreProToolsJog (const CtMap& map)
    {
        for (auto id : jogHalves)
        {
            auto control = map.getControlById (id);
            const auto holdsJogFunctions = isProToolsJogFunction (intOf (control, Tags::value, 0))
                                        && isProToolsJogFunction (intOf (control, Tags::v1, 0))
                                        && isProToolsJogFunction (intOf (control, Tags::v2, 0));

            if (! control.isValid() || ! holdsJogFunctions)
                continue;

            control.setProperty (Tags::value, Defa::factoryValue (proTools, id), nullptr);
            control.setProperty (Tags::v1, Defa::factoryV1V2 (proTools, id, 1), nullptr);
            control.setProperty (Tags::v2, Defa::factoryV1V2 (proTools, id, 2), nullptr);
        }
    }

    void restoreUserHuiJog (const CtMap& map)
    {
        for (auto id : jogHalves)
        {
            auto control = map.getControlById (id);
            const auto value = intOf (control, Tags::value, 0);
            const auto isJogFunction = isIn (value, 0, Defa::nSelsInFunc2 (usrdefHui, jogWheel) - 1);
            const auto isButtonFunction = isIn (value, 0, Defa::nSelsInFunc2 (usrdefHui, button) - 1);

            if (control.isValid() && isButtonFunction && ! isJogFunction)
                control.setProperty (Tags::value, HuiJogMappIndex[id - 73], nullptr);
        }
    }

    /** What the unit gets of a jog half: its type, chan, value and velo, or
        nothing when the half holds what the editor does not write. */
    std::optional<std::array<int, 4>> mcpAssignmentOf (const juce::ValueTree& half, int id)
    {
        if (! half.isValid() || ! isMcpControl (usrdefMcp, id, half))
            return {};

        return std::array<int, 4> { (int) CtType (typeOf (half)), *intOf (half, Tags::chan, 1),
                                    *intOf (half, Tags::value, 0), *intOf (half, Tags::velo, 127) };
    }

    void restoreUserMcpJog (const CtMap& map)
    {
        const auto left = mcpAssignmentOf (map.getControlById (73), 73);
        const auto right = mcpAssignmentOf (map.getControlById (74), 74);

        if (! left || ! right || *left == *right)
            return;

        for (auto id : jogHalves)
        {
            const auto* factory = cbBnAttrs0[slotForCid (id)];
            auto control = map.getControlById (id);
            control.setProperty (Tags::type, Defa::getMstyStr (factory[0]), nullptr);
            control.setProperty (Tags::chan, (factory[1] & 0x0f) + 1, nullptr);
            control.setProperty (Tags::value, factory[2], nullptr);
            control.setProperty (Tags::velo, factory[3], nullptr);
        }
    }
}

void restoreJogNormalState (const CtMap& loadedMap)
{
    switch ((int) loadedMap.getCtMode())
    {
        case proTools:  restoreProToolsJog (loadedMap); break;
        case usrdefHui: restoreUserHuiJog (loadedMap); break;
        case usrdefMcp: restoreUserMcpJog (loadedMap); break;
        default:        break;
    }
}
