#include "ArdourHarness.h"
#include "KnownSong.h"
#include "Vst2TestHost.h"

#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <set>
#include <thread>

using namespace cadenzium::test;

namespace
{
/** A recorded note as the phrase places it: pitch, position within the beat and length, in
    Ardour's 1920 ticks per beat. */
struct NotePlace
{
    int pitch = 0;
    int tickInBeat = 0;
    int lengthTicks = 0;
    bool cutByRelease = false;
};

int ticksOf (double beats)
{
    return (int) std::lround (beats * 1920.0);
}

// 50 sits on the beat and 79 on the off-beat: how far before its place Ardour recorded it.
double recordingOffset (const RecordedNote& note)
{
    const auto place = note.pitch == 79 ? 0.5 : 0.0;
    return std::remainder (note.startBeats - place, 1.0);
}

// Releasing the chord ends the note that sounds then: where it falls depends on the moment
// the release reached the host, which a busy machine moves.
std::vector<NotePlace> placesOf (const std::vector<RecordedNote>& notes, double offset, double releasedAtBeats)
{
    std::vector<NotePlace> places;

    for (const auto& note : notes)
        places.push_back ({ note.pitch,
                            ((ticksOf (note.startBeats - offset) % 1920) + 1920) % 1920,
                            ticksOf (note.lengthBeats),
                            note.startBeats + 0.25 > releasedAtBeats + offset });

    return places;
}

std::string describe (const std::vector<RecordedNote>& notes)
{
    std::string text;

    for (const auto& note : notes)
        text += std::to_string (note.pitch) + " at " + std::to_string (note.startBeats) + " for " + std::to_string (note.lengthBeats) + "\n";

    return text;
}

class ArdourFormatTest : public ::testing::TestWithParam<PluginFormat>
{
};
} // namespace

TEST_P (ArdourFormatTest, aHeldChordPlaysThePhraseOnItsGridAndTheStateSurvivesSavingAndReloading)
{
    if (! ArdourHarness::isAvailable())
        GTEST_SKIP() << "Ardour is not installed (scripts/setup installs it)";

    TemporaryFolder work ("cadenzium-ardour");
    ArdourHarness ardour (GetParam(), juce::File (CADENZIUM_ARDOUR_SCRIPTS), juce::File (work.string()));
    ASSERT_TRUE (ardour.prepare()) << ardour.getLog();
    ASSERT_TRUE (ardour.createSession()) << ardour.getLog();

    const KnownSong song;
    ASSERT_TRUE (ardour.setPluginState (song.state())) << ardour.getLog();

    // The session is loaded with the state, played at Ardour's 120 bpm and saved again.
    std::vector<RecordedNote> notes;
    ASSERT_TRUE (ardour.playChord ({ 60, 64, 67 }, 1500, notes)) << ardour.getLog();

    // Three beats held: about three passes of the loop, whatever the moment the chord came in.
    // Ardour places a take a few samples early (its capture alignment): the same for every note.
    ASSERT_GE (notes.size(), 4u) << ardour.getLog();
    const auto offset = recordingOffset (notes.front());
    EXPECT_LT (std::abs (offset), 1.0 / 16.0) << describe (notes);

    // Each note on its place and a whole sixteenth long. Ardour reports the VST2 and VST3
    // block positions rounded to its 1920 ticks per beat; that rounding must neither move the
    // notes nor cut them short.
    ASSERT_GT (ardour.getChordReleasedAtBeats(), ardour.getChordSentAtBeats() + 2.0) << ardour.getLog();

    for (const auto& place : placesOf (notes, offset, ardour.getChordReleasedAtBeats()))
    {
        // Ardour rounds a take's positions to its own clock: a tick either way.
        const auto expectedTick = place.pitch == 79 ? 960 : 0;
        EXPECT_TRUE (place.pitch == 50 || place.pitch == 79) << describe (notes);
        EXPECT_LE (std::abs (std::remainder (place.tickInBeat - expectedTick, 1920.0)), 2.0) << describe (notes);
        if (place.cutByRelease)
            EXPECT_LE (place.lengthTicks, 481) << describe (notes);
        else
            EXPECT_LE (std::abs (place.lengthTicks - 480), 1) << describe (notes);
    }

    // Once the chord has reached the plug-in (a process cycle or two after it was sent), no
    // note is lost, the first off-beat included: every half beat has its note.
    const auto chordArrived = ardour.getChordSentAtBeats() + offset + 2 * 1024 / 24000.0;
    std::vector<double> starts;

    for (const auto& note : notes)
        if (note.startBeats >= chordArrived)
            starts.push_back (note.startBeats);

    ASSERT_GE (starts.size(), 4u) << "chord at " << chordArrived << "\n" << describe (notes);
    EXPECT_LT (starts.front() - chordArrived, 0.5) << "chord at " << chordArrived << "\n" << describe (notes);

    for (size_t i = 1; i < starts.size(); ++i)
        EXPECT_NEAR (starts[i] - starts[i - 1], 0.5, 2.0 / 1920.0) << "chord at " << chordArrived << "\n" << describe (notes);

    song.expectIn (ardour.getPluginState(), ardour.getLog());
}

TEST_P (ArdourFormatTest, theHostsBypassButtonEndsTheNoteThatSoundsAtOnce)
{
    if (! ArdourHarness::isAvailable())
        GTEST_SKIP() << "Ardour is not installed (scripts/setup installs it)";

    TemporaryFolder work ("cadenzium-ardour");
    ArdourHarness ardour (GetParam(), juce::File (CADENZIUM_ARDOUR_SCRIPTS), juce::File (work.string()));
    ASSERT_TRUE (ardour.prepare()) << ardour.getLog();
    ASSERT_TRUE (ardour.createSession()) << ardour.getLog();

    // 50 sounds the whole beat and is struck again on every beat: whenever the bypass comes,
    // a note sounds.
    KnownSong song;
    song.phrase = makePhrase ({ { 0, 0, 960 } }, 960);
    ASSERT_TRUE (ardour.setPluginState (song.state())) << ardour.getLog();

    std::vector<RecordedNote> notes;
    double bypassedAt = 0.0;
    ASSERT_TRUE (ardour.playChordAndBypass ({ 60, 64, 67 }, 1500, 1250, notes, bypassedAt)) << ardour.getLog();

    std::vector<RecordedNote> phraseNotes;
    for (const auto& note : notes)
        if (note.pitch == 50)
            phraseNotes.push_back (note);

    ASSERT_GE (phraseNotes.size(), 2u) << describe (notes);

    // The plug-in hears of the bypass at one of the next process cycles (1024 samples each);
    // the note that sounds ends there, not when the transport stops, and none starts after.
    const auto bypass = bypassedAt + recordingOffset (phraseNotes.front());
    const auto cycles = 3 * 1024 / 24000.0;
    const auto& last = phraseNotes.back();
    EXPECT_GE (last.startBeats + last.lengthBeats, bypass - 1.0 / 1920.0) << "bypassed at " << bypass << "\n" << describe (notes);
    EXPECT_LE (last.startBeats + last.lengthBeats, bypass + cycles) << "bypassed at " << bypass << "\n" << describe (notes);
    EXPECT_LE (last.startBeats, bypass + cycles) << "bypassed at " << bypass << "\n" << describe (notes);
}

INSTANTIATE_TEST_SUITE_P (EveryFormat,
                          ArdourFormatTest,
                          ::testing::Values (PluginFormat::vst2, PluginFormat::vst3, PluginFormat::lv2),
                          [] (const auto& formatInfo)
                          { return nameOf (formatInfo.param).toStdString(); });

TEST (ArdourHost, aVst3SongStoresEachParameterUnderAnIdMadeFromItsIdentifier)
{
    if (! ArdourHarness::isAvailable())
        GTEST_SKIP() << "Ardour is not installed (scripts/setup installs it)";

    TemporaryFolder work ("cadenzium-ardour");
    ArdourHarness ardour (PluginFormat::vst3, juce::File (CADENZIUM_ARDOUR_SCRIPTS), juce::File (work.string()));
    ASSERT_TRUE (ardour.prepare()) << ardour.getLog();
    ASSERT_TRUE (ardour.createSession()) << ardour.getLog();

    // Songs keep automation and values under these numbers: they must never change, whatever
    // is added to or moved in the parameter list. The host's bypass comes last.
    const std::vector<juce::uint32> ids {
        848635267,
        1456970991,
        591550251,
        1441446201,
        1167008849,
        29687183,
        1386259672,
        668210672,
        1710933322,
        1804814383,
        728159417,
        570410685,
        2138633799,
        762983641,
        1314958845,
        2108893209,
        1492800711,
        2127681842,
        45956097,
        2036944888,
        18988589,
        1505583731,
        1108873211,
        153824975,
        207515996,
        207515758,
        820700360,
        820700122,
        576002676,
        576002438,
        1013879762,
        134452763,
        134452525,
        137765579,
        142790610,
        240451649,
        1011424853,
        302061284,
        675088476,
        780099822,
        442389240,
        132159599,
        0x62797073
    };

    std::vector<juce::uint32> stored;
    for (const auto& [id, value] : ardour.getVst3Parameters())
        stored.push_back (id);

    EXPECT_EQ (stored, ids);
}

namespace
{
/** The plug-in's own preset file: its state tree, without the host-only "preset_path". */
void writePresetFile (const juce::MemoryBlock& state, const juce::File& file)
{
    auto xml = juce::AudioProcessor::getXmlFromBinary (state.getData(), (int) state.getSize());
    ASSERT_NE (xml, nullptr);
    xml->removeAttribute ("preset_path");
    ASSERT_TRUE (file.getParentDirectory().createDirectory());
    ASSERT_TRUE (xml->writeTo (file));
}

/** The library as `make run` installs it: the factory presets, and the given file among the
    user's presets. */
void installPresets (const juce::MemoryBlock& userState, const juce::String& userPresetName)
{
    Cadenzium2AudioProcessor processor;
    const auto& library = processor.getPresetManager();
    ASSERT_TRUE (juce::File (CADENZIUM_FACTORY_PRESETS).copyDirectoryTo (library.getFactoryRoot()));
    writePresetFile (userState, library.getUserRoot().getChildFile (userPresetName + ".bpre"));
}

int programNamed (Vst2Plugin& plugin, const std::string& name)
{
    for (int i = 0; i < plugin.effect()->numPrograms; ++i)
        if (plugin.dispatchString (effGetProgramNameIndexed, i) == name)
            return i;
    return -1;
}
} // namespace

TEST (ArdourHost, aStateTheLv2PluginSavedInArdourLoadsIntoTheVst2PluginFromAPresetFile)
{
    if (! ArdourHarness::isAvailable())
        GTEST_SKIP() << "Ardour is not installed (scripts/setup installs it)";

    TemporaryFolder work ("cadenzium-ardour");
    ArdourHarness ardour (PluginFormat::lv2, juce::File (CADENZIUM_ARDOUR_SCRIPTS), juce::File (work.string()));
    ASSERT_TRUE (ardour.prepare()) << ardour.getLog();
    ASSERT_TRUE (ardour.createSession()) << ardour.getLog();

    KnownSong song;
    song.density = 77.0f;
    ASSERT_TRUE (ardour.setPluginState (song.state())) << ardour.getLog();

    // Loaded and saved again by the LV2 plug-in: what it writes is what travels.
    std::vector<RecordedNote> notes;
    ASSERT_TRUE (ardour.playChord ({ 60 }, 100, notes)) << ardour.getLog();
    const auto lv2State = ardour.getPluginState();
    ASSERT_GT (lv2State.getSize(), 8u) << ardour.getLog();
    installPresets (lv2State, "From LV2");

    Vst2Library vst2 (CADENZIUM_VST_PATH);
    ASSERT_TRUE (vst2.isLoaded()) << vst2.getError();
    auto plugin = vst2.createInstance();
    ASSERT_NE (plugin, nullptr);
    const auto program = programNamed (*plugin, "From LV2");
    ASSERT_GE (program, 0) << "the VST2 plug-in does not list the preset";

    // The host asks from its own thread; the plug-in loads the preset on its message thread,
    // and its state then names the preset it came from.
    plugin->dispatch (effSetProgram, 0, program);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (10);
    std::vector<unsigned char> chunk;

    do
    {
        std::this_thread::sleep_for (std::chrono::milliseconds (20));
        chunk = plugin->getChunk();
    } while (std::string (chunk.begin(), chunk.end()).find ("From LV2.bpre") == std::string::npos && std::chrono::steady_clock::now() < deadline);

    song.expectIn (juce::MemoryBlock (chunk.data(), chunk.size()), ardour.getLog());
}
