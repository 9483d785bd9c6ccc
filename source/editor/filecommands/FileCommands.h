#pragma once

#include "BulkConvertCommand.h"
#include "MidiRenderCommand.h"

#include <source/commands/EditCommands.h>

/** The window's "Import" group: Import MIDI Pattern, Render MIDI and Load v1 Preset, each
    with its file chooser and taking files dropped on its button; a right click on Load v1
    Preset offers "Bulk Convert".

    The editor makes one, attaches its three buttons and adds the two overlays
    (getRenderOverlay(), getBulkImporterOverlay()) with addOverlay(). Imports go through
    the undoable commands; failures are toasts. [message thread] */
class FileCommands
{
public:
    /** `editedPhrase` says which phrase the piano roll shows (imports and renders use it). */
    FileCommands (Cadenzium2AudioProcessor& processor, juce::Component& editor, std::function<int()> editedPhrase);
    ~FileCommands();

    void attach (tarn::FileDropButton& importMidi, tarn::FileDropButton& renderMidi, tarn::FileDropButton& loadV1);

    MidiRenderOverlay& getRenderOverlay() noexcept { return render.getOverlay(); }
    BulkImporterOverlay& getBulkImporterOverlay() noexcept { return bulkConvert.getOverlay(); }
    MidiRenderCommand& getRenderCommand() noexcept { return render; }
    BulkConvertCommand& getBulkConvertCommand() noexcept { return bulkConvert; }
    tarn::FileChooserLauncher& getChooser() noexcept { return chooser; }

    //==============================================================================
    /** "Import MIDI Pattern": the chooser, and the import of a chosen or dropped file. */
    void chooseMidiPattern();
    juce::Result importMidiPattern (const juce::File& file);

    /** "Load v1 Preset": the chooser, and the load of a chosen or dropped file. */
    void chooseV1Preset();
    bool loadV1Preset (const juce::File& file);

    /** The right-click menu of Load v1 Preset: "Bulk Convert" (item 1). */
    juce::PopupMenu createV1Menu() const;
    void showV1Menu();

private:
    Cadenzium2AudioProcessor& processor;
    juce::Component& editor;
    std::function<int()> editedPhrase;
    EditCommands commands { processor };
    MidiRenderCommand render;
    BulkConvertCommand bulkConvert;
    tarn::FileChooserLauncher chooser;
    juce::Component::SafePointer<tarn::FileDropButton> v1Button;

    JUCE_DECLARE_WEAK_REFERENCEABLE (FileCommands)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FileCommands)
};
