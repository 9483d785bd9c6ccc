#include "BulkConvertCommand.h"

#include "FileChooserSpecs.h"

BulkConvertCommand::BulkConvertCommand (Cadenzium2AudioProcessor& p, juce::Component& editorComponent)
    : processor (p),
      editor (editorComponent)
{
    overlay.onCancel = [this]
    { cancel(); };
}

BulkConvertCommand::~BulkConvertCommand()
{
    // The window closes mid-import: the importer stops after its file and calls nothing
    // back, and the library learns of what it wrote (a window opened later shows it).
    if (importer != nullptr)
    {
        importer.reset();
        processor.getPresetManager().refresh();
    }
}

void BulkConvertCommand::chooseFolder()
{
    const juce::WeakReference<BulkConvertCommand> weakThis (this);
    chooser.launch (FileChooserSpecs::v1PresetFolder(), &editor, [weakThis] (const juce::File& folder)
                    {
                        if (weakThis != nullptr)
                            weakThis->convert (folder);
                    });
}

bool BulkConvertCommand::convert (const juce::File& folder)
{
    if (importer != nullptr || ! folder.isDirectory())
        return false;

    importer = std::make_unique<BulkPresetImporter> (folder, processor.getPresetManager());
    importer->onProgress = [this] (double progress)
    { overlay.setProgress (progress); };
    importer->onFinished = [this]
    { finished (importer->getNumConverted(), false); };

    overlay.start ("the User/" + juce::String (BulkPresetImporter::outputFolderName) + " preset folder");
    importer->start();
    return true;
}

void BulkConvertCommand::cancel()
{
    if (importer == nullptr)
        return;

    // Waits for the file being converted; no callback comes after. What was written stays,
    // so the library is scanned for it.
    const auto converted = importer->getNumConverted();
    importer.reset();
    processor.getPresetManager().refresh();
    finished (converted, true);
}

void BulkConvertCommand::finished (int converted, bool cancelled)
{
    // From the importer's own callback, which allows deleting it there.
    importer.reset();
    overlay.finish();

    // The library was scanned again (by the importer, or above): the host's program list
    // changed with it.
    processor.updateHostDisplay (juce::AudioProcessor::ChangeDetails()
                                     .withLatencyChanged (true)
                                     .withParameterInfoChanged (true)
                                     .withProgramChanged (true));

    if (! cancelled)
        processor.getToastManager().addToast ("Converted " + juce::String (converted) + (converted == 1 ? " preset" : " presets")
                                                  + " into the User/" + BulkPresetImporter::outputFolderName + " preset folder",
                                              tarn::Toast::information);

    if (onFinished != nullptr)
        onFinished (converted);
}
