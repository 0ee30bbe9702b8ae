#include "ControllerMap.h"

#include "Arrays.h"
#include "Defa.h"

namespace
{
    constexpr int numControls = 89;
}

CtMap::CtMap (CtMode mode) : tree (Tags::map)
{
    addMissingProperties();
    tree.setProperty (Tags::mode, CtMode::slugForType (mode), nullptr);
    tree.setProperty (Tags::name, CtMode::nameForType (mode), nullptr);
    tree.setProperty (Tags::ptcl, CtMode::protocolForType (mode), nullptr);
    applyFactoryAssignment (Reload::wholeFamily);
}

CtMap::CtMap (const juce::ValueTree& mapTree) : tree (mapTree) {}

void CtMap::addMissingProperties()
{
    if (! tree.isValid())
        return;

    const auto mode = getCtMode();
    tree.setProperty (Tags::mode, CtMode::slugForType (mode), nullptr);
    tree.setProperty (Tags::name, CtMode::nameForType (mode), nullptr);
    tree.setProperty (Tags::ptcl, 0, nullptr);

    auto controls = tree.getOrCreateChildWithName (Tags::controls, nullptr);
    controls.removeAllChildren (nullptr);

    for (int id = 1; id <= numControls; ++id)
    {
        juce::ValueTree control (Tags::control);
        control.setProperty (Tags::cid, id, nullptr);
        control.setProperty (Tags::kind, CtKind::slugForType (Defa::kindForCid (id)), nullptr);
        control.setProperty (Tags::type, juce::String(), nullptr);
        control.setProperty (Tags::chan, 1, nullptr);
        control.setProperty (Tags::value, 0, nullptr);
        control.setProperty (Tags::v1, 0, nullptr);
        control.setProperty (Tags::v2, 0, nullptr);
        control.setProperty (Tags::velo, 127, nullptr);
        controls.addChild (control, id - 1, nullptr);
    }
}

namespace
{
    /** nd and knobVelos hold the user's "usrdef-mcp" edits, so only the reset
        of that map brings them back. */
    void reloadOwnMcpTable (int mode)
    {
        if (mode == 0)
            reloadMcpTable (cb);
        else if (mode == 1)
            reloadMcpTable (lg);
        else
        {
            reloadMcpTable (nd);
            reloadKnobVelos();
        }
    }
}

void CtMap::setDefaultValues()   { applyFactoryAssignment (Reload::ownTable); }
void CtMap::reset()              { applyFactoryAssignment (Reload::ownTable); }

void CtMap::applyFactoryAssignment (Reload reload)
{
    const int mode = getCtMode();

    if (mode == 2)
        reloadProtoolsTable();
    else if (mode == 4)
        reloadHuiPairTables();
    else if (reload == Reload::wholeFamily)
        reloadMcpFamily();
    else
        reloadOwnMcpTable (mode);

    for (int i = 0; i < numControls; ++i)
    {
        auto control = getControl (i);

        if (! control.isValid())
            break;

        const int id = control[Tags::cid];
        control.setProperty (Tags::v1, Defa::factoryV1V2 (mode, id, 1), nullptr);
        control.setProperty (Tags::v2, Defa::factoryV1V2 (mode, id, 2), nullptr);
        control.setProperty (Tags::value, Defa::factoryValue (mode, id), nullptr);
        control.setProperty (Tags::type, Defa::getMstyStr (Defa::getMsgType (mode, id)), nullptr);
        control.setProperty (Tags::chan, Defa::getChan (mode, id), nullptr);
        control.setProperty (Tags::velo, Defa::getVelo (mode, id), nullptr);
    }
}

juce::ValueTree CtMap::getControl (int index) const
{
    return tree.getChildWithName (Tags::controls).getChild (index);
}

juce::ValueTree CtMap::getControlById (int id) const
{
    const juce::var wanted (id);

    // var comparison: an int id equals the number, a text id equals its decimal form only.
    for (const auto& control : tree.getChildWithName (Tags::controls))
        if (control[Tags::cid] == wanted)
            return control;

    return {};
}

CtMode CtMap::getCtMode() const
{
    return CtMode (tree[Tags::mode].toString());
}
