#pragma once

struct _XDisplay;

namespace cadenzium::test
{

/** Interns the window-manager atoms that a JUCE 7 plug-in looks up (only if they exist)
    when it starts. Under an X server without a window manager they would not exist, the
    framework would send atom 0 and die with BadAtom. The connection that interned them
    must stay open. Plain Xlib, usable by a host test that links no JUCE. */
void internWindowManagerAtoms (::_XDisplay* display);

} // namespace cadenzium::test
