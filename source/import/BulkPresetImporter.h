#pragma once

#include <source/processor/Cadenzium2AudioProcessor.h>

#include <atomic>
#include <functional>
#include <memory>

/** "Bulk Convert": turns every first-version preset below a folder into a current preset
    under "<user root>/v1/", keeping the folder layout, on a thread of its own.

    The thread never touches the running processor: it applies each preset to a private
    instance it owns and writes files, each replaced atomically (an interrupted import never
    leaves a half-written preset). It shares only the progress and the finished flag with
    the message thread, where the callbacks run. Invalid files are skipped.

    Destroying the importer stops it after the file it is converting.
*/
class BulkPresetImporter : private juce::Thread
    , private juce::AsyncUpdater
{
public:
    static constexpr const char* outputFolderName = "v1";
    static constexpr const char* description = "A user preset imported from version 1";
    static constexpr const char* categories = "v1";

    /** The presets came from the user's own first-version folder. */
    static constexpr const char* author = "Cadenzium v1 user";

    /** Converts the presets below `chosenFolder` into "<user root of library>/v1/" once
        started; refreshes `library` when finished. Builds the private processor here (as long
        as one processor construction takes). The library must outlive the importer.
        [message thread] */
    BulkPresetImporter (const juce::File& chosenFolder, tarn::PresetManager& library);

    /** Stops between two files and waits for the thread; no callback comes after. [message thread] */
    ~BulkPresetImporter() override;

    /** [message thread] */
    void start();

    /** 0..1: the share of the listed files done. [any thread] */
    double getProgress() const noexcept { return progress.load(); }

    /** True once every file was handled or the import stopped. [any thread] */
    bool isFinished() const noexcept { return finished.load(); }

    /** How many presets were written. [any thread] */
    int getNumConverted() const noexcept { return numConverted.load(); }

    const juce::File& getOutputFolder() const noexcept { return outputFolder; } // [any thread]

    /** Called with the progress after each file. [set before start; called on the message thread] */
    std::function<void (double progress)> onProgress;

    /** Called once at the end, after the library was refreshed; it may delete the importer.
        [set before start; called on the message thread] */
    std::function<void()> onFinished;

    /** Called before each listed file (0-based) is converted; tests hold the import there
        to see its progress reported. [set before start; called on the importer thread] */
    std::function<void (int fileIndex)> beforeEachFile;

private:
    void run() override;
    void handleAsyncUpdate() override;
    bool convert (const juce::File& source, const juce::File& target);

    const juce::File chosenFolder, outputFolder;
    tarn::PresetManager& library;
    std::unique_ptr<Cadenzium2AudioProcessor> privateProcessor;

    std::atomic<double> progress { 0.0 };
    std::atomic<bool> finished { false };
    std::atomic<int> numConverted { 0 };
    bool finishReported = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BulkPresetImporter)
};
