#include "Vst2TestHost.h"

#include <tests/support/TemporaryFolder.h>
#include <tests/support/editor/WindowManagerAtoms.h>
#include <tests/support/editor/XvfbServer.h>

#include <chrono>
#include <gtest/gtest.h>
#include <malloc.h>
#include <thread>

// Last: Xlib's macros (None, Bool...) would break the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace cadenzium::test;

namespace
{
::Display* display = nullptr;

/** What a host does between its own events: give the editor time to run and draw. */
void idle (Vst2Plugin& plugin, int times)
{
    for (int i = 0; i < times; ++i)
    {
        plugin.dispatch (effEditIdle);
        std::this_thread::sleep_for (std::chrono::milliseconds (5));
    }
}

unsigned int countChildren (Window window)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    XQueryTree (display, window, &root, &parent, &children, &count);
    XFree (children); // free() underneath: nothing to do for none
    return count;
}

unsigned long pixelAt (Window window, int x, int y)
{
    auto* image = XGetImage (display, window, x, y, 1, 1, AllPlanes, ZPixmap);

    if (image == nullptr)
        return 0;

    const auto pixel = XGetPixel (image, 0, 0) & 0xffffff;
    XDestroyImage (image);
    return pixel;
}
} // namespace

TEST (Vst2Editor, theHostOpensAndClosesTheEditorFiftyTimesWhilePlayingAndNothingIsLeftBehind)
{
    ASSERT_NE (display, nullptr);

    Vst2Library library (CADENZIUM_VST_PATH);
    auto plugin = library.createInstance();
    ASSERT_NE (plugin, nullptr) << library.getError();
    plugin->start (48000.0, 512);

    std::vector<float> left (512), right (512);
    std::size_t heapAfterWarmUp = 0;

    for (int i = 0; i < 50; ++i)
    {
        SCOPED_TRACE (i);
        const auto parent = XCreateSimpleWindow (display, DefaultRootWindow (display), 0, 0, 1244, 935, 0, 0, 0);
        XMapWindow (display, parent);
        XSync (display, False);

        ERect* rect = nullptr;
        plugin->dispatch (effEditGetRect, 0, 0, &rect);
        ASSERT_NE (rect, nullptr);
        EXPECT_EQ (rect->right - rect->left, 1244);
        EXPECT_EQ (rect->bottom - rect->top, 935);

        ASSERT_EQ (plugin->dispatch (effEditOpen, 0, 0, reinterpret_cast<void*> (parent)), 1);
        idle (*plugin, 20);
        XSync (display, False);
        EXPECT_EQ (countChildren (parent), 1u) << "the editor's window sits in the host's";

        // The gap between the rows column and the piano roll shows the window's background.
        EXPECT_TRUE (i > 0 || pixelAt (parent, 190, 500) == 0x111111u) << "drawn, in the dark scheme";

        // The audio goes on while the window is there.
        plugin->processBlock ({}, left, right);

        plugin->dispatch (effEditClose);
        idle (*plugin, 3);
        XSync (display, False);
        EXPECT_EQ (countChildren (parent), 0u);

        XDestroyWindow (display, parent);
        XSync (display, False);

        if (i == 9)
            heapAfterWarmUp = mallinfo2().uordblks;
    }

    const auto growth = (std::ptrdiff_t) mallinfo2().uordblks - (std::ptrdiff_t) heapAfterWarmUp;
    RecordProperty ("heap_growth_bytes", (int) growth);
    EXPECT_LT (growth, 512 * 1024) << "heap grew by " << growth << " bytes over 40 openings";
}

int main (int argc, char** argv)
{
    // The plug-in writes its settings and log under HOME: keep them out of the real one.
    useTemporaryHome();
    ::testing::InitGoogleTest (&argc, argv);

    if (::testing::GTEST_FLAG (list_tests))
        return RUN_ALL_TESTS();

    // The display is kept open for the whole run: it holds the atoms the plug-in looks up.
    XvfbServer server;
    if (! server.isRunning() || (display = XOpenDisplay (nullptr)) == nullptr)
        return 1;

    internWindowManagerAtoms (display);
    const auto result = RUN_ALL_TESTS();
    XCloseDisplay (display);
    return result;
}
