#include "BulkPresetImporter.h"

#include "V1PresetApplier.h"
#include "V1PresetFinder.h"

#include <tarn/util/AtomicFile.h>

BulkPresetImporter::BulkPresetImporter (const juce::File& chosen, tarn::PresetManager& libraryToRefresh)
    : juce::Thread ("v1 preset import")
    , chosenFolder (chosen)
    , outputFolder (libraryToRefresh.getUserRoot().getChildFile (outputFolderName))
    , library (libraryToRefresh)
    // Built and destroyed here on the message thread: its timers and asynchronous pings
    // belong to it. Its settings are only read, and its log lines join the shared log.
    , privateProcessor (std::make_unique<Cadenzium2AudioProcessor>())
{
}

BulkPresetImporter::~BulkPresetImporter()
{
    // Never a forced kill: that could stop it in the middle of writing a preset.
    signalThreadShouldExit();
    stopThread (-1);
    cancelPendingUpdate();
}

void BulkPresetImporter::start()
{
    startThread();
}

void BulkPresetImporter::run()
{
    const auto files = V1PresetFinder::find (chosenFolder, outputFolder, [this]
                                             { return threadShouldExit(); });

    for (size_t i = 0; i < files.size() && ! threadShouldExit(); ++i)
    {
        if (beforeEachFile != nullptr)
            beforeEachFile ((int) i);

        // Not getChildFile: it reads a path that starts with "~" (a folder of that name) as
        // a home folder, and would write there.
        const juce::File target (outputFolder.getFullPathName() + "/" + files[i].relativePath);

        if (target.isAChildOf (outputFolder) && convert (files[i].file, target))
            ++numConverted;

        progress.store ((double) (i + 1) / (double) files.size());
        triggerAsyncUpdate();
    }

    juce::Logger::writeToLog ("Imported " + juce::String (numConverted.load()) + " of " + juce::String ((int) files.size())
                              + " v1 presets into " + outputFolder.getFullPathName());

    progress.store (1.0);
    finished.store (true);
    triggerAsyncUpdate();
}

bool BulkPresetImporter::convert (const juce::File& source, const juce::File& target)
{
    if (! V1PresetApplier::apply (*privateProcessor, V1PresetParser::parseFile (source)))
        return false;

    const auto element = privateProcessor->getPresetManager().createPresetElement (author, description, categories);

    if (element == nullptr)
        return false;

    const auto written = target.getParentDirectory().createDirectory().wasOk()
                             ? tarn::AtomicFile::replaceWithText (target, element->toString())
                             : juce::Result::fail ("Couldn't create the folder " + target.getParentDirectory().getFullPathName());

    if (written.failed())
        juce::Logger::writeToLog ("Couldn't import v1 preset " + source.getFullPathName() + ": " + written.getErrorMessage());

    return written.wasOk();
}

void BulkPresetImporter::handleAsyncUpdate()
{
    if (onProgress != nullptr)
        onProgress (progress.load());

    if (! finished.load() || finishReported)
        return;

    finishReported = true;
    library.refresh();

    // Last: the owner may delete the importer from inside.
    if (auto callback = onFinished)
        callback();
}
