#pragma once

#include "MidiRenderDragButton.h"
#include "RenderPreviewView.h"

#include <source/render/CadenziumRenderer.h>
#include <tarn/gui/files/FileChooserLauncher.h>
#include <tarn/gui/overlays/ModalWindow.h>
#include <tarn/toasts/ToastManager.h>

/** "Export Render": the result of a render, previewed read-only, with "Drag MIDI" to drag
    it into the host, "Save MIDI" to save it where the user chooses (starting at the chord
    file's folder and the name " - Cadenzium.mid") and "Close".

    Dragged files are written into `dragFolder` as "Cadenzium 2 Render.mid" or the next
    free name, once per render however often it is dragged; they stay there, since a host
    may keep using the file where it lies. Failures are toasts. [message thread] */
class MidiRenderOverlay : public tarn::ModalWindow
{
public:
    MidiRenderOverlay (tarn::ToastManager& toasts, juce::File dragFolder);
    ~MidiRenderOverlay() override;

    static constexpr const char* title = "Export Render";
    static constexpr const char* noDataMessage = "The MIDI render did not produce any data.";
    static constexpr const char* saveChooserTitle = "Save rendered MIDI";

    /** Takes a finished render and shows it; without data it shows the failure instead
        (as a toast) and stays closed. `chordFile` names the source in the caption. */
    void showResult (std::unique_ptr<CadenziumRenderer::RenderedMidi> rendered, const juce::File& defaultOutputFile, const juce::File& chordFile);

    const CadenziumRenderer::RenderedMidi* getRenderedMidi() const noexcept { return rendered.get(); }
    const juce::File& getDefaultOutputFile() const noexcept { return defaultOutputFile; }
    RenderPreviewView& getPreview() noexcept { return preview; }
    MidiRenderDragButton& getDragButton() noexcept { return dragButton; }
    tarn::FileChooserLauncher& getChooser() noexcept { return chooser; }

    /** "Save MIDI": the save chooser at the default output file; the chosen file is written. */
    void chooseSaveLocation();

    /** Writes the render to a file (atomically); failures become toasts. */
    juce::Result saveTo (const juce::File& target);

    /** Writes the file "Drag MIDI" drags (or finds the one written for this render). */
    juce::Result writeDragFile (juce::File& written);

private:
    void layoutContent (juce::Rectangle<int> area) override;
    void closing() override;
    void paint (juce::Graphics& g) override;

    tarn::ToastManager& toasts;
    const juce::File dragFolder;
    std::unique_ptr<CadenziumRenderer::RenderedMidi> rendered;
    juce::File defaultOutputFile, dragFile;
    juce::String caption;

    RenderPreviewView preview;
    MidiRenderDragButton dragButton;
    juce::TextButton saveButton { "Save MIDI" }, closeButton { "Close" };
    tarn::FileChooserLauncher chooser;
    juce::Rectangle<int> captionArea;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiRenderOverlay)
};
