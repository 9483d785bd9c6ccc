#include <source/processor/KeyLock.h>
#include <source/processor/OutputNoteTracker.h>
#include <source/processor/RowResolver.h>
#include <source/processor/Swing.h>
#include <tarn/processor/NoteRangeClipper.h>
#include <tarn/processor/VelocityRandomiser.h>
#include <tarn/processor/VelocityScaler.h>
#include <tarn/sequence/PitchOffsetMessage.h>
#include <tarn/util/RandomSource.h>
#include <tests/tarn/processor/MidiTestHelpers.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

using namespace cadenzium::test;

namespace
{
constexpr int blockSize = 256;
constexpr double sampleRate = 48000.0;

/** Row resolution and the output chain in block order, with everything the message thread
    and the host can change between blocks changed at random, and refreshes that end all
    output notes the way the processor does. */
class OutputChain
{
public:
    explicit OutputChain (juce::int64 seed)
        : random (seed)
    {
        swing.prepare (sampleRate);
        for (auto* effect : std::initializer_list<tarn::MidiEffectProcessor*> { &randomiser, &scaler, &clipper })
            effect->prepareToPlay (sampleRate, blockSize);

        for (int i = 0; i < 8; ++i)
            rows.push_back (randomRow());
    }

    void run (int numBlocks)
    {
        for (int block = 0; block < numBlocks; ++block)
        {
            changeSomething();
            playBlock (randomPhraseEvents());
        }

        // The phrase ends every note it started, and the host keeps playing until swing is empty.
        std::vector<Event> ends;
        for (const auto& [rowAndChannel, isOpen] : openPhraseNotes)
            if (isOpen)
                ends.push_back (off (rowAndChannel.first, 0, rowAndChannel.second));
        openPhraseNotes.clear();
        playBlock (bufferOf (ends));

        for (int i = 0; i < 400 && swing.getNumPending() > 0; ++i)
            playBlock ({});
    }

    NoteCounter counter;
    OutputNoteTracker tracker;
    RowResolver resolver;
    KeyLock keyLock;
    Swing swing;

private:
    juce::Random random;
    RowList rows;
    HeldNotes held;
    KeySignature key;
    bool lockOn = false;
    bool hasPosition = true;
    double ppq = 0.0;
    std::map<std::pair<int, int>, bool> openPhraseNotes;

    tarn::VelocityRandomiser randomiser;
    tarn::VelocityScaler scaler;
    tarn::NoteRangeClipper clipper;
    juce::AudioBuffer<float> noAudio;

    CadenziumModifier randomRow()
    {
        CadenziumModifier r;
        r.type = random.nextInt (CadenziumModifier::numTypes);
        r.value = random.nextInt (r.type == CadenziumModifier::fixed ? 128 : 17);
        r.channel = 1 + random.nextInt (3);
        r.transpose = random.nextInt (25) - 12;
        r.octave = random.nextInt (5) - 2;
        r.muted = random.nextInt (6) == 0;
        return r;
    }

    void changeSomething()
    {
        switch (random.nextInt (14))
        {
            case 0:
                key = KeySignature (random.nextInt (12), Scales::all()[(size_t) random.nextInt (15)]);
                break;
            case 1:
                lockOn = ! lockOn;
                break;
            case 2:
                randomiser.setAmount (random.nextInt (3) * 30);
                break;
            case 3:
                scaler.setRange (random.nextInt (128), random.nextInt (128));
                break;
            case 4:
                swing.setAmount (random.nextInt (3) * 0.5);
                break;
            case 5:
                swing.setGridChoice (random.nextInt (3));
                break;
            case 6:
                clipper.setRange (random.nextInt (64), 64 + random.nextInt (64));
                break;
            case 7:
                hasPosition = ! hasPosition;
                break;
            case 8:
                rows[(size_t) random.nextInt ((int) rows.size())] = randomRow();
                break;
            case 9:
                if (rows.size() > 2 && random.nextBool())
                    rows.pop_back();
                else
                    rows.push_back (randomRow());
                break;
            case 10:
                changeChord();
                break;
            case 11:
                if (random.nextInt (4) == 0)
                    refresh();
                break;
            default:
                break;
        }
    }

    void changeChord()
    {
        held.clear();
        for (int i = random.nextInt (5); --i >= 0;)
            held.add ({ 36 + random.nextInt (60), random.nextFloat(), 1 });
    }

    /** What a refresh, panic, bypass or transport stop does to the output side. */
    void refresh()
    {
        juce::MidiBuffer out;
        tracker.endAll (out, 0);
        swing.reset (out, 0);
        resolver.clearSounding();
        keyLock.reset();
        clipper.reset();
        counter.count (out);
    }

    juce::MidiBuffer randomPhraseEvents()
    {
        juce::MidiBuffer phrase;
        std::vector<int> samples;

        for (int i = random.nextInt (6); --i >= 0;)
            samples.push_back (random.nextInt (blockSize));

        // In time order, so the bookkeeping of open notes follows what the resolver sees.
        std::sort (samples.begin(), samples.end());

        for (const auto sample : samples)
        {
            const auto row = random.nextInt ((int) rows.size() + 1);
            const auto channel = 1 + random.nextInt (2);
            auto& isOpen = openPhraseNotes[{ row, channel }];

            // Note-ons repeat without note-offs between them (repeat strikes); one
            // note-off ends them all, sometimes on the note-on's own sample.
            if (! isOpen || random.nextBool())
            {
                const auto noteOn = juce::MidiMessage::noteOn (channel, row, (juce::uint8) (1 + random.nextInt (127)));
                phrase.addEvent (random.nextInt (3) == 0 ? tarn::PitchOffsetMessage::wrap (noteOn, random.nextInt (25) - 12) : noteOn, sample);
                isOpen = true;

                if (random.nextInt (8) == 0)
                {
                    phrase.addEvent (juce::MidiMessage::noteOff (channel, row), sample);
                    isOpen = false;
                }
            }
            else
            {
                phrase.addEvent (juce::MidiMessage::noteOff (channel, row), sample);
                isOpen = false;
            }
        }

        return phrase;
    }

    void playBlock (const juce::MidiBuffer& phrase)
    {
        juce::MidiBuffer out;
        resolver.setChord (held);
        resolver.resolve (phrase, out, rows, { random.nextBool(), random.nextBool() });
        keyLock.process (out, key, lockOn);
        randomiser.processBlock (noAudio, out);
        scaler.processBlock (noAudio, out);
        swing.process (out, blockSize, hasPosition ? std::optional<Swing::Position> ({ ppq, 120.0 }) : std::nullopt);
        clipper.processBlock (noAudio, out);
        tracker.record (out);
        counter.count (out);
        ppq += blockSize * 120.0 / (60.0 * sampleRate);
    }
};

int numRuns()
{
    return std::getenv ("CADENZIUM_LONG_TESTS") != nullptr ? 50000 : 2000;
}
} // namespace

TEST (OutputChain, randomSettingChangesNeverLeaveANoteSounding)
{
    for (int run = 0; run < numRuns(); ++run)
    {
        const juce::int64 seed = 1000 + run;
        tarn::RandomSource::setFixedSeed (seed);
        OutputChain chain (seed);
        chain.run (200);
        tarn::RandomSource::clearFixedSeed();

        ASSERT_EQ (chain.counter.sounding(), 0) << "seed " << seed;
        ASSERT_EQ (chain.tracker.getNumSounding(), 0) << "seed " << seed;
        ASSERT_EQ (chain.resolver.getNumSoundingNotes(), 0) << "seed " << seed;
        ASSERT_EQ (chain.keyLock.getNumSounding(), 0) << "seed " << seed;
    }
}
