// `make package` as a distribution's user meets it: the Debian package built from this build,
// unpacked into a scratch root, every format loaded from there, and the factory presets and
// the manual found under the root's /usr/share by a user who has no folder of their own.

#include "Vst2TestHost.h"

#include <brindlex/UserFolders.h>
#include <brindlex/gui/ManualOpener.h>
#include <tests/support/TemporaryFolder.h>

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <pluginterfaces/base/ipluginbase.h>

using namespace cadenzium::test;

namespace
{
struct CommandResult
{
    int exitCode = -1;
    juce::String output;
};

CommandResult runCommand (const juce::StringArray& command, int timeoutMs = 600000)
{
    juce::ChildProcess process;
    CommandResult result;

    if (process.start (command))
    {
        result.output = process.readAllProcessOutput();
        result.exitCode = process.waitForProcessToFinish (timeoutMs) ? (int) process.getExitCode() : -1;
    }

    return result;
}

juce::StringArray filesBelow (const juce::File& root)
{
    juce::StringArray files;

    for (const auto& file : root.findChildFiles (juce::File::findFiles, true))
        files.add (file.getRelativePathFrom (root));

    files.sort (false);
    return files;
}

class Package : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (! juce::File ("/usr/bin/dpkg-shlibdeps").existsAsFile())
            return;

        made = std::make_unique<CommandResult> (runCommand ({ "/bin/bash", CADENZIUM_SOURCE_DIR "/packaging/make-package", CADENZIUM_BUILD_DIR, scratch().getChildFile ("out").getFullPathName() }));
        const auto debs = scratch().getChildFile ("out").findChildFiles (juce::File::findFiles, false, "*.deb");
        deb = debs.size() == 1 ? debs[0] : juce::File();

        if (deb.existsAsFile())
            runCommand ({ "/usr/bin/dpkg-deb", "-x", deb.getFullPathName(), root().getFullPathName() });
    }

    void SetUp() override
    {
        if (made == nullptr)
            GTEST_SKIP() << "dpkg-dev is not installed (scripts/setup installs it)";

        ASSERT_EQ (made->exitCode, 0) << made->output;
        ASSERT_TRUE (deb.existsAsFile()) << made->output;
    }

    static juce::File scratch()
    {
        static const TemporaryFolder folder ("cadenzium-package");
        return juce::File (folder.string());
    }

    static juce::File root() { return scratch().getChildFile ("root"); }

    inline static std::unique_ptr<CommandResult> made;
    inline static juce::File deb;
};
} // namespace

TEST_F (Package, isADebianPackageUnderUsrWithoutLintianErrorsFromWhichEveryFormatLoadsAndFindsThePresetsAndManual)
{
    const auto field = [] (const char* name)
    { return runCommand ({ "/usr/bin/dpkg-deb", "-f", deb.getFullPathName(), name }).output.trim(); };

    EXPECT_EQ (field ("Package"), "cadenzium2");
    EXPECT_EQ (field ("Version"), "2.5.0");
    EXPECT_EQ (field ("Architecture"), runCommand ({ "/usr/bin/dpkg", "--print-architecture" }).output.trim());

    // What the binaries link, with the versions their symbols need.
    const auto depends = field ("Depends");
    for (const auto* library : { "libc6 (>= ", "libstdc++6 (>= ", "libasound2 (>= ", "libfreetype6 (>= ", "libjack" })
        EXPECT_TRUE (depends.contains (library)) << library << " in " << depends;

    const auto files = filesBelow (root());
    for (const auto& file : files)
        EXPECT_TRUE (file.startsWith ("usr/")) << file;

    for (const auto* expected : { "usr/lib/vst/Cadenzium2.so", "usr/lib/vst3/Cadenzium2.vst3/Contents/x86_64-linux/Cadenzium2.so",
                                  "usr/lib/lv2/Cadenzium2.lv2/manifest.ttl", "usr/bin/cadenzium2", "usr/bin/cadenzium-render",
                                  "usr/share/applications/cadenzium2.desktop", "usr/share/icons/hicolor/scalable/apps/cadenzium2.svg",
                                  "usr/share/cadenzium2/Presets/Factory/Chord Rhythms/Island Skank.bpre",
                                  "usr/share/doc/cadenzium2/Cadenzium 2 Manual 2.5.0.pdf", "usr/share/doc/cadenzium2/examples/chords/Pop Four Chords.mid",
                                  "usr/share/doc/cadenzium2/copyright", "usr/share/doc/cadenzium2/changelog.gz",
                                  "usr/share/man/man1/cadenzium2.1.gz", "usr/share/man/man1/cadenzium-render.1.gz" })
        EXPECT_TRUE (files.contains (expected)) << expected;

    // The archive for other distributions holds the same files.
    const auto archives = scratch().getChildFile ("out").findChildFiles (juce::File::findFiles, false, "*.tar.gz");
    ASSERT_EQ (archives.size(), 1);
    const auto unpacked = scratch().getChildFile ("from-archive");
    ASSERT_TRUE (unpacked.createDirectory());
    ASSERT_EQ (runCommand ({ "/bin/tar", "-xzf", archives[0].getFullPathName(), "-C", unpacked.getFullPathName() }).exitCode, 0);
    EXPECT_EQ (filesBelow (unpacked), files);

    if (juce::File ("/usr/bin/lintian").existsAsFile())
    {
        const auto lintian = runCommand ({ "/usr/bin/lintian", "--tag-display-limit", "0", deb.getFullPathName() });
        for (const auto& line : juce::StringArray::fromLines (lintian.output))
            EXPECT_FALSE (line.startsWith ("E: ")) << line;
    }
    else
        ADD_FAILURE() << "lintian is not installed (scripts/setup installs it)";

    // A user without a folder of their own, on a system whose data folder is the package's.
    ASSERT_FALSE (brindlex::UserFolders::getProductFolder ("Cadenzium 2").exists());
    setenv ("XDG_DATA_DIRS", root().getChildFile ("usr/share").getFullPathName().toRawUTF8(), 1);

    Vst2Library vst2 (root().getChildFile ("usr/lib/vst/Cadenzium2.so").getFullPathName().toStdString());
    auto plugin = vst2.createInstance();
    ASSERT_NE (plugin, nullptr) << vst2.getError();
    EXPECT_EQ (plugin->effect()->numPrograms, 30) << "the Initial Patch and the 29 factory presets";
    EXPECT_EQ (plugin->dispatchString (effGetProgramNameIndexed, 1), "Octave Spark");
    plugin.reset();

    tarn::ToastManager toasts;
    const brindlex::ManualOpener manual (toasts, brindlex::UserFolders::getProductFolder ("Cadenzium 2"), "Cadenzium 2", "2.5.0", {});
    EXPECT_EQ (manual.findManual(), std::optional (root().getChildFile ("usr/share/doc/cadenzium2/Cadenzium 2 Manual 2.5.0.pdf")));

    // VST3: one module in the bundle, with the factory hosts ask for.
    const auto vst3 = root().getChildFile ("usr/lib/vst3/Cadenzium2.vst3/Contents/x86_64-linux/Cadenzium2.so");
    auto* handle = dlopen (vst3.getFullPathName().toRawUTF8(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE (handle, nullptr) << dlerror();
    const auto entry = reinterpret_cast<bool (*) (void*)> (dlsym (handle, "ModuleEntry"));
    const auto exit = reinterpret_cast<bool (*)()> (dlsym (handle, "ModuleExit"));
    const auto getFactory = reinterpret_cast<Steinberg::IPluginFactory* (*) ()> (dlsym (handle, "GetPluginFactory"));
    ASSERT_TRUE (entry != nullptr && exit != nullptr && getFactory != nullptr && entry (handle));
    auto* factory = getFactory();
    ASSERT_NE (factory, nullptr);
    Steinberg::PClassInfo info {};
    ASSERT_EQ (factory->getClassInfo (0, &info), Steinberg::kResultOk);
    EXPECT_STREQ (info.name, "Cadenzium 2");
    factory->release();
    exit();
    dlclose (handle);

    // LV2, as hosts find it: the plug-in and its presets.
    if (juce::File ("/usr/bin/lv2info").existsAsFile())
    {
        const auto lv2 = runCommand ({ "/usr/bin/env", "LV2_PATH=" + root().getChildFile ("usr/lib/lv2").getFullPathName(), "/usr/bin/lv2info", CADENZIUM_LV2_URI });
        EXPECT_TRUE (lv2.output.contains ("Name:              Cadenzium 2")) << lv2.output;
        EXPECT_TRUE (lv2.output.contains ("Island Skank")) << lv2.output;
    }

    // The renderer renders an example progression with an installed preset.
    const auto rendered = scratch().getChildFile ("rendered.mid");
    const auto render = runCommand ({ root().getChildFile ("usr/bin/cadenzium-render").getFullPathName(),
                               root().getChildFile ("usr/share/doc/cadenzium2/examples/chords/Pop Four Chords.mid").getFullPathName(),
                               "--preset", root().getChildFile ("usr/share/cadenzium2/Presets/Factory/Arpeggios/Rising Eighths.bpre").getFullPathName(),
                               "--seed", "1", "-o", rendered.getFullPathName() });
    EXPECT_EQ (render.exitCode, 0) << render.output;
    EXPECT_GT (rendered.getSize(), 100) << render.output;
}
