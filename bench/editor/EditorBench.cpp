// What the product window costs: opening it, one tick of its 30 Hz refresh while a phrase
// plays, and a full repaint at the default size.

#include <source/commands/EditCommands.h>
#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/processor/Cadenzium2AudioProcessor.h>

#include <benchmark/benchmark.h>

namespace
{
/** A processor with 32 rows, a generated phrase and a chord held, a few blocks played. */
std::unique_ptr<Cadenzium2AudioProcessor> makePlayingProcessor()
{
    auto processor = std::make_unique<Cadenzium2AudioProcessor>();
    processor->prepareToPlay (48000.0, 256);

    EditCommands commands (*processor);
    commands.newRows (24);
    commands.generatePhrase (0, consts::RegenerationMode::phrase);

    juce::AudioBuffer<float> audio (2, 256);
    for (int block = 0; block < 16; ++block)
    {
        juce::MidiBuffer midi;
        if (block == 0)
            for (auto note : { 48, 60, 64, 67 })
                midi.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) 100), 0);
        processor->processBlock (audio, midi);
    }

    return processor;
}

void openingTheWindow (benchmark::State& state)
{
    auto processor = makePlayingProcessor();

    for (auto _ : state)
    {
        Cadenzium2AudioProcessorEditor editor (*processor);
        benchmark::DoNotOptimize (editor.getWidth());
    }
}
BENCHMARK (openingTheWindow)->Unit (benchmark::kMillisecond);

void oneRefreshTick (benchmark::State& state)
{
    auto processor = makePlayingProcessor();
    Cadenzium2AudioProcessorEditor editor (*processor);

    for (auto _ : state)
        editor.refreshFromProcessor();
}
BENCHMARK (oneRefreshTick)->Unit (benchmark::kMicrosecond);

void fullRepaint (benchmark::State& state)
{
    auto processor = makePlayingProcessor();
    Cadenzium2AudioProcessorEditor editor (*processor);
    juce::Image image (juce::Image::ARGB, editor.getWidth(), editor.getHeight(), true);

    for (auto _ : state)
    {
        juce::Graphics g (image);
        editor.paintEntireComponent (g, true);
    }
}
BENCHMARK (fullRepaint)->Unit (benchmark::kMillisecond);
} // namespace
