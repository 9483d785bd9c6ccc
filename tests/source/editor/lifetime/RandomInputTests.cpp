// Random input into the real window while a host plays: clicks, right and double clicks,
// drags, wheel turns, keys and typing anywhere in the window (and so in whatever popup they
// open), with the window closed and opened again, resized, rethemed and rescaled, and
// presets loaded, in between. Nothing may crash or trip a sanitizer, no note may hang once
// the host lets go, and the state must still restore.
//
// Seeded: CADENZIUM_TEST_SEED replays one seed. CADENZIUM_GUI_FUZZ_GESTURES sets the
// gestures per seed, CADENZIUM_GUI_FUZZ_SECONDS runs fresh seeds until the time is up
// (make gui-fuzz).

#include "LifetimeScene.h"

#include <source/processor/ParameterIds.h>
#include <tarn/gui/ThemeSelector.h>
#include <tests/source/processor/state/StateTestSupport.h>
#include <tests/support/TestSeed.h>

#include <thread>

namespace cadenzium::test
{
namespace
{
    int environmentNumber (const char* name, int fallback)
    {
        const auto text = juce::SystemStats::getEnvironmentVariable (name, {});
        return text.isNotEmpty() ? text.getIntValue() : fallback;
    }

    /** A host on its own thread: the transport runs, a chord is held, and every so often a
        keyswitch note picks another phrase. What the plug-in plays is counted. */
    class PlayingHost : private juce::AudioPlayHead
    {
    public:
        PlayingHost (Cadenzium2AudioProcessor& processorToPlay, juce::int64 seed)
            : processor (processorToPlay), random (seed)
        {
            processor.setPlayHead (this);
            thread = std::thread ([this] { run(); });
        }

        ~PlayingHost() { stop(); }

        /** Stops the thread, lets every key go and stops the transport; then plays two bars. */
        void stop()
        {
            if (! thread.joinable())
                return;

            running = false;
            thread.join();

            juce::MidiBuffer release;
            for (int note = 0; note < 128; ++note)
                if (held[(size_t) note])
                    release.addEvent (juce::MidiMessage::noteOff (1, note), 0);

            held = {};
            playing = false;
            process (release);

            for (int i = 0; i < 200; ++i)
                process ({});

            processor.setPlayHead (nullptr);
        }

        NoteCounter counter;
        int blocks = 0;

        /** Each hanging note with what went in and came out of the last blocks that touched
            it (the host's timing is not replayed by the seed). */
        juce::String describeHanging() const
        {
            juce::String text;

            for (int channel = 1; channel <= 16; ++channel)
                for (int note = 0; note < 128; ++note)
                    if (counter.get (channel, note) > 0)
                    {
                        text << "ch" << channel << " note " << note << ":";

                        for (const auto& line : history[(size_t) (channel - 1) * 128 + (size_t) note])
                            text << "\n    " << line;

                        text << "\n";
                    }

            return text;
        }

    private:
        static constexpr int blockSize = LifetimeScene::blockSize;
        std::array<std::vector<juce::String>, 16 * 128> history;

        juce::Optional<PositionInfo> getPosition() const override
        {
            PositionInfo info;
            info.setIsPlaying (playing);
            info.setBpm (120.0);
            info.setPpqPosition (ppq);
            info.setPpqPositionOfLastBarStart (std::floor (ppq / 4.0) * 4.0);
            info.setTimeSignature (TimeSignature { 4, 4 });
            return info;
        }

        void remember (const juce::MidiBuffer& in, const juce::MidiBuffer& out)
        {
            for (const auto* buffer : { &in, &out })
                for (const auto m : *buffer)
                {
                    const auto message = m.getMessage();

                    if (! message.isNoteOnOrOff())
                        continue;

                    auto& lines = history[(size_t) (message.getChannel() - 1) * 128 + (size_t) message.getNoteNumber()];
                    lines.push_back ("block " + juce::String (blocks) + (buffer == &in ? " in:  " : " out: ") + message.getDescription()
                                     + (playing ? "" : " (stopped)"));

                    if (lines.size() > 16)
                        lines.erase (lines.begin());
                }
        }

        void process (juce::MidiBuffer midi)
        {
            const auto in = midi;
            processor.processBlock (audio, midi);
            counter.add (midi);
            remember (in, midi);
            ++blocks;

            if (playing)
                ppq += blockSize * 120.0 / (60.0 * LifetimeScene::sampleRate);
        }

        void press (juce::MidiBuffer& midi, int note, bool down)
        {
            if (! juce::isPositiveAndBelow (note, 128) || held[(size_t) note] == down)
                return;

            held[(size_t) note] = down;
            midi.addEvent (down ? juce::MidiMessage::noteOn (1, note, (juce::uint8) 100) : juce::MidiMessage::noteOff (1, note), 0);
        }

        void run()
        {
            while (running)
            {
                juce::MidiBuffer midi;

                if (blocks == 0)
                    for (auto note : { 60, 64, 67 })
                        press (midi, note, true);

                // About twice a second: a keyswitch (pressed, or let go), or the chord changes.
                if (random.nextInt (40) == 0)
                {
                    const auto range = juce::roundToInt (processor.getRawParameterValue (ParameterIds::keyswitchRange));
                    const auto key = 12 * range + random.nextInt (12);
                    press (midi, key, ! held[(size_t) juce::jlimit (0, 127, key)]);
                }
                else if (random.nextInt (80) == 0)
                {
                    const auto note = 48 + random.nextInt (36);
                    press (midi, note, ! held[(size_t) note]);
                }

                process (midi);
                std::this_thread::sleep_for (std::chrono::milliseconds (2));
            }
        }

        Cadenzium2AudioProcessor& processor;
        juce::Random random;
        juce::AudioBuffer<float> audio { 2, blockSize };
        std::array<bool, 128> held {};
        std::atomic<bool> running { true }, playing { true };
        std::atomic<double> ppq { 0.0 };
        std::thread thread;
    };

    /** One random gesture or host action. */
    class RandomUser
    {
    public:
        RandomUser (LifetimeScene& sceneToUse, juce::int64 seed) : scene (sceneToUse), random (seed) {}

        void act()
        {
            const auto roll = random.nextInt (1000);

            if (roll < 10)
                reopen();
            else if (roll < 18)
                resize();
            else if (roll < 24)
                tarn::ThemeSelector::getInstance()->setColourSchemeNumber (3 + random.nextInt (3));
            else if (roll < 30)
                scene.window->setHostScaleFactor (scales[(size_t) random.nextInt ((int) scales.size())]);
            else if (roll < 38)
                scene.processor->getPresetManager().loadPreset (random.nextInt (juce::jmax (1, scene.processor->getPresetManager().getNumPresets())));
            else if (roll < 330)
                scene.window->click (editor(), point(), modifiers());
            else if (roll < 430)
                scene.window->rightClick (editor(), point());
            else if (roll < 490)
                scene.window->doubleClick (editor(), point());
            else if (roll < 650)
                scene.window->drag (editor(), point(), point(), 1 + random.nextInt (8), modifiers());
            else if (roll < 720)
                scene.window->wheel (editor(), (random.nextFloat() - 0.5f) * 2.0f, point());
            else if (roll < 900)
                scene.window->pressKey (key());
            else
                scene.window->typeText (juce::String ("1/8 Half ").substring (random.nextInt (4)));

            EditorWindow::pump (2);
        }

    private:
        juce::Component& editor() { return scene.window->getEditor(); }

        juce::Point<float> point()
        {
            const auto bounds = editor().getLocalBounds().toFloat();
            return { bounds.getWidth() * random.nextFloat(), bounds.getHeight() * random.nextFloat() };
        }

        juce::ModifierKeys modifiers()
        {
            const auto roll = random.nextInt (10);
            return juce::ModifierKeys (roll == 0 ? juce::ModifierKeys::shiftModifier
                                       : roll == 1 ? juce::ModifierKeys::commandModifier
                                       : roll == 2 ? juce::ModifierKeys::altModifier
                                                   : 0);
        }

        juce::KeyPress key()
        {
            static const juce::KeyPress keys[] {
                juce::KeyPress (juce::KeyPress::returnKey), juce::KeyPress (juce::KeyPress::escapeKey),
                juce::KeyPress (juce::KeyPress::deleteKey), juce::KeyPress (juce::KeyPress::backspaceKey),
                juce::KeyPress (juce::KeyPress::leftKey), juce::KeyPress (juce::KeyPress::rightKey),
                juce::KeyPress (juce::KeyPress::upKey), juce::KeyPress (juce::KeyPress::downKey),
                juce::KeyPress (juce::KeyPress::tabKey), juce::KeyPress (juce::KeyPress::spaceKey),
                juce::KeyPress ('z', juce::ModifierKeys::commandModifier, 0),
                juce::KeyPress ('z', juce::ModifierKeys::commandModifier | juce::ModifierKeys::shiftModifier, 0),
                juce::KeyPress ('a', juce::ModifierKeys::commandModifier, 0), juce::KeyPress ('c', juce::ModifierKeys::commandModifier, 0),
                juce::KeyPress ('v', juce::ModifierKeys::commandModifier, 0), juce::KeyPress ('d', juce::ModifierKeys::commandModifier, 0),
                juce::KeyPress ('x', juce::ModifierKeys::commandModifier, 0), juce::KeyPress ('v', 0, 'v'), juce::KeyPress ('q', 0, 'q'),
                juce::KeyPress ('2', 0, '2'), juce::KeyPress ('-', 0, '-'),
            };
            return keys[random.nextInt ((int) std::size (keys))];
        }

        void reopen()
        {
            scene.closeWindow (random.nextBool());
            scene.openWindow();
        }

        void resize()
        {
            editor().setSize (1000 + random.nextInt (1001), 800 + random.nextInt (701));
            EditorWindow::pump (20);
        }

        const std::array<float, 3> scales { 1.0f, 1.5f, 2.0f };
        LifetimeScene& scene;
        juce::Random random;
    };

    /** The desktop's opener, as the window would start it for "?" or a revealed folder: a
        program that does nothing, first on the PATH. */
    void replaceTheDesktopsOpener (const juce::File& folder)
    {
        const auto opener = folder.getChildFile ("xdg-open");
        ASSERT_TRUE (opener.replaceWithText ("#!/bin/sh\nexit 0\n"));
        ASSERT_TRUE (opener.setExecutePermission (true));
        const auto path = juce::SystemStats::getEnvironmentVariable ("PATH", "/usr/bin:/bin");
        setenv ("PATH", (folder.getFullPathName() + ":" + path).toRawUTF8(), 1);
    }

    using RandomInput = LifetimeTest;
} // namespace

TEST_F (RandomInput, thousandsOfGesturesAnywhereWhileTheHostPlaysCrashNothingHangNoNoteAndKeepTheStateWhole)
{
    TemporaryFolder bin;
    replaceTheDesktopsOpener (juce::File (bin.string()));

    const auto gesturesPerSeed = environmentNumber ("CADENZIUM_GUI_FUZZ_GESTURES", 400);
    const auto seconds = environmentNumber ("CADENZIUM_GUI_FUZZ_SECONDS", 0);
    const auto until = juce::Time::getMillisecondCounterHiRes() + seconds * 1000.0;
    auto seed = testSeed (20261208);
    int seeds = 0, gestures = 0;

    do
    {
        SCOPED_TRACE ("seed " + std::to_string (seed) + " (replay with CADENZIUM_TEST_SEED=" + std::to_string (seed) + ")");
        std::cout << "[ seed     ] " << seed << std::endl;

        {
            LifetimeScene scene;
            PlayingHost host (*scene.processor, seed);
            RandomUser user (scene, seed + 1);

            for (int i = 0; i < gesturesPerSeed && ! HasFatalFailure(); ++i)
                user.act();

            gestures += gesturesPerSeed;
            scene.closeWindow();

            // The host lets go of every key with the plug-in in a state that holds nothing on
            // purpose: latch and keyswitch hold off, processing on.
            for (const auto* id : { ParameterIds::inputLatch, ParameterIds::keyswitchHold })
                scene.processor->setRawParameterValueNotifyingHost (id, 0.0f);
            scene.processor->setRawParameterValueNotifyingHost (ParameterIds::enable, 1.0f);

            host.stop();
            EXPECT_GT (host.blocks, 0);
            EXPECT_EQ (host.counter.sounding(), 0) << "hanging:\n" << host.describeHanging();

            // What the host saves restores into another instance as it was.
            const auto saved = stateOf (*scene.processor);
            Cadenzium2AudioProcessor restored;
            restore (restored, saved);
            EXPECT_TRUE (stateOf (restored) == saved) << "the state changed in a save and restore";
        }

        ++seeds;
        seed = juce::Random (seed).nextInt64() & 0x7fffffffffffll;
    } while (juce::Time::getMillisecondCounterHiRes() < until && ! HasFailure());

    RecordProperty ("seeds", seeds);
    RecordProperty ("gestures", gestures);
    std::cout << "[ gestures ] " << gestures << " in " << seeds << " seeds" << std::endl;
}

} // namespace cadenzium::test
