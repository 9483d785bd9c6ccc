#include "TestDisplay.h"

#include "WindowManagerAtoms.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <vector>

namespace cadenzium::test
{
namespace
{
    TestDisplay* instance = nullptr;

    int ignoreErrors (::Display*, XErrorEvent*) { return 0; }

    unsigned long keysymFor (const std::string& name)
    {
        return XStringToKeysym (name == "ctrl" ? "Control_L" : name == "shift" ? "Shift_L" : name.c_str());
    }
} // namespace

TestDisplay* TestDisplay::get() noexcept { return instance; }

TestDisplay::TestDisplay()
{
    display = XOpenDisplay (nullptr);

    if (display == nullptr)
        return;

    internWindowManagerAtoms (display);

    XSync (display, False);
    instance = this;
}

TestDisplay::~TestDisplay()
{
    if (instance == this)
        instance = nullptr;

    if (display != nullptr)
        XCloseDisplay (display);
}

juce::Image TestDisplay::grab (juce::Rectangle<int> screenArea) const
{
    const auto screen = juce::Rectangle<int> (DisplayWidth (display, DefaultScreen (display)),
                                              DisplayHeight (display, DefaultScreen (display)));
    const auto area = screenArea.getIntersection (screen);

    if (area.isEmpty())
        return {};

    auto* ximage = XGetImage (display, DefaultRootWindow (display), area.getX(), area.getY(),
                              (unsigned int) area.getWidth(), (unsigned int) area.getHeight(), AllPlanes, ZPixmap);

    if (ximage == nullptr)
        return {};

    juce::Image image (juce::Image::RGB, area.getWidth(), area.getHeight(), false);

    {
        const juce::Image::BitmapData pixels (image, juce::Image::BitmapData::writeOnly);

        for (int y = 0; y < area.getHeight(); ++y)
        {
            for (int x = 0; x < area.getWidth(); ++x)
            {
                const auto value = XGetPixel (ximage, x, y);
                pixels.setPixelColour (x, y, juce::Colour ((juce::uint8) ((value & ximage->red_mask) >> 16),
                                                           (juce::uint8) ((value & ximage->green_mask) >> 8),
                                                           (juce::uint8) (value & ximage->blue_mask)));
            }
        }
    }

    XDestroyImage (ximage);
    return image;
}

juce::Rectangle<int> TestDisplay::getWindowArea (unsigned long window) const
{
    XWindowAttributes attributes {};

    if (window == 0 || XGetWindowAttributes (display, (Window) window, &attributes) == 0)
        return {};

    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates (display, (Window) window, DefaultRootWindow (display), 0, 0, &x, &y, &child);
    return { x, y, attributes.width, attributes.height };
}

void TestDisplay::focusWindow (unsigned long window)
{
    // The window may be unmapped a moment later; that is not the test's failure.
    auto* previous = XSetErrorHandler (ignoreErrors);
    XSetInputFocus (display, (Window) window, RevertToParent, CurrentTime);
    XSync (display, False);
    XSetErrorHandler (previous);
}

bool TestDisplay::hasFocusWithin (unsigned long window) const
{
    Window focus = 0;
    int revert = 0;
    XGetInputFocus (display, &focus, &revert);

    // Walk up from the focused window: is ours among its ancestors?
    while (focus != 0 && focus != PointerRoot && focus != DefaultRootWindow (display))
    {
        if (focus == (Window) window)
            return true;

        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;

        if (XQueryTree (display, focus, &root, &parent, &children, &count) == 0)
            return false;

        if (children != nullptr)
            XFree (children);

        focus = parent;
    }

    return false;
}

void TestDisplay::movePointer (juce::Point<int> screenPosition)
{
    XTestFakeMotionEvent (display, DefaultScreen (display), screenPosition.x, screenPosition.y, CurrentTime);
    sync();
}

void TestDisplay::pressButton (int button, bool down)
{
    XTestFakeButtonEvent (display, (unsigned int) button, down ? True : False, CurrentTime);
    sync();
}

void TestDisplay::sendKey (unsigned long keysym, bool down)
{
    const auto keycode = XKeysymToKeycode (display, (KeySym) keysym);

    if (keycode != 0)
        XTestFakeKeyEvent (display, keycode, down ? True : False, CurrentTime);
}

void TestDisplay::pressKeyCombination (const std::string& combination)
{
    std::vector<unsigned long> keys;

    for (std::string::size_type start = 0, end = 0; end != std::string::npos; start = end + 1)
    {
        end = combination.find ('+', start);
        keys.push_back (keysymFor (combination.substr (start, end == std::string::npos ? end : end - start)));
    }

    for (auto key : keys)
        sendKey (key, true);

    for (auto it = keys.rbegin(); it != keys.rend(); ++it)
        sendKey (*it, false);

    sync();
}

void TestDisplay::sync()
{
    XSync (display, False);
}

} // namespace cadenzium::test
