#include "BulkImporterOverlay.h"

#include <tarn/gui/Theme.h>

namespace
{
tarn::PopupKind bulkImportKind { "bulk import progress" };
} // namespace

BulkImporterOverlay::BulkImporterOverlay()
    : tarn::ModalWindow (bulkImportKind, title)
{
    setComponentID ("bulk_import_overlay");
    cancelButton.setComponentID ("bulk_import_cancel");
    cancelButton.onClick = [this]
    { close(); };

    addAndMakeVisible (cancelButton);
    setPanelSize (460, 180);
}

BulkImporterOverlay::~BulkImporterOverlay() = default;

void BulkImporterOverlay::start (const juce::String& destination)
{
    progress = 0.0;
    destinationText = destination.isNotEmpty() ? "Converting into " + destination : juce::String();
    show();
}

void BulkImporterOverlay::setProgress (double newProgress)
{
    progress = juce::jlimit (0.0, 1.0, newProgress);
    repaint (barArea);
}

void BulkImporterOverlay::finish()
{
    // Already on its way out: the cancel that closes it ends the import too.
    if (cancelling)
        return;

    const juce::ScopedValueSetter<bool> quietly (finishing, true);
    close();
}

void BulkImporterOverlay::closing()
{
    if (finishing || onCancel == nullptr)
        return;

    const juce::ScopedValueSetter<bool> guard (cancelling, true);
    onCancel();
}

void BulkImporterOverlay::layoutContent (juce::Rectangle<int> area)
{
    area.removeFromTop (panelPadding / 2);
    barArea = area.removeFromTop (24);
    area.removeFromTop (panelPadding / 2);
    destinationArea = area.removeFromTop (20);
    cancelButton.setBounds (area.removeFromBottom (30).removeFromRight (120));
}

void BulkImporterOverlay::paint (juce::Graphics& g)
{
    tarn::ModalWindow::paint (g);

    const auto track = barArea.toFloat();
    const auto corner = track.getHeight() / 2.0f;
    g.setColour (tarn::themeColour (*this, "elements.element"));
    g.fillRoundedRectangle (track, corner);

    if (progress > 0.0)
    {
        g.setColour (tarn::themeColour (*this, "theme.primary"));
        g.fillRoundedRectangle (track.withWidth (juce::jmax (track.getHeight(), track.getWidth() * (float) progress)), corner);
    }

    g.setColour (tarn::themeColour (*this, "text.text"));
    g.setFont (tarn::themeFont (*this, 8.0f));
    g.drawText (juce::String (juce::roundToInt (progress * 100.0)) + "%", barArea, juce::Justification::centred, false);
    g.setColour (tarn::themeColour (*this, "text.disabledtext"));
    g.setFont (tarn::themeFont (*this, 8.0f));
    g.drawText (destinationText, destinationArea, juce::Justification::centredLeft, true);
}
