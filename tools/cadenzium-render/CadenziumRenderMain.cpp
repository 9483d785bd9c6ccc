// cadenzium-render: renders a Cadenzium 2 pattern over a chord progression without a host,
// with the same renderer the editor's render command uses.

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <source/render/CadenziumRenderer.h>
#include <source/render/RenderCommandLine.h>
#include <tarn/util/RandomSource.h>
#include <tarn/util/SafeXml.h>
#include <tarn/util/TextFiles.h>

#include <juce_events/juce_events.h>

#include <iostream>

namespace
{
constexpr int renderFailed = 1;
constexpr int usageError = 2;

int fail (const juce::String& message, int status = renderFailed)
{
    std::cerr << "cadenzium-render: " << message << std::endl;
    return status;
}

/** A state as a host keeps it ("VC2!" container) or as its XML text. */
bool applyState (Cadenzium2AudioProcessor& processor, const juce::File& file)
{
    juce::MemoryBlock data;

    if (! file.loadFileAsData (data) || data.isEmpty())
        return false;

    auto xml = brindlex::BrindlexProcessor::readStateContainer (data.getData(), (int) data.getSize());

    if (xml == nullptr)
        xml = tarn::SafeXml::parse (tarn::TextFiles::decode (data));

    if (xml == nullptr || ! juce::ValueTree::fromXml (*xml).hasType (processor.getParameterState().state.getType()))
        return false;

    juce::MemoryBlock container;
    juce::AudioProcessor::copyXmlToBinary (*xml, container);
    processor.setStateInformation (container.getData(), (int) container.getSize());
    return true;
}

int countNoteOns (const juce::MidiMessageSequence& events)
{
    int notes = 0;

    for (const auto* holder : events)
        if (holder->message.isNoteOn())
            ++notes;

    return notes;
}

/** "17" or "16.5": a progression whose last note-off comes a tick before the bar line is
    still heard as whole bars. */
juce::String barsText (double ticks)
{
    const auto hundredths = juce::roundToInt (ticks / 3840.0 * 100.0);

    if (hundredths % 100 == 0)
        return juce::String (hundredths / 100);

    return juce::String ((double) hundredths / 100.0, 2).trimCharactersAtEnd ("0");
}
} // namespace

int main (int argc, char** argv)
{
    juce::StringArray arguments;

    for (int i = 1; i < argc; ++i)
        arguments.add (juce::CharPointer_UTF8 (argv[i]));

    const auto parsed = RenderCommandLine::parse (arguments, juce::File::getCurrentWorkingDirectory());

    if (parsed.options.showHelp)
    {
        std::cout << RenderCommandLine::getHelpText();
        return 0;
    }

    if (parsed.error.isNotEmpty())
        return fail (parsed.error + " (see --help)", usageError);

    const auto& options = parsed.options;

    // Before the processor exists: every draw of the run then follows from the seed.
    if (options.seed.has_value())
        tarn::RandomSource::setFixedSeed (*options.seed);

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    Cadenzium2AudioProcessor processor;
    processor.setNonRealtime (true); // every pass drawn in order, from the seed when given

    if (options.presetFile != juce::File())
    {
        if (! options.presetFile.existsAsFile())
            return fail ("The preset file does not exist: " + options.presetFile.getFullPathName());

        if (! processor.getPresetManager().loadPresetFile (options.presetFile))
            return fail ("Invalid preset: " + options.presetFile.getFullPathName());
    }
    else if (options.stateFile != juce::File())
    {
        if (! options.stateFile.existsAsFile())
            return fail ("The state file does not exist: " + options.stateFile.getFullPathName());

        if (! applyState (processor, options.stateFile))
            return fail ("Invalid state: " + options.stateFile.getFullPathName());
    }

    if (options.phrase.has_value())
        processor.requestPhrase (*options.phrase);

    const auto phrase = processor.getRequestedPhrase();
    CadenziumRenderer::RenderedMidi rendered;

    if (const auto result = CadenziumRenderer::render (processor, phrase, options.chordFile, rendered); result.failed())
        return fail (result.getErrorMessage());

    const auto output = options.outputFile != juce::File() ? options.outputFile
                                                           : CadenziumRenderer::getDefaultOutputFile (options.chordFile);

    if (const auto saved = CadenziumRenderer::saveTo (&rendered, output); saved.failed())
        return fail (saved.getErrorMessage() + " (" + output.getFullPathName() + ")");

    std::cout << "Rendered " << countNoteOns (rendered.events) << " notes, " << barsText (rendered.events.getEndTime()) << " bars, phrase " << phrase + 1
              << ", to " << output.getFullPathName() << std::endl;
    return 0;
}
