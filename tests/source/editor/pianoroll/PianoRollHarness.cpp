#include "PianoRollHarness.h"

#include <tarn/gui/ThemeSelector.h>

namespace cadenzium::test
{

juce::AudioProcessorEditor* PianoRollTestProcessor::createEditor()
{
    return new PianoRollTestEditor (*this);
}

PianoRollTestEditor::PianoRollTestEditor (PianoRollTestProcessor& plugin)
    : tarn::AudioProcessorEditor (plugin, plugin.getToastManager())
    , connection (plugin, pianoRoll)
{
    // The product's dark scheme, as its window starts in.
    tarn::ThemeSelector::getInstance()->setColourSchemeNumber (4);

    addAndMakeVisible (pianoRoll);
    connection.setEditedPhrase (0);
    setSize (1200, 700);
}

PianoRollTestEditor::~PianoRollTestEditor() = default;

//==============================================================================
PianoRollHarness::PianoRollHarness()
    : window (std::make_unique<EditorWindow> (processor))
{
}

PianoRollHarness::~PianoRollHarness()
{
    window.reset();
    EditorWindow::pump();
}

void PianoRollHarness::startWith (const tarn::Sequence& phrase)
{
    auto normalised = phrase;
    normalised.normalise();
    EditCommands (processor).editPhrase (0, normalised);
    processor.getPhraseManager().clearUndoHistory();
    connection().refresh();
}

tarn::SequenceNote PianoRollHarness::note (int row, int start, int length, int velocity)
{
    tarn::SequenceNote n;
    n.number = row;
    n.timestamp = start;
    n.length = length;
    n.velocityMin = n.velocityMax = velocity;
    return n;
}

juce::Point<float> PianoRollHarness::at (double tick, int row) const
{
    const auto& view = pianoRoll().getView();
    const auto& rows = view.getRowAxis();
    return { (float) view.getTimeAxis().xOf (tick), (float) (rows.yOf (row) + rows.rowHeight * 0.5) };
}

} // namespace cadenzium::test
