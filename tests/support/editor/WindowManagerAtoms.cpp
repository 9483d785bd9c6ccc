#include "WindowManagerAtoms.h"

#include <X11/Xlib.h>

namespace cadenzium::test
{

void internWindowManagerAtoms (::_XDisplay* display)
{
    const char* atoms[] = { "WM_PROTOCOLS", "WM_DELETE_WINDOW", "WM_TAKE_FOCUS", "_NET_WM_PING", "WM_STATE",
                            "_NET_WM_STATE", "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_NORMAL",
                            "_NET_WM_STATE_HIDDEN", "WM_CHANGE_STATE", "_NET_WM_STATE_ABOVE",
                            "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_WINDOW_TYPE_TOOLTIP", "_NET_WM_WINDOW_TYPE_DND",
                            "_NET_WM_WINDOW_TYPE_POPUP_MENU", "_NET_WM_WINDOW_TYPE_COMBO", "_MOTIF_WM_HINTS",
                            "_NET_FRAME_EXTENTS", "_NET_SUPPORTED", "_NET_ACTIVE_WINDOW", "XdndAware",
                            "XdndEnter", "XdndLeave", "XdndPosition", "XdndStatus", "XdndDrop", "XdndFinished",
                            "XdndSelection", "XdndTypeList", "XdndActionList", "XdndActionCopy", "XdndActionPrivate",
                            "XdndActionDescription", "CLIPBOARD", "UTF8_STRING", "TARGETS", "_NET_WM_NAME",
                            "_NET_WM_ICON", "_NET_WM_PID", "_XEMBED_INFO", "JUCEDropTarget" };

    for (auto* name : atoms)
        XInternAtom (display, name, False);

    XSync (display, False);
}

} // namespace cadenzium::test
