#include "HostKeyboardFocus.h"

#if JUCE_LINUX || JUCE_BSD
 #include <dlfcn.h>
#endif

namespace tarn
{

#if JUCE_LINUX || JUCE_BSD
/** The few Xlib calls needed, looked up in the library the framework has loaded, on a
    connection of our own (the framework's is not reachable). */
class HostKeyboardFocus::Connection
{
public:
    using Window = unsigned long;

    Connection()
    {
        library = dlopen ("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);

        if (library == nullptr)
            return;

        openDisplay = reinterpret_cast<void* (*) (const char*)> (dlsym (library, "XOpenDisplay"));
        closeDisplay = reinterpret_cast<int (*) (void*)> (dlsym (library, "XCloseDisplay"));
        getInputFocus = reinterpret_cast<int (*) (void*, Window*, int*)> (dlsym (library, "XGetInputFocus"));
        setInputFocus = reinterpret_cast<int (*) (void*, Window, int, unsigned long)> (dlsym (library, "XSetInputFocus"));
        queryTree = reinterpret_cast<int (*) (void*, Window, Window*, Window*, Window**, unsigned int*)> (dlsym (library, "XQueryTree"));
        xfree = reinterpret_cast<int (*) (void*)> (dlsym (library, "XFree"));
        flush = reinterpret_cast<int (*) (void*)> (dlsym (library, "XFlush"));

        if (openDisplay && closeDisplay && getInputFocus && setInputFocus && queryTree && xfree && flush)
            display = openDisplay (nullptr);
    }

    ~Connection()
    {
        if (display != nullptr)
            closeDisplay (display);

        if (library != nullptr)
            dlclose (library);
    }

    bool isOpen() const noexcept { return display != nullptr; }

    Window getFocus() const
    {
        Window focus = 0;
        int revert = 0;
        getInputFocus (display, &focus, &revert);
        return focus;
    }

    Window getParent (Window window) const
    {
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;

        if (queryTree (display, window, &root, &parent, &children, &count) == 0)
            return 0;

        if (children != nullptr)
            xfree (children);

        return parent;
    }

    bool isWithin (Window inner, Window outer) const
    {
        for (int depth = 0; inner > 1 && depth < 64; ++depth)
        {
            if (inner == outer)
                return true;

            inner = getParent (inner);
        }

        return false;
    }

    void focus (Window window) const
    {
        constexpr int revertToParent = 2;
        setInputFocus (display, window, revertToParent, 0);
        flush (display);
    }

private:
    void* library = nullptr;
    void* display = nullptr;
    void* (*openDisplay) (const char*) = nullptr;
    int (*closeDisplay) (void*) = nullptr;
    int (*getInputFocus) (void*, Window*, int*) = nullptr;
    int (*setInputFocus) (void*, Window, int, unsigned long) = nullptr;
    int (*queryTree) (void*, Window, Window*, Window*, Window**, unsigned int*) = nullptr;
    int (*xfree) (void*) = nullptr;
    int (*flush) (void*) = nullptr;
};

namespace
{
    unsigned long nativeWindowOf (juce::Component& editor)
    {
        auto* peer = editor.getPeer();
        return peer != nullptr ? (unsigned long) (juce::pointer_sized_int) peer->getNativeHandle() : 0;
    }
} // namespace

HostKeyboardFocus::HostKeyboardFocus()
    : connection (std::make_unique<juce::SharedResourcePointer<Connection>>())
{
}

HostKeyboardFocus::~HostKeyboardFocus() = default;

bool HostKeyboardFocus::isInWindowOf (juce::Component& editor)
{
    auto& x = **connection;
    const auto window = nativeWindowOf (editor);
    return x.isOpen() && window != 0 && x.isWithin (x.getFocus(), window);
}

bool HostKeyboardFocus::giveBackToHost (juce::Component& editor)
{
    if (! isInWindowOf (editor))
        return false;

    auto& x = **connection;
    const auto host = x.getParent (nativeWindowOf (editor));

    if (host == 0)
        return false;

    x.focus (host);
    return true;
}

#else

class HostKeyboardFocus::Connection
{
};

HostKeyboardFocus::HostKeyboardFocus() = default;
HostKeyboardFocus::~HostKeyboardFocus() = default;
bool HostKeyboardFocus::isInWindowOf (juce::Component&) { return false; }
bool HostKeyboardFocus::giveBackToHost (juce::Component&) { return false; }

#endif

} // namespace tarn
