#include <source/import/V1PresetParser.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <source/render/CadenziumRenderer.h>
#include <source/render/ChordProgressionFile.h>
#include <source/render/MidiPatternImport.h>
#include <tests/support/TemporaryFolder.h>

#include <benchmark/benchmark.h>

namespace
{
juce::MemoryBlock writeMidi (const juce::MidiMessageSequence& track)
{
    juce::MidiFile file;
    file.setTicksPerQuarterNote (960);
    file.addTrack (track);
    juce::MemoryBlock bytes;
    juce::MemoryOutputStream out (bytes, false);
    file.writeTo (out, 1);
    out.flush();
    return bytes;
}

/** 64 bars, four chords a bar, six notes a chord. */
juce::MemoryBlock makeProgression()
{
    juce::MidiMessageSequence track;
    const int roots[] = { 48, 53, 55, 45 };

    for (int bar = 0; bar < 64; ++bar)
        for (int beat = 0; beat < 4; ++beat)
        {
            const auto start = (double) (bar * 3840 + beat * 960);
            const auto root = roots[(bar + beat) % 4];

            for (int interval : { 0, 7, 12, 16, 19, 24 })
            {
                track.addEvent (juce::MidiMessage::noteOn (1, root + interval, (juce::uint8) 90), start);
                track.addEvent (juce::MidiMessage::noteOff (1, root + interval), start + 959);
            }
        }

    track.sort();
    return writeMidi (track);
}

/** Four bars of 64 notes with ranges and four curved lanes. Dense lanes swing the pitch
    bend across half its range, so it changes on nearly every tick; otherwise the lanes move
    as drawn swells do (control changes over their whole range, a gentle pitch bend). */
tarn::Sequence makeHeavyPhrase (int seed, bool denseLanes)
{
    tarn::Sequence s;
    s.setLength (4 * 3840);
    juce::Random random (seed);

    for (int i = 0; i < 64; ++i)
    {
        tarn::SequenceNote note;
        note.number = random.nextInt (17);
        note.timestamp = i * 240;
        note.length = 120 + random.nextInt (480);
        note.velocityMin = 60;
        note.velocityMax = 110;
        note.transposeMax = 2;
        note.octaveMin = -1;
        note.octaveMax = 1;
        note.chance = 85;
        s.notes.push_back (note);
    }

    for (int lane = 0; lane < 4; ++lane)
    {
        tarn::ControllerLane l;
        l.type = lane == 3 ? tarn::ControllerLane::pitchBend : tarn::ControllerLane::controlChange;
        l.number = lane + 1;

        for (int p = 0; p <= 8; ++p)
            l.points.push_back ({ p * 1920, (p % 2) * (lane == 3 ? (denseLanes ? 4000 : 400) : 127), 0.3f, (p + lane) % 3 });

        s.lanes.push_back (l);
    }

    s.normalise();
    return s;
}

void makeHeavy (Cadenzium2AudioProcessor& processor, bool denseLanes)
{
    processor.getPhraseManager().setRows (V1PresetParser::makeRows());

    for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
        processor.getPhraseManager().setSequence (slot, makeHeavyPhrase (slot + 1, denseLanes), nullptr);

    processor.setRawParameterValueNotifyingHost (ParameterIds::lockToKey, 1.0f);
    processor.setRawParameterValueNotifyingHost (ParameterIds::randomVelocity, 10.0f);
    processor.setRawParameterValueNotifyingHost (ParameterIds::velocityScaleLow, 20.0f);
    processor.setRawParameterValueNotifyingHost (ParameterIds::velocityScaleHigh, 110.0f);
    processor.setRawParameterValueNotifyingHost (ParameterIds::swingAmount, 30.0f);
    processor.setRawParameterValueNotifyingHost (ParameterIds::noteOutputRangeLow, 24.0f);
    processor.setRawParameterValueNotifyingHost (ParameterIds::noteOutputRangeHigh, 108.0f);
}
} // namespace

static void renderSixtyFourBarsWithAHeavyPattern (benchmark::State& state)
{
    const bool denseLanes = state.range (0) != 0;
    cadenzium::test::TemporaryFolder folder;
    const auto chords = juce::File (folder.string()).getChildFile ("progression.mid");
    const auto bytes = makeProgression();
    chords.replaceWithData (bytes.getData(), bytes.getSize());

    Cadenzium2AudioProcessor live;
    makeHeavy (live, denseLanes);
    juce::MemoryBlock liveState;
    live.getStateInformation (liveState);

    int notes = 0;

    for (auto _ : state)
    {
        state.PauseTiming();
        Cadenzium2AudioProcessor copy;
        copy.setStateInformation (liveState.getData(), (int) liveState.getSize());
        state.ResumeTiming();

        CadenziumRenderer::RenderedMidi rendered;
        const auto result = CadenziumRenderer::render (copy, 0, chords, rendered);

        if (result.failed())
            state.SkipWithError (result.getErrorMessage().toRawUTF8());

        notes = rendered.events.getNumEvents();
    }

    state.counters["events"] = notes;
    // 64 bars at 120 bpm last 128 s: how many times faster than real time.
    state.counters["x_realtime"] = benchmark::Counter (128.0 * (double) state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK (renderSixtyFourBarsWithAHeavyPattern)->Arg (0)->Arg (1)->ArgName ("denseLanes")->Unit (benchmark::kMillisecond)->Iterations (5);

static void importTenThousandNotes (benchmark::State& state)
{
    // The import logs every event; a processor installs the log it goes to.
    Cadenzium2AudioProcessor logOwner;

    juce::MidiMessageSequence track;
    juce::Random random (5);

    for (int i = 0; i < 10000; ++i)
    {
        const auto start = (double) i * 120;
        const auto pitch = 36 + random.nextInt (48);
        track.addEvent (juce::MidiMessage::noteOn (1, pitch, (juce::uint8) 100), start);
        track.addEvent (juce::MidiMessage::noteOff (1, pitch), start + 100);
    }

    track.sort();
    const auto bytes = writeMidi (track);

    for (auto _ : state)
    {
        juce::MemoryInputStream stream (bytes, false);
        ImportedPattern result;
        const auto ok = MidiPatternImport::importStream (stream, "bench.mid", {}, result);
        benchmark::DoNotOptimize (ok);
    }
}
BENCHMARK (importTenThousandNotes)->Unit (benchmark::kMillisecond);

static void readTwentyThousandUnreleasedStrikes (benchmark::State& state)
{
    // Pairing notes by searching ahead made files like this take minutes.
    const bool asPattern = state.range (0) != 0;
    Cadenzium2AudioProcessor logOwner;
    juce::MidiMessageSequence track;

    for (int i = 0; i < 20000; ++i)
        track.addEvent (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100), 0.0);

    const auto bytes = writeMidi (track);

    for (auto _ : state)
    {
        juce::MemoryInputStream stream (bytes, false);
        ImportedPattern pattern;
        ChordProgression chords;
        const auto result = asPattern ? MidiPatternImport::importStream (stream, "bench.mid", {}, pattern)
                                      : ChordProgressionFile::read (stream, chords);
        benchmark::DoNotOptimize (result);
    }
}
BENCHMARK (readTwentyThousandUnreleasedStrikes)->Arg (0)->Arg (1)->ArgName ("asPattern")->Unit (benchmark::kMillisecond);
