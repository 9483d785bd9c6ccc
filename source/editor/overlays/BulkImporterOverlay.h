#pragma once

#include <tarn/gui/overlays/ModalWindow.h>

/** "Importing Presets...": the progress of a bulk conversion of first-version presets,
    with Cancel. Closing it any way while the import runs (Cancel, its close button,
    Escape) asks to cancel (onCancel); the owner closes it when the import is over.
    [message thread] */
class BulkImporterOverlay : public tarn::ModalWindow
{
public:
    BulkImporterOverlay();
    ~BulkImporterOverlay() override;

    static constexpr const char* title = "Importing Presets...";

    /** Opens it at 0 for a new import into `destination` (named under the bar). */
    void start (const juce::String& destination = {});

    /** 0..1, as the importer reports it; the bar shows it at once. */
    void setProgress (double progress);
    double getProgress() const noexcept { return progress; }

    /** Closes it at the end of the import (no onCancel). */
    void finish();

    std::function<void()> onCancel;

private:
    void layoutContent (juce::Rectangle<int> area) override;
    void closing() override;
    void paint (juce::Graphics& g) override;

    double progress = 0.0;
    juce::String destinationText;
    juce::Rectangle<int> barArea, destinationArea;
    bool finishing = false, cancelling = false;
    juce::TextButton cancelButton { "Cancel" };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BulkImporterOverlay)
};
