#include "KnownSong.h"

#include <standalone/StandaloneProcessor.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

TEST (StandaloneOptions, tempoAndJackPortsComeFromTheCommandLineAndTheRestIsLeftAlone)
{
    const auto options = StandaloneOptions::fromArguments ({ "--tempo", "96.5", "--jack-midi-in", "keys:out", "-NSDocumentRevisionsDebugMode", "--jack-midi-out=synth:in", "--jack-midi-out", "other:in", "--tempo" });
    EXPECT_DOUBLE_EQ (options.tempo, 96.5);
    EXPECT_EQ (options.jackMidiSources, juce::StringArray ({ "keys:out" }));
    EXPECT_EQ (options.jackMidiDestinations, juce::StringArray ({ "synth:in", "other:in" }));

    EXPECT_DOUBLE_EQ (StandaloneOptions::fromArguments ({ "--tempo=1000" }).tempo, StandaloneOptions::maximumTempo);
    EXPECT_DOUBLE_EQ (StandaloneOptions::fromArguments ({ "--tempo", "fast" }).tempo, StandaloneOptions::defaultTempo);
    EXPECT_DOUBLE_EQ (StandaloneOptions::fromArguments ({ "--tempo=-5" }).tempo, StandaloneOptions::defaultTempo);
}

namespace
{
/** Note-ons (sample, pitch) of a chord held from the first block, processed in blocks of 512
    at 48 kHz with `playHead`, every pass rendered in the block that needs it. */
std::vector<std::pair<int, int>> playHeldChord (Cadenzium2AudioProcessor& processor, juce::AudioPlayHead& playHead, int numBlocks)
{
    KnownSong().applyTo (processor);
    processor.setNonRealtime (true);
    processor.setPlayHead (&playHead);
    processor.prepareToPlay (48000.0, 512);

    std::vector<std::pair<int, int>> noteOns;
    juce::AudioBuffer<float> audio (2, 512);

    for (int block = 0; block < numBlocks; ++block)
    {
        juce::MidiBuffer midi;

        if (block == 0)
            for (auto pitch : { 60, 64, 67 })
                midi.addEvent (juce::MidiMessage::noteOn (1, pitch, (juce::uint8) 100), 0);

        processor.processBlock (audio, midi);

        for (const auto event : midi)
            if (event.getMessage().isNoteOn())
                noteOns.emplace_back (block * 512 + event.samplePosition, event.getMessage().getNoteNumber());
    }

    processor.setPlayHead (nullptr);
    return noteOns;
}

struct NextWrapperType
{
    explicit NextWrapperType (juce::AudioProcessor::WrapperType type) { juce::AudioProcessor::setTypeOfNextNewPlugin (type); }
    ~NextWrapperType() { juce::AudioProcessor::setTypeOfNextNewPlugin (juce::AudioProcessor::wrapperType_Undefined); }
};
} // namespace

TEST (StandaloneProcessor, withNoDawToFollowThePhrasePlaysOnTheInternalClockAtTheAppsTempo)
{
    // DAW Transport Only is on (its default) in both; the clock reports a stopped transport.
    StandaloneClock clock (120.0);
    std::vector<std::pair<int, int>> inApp, inPlugin;

    {
        const NextWrapperType standalone (juce::AudioProcessor::wrapperType_Standalone);
        StandaloneProcessor processor (StandaloneOptions {});
        ASSERT_FLOAT_EQ (processor.getRawParameterValue (ParameterIds::dawTransportOnly), 1.0f);
        inApp = playHeldChord (processor, clock, 60);
    }

    {
        const NextWrapperType vst3 (juce::AudioProcessor::wrapperType_VST3);
        Cadenzium2AudioProcessor processor;
        inPlugin = playHeldChord (processor, clock, 60);
    }

    // Half a beat is 12000 samples at 120 bpm and 48 kHz.
    const std::vector<std::pair<int, int>> expected { { 0, 50 }, { 12000, 79 }, { 24000, 50 } };
    EXPECT_EQ (inApp, expected);
    EXPECT_TRUE (inPlugin.empty()) << "a plug-in waits for its host's transport";
}
