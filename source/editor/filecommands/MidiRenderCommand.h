#pragma once

#include <source/editor/overlays/MidiRenderOverlay.h>
#include <source/render/CadenziumRenderer.h>
#include <tarn/gui/widgets/FileDropButton.h>

class Cadenzium2AudioProcessor;

/** The render button's command: renders the edited phrase over a chord progression chosen
    in the chooser or dropped on the button, in the background, and shows the result in
    the "Export Render" overlay.

    The button is disabled from the start of a render to its completion. The completion
    comes back on the message thread; when the window (and with it this command) has gone
    meanwhile, the render is stopped and its result dropped. Every failure is a toast.
    [message thread] */
class MidiRenderCommand
{
public:
    MidiRenderCommand (Cadenzium2AudioProcessor& processor, juce::Component& editor, std::function<int()> editedPhrase);
    ~MidiRenderCommand();

    /** Click: the chooser; drop: a render of the dropped file. */
    void attach (tarn::FileDropButton& renderButton);

    /** The chooser ("Select a MIDI chord progression..."). */
    void chooseChordProgression();

    /** Starts a render of the file (what a chosen or dropped file does). Fails with a toast
        while another render runs. */
    juce::Result render (const juce::File& chordFile);

    bool isRendering() const noexcept { return renderer.isRendering(); }

    MidiRenderOverlay& getOverlay() noexcept { return overlay; }
    tarn::FileChooserLauncher& getChooser() noexcept { return chooser; }

    /** Where dragged renders are written: "Renders" in the product's user folder, kept
        rather than temporary so a host that refers to the file where it lies still finds it. */
    static juce::File getDragFolder (Cadenzium2AudioProcessor& processor);

private:
    void completed (juce::Result result, std::unique_ptr<CadenziumRenderer::RenderedMidi> rendered,
                    const juce::File& chordFile, const juce::File& defaultOutputFile);
    void setButtonEnabled (bool enabled);

    Cadenzium2AudioProcessor& processor;
    juce::Component& editor;
    std::function<int()> editedPhrase;
    juce::Component::SafePointer<tarn::FileDropButton> button;
    CadenziumRenderer renderer;
    MidiRenderOverlay overlay;
    tarn::FileChooserLauncher chooser;

    JUCE_DECLARE_WEAK_REFERENCEABLE (MidiRenderCommand)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiRenderCommand)
};
