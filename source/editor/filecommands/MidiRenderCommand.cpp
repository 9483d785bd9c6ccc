#include "MidiRenderCommand.h"

#include "FileChooserSpecs.h"

#include <source/processor/Cadenzium2AudioProcessor.h>

MidiRenderCommand::MidiRenderCommand (Cadenzium2AudioProcessor& p, juce::Component& editorComponent, std::function<int()> phrase)
    : processor (p),
      editor (editorComponent),
      editedPhrase (std::move (phrase)),
      overlay (p.getToastManager(), getDragFolder (p))
{
}

MidiRenderCommand::~MidiRenderCommand()
{
    // Stops a running render before anything it reports to goes.
    renderer.cancel();
}

juce::File MidiRenderCommand::getDragFolder (Cadenzium2AudioProcessor& p)
{
    return p.getUserFolder().getChildFile ("Renders");
}

void MidiRenderCommand::attach (tarn::FileDropButton& renderButton)
{
    button = &renderButton;
    renderButton.setAcceptedExtensions (FileChooserSpecs::midiExtensions);
    renderButton.onClick = [this]
    { chooseChordProgression(); };
    renderButton.onFileDropped = [this] (const juce::File& file)
    { render (file); };
    setButtonEnabled (! isRendering());
}

void MidiRenderCommand::chooseChordProgression()
{
    const juce::WeakReference<MidiRenderCommand> weakThis (this);
    chooser.launch (FileChooserSpecs::chordProgression(), &editor, [weakThis] (const juce::File& chosen)
                    {
                        if (weakThis != nullptr)
                            weakThis->render (chosen);
                    });
}

juce::Result MidiRenderCommand::render (const juce::File& chordFile)
{
    const auto defaultOutputFile = CadenziumRenderer::getDefaultOutputFile (chordFile);
    const juce::WeakReference<MidiRenderCommand> weakThis (this);

    auto started = renderer.start (processor, juce::jlimit (0, Cadenzium2AudioProcessor::numPhrases - 1, editedPhrase != nullptr ? editedPhrase() : 0),
                                   chordFile,
                                   [weakThis, chordFile, defaultOutputFile] (juce::Result result, std::unique_ptr<CadenziumRenderer::RenderedMidi> rendered)
                                   {
                                       // The window may have closed while the render ran.
                                       if (weakThis != nullptr)
                                           weakThis->completed (result, std::move (rendered), chordFile, defaultOutputFile);
                                   });

    if (started.failed())
    {
        processor.getToastManager().addToast (started.getErrorMessage(), tarn::Toast::error);
        return started;
    }

    setButtonEnabled (false);
    return started;
}

void MidiRenderCommand::completed (juce::Result result, std::unique_ptr<CadenziumRenderer::RenderedMidi> rendered,
                                   const juce::File& chordFile, const juce::File& defaultOutputFile)
{
    setButtonEnabled (true);

    if (result.failed())
    {
        processor.getToastManager().addToast (result.getErrorMessage(), tarn::Toast::error);
        return;
    }

    overlay.showResult (std::move (rendered), defaultOutputFile, chordFile);
}

void MidiRenderCommand::setButtonEnabled (bool enabled)
{
    if (button != nullptr)
        button->setEnabled (enabled);
}
