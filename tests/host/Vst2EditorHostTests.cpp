#include "Vst2TestHost.h"

#include <tests/support/TemporaryFolder.h>
#include <tests/support/editor/WindowManagerAtoms.h>
#include <tests/support/editor/XvfbServer.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <malloc.h>
#include <thread>
#include <zlib.h>

// Last: Xlib's macros (None, Bool...) would break the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

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
int xErrors = 0;

int countXError (::Display*, XErrorEvent*)
{
    ++xErrors;
    return 0;
}

/** The host's window for the editor, at the screen's corner: with no window manager its
    coordinates are the screen's, where XTest clicks. */
struct HostWindow
{
    HostWindow()
        : window (XCreateSimpleWindow (display, DefaultRootWindow (display), 0, 0, 1244, 935, 0, 0, 0))
    {
        XMapWindow (display, window);
        XSync (display, False);
    }

    ~HostWindow()
    {
        XDestroyWindow (display, window);
        XSync (display, False);
    }

    Window window;
};

void openEditor (Vst2Plugin& plugin, const HostWindow& host)
{
    ASSERT_EQ (plugin.dispatch (effEditOpen, 0, 0, reinterpret_cast<void*> (host.window)), 1);
    idle (plugin, 30);
}

/** Every eighth pixel of the window, to tell whether something opened over it. */
std::vector<unsigned long> samplesOf (Window window)
{
    std::vector<unsigned long> samples;
    auto* image = XGetImage (display, window, 0, 0, 1244, 935, AllPlanes, ZPixmap);

    if (image == nullptr)
        return samples;

    for (int y = 0; y < 935; y += 8)
        for (int x = 0; x < 1244; x += 8)
            samples.push_back (XGetPixel (image, x, y) & 0xffffff);

    XDestroyImage (image);
    return samples;
}

double changedShare (const std::vector<unsigned long>& before, const std::vector<unsigned long>& after)
{
    if (before.empty() || before.size() != after.size())
        return 0.0;

    std::size_t changed = 0;

    for (std::size_t i = 0; i < before.size(); ++i)
        changed += before[i] != after[i] ? 1 : 0;

    return (double) changed / (double) before.size();
}

/** The window as a PNG picture in the test artefacts, to look at what each case opened. */
void savePicture (Window window, const std::string& name)
{
    auto* image = XGetImage (display, window, 0, 0, 1244, 935, AllPlanes, ZPixmap);

    if (image == nullptr)
        return;

    std::vector<unsigned char> rows;

    for (int y = 0; y < 935; ++y)
    {
        rows.push_back (0); // no filter

        for (int x = 0; x < 1244; ++x)
        {
            const auto pixel = XGetPixel (image, x, y);
            rows.insert (rows.end(), { (unsigned char) (pixel >> 16), (unsigned char) (pixel >> 8), (unsigned char) pixel });
        }
    }

    XDestroyImage (image);

    auto packed = std::vector<unsigned char> (compressBound ((uLong) rows.size()));
    auto packedSize = (uLongf) packed.size();
    compress (packed.data(), &packedSize, rows.data(), (uLong) rows.size());
    packed.resize (packedSize);

    std::string png ("\x89PNG\r\n\x1a\n", 8);
    const auto appendNumber = [] (std::string& to, std::uint32_t number)
    {
        for (int shift = 24; shift >= 0; shift -= 8)
            to.push_back ((char) (number >> shift));
    };
    const auto appendChunk = [&] (const char* type, const std::string& data)
    {
        const auto typed = std::string (type, 4) + data;
        appendNumber (png, (std::uint32_t) data.size());
        png += typed;
        appendNumber (png, (std::uint32_t) crc32 (0, reinterpret_cast<const Bytef*> (typed.data()), (uInt) typed.size()));
    };
    std::string header;
    appendNumber (header, 1244);
    appendNumber (header, 935);
    header += std::string ("\x08\x02\x00\x00\x00", 5); // 8-bit RGB
    appendChunk ("IHDR", header);
    appendChunk ("IDAT", std::string (packed.begin(), packed.end()));
    appendChunk ("IEND", {});

    const auto folder = std::filesystem::path (CADENZIUM_TEST_ARTEFACTS_DIR) / "screenshots";
    std::filesystem::create_directories (folder);

    if (auto* file = std::fopen ((folder / ("Vst2Editor." + name + ".png")).c_str(), "wb"))
    {
        std::fwrite (png.data(), 1, png.size(), file);
        std::fclose (file);
    }
}

/** A click of the real mouse, through the X server, at a point of the host's window. */
void click (Vst2Plugin& plugin, int x, int y, unsigned int button)
{
    XTestFakeMotionEvent (display, -1, x, y, CurrentTime);
    XSync (display, False);
    idle (plugin, 4);
    XTestFakeButtonEvent (display, button, True, CurrentTime);
    XSync (display, False);
    idle (plugin, 4);
    XTestFakeButtonEvent (display, button, False, CurrentTime);
    XSync (display, False);
    idle (plugin, 30);
}

/** What the editor opens over itself, and where it is opened from at the default size in
    the Initial Patch. */
struct Popup
{
    const char* name;
    int x, y;
    unsigned int button;
    bool isChooser;
};

const Popup popups[] {
    { "rowsettings", 90, 660, 1, false },
    { "rowsettingsrightclick", 90, 660, 3, false },
    { "presetbrowser", 802, 25, 1, false },
    { "savedialog", 907, 25, 1, false },
    { "settingsdialog", 1160, 25, 1, false },
    { "importmidichooser", 640, 110, 1, true },
    { "rendermidichooser", 800, 110, 1, true },
    { "loadv1presetchooser", 715, 110, 1, true },
};

enum class Closing
{
    editorThenPlugin, // effEditClose, then effClose
    pluginWithEditorOpen, // effClose while the editor is still open
    editorThenReopen // effEditClose, effEditOpen, use it, close
};

class Vst2EditorPopups : public ::testing::TestWithParam<std::tuple<Popup, Closing>>
{
};
} // namespace

// Closing the window, or the plug-in, with anything open over the editor is what a host
// does when the user closes the song: it may never take the host down.
TEST_P (Vst2EditorPopups, closingWithThePopupOpenIsSafe)
{
    ASSERT_NE (display, nullptr);
    const auto [popup, closing] = GetParam();

    if (popup.isChooser && (std::system ("command -v zenity > /dev/null || command -v kdialog > /dev/null") == 0))
        GTEST_SKIP() << "a desktop file chooser is installed: the choosers open outside the window";

    Vst2Library library (CADENZIUM_VST_PATH);
    auto plugin = library.createInstance();
    ASSERT_NE (plugin, nullptr) << library.getError();
    plugin->start (48000.0, 512);
    std::vector<float> left (512), right (512);

    xErrors = 0;
    auto* previousHandler = XSetErrorHandler (countXError);

    {
        HostWindow host;
        openEditor (*plugin, host);
        const auto before = samplesOf (host.window);
        click (*plugin, popup.x, popup.y, popup.button);
        plugin->processBlock ({}, left, right);
        savePicture (host.window, popup.name);
        EXPECT_GT (changedShare (before, samplesOf (host.window)), 0.02) << popup.name << " opened nothing at its place";

        if (closing == Closing::pluginWithEditorOpen)
        {
            plugin.reset();
        }
        else
        {
            plugin->dispatch (effEditClose);
            idle (*plugin, 5);

            if (closing == Closing::editorThenReopen)
            {
                openEditor (*plugin, host);
                EXPECT_EQ (countChildren (host.window), 1u);
                click (*plugin, 600, 500, 1); // the editor answers again
                plugin->processBlock ({}, left, right);
                plugin->dispatch (effEditClose);
                idle (*plugin, 5);
            }

            plugin.reset();
        }
    }

    XSync (display, False);
    XSetErrorHandler (previousHandler);
    EXPECT_EQ (xErrors, 0) << "X errors";
}

namespace
{
std::string nameOfCase (const ::testing::TestParamInfo<Vst2EditorPopups::ParamType>& info)
{
    const char* closings[] { "editorThenPlugin", "pluginWithEditorOpen", "editorThenReopen" };
    return std::string (std::get<0> (info.param).name) + "_" + closings[(int) std::get<1> (info.param)];
}
} // namespace

INSTANTIATE_TEST_SUITE_P (EveryPopup, Vst2EditorPopups,
                          ::testing::Combine (::testing::ValuesIn (popups),
                                              ::testing::Values (Closing::editorThenPlugin, Closing::pluginWithEditorOpen, Closing::editorThenReopen)),
                          nameOfCase);

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
