#include "MidiRenderOverlay.h"

#include "RenderPreviewSequence.h"

#include <tarn/gui/Theme.h>

namespace
{
tarn::PopupKind renderOverlayKind { "render overlay" };
tarn::PopupKind renderSaveChooserKind { "render save chooser" };
} // namespace

namespace
{
constexpr int buttonHeight = 30, buttonWidth = 120, captionHeight = 26;
} // namespace

MidiRenderOverlay::MidiRenderOverlay (tarn::ToastManager& toastManager, juce::File folderForDrags)
    : tarn::ModalWindow (renderOverlayKind, title),
      toasts (toastManager),
      dragFolder (std::move (folderForDrags))
{
    setComponentID ("render_overlay");

    dragButton.prepareFile = [this] (juce::File& written)
    { return writeDragFile (written); };
    dragButton.onFailure = [this] (const juce::String& message)
    { toasts.addToast (message, tarn::Toast::error); };

    saveButton.setComponentID ("render_save");
    saveButton.setTooltip ("Save MIDI: Save the rendered MIDI to disk");
    saveButton.onClick = [this]
    { chooseSaveLocation(); };

    closeButton.setComponentID ("render_close");
    closeButton.onClick = [this]
    { close(); };

    for (auto* child : std::initializer_list<juce::Component*> { &preview, &dragButton, &saveButton, &closeButton })
        addAndMakeVisible (child);

    setPanelSize (900, 560);
}

MidiRenderOverlay::~MidiRenderOverlay() = default;

void MidiRenderOverlay::showResult (std::unique_ptr<CadenziumRenderer::RenderedMidi> result, const juce::File& defaultOutput, const juce::File& chordFile)
{
    if (result == nullptr)
    {
        toasts.addToast (noDataMessage, tarn::Toast::error);
        return;
    }

    rendered = std::move (result);
    defaultOutputFile = defaultOutput;
    dragFile = juce::File();
    preview.setSequence (RenderPreviewSequence::build (rendered->events));

    const auto& shown = preview.getSequence();
    const auto bars = shown.getLength() / RenderPreviewSequence::barTicks;
    caption = chordFile.getFileName() + ": " + juce::String ((int) shown.notes.size()) + " notes in "
              + juce::String (bars) + (bars == 1 ? " bar" : " bars");

    show();
}

void MidiRenderOverlay::chooseSaveLocation()
{
    if (rendered == nullptr)
    {
        saveTo ({});
        return;
    }

    const juce::Component::SafePointer<MidiRenderOverlay> safeThis (this);
    chooser.launch ({ &renderSaveChooserKind, saveChooserTitle, defaultOutputFile, "*.mid;*.midi", tarn::FileChooserLauncher::Kind::saveFile },
                    getParentComponent(),
                    [safeThis] (const juce::File& chosen)
                    {
                        if (safeThis != nullptr)
                            safeThis->saveTo (chosen);
                    });
}

juce::Result MidiRenderOverlay::saveTo (const juce::File& target)
{
    // A name typed without the extension still makes a MIDI file a host recognises.
    auto file = target;

    if (file != juce::File() && ! file.hasFileExtension ("mid;midi"))
        file = file.withFileExtension ("mid");

    const auto result = CadenziumRenderer::saveTo (rendered.get(), file);

    if (result.failed())
        toasts.addToast (result.getErrorMessage(), tarn::Toast::error);
    else
        toasts.addToast ("Rendered MIDI saved as " + file.getFileName(), tarn::Toast::information);

    return result;
}

juce::Result MidiRenderOverlay::writeDragFile (juce::File& written)
{
    if (rendered == nullptr)
        return juce::Result::fail (MidiRenderDragButton::failureMessage);

    // Dragging the same render again offers the file already written for it.
    if (dragFile.existsAsFile() && dragFile.getSize() == (juce::int64) rendered->fileData.getSize())
    {
        written = dragFile;
        return juce::Result::ok();
    }

    if (const auto created = dragFolder.createDirectory(); created.failed())
        return created;

    const auto result = CadenziumRenderer::writeDragFile (*rendered, dragFolder, written);

    if (result.wasOk())
        dragFile = written;

    return result;
}

void MidiRenderOverlay::closing()
{
    chooser.close();
}

void MidiRenderOverlay::layoutContent (juce::Rectangle<int> area)
{
    captionArea = area.removeFromTop (captionHeight);
    auto buttons = area.removeFromBottom (buttonHeight);
    area.removeFromBottom (panelPadding / 2);
    preview.setBounds (area);

    closeButton.setBounds (buttons.removeFromRight (buttonWidth));
    buttons.removeFromRight (panelPadding / 2);
    saveButton.setBounds (buttons.removeFromRight (buttonWidth));
    buttons.removeFromRight (panelPadding / 2);
    dragButton.setBounds (buttons.removeFromRight (buttonWidth));
}

void MidiRenderOverlay::paint (juce::Graphics& g)
{
    tarn::ModalWindow::paint (g);

    g.setColour (tarn::themeColour (*this, "text.disabledtext"));
    g.setFont (tarn::themeFont (*this));
    g.drawText (caption, captionArea, juce::Justification::centredLeft, true);
}
