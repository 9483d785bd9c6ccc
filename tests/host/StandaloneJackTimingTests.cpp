// The standalone app's playing under JACK against the VST2 plug-in in a host: the same song,
// the same chords at the same frames, the same periods; every note must leave the app at the
// frame the plug-in gives it, in the period its chord arrived in.

#include "JackTestSupport.h"
#include "KnownSong.h"
#include "Vst2TestHost.h"

#include <standalone/StandaloneProcessor.h>
#include <tests/support/TemporaryFolder.h>
#include <tests/support/TestSeed.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
using HeardOrPlayed = std::pair<juce::uint32, std::array<unsigned char, 3>>; // JACK frame, message

std::string describe (const std::vector<HeardOrPlayed>& events)
{
    std::string text;
    for (const auto& [frame, bytes] : events)
        text += std::to_string (frame) + ": " + std::to_string (bytes[0]) + " " + std::to_string (bytes[1]) + " " + std::to_string (bytes[2]) + "\n";
    return text;
}

/** What the VST2 plug-in plays for `input`, in blocks of 512 from `firstFrame` to `endFrame`,
    with a stopped host transport at 120 bpm (the plug-in's own clock runs, as the app's does). */
std::vector<HeardOrPlayed> playInVst2Host (const juce::MemoryBlock& state, const std::vector<HeardOrPlayed>& input, juce::uint32 firstFrame, juce::uint32 endFrame)
{
    Vst2Library library (CADENZIUM_VST_PATH);
    auto plugin = library.createInstance();
    EXPECT_NE (plugin, nullptr) << library.getError();

    if (plugin == nullptr)
        return {};

    VstTimeInfo transport {};
    transport.sampleRate = 48000.0;
    transport.tempo = 120.0;
    transport.timeSigNumerator = 4;
    transport.timeSigDenominator = 4;
    transport.flags = kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstTimeSigValid;
    plugin->transport = transport;
    plugin->setChunk (std::vector<unsigned char> (static_cast<const unsigned char*> (state.getData()), static_cast<const unsigned char*> (state.getData()) + state.getSize()));
    plugin->start (48000.0, 512);

    std::vector<HeardOrPlayed> output;
    std::vector<float> left (512), right (512);
    auto next = input.begin();

    for (auto start = firstFrame; start < endFrame; start += 512)
    {
        std::vector<Vst2Plugin::TimedMessage> block;

        for (; next != input.end() && next->first < start + 512; ++next)
            if (next->first >= start)
                block.emplace_back ((int) (next->first - start), next->second);

        plugin->processBlockAt (block, left, right);

        for (const auto& [offset, bytes] : plugin->takeOutput())
            output.emplace_back (start + (juce::uint32) offset, bytes);
    }

    return output;
}
} // namespace

TEST (StandaloneJack, fiftyChordsComeOutInThePeriodTheyArriveInAtTheFramesTheVst2PluginGivesThem)
{
    if (! JackDummyServer::isInstalled())
        GTEST_SKIP() << "no JACK server to start (scripts/setup installs jackd2)";

    TemporaryFolder work ("cadenzium-jack-timing");
    JackDummyServer jack (juce::File (work.string()), "cadenzium-timing");
    ASSERT_TRUE (jack.isRunning()) << jack.log.loadFileAsString();

    // The lowest held note and the highest an octave up, a sixteenth each, and the lowest
    // again on the third sixteenth; Fill on, so a chord arriving during a note starts it at
    // the chord's own frame, and a release ends what sounds at the release's frame.
    KnownSong song;
    song.rows = { makeRow (CadenziumModifier::pitch, 0), makeRow (CadenziumModifier::pitch, CadenziumModifier::highestPitchValue, 1, 0, 1) };
    song.phrase = makePhrase ({ { 0, 0, 240 }, { 1, 480, 240 }, { 0, 720, 120 } }, 960);
    Cadenzium2AudioProcessor writer;
    song.applyTo (writer);
    writer.setRawParameterValueNotifyingHost (ParameterIds::inputFill, 1.0f);
    writer.setRawParameterValueNotifyingHost (ParameterIds::dawTransportOnly, 0.0f);
    const auto state = stateOf (writer);

    StandaloneOptions options;
    options.jackMidiSources.add ("test-keys:keys");
    options.jackMidiDestinations.add ("test-synth:heard");
    juce::AudioProcessor::setTypeOfNextNewPlugin (juce::AudioProcessor::wrapperType_Standalone);
    auto app = std::make_unique<StandaloneProcessor> (options);
    juce::AudioProcessor::setTypeOfNextNewPlugin (juce::AudioProcessor::wrapperType_Undefined);
    ASSERT_TRUE (app->getJackMidiPorts().isActive());
    restore (*app, state);
    std::this_thread::sleep_for (std::chrono::milliseconds (300));

    // Chords of three random notes, each pressed and released at a random frame of a period.
    const auto seed = testSeed (2025);
    SCOPED_TRACE ("seed " + std::to_string (seed));
    juce::Random random (seed);
    std::vector<HeardOrPlayed> played;

    for (int chord = 0; chord < 50; ++chord)
    {
        std::vector<unsigned char> pitches;
        for (int i = 0; i < 3; ++i)
            pitches.push_back ((unsigned char) (48 + random.nextInt (36)));

        const auto pressOffset = (jack_nframes_t) random.nextInt (512);
        const auto pressed = jack.keyboard->play (0x90, pitches, pressOffset) + pressOffset;
        std::this_thread::sleep_for (std::chrono::milliseconds (50 + random.nextInt (150)));
        const auto releaseOffset = (jack_nframes_t) random.nextInt (512);
        const auto released = jack.keyboard->play (0x80, pitches, releaseOffset) + releaseOffset;
        std::this_thread::sleep_for (std::chrono::milliseconds (15 + random.nextInt (45)));

        for (auto pitch : pitches)
        {
            played.push_back ({ pressed, { 0x90, pitch, 100 } });
            played.push_back ({ released, { 0x80, pitch, 0 } });
        }
    }

    std::this_thread::sleep_for (std::chrono::milliseconds (300));
    const auto& ports = app->getJackMidiPorts();
    const auto first = ports.getFirstPlayedFrame();
    const auto lastPlayed = jack.synth->periods().back() + 512;

    // A machine too busy for JACK makes it pass over periods; the app's clock then lags
    // JACK's by them, so what follows can no longer be compared frame by frame.
    const auto end = ports.getFirstMissedFrame().value_or (lastPlayed);
    SCOPED_TRACE ("JACK passed over " + std::to_string (ports.getMissedFrames()) + " frames without the app");
    app.reset();
    ASSERT_TRUE (first.has_value());

    std::stable_sort (played.begin(), played.end(), [] (const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<HeardOrPlayed> heard;
    for (const auto& event : jack.synth->heard())
        if (event.first < end)
            heard.push_back (event);

    EXPECT_GE (heard.size(), 30u) << describe (heard);
    EXPECT_EQ (describe (heard), describe (playInVst2Host (state, played, *first, end)));
}
