#pragma once

#include "ControllerMap.h"

/** True when every control of a map read from a file holds only what the
    editor itself writes for that control in the map's mode, so that nothing the
    unit cannot take reaches a slot table or the transfer.

    A map may lack controls, and a control may lack properties: a missing
    property reads as its default (type "note", chan 1, value 0, value1 0,
    value2 0, velo 127), which must then fit as well. Every child of "controls"
    must be a "control" with an "id" of 1 to 89 in plain decimal, each id once,
    and the "kind" of that id. Then, by the map's mode:
    - "mackie", "logic", "usrdef-mcp": "type" "note", "cc", "pitch" or "null";
      "chan" 1 to 16; "value", "value1", "value2" and "velo" 0 to 127.
      In "usrdef-mcp" a knob and the jog's normal state (73, 74), whose "velo"
      the unit gets, hold one of the two that the editor writes: 64 or 127, the
      rotation patterns of the Rotation box when they send a controller.
    - "usrdef-hui": "type" "cc", "chan" 1 to 16, "velo" 0 to 127; "value1" and
      "value2" bytes that the value boxes offer for the control's kind; "value"
      a position of the kind's function list, for a fader the position of its
      pair (the transfer sends a fader's form by it).
    - "pro-tools": "type", "chan" and "velo" as in "usrdef-hui"; "value",
      "value1" and "value2" those of the factory assignment, which the editor
      cannot change.
*/
bool holdsOnlyWhatTheEditorWrites (const CtMap& loadedMap);

/** Gives the jog's normal state (controls 73 and 74) of a map read from a file
    the assignment that it held, where an earlier editor saved a zoom state's
    jog there: those editors let 73 and 74 stand for the zoom state shown and
    wrote its jog into them.
    - "pro-tools": jog functions of a zoom state become the factory jog.
    - "usrdef-hui": a button function number in "value" (that of the zoom
      state's half) becomes the normal state's, as the control section writes
      it; the unit gets the halves' "value1" and "value2", which stay.
    - "usrdef-mcp": halves that differ in "type", "chan", "value" or "velo" come
      from a zoom state (the editor gives both halves of the normal state one
      assignment), so the normal state, which the file no longer holds, takes
      its factory assignment.
    Anything else stays as it is, for holdsOnlyWhatTheEditorWrites() to judge.
*/
void restoreJogNormalState (const CtMap& loadedMap);
