#include "ArdourHarness.h"
#include "KnownSong.h"
#include "Vst2TestHost.h"

#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <iostream>
#include <set>
#include <thread>

using namespace cadenzium::test;

// One session per format, made once (making one costs Ardour a scan and a start-up), then
// played, bypassed and switched to a preset one scenario after the other, each from the
// state the scenario sets.

namespace
{
int ticksOf (double beats) { return (int) std::lround (beats * 1920.0); }

// 50 sits on the beat and 79 on the off-beat: how far before its place Ardour recorded it.
double recordingOffset (const RecordedNote& note) { return std::remainder (note.startBeats - (note.pitch == 79 ? 0.5 : 0.0), 1.0); }

std::string describe (const Take& take)
{
    auto text = "chord at " + std::to_string (take.chordSentAt) + ", released at " + std::to_string (take.releasedAt) + ", bypassed at " + std::to_string (take.bypassedAt) + "\n";
    for (const auto& note : take.notes)
        text += std::to_string (note.pitch) + " at " + std::to_string (note.startBeats) + " for " + std::to_string (note.lengthBeats) + "\n";
    return text;
}

void expectTheHeldChordPlaysThePhraseOnItsGrid (ArdourHarness& ardour, const KnownSong& song)
{
    ASSERT_TRUE (ardour.setPluginState (song.state())) << ardour.getLog();

    // The session is loaded with the state, played at Ardour's 120 bpm and saved again.
    const auto take = ardour.playChord ({ 60, 64, 67 }, 1500);
    ASSERT_TRUE (take.has_value()) << ardour.getLog();

    // Three beats held: about three passes of the loop, whatever the moment the chord came in.
    // Ardour places a take a few samples early (its capture alignment): the same for every note.
    ASSERT_GE (take->notes.size(), 4u) << ardour.getLog();
    ASSERT_GT (take->releasedAt, take->chordSentAt + 2.0) << ardour.getLog();
    const auto offset = recordingOffset (take->notes.front());
    EXPECT_LT (std::abs (offset), 1.0 / 16.0) << describe (*take);

    // Each note on its place and a whole sixteenth long. Ardour reports the VST2 and VST3
    // block positions rounded to its 1920 ticks per beat; that rounding must neither move the
    // notes nor cut them short. Ardour also rounds a take's positions: a tick either way.
    for (const auto& note : take->notes)
    {
        const auto length = ticksOf (note.lengthBeats);
        EXPECT_TRUE (note.pitch == 50 || note.pitch == 79) << describe (*take);
        EXPECT_LE (std::abs (std::remainder (ticksOf (note.startBeats - offset) - (note.pitch == 79 ? 960 : 0), 1920.0)), 2.0) << describe (*take);
        EXPECT_LE (length, 481) << describe (*take);

        // Releasing the chord ends the note that sounds then: where it falls depends on the
        // moment the release reached the host, which a busy machine moves.
        EXPECT_TRUE (length >= 479 || note.startBeats + 0.25 > take->releasedAt + offset) << describe (*take);
    }

    // Once the chord has reached the plug-in (a process cycle or two after it was sent), no
    // note is lost, the first off-beat included: every half beat has its note.
    const auto chordArrived = take->chordSentAt + offset + 2 * 1024 / 24000.0;
    std::vector<double> starts;

    for (const auto& note : take->notes)
        if (note.startBeats >= chordArrived)
            starts.push_back (note.startBeats);

    ASSERT_GE (starts.size(), 4u) << describe (*take);
    EXPECT_LT (starts.front() - chordArrived, 0.5) << describe (*take);

    for (size_t i = 1; i < starts.size(); ++i)
        EXPECT_NEAR (starts[i] - starts[i - 1], 0.5, 2.0 / 1920.0) << describe (*take);

    // The state survived the host's saving and reloading.
    song.expectIn (ardour.getPluginState(), ardour.getLog());
}

void expectTheHostsBypassButtonEndsTheNoteThatSoundsAtOnce (ArdourHarness& ardour)
{
    // 50 sounds the whole beat and is struck again on every beat: whenever the bypass comes,
    // a note sounds.
    KnownSong song;
    song.phrase = makePhrase ({ { 0, 0, 960 } }, 960);
    ASSERT_TRUE (ardour.setPluginState (song.state())) << ardour.getLog();

    const auto take = ardour.playChord ({ 60, 64, 67 }, 1500, 1250);
    ASSERT_TRUE (take.has_value() && take->bypassedAt > take->chordSentAt) << ardour.getLog();

    std::vector<RecordedNote> phraseNotes;
    std::copy_if (take->notes.begin(), take->notes.end(), std::back_inserter (phraseNotes), [] (const auto& note) { return note.pitch == 50; });

    ASSERT_GE (phraseNotes.size(), 2u) << describe (*take);

    // The plug-in hears of the bypass at one of the next process cycles (1024 samples each);
    // the note that sounds ends there, not when the transport stops, and none starts after.
    const auto bypass = take->bypassedAt + recordingOffset (phraseNotes.front());
    const auto cycles = 3 * 1024 / 24000.0;
    const auto& last = phraseNotes.back();
    EXPECT_GE (last.startBeats + last.lengthBeats, bypass - 1.0 / 1920.0) << describe (*take);
    EXPECT_LE (last.startBeats + last.lengthBeats, bypass + cycles) << describe (*take);
    EXPECT_LE (last.startBeats, bypass + cycles) << describe (*take);
}

/** A recorded note where it falls in a loop of `loopBeats`, in Ardour's ticks (1920 a beat). */
struct LoopNote
{
    int pitch, velocity, startTicks, lengthTicks;
    auto operator<=> (const LoopNote&) const = default;
};

/** The take's notes between one loop after the chord arrived and the release, placed in the
    loop. Ardour places a whole take a few samples early: measured on the first note, whose
    place is on the sixteenth grid like every note of the phrase. */
std::set<LoopNote> notesInLoop (const Take& take, double loopBeats)
{
    std::set<LoopNote> notes;

    if (take.notes.empty())
        return notes;

    const auto offset = std::remainder (take.notes.front().startBeats, 0.25);
    const auto from = take.chordSentAt + offset + 2 * 1024 / 24000.0 + loopBeats;

    for (const auto& note : take.notes)
        if (note.startBeats >= from && note.startBeats + note.lengthBeats < take.releasedAt + offset)
            notes.insert ({ note.pitch, note.velocity, (ticksOf (note.startBeats - offset) + ticksOf (loopBeats) * 1000) % ticksOf (loopBeats), ticksOf (note.lengthBeats) });

    return notes;
}

std::string tableOf (const std::set<LoopNote>& notes)
{
    std::string text = "pitch velocity start(beat) length(beats)\n";
    for (const auto& n : notes)
        text += std::to_string (n.pitch) + " " + std::to_string (n.velocity) + " " + std::to_string (n.startTicks / 1920.0) + " " + std::to_string (n.lengthTicks / 1920.0) + "\n";
    return text;
}

void expectAFactoryPresetChosenByNameFromTheHostsListToPlayItsNotes (ArdourHarness& ardour, PluginFormat format)
{
    // "Island Skank": the held chord struck on beats 1 and 3 (velocity 122) and an eighth
    // before beats 2 and 4 (velocity 45), each an eighth of a beat long, in a four-beat loop:
    // the same from each format's list.
    std::set<LoopNote> expected;
    for (const auto pitch : { 60, 64, 67 })
        for (const auto& [beat, velocity] : { std::pair (1.0, 122), std::pair (1.75, 45), std::pair (3.0, 122), std::pair (3.75, 45) })
            expected.insert ({ pitch, velocity, ticksOf (beat), 240 });

    const auto take = ardour.playChord ({ 60, 64, 67 }, 5000, -1, "Island Skank");
    ASSERT_TRUE (take.has_value()) << ardour.getLog();

    const auto notes = notesInLoop (*take, 4.0);
    std::cout << nameOf (format) << ", \"Island Skank\" chosen by name, C-E-G held:\n" << tableOf (notes) << std::endl;
    EXPECT_EQ (notes, expected) << describe (*take);
}

class ArdourHost : public ::testing::TestWithParam<PluginFormat>
{
protected:
    void SetUp() override
    {
        if (! ArdourHarness::isAvailable())
            GTEST_SKIP() << "Ardour is not installed (scripts/setup installs it)";
    }

    /** A session with the built plug-in and the library as `make run` installs it (the
        programs of VST2 and VST3; LV2's presets come with its bundle). */
    ArdourHarness& openSession()
    {
        ardour.emplace (GetParam(), juce::File (work.string()));
        EXPECT_TRUE (ardour->installFactoryPresets (juce::File (CADENZIUM_FACTORY_PRESETS)));
        EXPECT_TRUE (ardour->createSession()) << ardour->getLog();
        return *ardour;
    }

    TemporaryFolder work { "cadenzium-ardour" };
    std::optional<ArdourHarness> ardour;
};

/** The state Ardour saved for the LV2 plug-in, as one of the user's preset files of the library
    `make run` installs, loads into the VST2 plug-in chosen from its program list. */
void expectAnLv2StateToLoadIntoTheVst2PluginFromAPresetFile (const juce::MemoryBlock& lv2State, const KnownSong& song)
{
    auto xml = juce::AudioProcessor::getXmlFromBinary (lv2State.getData(), (int) lv2State.getSize());
    ASSERT_NE (xml, nullptr);

    Cadenzium2AudioProcessor processor;
    const auto& library = processor.getPresetManager();
    ASSERT_TRUE (juce::File (CADENZIUM_FACTORY_PRESETS).copyDirectoryTo (library.getFactoryRoot()));
    xml->removeAttribute ("preset_path"); // host-only
    ASSERT_TRUE (library.getUserRoot().createDirectory() && xml->writeTo (library.getUserRoot().getChildFile ("From LV2.bpre")));

    Vst2Library vst2 (CADENZIUM_VST_PATH);
    auto plugin = vst2.createInstance();
    ASSERT_NE (plugin, nullptr) << vst2.getError();
    int program = 0;

    while (program < plugin->effect()->numPrograms && plugin->dispatchString (effGetProgramNameIndexed, program) != "From LV2")
        ++program;

    ASSERT_LT (program, plugin->effect()->numPrograms) << "the VST2 plug-in does not list the preset";

    // The host asks from its own thread; the plug-in loads the preset on its message thread,
    // and its state then names the preset it came from.
    plugin->dispatch (effSetProgram, 0, program);
    std::vector<unsigned char> chunk;

    for (int waited = 0; waited < 10000 && std::string (chunk.begin(), chunk.end()).find ("From LV2.bpre") == std::string::npos; waited += 20)
    {
        std::this_thread::sleep_for (std::chrono::milliseconds (20));
        chunk = plugin->getChunk();
    }

    song.expectIn (juce::MemoryBlock (chunk.data(), chunk.size()));
}
} // namespace

TEST_P (ArdourHost, aHeldChordPlaysOnTheGridTheBypassEndsTheNoteAndAFactoryPresetChosenByNamePlays)
{
    auto& session = openSession();
    ASSERT_FALSE (HasFailure());
    const KnownSong song;

    {
        SCOPED_TRACE ("a held chord, and the state saved and reloaded");
        expectTheHeldChordPlaysThePhraseOnItsGrid (session, song);
    }

    if (GetParam() == PluginFormat::lv2)
    {
        SCOPED_TRACE ("the state the LV2 plug-in saved, in the VST2 plug-in");
        expectAnLv2StateToLoadIntoTheVst2PluginFromAPresetFile (session.getPluginState(), song);
    }

    {
        SCOPED_TRACE ("the host's bypass button");
        expectTheHostsBypassButtonEndsTheNoteThatSoundsAtOnce (session);
    }
    {
        // After the scenarios that set a state: the session then remembers the preset's
        // program, which the host may set again on loading, over a state written behind its back.
        SCOPED_TRACE ("\"Island Skank\" from the host's list");
        expectAFactoryPresetChosenByNameFromTheHostsListToPlayItsNotes (session, GetParam());
    }

    if (GetParam() == PluginFormat::vst3)
    {
        // Songs keep automation and values under these numbers, in the parameter list's order:
        // they must never change, whatever is added to or moved in the list. The host's bypass
        // comes last.
        const std::vector<juce::uint32> ids {
            848635267, 1456970991, 591550251, 1441446201, 1167008849, 29687183,
            1386259672, 668210672, 1710933322, 1804814383, 728159417, 570410685,
            2138633799, 762983641, 1314958845, 2108893209, 1492800711, 2127681842,
            45956097, 2036944888, 18988589, 1505583731, 1108873211, 153824975,
            207515996, 207515758, 820700360, 820700122, 576002676, 576002438,
            1013879762, 134452763, 134452525, 137765579, 142790610, 240451649,
            1011424853, 302061284, 675088476, 780099822, 442389240, 132159599,
            0x62797073
        };

        EXPECT_EQ (session.getVst3ParameterIds(), ids);
    }

    if (GetParam() == PluginFormat::lv2)
    {
        // Every parameter is a control of the host's, under its name, and a value set there
        // reaches the plug-in.
        const auto controls = session.setParameter ("Swing", 50.0);
        ASSERT_TRUE (controls.has_value()) << session.getLog();
        EXPECT_EQ (controls->count ("Swing"), 1u);
        EXPECT_EQ (controls->count ("Generation Density"), 1u);
        EXPECT_GE (controls->size(), 42u);

        Cadenzium2AudioProcessor saved;
        restore (saved, session.getPluginState());
        EXPECT_FLOAT_EQ (saved.getRawParameterValue ("swing_amount"), 50.0f) << session.getLog();
    }
}

INSTANTIATE_TEST_SUITE_P (EveryFormat, ArdourHost, ::testing::Values (PluginFormat::vst2, PluginFormat::vst3, PluginFormat::lv2), [] (const auto& format) { return nameOf (format.param); });
