#include "FileCommands.h"

#include "FileChooserSpecs.h"

#include <source/import/V1PresetApplier.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/gui/overlays/PopupMenus.h>

namespace
{
tarn::PopupKind v1MenuKind { "v1 preset menu" };
} // namespace

FileCommands::FileCommands (Cadenzium2AudioProcessor& p, juce::Component& editorComponent, std::function<int()> phrase)
    : processor (p),
      editor (editorComponent),
      editedPhrase (std::move (phrase)),
      render (p, editorComponent, editedPhrase),
      bulkConvert (p, editorComponent)
{
}

FileCommands::~FileCommands() = default;

void FileCommands::attach (tarn::FileDropButton& importMidi, tarn::FileDropButton& renderMidi, tarn::FileDropButton& loadV1)
{
    importMidi.setAcceptedExtensions (FileChooserSpecs::midiExtensions);
    importMidi.onClick = [this]
    { chooseMidiPattern(); };
    importMidi.onFileDropped = [this] (const juce::File& file)
    { importMidiPattern (file); };

    render.attach (renderMidi);

    v1Button = &loadV1;
    loadV1.setAcceptedExtensions (FileChooserSpecs::v1PresetExtensions);
    loadV1.onClick = [this]
    { chooseV1Preset(); };
    loadV1.onFileDropped = [this] (const juce::File& file)
    { loadV1Preset (file); };
    loadV1.onRightClick = [this]
    { showV1Menu(); };
}

//==============================================================================
void FileCommands::chooseMidiPattern()
{
    const juce::WeakReference<FileCommands> weakThis (this);
    chooser.launch (FileChooserSpecs::midiPattern(), &editor, [weakThis] (const juce::File& chosen)
                    {
                        if (weakThis != nullptr)
                            weakThis->importMidiPattern (chosen);
                    });
}

juce::Result FileCommands::importMidiPattern (const juce::File& file)
{
    // The command shows its own error toast and changes nothing when the file is unusable.
    const auto slot = juce::jlimit (0, Cadenzium2AudioProcessor::numPhrases - 1, editedPhrase != nullptr ? editedPhrase() : 0);
    return commands.importMidiPattern (slot, file);
}

void FileCommands::chooseV1Preset()
{
    const juce::WeakReference<FileCommands> weakThis (this);
    chooser.launch (FileChooserSpecs::v1Preset(), &editor, [weakThis] (const juce::File& chosen)
                    {
                        if (weakThis != nullptr)
                            weakThis->loadV1Preset (chosen);
                    });
}

bool FileCommands::loadV1Preset (const juce::File& file)
{
    // "Not a valid Cadenzium v1 preset" comes from the loader.
    return V1PresetApplier::loadFile (processor, file);
}

juce::PopupMenu FileCommands::createV1Menu() const
{
    juce::PopupMenu menu;
    menu.addItem (1, BulkConvertCommand::menuItemText, ! bulkConvert.isConverting());
    return menu;
}

void FileCommands::showV1Menu()
{
    const juce::WeakReference<FileCommands> weakThis (this);
    tarn::showMenu (v1MenuKind, v1Button != nullptr ? *v1Button.getComponent() : editor, createV1Menu(), {}, [weakThis] (int chosen)
                    {
                        if (weakThis != nullptr && chosen == 1)
                            weakThis->bulkConvert.chooseFolder();
                    });
}
