#include "PianoRollHarness.h"

namespace cadenzium::test
{

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
    refresh();
}

void PianoRollHarness::refresh()
{
    // What the piano roll's connection does on its next timer tick.
    EditorWindow::pumpUntil ([this] { return pianoRoll().getDocument().getPhrase().notes == processor.getPhrase (editor().getEditedPhrase()).notes
                                             && pianoRoll().getRowAxis().numRows == (int) processor.getPhraseManager().getRows().size(); },
                             1000);
    EditorWindow::pump (40);
}

juce::Point<float> PianoRollHarness::at (double tick, int row) const
{
    const auto& view = pianoRoll().getView();
    const auto& rows = view.getRowAxis();
    return { (float) view.getTimeAxis().xOf (tick), (float) (rows.yOf (row) + rows.rowHeight * 0.5) };
}

} // namespace cadenzium::test
