#pragma once

#include <source/editor/overlays/BulkImporterOverlay.h>
#include <source/import/BulkPresetImporter.h>
#include <tarn/gui/files/FileChooserLauncher.h>

/** "Bulk Convert": turns a folder of first-version presets into current presets under
    "User/v1" in the background, with the "Importing Presets..." overlay showing the
    progress. Cancel stops after the file being converted. At the end (or after a
    cancel) the library is scanned again, so the browser shows the new presets, and the
    host is told that the program list changed. [message thread] */
class BulkConvertCommand
{
public:
    BulkConvertCommand (Cadenzium2AudioProcessor& processor, juce::Component& editor);
    ~BulkConvertCommand();

    static constexpr const char* menuItemText = "Bulk Convert";

    /** The folder chooser ("Select your version 1 preset folder"). */
    void chooseFolder();

    /** Starts converting the folder; false while a conversion runs. */
    bool convert (const juce::File& folder);

    /** Stops a running conversion; what was converted stays. */
    void cancel();

    bool isConverting() const noexcept { return importer != nullptr; }

    /** The running importer, for tests that hold it between files. */
    BulkPresetImporter* getImporter() noexcept { return importer.get(); }

    BulkImporterOverlay& getOverlay() noexcept { return overlay; }
    tarn::FileChooserLauncher& getChooser() noexcept { return chooser; }

    /** Called after a conversion ended and the library was refreshed, with how many presets
        were written. */
    std::function<void (int converted)> onFinished;

private:
    void finished (int converted, bool cancelled);

    Cadenzium2AudioProcessor& processor;
    juce::Component& editor;
    std::unique_ptr<BulkPresetImporter> importer;
    BulkImporterOverlay overlay;
    tarn::FileChooserLauncher chooser;

    JUCE_DECLARE_WEAK_REFERENCEABLE (BulkConvertCommand)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BulkConvertCommand)
};
