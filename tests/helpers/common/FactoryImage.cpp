#include "FactoryImage.h"

#include <Arrays.h>
#include <Defa.h>

void reloadFactoryImage()
{
    reloadMcpFamily();
    reloadProtoolsTable();
    reloadHuiPairTables();
}

FactoryControl factoryControl (int mode, int cid)
{
    FactoryControl c;
    c.value1 = Defa::factoryV1V2 (mode, cid, 1);
    c.value2 = Defa::factoryV1V2 (mode, cid, 2);
    c.value = Defa::factoryValue (mode, cid);
    c.type = Defa::getMstyStr (Defa::getMsgType (mode, cid));
    c.chan = Defa::getChan (mode, cid);
    c.velo = Defa::getVelo (mode, cid);
    return c;
}

ScopedViewState::ScopedViewState (int zoomState, int jogHalf)
    : previousZoomState (isZoomNorLR), previousJogHalf (isJogLorR)
{
    isZoomNorLR = zoomState;
    isJogLorR = jogHalf;
}

ScopedViewState::~ScopedViewState()
{
    isZoomNorLR = previousZoomState;
    isJogLorR = previousJogHalf;
}
