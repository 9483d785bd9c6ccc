#include "XdndClient.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace cadenzium::test
{
namespace
{
    // The version the framework's windows announce (XdndAware); a source speaks the lower of its own and the target's.
    constexpr long xdndVersion = 3;
} // namespace

XdndClient::XdndClient (std::function<void()> pumpToUse)
    : pump (std::move (pumpToUse))
{
    display = XOpenDisplay (nullptr);

    // An unmapped window of its own: the drag's source, and where converted selections land.
    window = XCreateSimpleWindow (display, DefaultRootWindow (display), 0, 0, 1, 1, 0, 0, 0);
    XSelectInput (display, window, PropertyChangeMask);
    XSync (display, False);
}

XdndClient::~XdndClient()
{
    XDestroyWindow (display, window);
    XCloseDisplay (display);
}

unsigned long XdndClient::atom (const char* name) const
{
    return XInternAtom (display, name, False);
}

bool XdndClient::serveUntil (const std::function<bool()>& condition)
{
    for (int turn = 0; turn < 400; ++turn)
    {
        handleEvents();

        if (condition())
            return true;

        pump();
    }

    handleEvents();
    return condition();
}

void XdndClient::handleEvents()
{
    XSync (display, False);

    while (XPending (display) > 0)
    {
        XEvent event;
        XNextEvent (display, &event);

        if (event.type == SelectionRequest)
        {
            // The window asks for the offered files.
            const auto& request = event.xselectionrequest;
            XEvent reply {};
            reply.xselection.type = SelectionNotify;
            reply.xselection.requestor = request.requestor;
            reply.xselection.selection = request.selection;
            reply.xselection.target = request.target;
            reply.xselection.time = request.time;
            reply.xselection.property = None;

            if (request.target == atom ("text/uri-list"))
            {
                const auto bytes = offered.toStdString();
                XChangeProperty (display, request.requestor, request.property, request.target, 8, PropModeReplace,
                                 reinterpret_cast<const unsigned char*> (bytes.data()), (int) bytes.size());
                reply.xselection.property = request.property;
                filesServed = true;
            }

            XSendEvent (display, request.requestor, False, 0, &reply);
        }
        else if (event.type == SelectionNotify)
        {
            conversionAnswered = true;

            if (event.xselection.property != None)
            {
                Atom type = None;
                int format = 0;
                unsigned long count = 0, left = 0;
                unsigned char* data = nullptr;

                if (XGetWindowProperty (display, window, event.xselection.property, 0, 1 << 20, True, AnyPropertyType,
                                        &type, &format, &count, &left, &data) == Success && data != nullptr)
                {
                    converted = juce::String::fromUTF8 (reinterpret_cast<const char*> (data), (int) count);
                    XFree (data);
                }
            }
        }
        else if (event.type == ClientMessage)
        {
            const auto& message = event.xclient;

            if (message.message_type == atom ("XdndStatus"))
                status = (message.data.l[1] & 1) != 0;
            else if (message.message_type == atom ("XdndFinished"))
                finished = true;
        }
    }
}

//==============================================================================
unsigned long XdndClient::getDragSelectionOwner() const
{
    return XGetSelectionOwner (display, XInternAtom (display, "XdndSelection", False));
}

std::optional<juce::String> XdndClient::convertDragSelection (const juce::String& targetType)
{
    converted.reset();
    conversionAnswered = false;
    XConvertSelection (display, atom ("XdndSelection"), atom (targetType.toRawUTF8()), atom ("CADENZIUM_TEST_DROP"), window, CurrentTime);
    XFlush (display);
    serveUntil ([this] { return conversionAnswered; });
    return converted;
}

//==============================================================================
void XdndClient::sendClientMessage (const char* type, long l1, long l2, long l3, long l4)
{
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.display = display;
    event.xclient.window = target;
    event.xclient.message_type = atom (type);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long) window;
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent (display, target, False, NoEventMask, &event);
    XFlush (display);
}

void XdndClient::enter (unsigned long targetWindow, const juce::StringArray& uris)
{
    target = targetWindow;
    offered = uris.joinIntoString ("\r\n") + "\r\n";
    finished = false;
    filesServed = false;
    XSetSelectionOwner (display, atom ("XdndSelection"), window, CurrentTime);
    sendClientMessage ("XdndEnter", xdndVersion << 24, (long) atom ("text/uri-list"), None, None);
}

bool XdndClient::sendPosition (juce::Point<int> screenPosition)
{
    status.reset();
    sendClientMessage ("XdndPosition", 0, (screenPosition.x << 16) | screenPosition.y, CurrentTime, (long) atom ("XdndActionCopy"));
    serveUntil ([this] { return status.has_value(); });
    return status.value_or (false);
}

bool XdndClient::moveTo (juce::Point<int> screenPosition)
{
    if (filesServed)
        return sendPosition (screenPosition);

    // The framework asks for the files at the first position and looks at them from the next
    // one on; a real source sends positions all the while the pointer moves.
    const auto accepted = sendPosition (screenPosition);

    if (! serveUntil ([this] { return filesServed; }))
        return accepted;

    return sendPosition (screenPosition + juce::Point<int> (1, 0));
}

bool XdndClient::drop()
{
    sendClientMessage ("XdndDrop", 0, CurrentTime, 0, 0);
    return serveUntil ([this] { return finished; });
}

} // namespace cadenzium::test
