#include "PluginHarness.h"

#include <tarn/util/RandomSource.h>
#include <tests/support/TestSeed.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <set>

using namespace cadenzium::test;

namespace
{
namespace ids = ParameterIds;

constexpr int keyboardChannel = 16; // the host's keys
constexpr int screenKeyboardChannel = 15; // the editor's on-screen keyboard
constexpr int numRowChannels = 14; // rows play on 1..14: everything there comes from the rows

/** One run: a random stream of everything a performer, an editor and a host can do, block
    by block, then every key released and the phrase left to end its own notes with the rows
    muted, then the transport stopped. */
class RandomSession
{
public:
    explicit RandomSession (juce::int64 seed)
        : random (seed)
        , host (std::array { 32, 64, 100, 256, 500, 1024 }[(size_t) juce::Random (seed).nextInt (6)])
    {
        for (int slot = 0; slot < numSlotsUsed; ++slot)
            host.setPhrase (slot, randomPhrase());
    }

    /** One run on this instance, whatever earlier runs left behind. */
    void run (int numSteps)
    {
        rows = randomRows();
        host.setRows (rows);
        host.playHead.playing = true;

        // Settings change often; what ends every note at once (the transport, bypass, panic,
        // a phrase switch) is rarer, so phrases get to play on through the changes.
        for (int step = 0; step < numSteps; ++step)
        {
            if (pick (4) == 0)
                changeASetting();

            if (pick (30) == 0)
                disruptions[(size_t) pick ((int) disruptions.size())]();

            playBlock (randomInput());
        }

        drain();
    }

    int strayNoteOffs = 0; // on the rows' channels, outside panic blocks, which end every note there is by design
    int trackerMismatches = 0;
    int soundingAfterDrain = -1, soundingAfterStop = -1;
    juce::String lastMismatch, sounding;

private:
    static constexpr int numSlotsUsed = 4;

    juce::Random random;
    PluginHarness host;
    RowList rows;
    std::set<int> keysDown, screenKeysDown;
    int keyswitchRange = 2;
    bool panicPending = false;

    int pick (int n) { return random.nextInt (n); }

    /** A parameter and the raw values a change draws from. */
    struct Setting
    {
        const char* id;
        int low, high;
    };

    static constexpr Setting settings[] = {
        { ids::inputLatch, 0, 1 },
        { ids::lockToKey, 0, 1 },
        { ids::noteOutputRangeLow, 0, 79 },
        { ids::noteOutputRangeHigh, 40, 127 },
        { ids::velocityScaleLow, 0, 127 },
        { ids::velocityScaleHigh, 0, 127 },
        { ids::randomVelocity, 0, 39 },
        { ids::swingAmount, 0, 100 },
        { ids::keyswitchEnable, 0, 1 },
        { ids::keyswitchHold, 0, 1 },
        { ids::keyswitchRetrigger, 0, 1 },
        { ids::inputRetrigger, 0, 4 },
        { ids::notePassthrough, 0, 1 },
        { ids::notePassthroughScale, 0, 1 },
        { ids::inputCcPassthrough, 0, 1 },
        { ids::velocityPassthrough, 0, 1 },
        { ids::inputFill, 0, 1 },
        { ids::keyswitchRange, 0, 10 },
    };

    void changeASetting()
    {
        const auto choice = pick ((int) std::size (settings) + 5);

        if (choice < (int) std::size (settings))
        {
            const auto& setting = settings[(size_t) choice];
            const auto value = setting.low + pick (setting.high - setting.low + 1);
            keyswitchRange = std::string_view (setting.id) == ids::keyswitchRange ? value : keyswitchRange;
            host.set (setting.id, (float) value);
        }
        else if (choice == (int) std::size (settings))
            changeARow();
        else if (choice == (int) std::size (settings) + 1)
            host.setPhrase (pick (numSlotsUsed), randomPhrase());
        else if (choice == (int) std::size (settings) + 2)
            host.processor.setKeySignature (KeySignature (pick (12), Scales::all()[(size_t) pick ((int) Scales::all().size())]));
        else if (choice == (int) std::size (settings) + 3)
            host.processor.setSwingGridChoice (pick (3));
        else
            pressScreenKey();
    }

    // What ends every note at once.
    const std::vector<std::function<void()>> disruptions {
        [this]
        { host.set (ids::enable, pick (4) == 0 ? 0.0f : 1.0f); },
        [this]
        { host.set (ids::dawTransportOnly, (float) pick (2)); },
        [this]
        { host.processor.requestPhrase (pick (numSlotsUsed + 1)); },
        [this]
        { host.playHead.playing = ! host.playHead.playing; },
        [this]
        { host.playHead.ppq = random.nextDouble() * 16.0 - 1.0; },
        [this]
        {
            auto& playHead = host.playHead;
            playHead.looping = random.nextBool();
            playHead.loopStart = pick (8) * 0.5;
            playHead.loopEnd = playHead.loopStart + 0.25 + pick (8) * 0.5;
        },
        [this]
        { host.playHead.bpm = 40.0 + pick (200); },
        [this]
        { host.playHead.hasTempo = pick (6) != 0; },
        [this]
        { host.playHead.present = pick (8) != 0; },
        [this]
        {
            host.processor.requestPanic();
            panicPending = true;
        },
        [this]
        { host.processor.sendControllerPreview (1 + pick (16), pick (128), pick (128)); },
    };

    void playBlock (const std::vector<Event>& input)
    {
        const auto strays = host.counter.strays;
        host.block (input);

        if (std::exchange (panicPending, false))
            host.counter.strays = strays;

        strayNoteOffs = host.counter.strayNoteOffs (1, numRowChannels);

        // The output tracker is what every "end everything" relies on: it must know exactly
        // what sounds on the rows' channels.
        const auto& tracker = host.processor.getPipeline().getOutputNoteTracker();

        for (int channel = 1; channel <= numRowChannels; ++channel)
            for (int note = 0; note < 128; ++note)
                if (tracker.getCount (channel - 1, note) != host.counter.get (channel, note))
                {
                    ++trackerMismatches;
                    lastMismatch = "channel " + juce::String (channel) + " note " + juce::String (note);
                    return;
                }
    }

    std::vector<Event> randomInput()
    {
        std::vector<Event> input;
        std::vector<int> samples ((size_t) (pick (10) < 6 ? 0 : 1 + pick (4)));

        // In time order, so a key is never released before it was pressed.
        for (auto& sample : samples)
            sample = pick (host.blockSize);

        std::sort (samples.begin(), samples.end());

        for (const auto sample : samples)
        {
            if (! keysDown.empty() && random.nextBool())
            {
                auto it = std::next (keysDown.begin(), pick ((int) keysDown.size()));
                input.push_back (off (*it, sample, keyboardChannel, pick (2) == 0 ? 0 : 64));
                keysDown.erase (it);
            }
            else if (pick (4) == 0)
            {
                input.push_back (cc (1 + pick (10), pick (128), sample, keyboardChannel));
            }
            else if (const auto key = pick (3) == 0 ? 12 * keyswitchRange + pick (numSlotsUsed + 1) : 20 + pick (70); keysDown.insert (key).second)
            {
                // Now and then a keyswitch key of the current range, otherwise any key.
                input.push_back (on (key, 1 + pick (127), sample, keyboardChannel));
            }
        }

        return input;
    }

    void pressScreenKey()
    {
        auto& keyboard = host.processor.getInputKeyboardState();

        if (! screenKeysDown.empty() && random.nextBool())
        {
            keyboard.noteOff (screenKeyboardChannel, *screenKeysDown.begin(), 0.0f);
            screenKeysDown.erase (screenKeysDown.begin());
        }
        else if (const auto key = 40 + pick (40); screenKeysDown.insert (key).second)
        {
            keyboard.noteOn (screenKeyboardChannel, key, 0.8f);
        }
    }

    CadenziumModifier randomRow()
    {
        auto row = makeRow (pick (CadenziumModifier::numTypes), 0, 1 + pick (numRowChannels));
        const auto range = CadenziumModifier::getValueRange (row.type);
        row.value = range.getStart() + pick (range.getLength() + 1);
        row.transpose = pick (5) == 0 ? pick (25) - 12 : 0;
        row.octave = pick (5) == 0 ? pick (5) - 2 : 0;
        row.muted = pick (8) == 0;
        return row;
    }

    RowList randomRows()
    {
        RowList list;
        for (int i = 2 + pick (7); --i >= 0;)
            list.push_back (randomRow());
        return list;
    }

    void changeARow()
    {
        auto& row = rows[(size_t) pick ((int) rows.size())];

        switch (pick (5))
        {
            case 0:
                row.channel = 1 + pick (numRowChannels);
                break;
            case 1:
                row.transpose = pick (25) - 12;
                break;
            case 2:
                row.type = pick (CadenziumModifier::numTypes);
                break;
            case 3:
                row.muted = ! row.muted;
                break;
            default:
                rows = randomRows();
                break;
        }

        host.setRows (rows);
    }

    /** At most two bars, on the rows and on two rows past them. */
    tarn::Sequence randomPhrase() { return makeRandomSequence (random, { 0, (int) rows.size() + 2, 8, 8 }); }

    void drain()
    {
        // Every key up, the plug-in on, the host playing: the phrase ends the notes it
        // started by itself, without any "end everything" helping.
        std::vector<Event> releases;

        for (auto key : keysDown)
            releases.push_back (off (key, 0, keyboardChannel));

        for (auto key : screenKeysDown)
            host.processor.getInputKeyboardState().noteOff (screenKeyboardChannel, key, 0.0f);

        keysDown.clear();
        screenKeysDown.clear();

        host.set (ids::enable, 1.0f);
        auto& playHead = host.playHead;
        playHead.present = playHead.playing = playHead.hasTempo = true;
        playHead.looping = false;
        playHead.bpm = 480.0;

        for (auto& row : rows)
            row.muted = true;

        host.setRows (rows);
        playBlock (releases);

        // The longest phrase is 1920 ticks; swing delays by less than a beat.
        const auto drainSamples = (int) (3000.0 / 960.0 * 60.0 / playHead.bpm * PluginHarness::sampleRate);

        for (int played = 0; played < drainSamples; played += host.blockSize)
            playBlock ({});

        soundingAfterDrain = host.counter.sounding();
        sounding = host.counter.describeSounding();

        host.set (ids::dawTransportOnly, 1.0f);
        playHead.playing = false;
        playBlock ({});
        playBlock ({});
        soundingAfterStop = host.counter.sounding();
    }
};

/** The log is written on every phrase edit; thousands of edits would spend the test's time
    in fsync. The processor's own logging is checked elsewhere. */
struct SilentLog : private juce::Logger
{
    SilentLog() { juce::Logger::setCurrentLogger (this); }
    ~SilentLog() override { juce::Logger::setCurrentLogger (previous); }
    void logMessage (const juce::String&) override {}
    juce::Logger* previous = juce::Logger::getCurrentLogger();
};
} // namespace

TEST (PipelineHangingNotes, randomSessionsLeaveNoNoteSoundingAndNoNoteOffBeforeItsNoteOn)
{
    // Several runs share an instance, which also checks that nothing one run leaves behind
    // (a latched chord, an open gate, a pending swing event) strands a note in the next.
    constexpr int runsPerInstance = 4;
    const auto numRuns = std::getenv ("CADENZIUM_LONG_TESTS") != nullptr ? 50000 : 3000;
    const auto baseSeed = testSeed (20240611);

    // Holds the shared logger, so later instances do not install it over the silent one.
    Cadenzium2AudioProcessor loggerKeeper;
    const SilentLog silentLog;

    for (int first = 0; first < numRuns; first += runsPerInstance)
    {
        const auto seed = baseSeed + first;
        SCOPED_TRACE ("seed " + std::to_string (seed) + " (CADENZIUM_TEST_SEED replays it as the first instance)");

        tarn::RandomSource::setFixedSeed (seed);
        tarn::RandomSource::threadGenerator().setSeed (seed);
        RandomSession session (seed);

        for (int run = 0; run < runsPerInstance; ++run)
        {
            session.run (120 + (int) ((seed + run) % 120));

            ASSERT_EQ (session.strayNoteOffs, 0) << "run " << run;
            ASSERT_EQ (session.trackerMismatches, 0) << session.lastMismatch;
            ASSERT_EQ (session.soundingAfterDrain, 0) << session.sounding;
            ASSERT_EQ (session.soundingAfterStop, 0);
        }
    }

    tarn::RandomSource::clearFixedSeed();
}
