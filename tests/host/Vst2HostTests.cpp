#include "Vst2TestHost.h"

#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <malloc.h>
#include <thread>
#include <tuple>

using namespace cadenzium::test;

namespace
{
struct ExpectedParameter
{
    const char* name;
    float min, max, defaultValue;
    const char* defaultText;
};

// The host-visible parameter list, in order: what songs and host automation refer to by index.
const ExpectedParameter expectedParameters[] = {
    { "Enabled", 0, 1, 1, "Enabled" },
    { "KS Enable", 0, 1, 1, "Enabled" },
    { "KS Hold", 0, 1, 0, "Disabled" },
    { "KS Retrigger", 0, 1, 0, "Disabled" },
    { "Keyswitch Range", 0, 10, 2, "C0 : B0" },
    { "Input Latch", 0, 1, 0, "Disabled" },
    { "Fill Notes", 0, 1, 1, "Enabled" },
    { "Input Retriggers", 0, 4, 0, "Off" },
    { "CC Passthrough", 0, 1, 0, "Disabled" },
    { "Key Lock", 0, 1, 0, "Disabled" },
    { "Swing", 0, 100, 0, "0%" },
    { "[INTERNAL]", 0, 1, 0, "0.000" },
    { "DAW Transport Only", 0, 1, 1, "Enabled" },
    { "Random Velocity", 0, 127, 0, "\xc2\xb1 0" },
    { "Velocity Low", 0, 127, 0, "0" },
    { "Velocity High", 0, 127, 127, "127" },
    { "Note Passthrough", 0, 1, 0, "Disabled" },
    { "Velocity Passthrough", 0, 1, 0, "Disabled" },
    { "Generation Polyphony", 0, 2, 1, "Poly" },
    { "Generation Mode", 0, 3, 0, "Random" },
    { "Generation Chord Density", 0, 100, 10, "10%" },
    { "Generation Density", 0, 100, 10, "10%" },
    { "Generation Length", 0, 5, 1, "1/16" },
    { "Generation Length Variation", 0, 100, 0, "0%" },
    { "Generation Chance Min", 0, 100, 100, "100%" },
    { "Generation Chance Max", 0, 100, 100, "100%" },
    { "Generation Velocity Min", 1, 127, 80, "80" },
    { "Generation Velocity Max", 1, 127, 100, "100" },
    { "Generation Transpose Min", -24, 24, -12, "-12" },
    { "Generation Transpose Max", -24, 24, 12, "12" },
    { "Generation Transpose Chance", 0, 100, 0, "0%" },
    { "Generation Octave Min", -4, 4, -1, "-1" },
    { "Generation Octave Max", -4, 4, 1, "1" },
    { "Generation Octave Chance", 0, 100, 0, "0%" },
    { "Passthrough Scale", 0, 1, 0, "Disabled" },
    { "Output Range Low", 0, 127, 0, "C-2" },
    { "Output Range High", 0, 127, 127, "G8" },
    { "Mutation Chance", 0, 100, 25, "25%" },
    { "Mutation Timing", 0, 2, 0, "Off" },
    { "Mutation Pitch", 0, 3, 1, "1 position" },
    { "Mutation Length", 0, 50, 0, "0%" },
    { "Mutation Velocity", 0, 32, 0, "0" },
};

/** A state the way a host stores it: "VC2!", the length of the text with its terminating
    zero (little-endian), the text and the zero. */
std::vector<unsigned char> chunkFor (const std::string& text)
{
    const auto length = (std::uint32_t) text.size() + 1;
    std::vector<unsigned char> chunk { 'V', 'C', '2', '!', (unsigned char) length, (unsigned char) (length >> 8), (unsigned char) (length >> 16), (unsigned char) (length >> 24) };
    chunk.insert (chunk.end(), text.c_str(), text.c_str() + length);
    return chunk;
}

class Vst2HostTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { library = std::make_unique<Vst2Library> (CADENZIUM_VST_PATH); }
    static void TearDownTestSuite() { library.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE (library->isLoaded()) << library->getError();
        plugin = library->createInstance();
        ASSERT_NE (plugin, nullptr);
    }

    static inline std::unique_ptr<Vst2Library> library;
    std::unique_ptr<Vst2Plugin> plugin;
};
} // namespace

TEST_F (Vst2HostTest, libraryExportsBothEntryPointsAndDescribesItself)
{
    EXPECT_TRUE (library->hasSymbol ("main"));
    auto* effect = plugin->effect();

    EXPECT_EQ (effect->uniqueID, 0x43645a6d) << "CdZm";
    EXPECT_EQ (effect->version, 0x20500);
    EXPECT_EQ (plugin->dispatch (effGetVendorVersion), 0x20500);
    EXPECT_EQ (plugin->dispatchString (effGetEffectName), "Cadenzium 2");
    EXPECT_EQ (plugin->dispatch (effGetPlugCategory), kPlugCategSynth);

    const auto flags = effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks | effFlagsIsSynth;
    EXPECT_EQ (effect->flags & flags, flags);
    EXPECT_EQ (std::pair (effect->numInputs, effect->numOutputs), std::pair (2, 2));

    for (std::string canDo : { "receiveVstMidiEvent", "sendVstMidiEvent", "sendVstEvents" })
        EXPECT_EQ (plugin->dispatch (effCanDo, 0, 0, canDo.data()), 1) << canDo;

    // These opcodes only answer because the forwarding header gives them their real values.
    EXPECT_EQ (plugin->dispatch (effGetNumMidiInputChannels), 16);
    EXPECT_EQ (plugin->dispatch (effGetNumMidiOutputChannels), 16);
    EXPECT_EQ (plugin->dispatch (effGetTailSize), 0);
}

TEST_F (Vst2HostTest, fortyTwoParametersWithNamesDefaultsAndTextsInOrder)
{
    ASSERT_EQ (plugin->effect()->numParams, 42);

    for (int i = 0; i < 42; ++i)
    {
        const auto& expected = expectedParameters[i];
        SCOPED_TRACE (expected.name);
        EXPECT_EQ (plugin->dispatchString (effGetParamName, i), expected.name);
        EXPECT_NEAR (plugin->getParameter (i), (expected.defaultValue - expected.min) / (expected.max - expected.min), 1.0e-6);
        EXPECT_EQ (plugin->dispatchString (effGetParamDisplay, i), expected.defaultText);
    }
}

TEST_F (Vst2HostTest, textTypedIntoAHostsGenericEditorSetsTheValue)
{
    // One of each kind of text: switch, key range, choice, percentage, plus-minus, note name, steps.
    const std::tuple<int, std::string, std::string> cases[] = {
        { 0, "Bypassed", "Bypassed" },
        { 4, "C3 : B3", "C3 : B3" },
        { 7, "note on", "Note On" },
        { 10, "37.5%", "37.5%" },
        { 13, "\xc2\xb1 12", "\xc2\xb1 12" },
        { 35, "C3", "C3" },
        { 36, "F#4", "F#4" },
        { 38, "2 steps", "2 steps" },
    };

    for (auto [index, text, shownAfterwards] : cases)
    {
        EXPECT_EQ (plugin->dispatch (effString2Parameter, index, 0, text.data()), 1) << text;
        EXPECT_EQ (plugin->dispatchString (effGetParamDisplay, index), shownAfterwards);
    }

    EXPECT_NEAR (plugin->getParameter (35), 60.0f / 127.0f, 1.0e-6);
    EXPECT_NEAR (plugin->getParameter (36), 78.0f / 127.0f, 1.0e-6);
}

TEST_F (Vst2HostTest, instancesPassAudioUntouchedAndOpenAndCloseRepeatedlyWithoutGrowing)
{
    const auto cycle = []
    {
        auto instance = library->createInstance();
        ASSERT_NE (instance, nullptr);
        instance->start (44100.0, 512);
        std::vector<float> left (512), right (512);

        for (size_t i = 0; i < left.size(); ++i)
            std::tie (left[i], right[i]) = std::pair (std::sin ((float) i * 0.05f), -0.5f + (float) i / 1024.0f);

        const auto originalLeft = left, originalRight = right;
        instance->processBlock ({ { 0x90, 60, 100 } }, left, right);
        EXPECT_TRUE (left == originalLeft && right == originalRight);
        instance->setChunk (instance->getChunk());
    };

    for (int i = 0; i < 5; ++i)
        cycle();

    // Generous bound: a leaked instance holds about four megabytes.
    const auto heapInUse = [] { return (std::ptrdiff_t) (mallinfo2().uordblks + mallinfo2().hblkhd); };
    const auto before = heapInUse();
    for (int i = 0; i < 40; ++i)
        cycle();
    EXPECT_LT (heapInUse() - before, 8 << 20);

    // Several instances alive at once share the process-wide logger.
    std::vector<std::unique_ptr<Vst2Plugin>> many;
    for (int i = 0; i < 4; ++i)
        EXPECT_NE (many.emplace_back (library->createInstance()), nullptr);
}

TEST_F (Vst2HostTest, aSongStoredThroughChunksComesBackWholeInAnotherInstanceThatTellsTheHostToRefresh)
{
    // A song as a host might have stored it, written by hand. Every part is compared field
    // by field in the state tests; here the host's chunk carries it.
    const std::string song = R"(<?xml version="1.0" encoding="UTF-8"?>
<cadenzium2 version="2.5.0" preset_path="">
  <PARAM id="swing_amount" value="25.0"/>
  <sequences current="2">
    <sequence length="7680" time_signature_numerator="3" time_signature_denominator="4" name="Waltz">
      <notes><note number="2" velocity_min="90" velocity_max="100" timestamp="960" length="480" channel="1"/></notes>
    </sequence>
  </sequences>
  <cadenzium_rows>
    <cadenzium_row transpose="0" octave="0" channel="1" type="0" value="0" name="" colour="0" muted="0" generation_lock="0"/>
    <cadenzium_row transpose="12" octave="-1" channel="2" type="3" value="60" name="Bass" colour="2" muted="1" generation_lock="1"/>
    <cadenzium_row type="1" value="12"/>
  </cadenzium_rows>
  <playback><key_signature name="A Minor" root="9"><scale name="Minor" intervals="1 0 1 1 0 1 0 1 1 0 1 0 "/></key_signature></playback>
</cadenzium2>)";

    plugin->setChunk (chunkFor (song));
    const auto chunk = plugin->getChunk();
    const std::string text (chunk.begin(), chunk.end());

    ASSERT_EQ (std::string (chunk.begin(), chunk.begin() + 4), "VC2!");
    EXPECT_NEAR (plugin->getParameter (10), 0.25f, 1.0e-6) << "Swing";

    for (const auto* part : { "name=\"Waltz\"", "<sequences current=\"2\"", "name=\"Bass\"", "name=\"A Natural Minor\" root=\"9\"" })
        EXPECT_NE (text.find (part), std::string::npos) << part;

    size_t rows = 0;
    for (auto at = text.find ("<cadenzium_row "); at != std::string::npos; at = text.find ("<cadenzium_row ", at + 1))
        ++rows;
    EXPECT_EQ (rows, 3u);

    auto second = library->createInstance();
    ASSERT_NE (second, nullptr);
    second->setChunk (chunk);
    EXPECT_EQ (second->getChunk(), chunk);

    // The host hears from the plug-in's message thread that it should refresh its display.
    const auto calledHost = [&second] (int opcode)
    {
        const auto opcodes = second->hostOpcodesSeen();
        return std::find (opcodes.begin(), opcodes.end(), opcode) != opcodes.end();
    };

    for (int waited = 0; waited < 5000 && ! calledHost (audioMasterUpdateDisplay); waited += 10)
        std::this_thread::sleep_for (std::chrono::milliseconds (10));

    EXPECT_TRUE (calledHost (42)) << "audioMasterUpdateDisplay";

    for (auto opcode : second->hostOpcodesSeen())
        EXPECT_LT (opcode, 100000) << "the plug-in sent a placeholder opcode";

    // A chunk that fails the checks (here: the wrong magic) leaves the song as it was.
    auto wrongMagic = chunk;
    wrongMagic[0] = 'X';
    second->setChunk (wrongMagic);
    EXPECT_EQ (second->getChunk(), chunk);
}

int main (int argc, char** argv)
{
    // The plug-in writes its settings and log under HOME: keep them out of the real one.
    useTemporaryHome();
    ::testing::InitGoogleTest (&argc, argv);
    return RUN_ALL_TESTS();
}
