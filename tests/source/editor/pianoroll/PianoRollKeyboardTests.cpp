#include "PianoRollHarness.h"

using namespace cadenzium::test;

// Through the X server: the grid keeps the keyboard after a click on it, so its shortcut keys
// and undo work as in a host's own piano roll, and a click anywhere else hands the keyboard
// back to the host.

TEST (PianoRollKeyboard, aClickOnTheGridTakesTheKeysAndAClickElsewhereGivesThemBackToTheHost)
{
    PianoRollHarness h;
    h.startWith (makeSequence ({ makeNote (0, 0, 240), makeNote (2, 960, 240), makeNote (5, 1920, 240) }));

    h.window->xClick (h.grid(), h.at (3000.0, 6));
    EditorWindow::pump (200);
    EXPECT_TRUE (h.window->windowHasKeyboardFocus());
    EXPECT_TRUE (h.grid().hasKeyboardFocus (false));

    h.window->xKey ("a");
    EXPECT_EQ (h.pianoRoll().getDocument().getSelection().size(), 3);

    h.window->xKey ("Delete");
    EXPECT_TRUE (h.phrase().notes.empty());
    EXPECT_EQ (h.undoTooltip(), "Undo: Edit phrase");

    h.window->xKey ("ctrl+z");
    EXPECT_EQ (h.phrase().notes.size(), 3u);
    EXPECT_EQ (h.redoTooltip(), "Redo: Edit phrase");
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return h.pianoRoll().getDocument().getPhrase().notes.size() == 3; }))
        << "the grid shows the undone phrase";

    h.window->xKey ("ctrl+shift+z");
    EXPECT_TRUE (h.phrase().notes.empty());
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return h.pianoRoll().getDocument().getPhrase().notes.empty(); }));

    // A tool button does not keep the keys: the host has them again.
    h.window->xClick (h.pianoRoll().getToolBar().getToolButton (tarn::NoteTool::pencil));
    EXPECT_TRUE (EditorWindow::pumpUntil ([&]
                                          { return ! h.window->windowHasKeyboardFocus(); },
                                          2000));
    EXPECT_EQ (h.grid().getTool(), tarn::NoteTool::pencil);
}
