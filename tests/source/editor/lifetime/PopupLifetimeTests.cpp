// The host may close the window at any moment: for every kind of thing the window shows on top
// of itself, the window is closed with it open. Also run under AddressSanitizer.

#include "LifetimeScene.h"

#include <tarn/gui/overlays/PopupKind.h>

namespace cadenzium::test
{
namespace
{
    /** How to open one kind with the user's gestures, in a scene that has what it needs. */
    struct PopupRow
    {
        const char* kind;
        std::function<void (LifetimeScene&)> open;
    };

    void openRenderOverlay (LifetimeScene& s)
    {
        ASSERT_TRUE (s.editor().getFileCommands().getRenderCommand().render (s.chords).wasOk());
        ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return s.editor().getFileCommands().getRenderOverlay().isShowing(); }, 30000));
    }

    const std::vector<PopupRow>& popupTable()
    {
        static const std::vector<PopupRow> rows {
            { "preset menu", [] (LifetimeScene& s) { s.clickAfterFocus ("preset_name"); } },
            { "preset browser", [] (LifetimeScene& s) { s.click ("preset_browser"); } },
            { "preset browser row menu", [] (LifetimeScene& s)
              {
                  s.click ("preset_browser");
                  s.rightClickAfterFocus (EditorWindow::get ("preset_table_rows"), juce::Point<float> (40.0f, 30.0f));
              } },
            { "save preset dialog", [] (LifetimeScene& s) { s.click ("preset_save"); } },
            { "settings dialog", [] (LifetimeScene& s) { s.click ("settings"); } },
            { "phrase menu", [] (LifetimeScene& s) { s.rightClickAfterFocus (s.editor().getPhraseButtons().getButton (2)); } },
            { "row settings", [] (LifetimeScene& s) { s.window->rightClick (s.editor().getRowEditor().getRow (0)); } },
            { "v1 preset menu", [] (LifetimeScene& s) { s.rightClickAfterFocus (EditorWindow::get ("load_v1_preset")); } },
            { "MIDI pattern chooser", [] (LifetimeScene& s) { s.click ("import_midi"); } },
            { "chord progression chooser", [] (LifetimeScene& s) { s.click ("render_midi"); } },
            { "v1 preset chooser", [] (LifetimeScene& s) { s.click ("load_v1_preset"); } },
            { "v1 preset folder chooser", [] (LifetimeScene& s)
              {
                  s.rightClickAfterFocus (EditorWindow::get ("load_v1_preset"));
                  ASSERT_TRUE (EditorWindow::chooseMenuItem ("Bulk Convert"));
              } },
            { "render overlay", openRenderOverlay },
            { "render save chooser", [] (LifetimeScene& s)
              {
                  openRenderOverlay (s);
                  s.click ("render_save");
              } },
            { "rendered MIDI drag", [] (LifetimeScene& s)
              {
                  openRenderOverlay (s);
                  auto& drag = EditorWindow::get ("render_drag");
                  const auto centre = drag.getLocalBounds().getCentre().toFloat();
                  s.window->press (drag, centre);
                  s.window->moveTo (drag, centre + juce::Point<float> (30.0f, 5.0f));
              } },
            { "bulk import progress", [] (LifetimeScene& s) { s.startBulkImportThatWaits(); } },
            { "grid size menu", [] (LifetimeScene& s) { s.clickAfterFocus ("grid_size"); } },
            { "note grid menu", [] (LifetimeScene& s)
              {
                  auto& grid = s.editor().getPianoRoll().getNoteEditor();
                  s.rightClickAfterFocus (grid, grid.getLocalBounds().toFloat().getBottomRight() - juce::Point<float> (20.0f, 8.0f));
              } },
            { "note menu", [] (LifetimeScene& s) { s.rightClickAfterFocus (s.editor().getPianoRoll().getNoteEditor(), s.noteCentre()); } },
            { "controller lane menu", [] (LifetimeScene& s)
              { s.rightClickAfterFocus (*s.editor().getPianoRoll().getLaneBar().getLaneButton (0), juce::Point<float> (10.0f, 10.0f)); } },
            { "controller curve menu", [] (LifetimeScene& s)
              {
                  s.window->click (*s.editor().getPianoRoll().getLaneBar().getLaneButton (0), juce::Point<float> (10.0f, 10.0f));
                  s.rightClickAfterFocus (s.editor().getPianoRoll().getCurveEditor());
              } },
            { "velocity menu", [] (LifetimeScene& s) { s.rightClickAfterFocus (s.editor().getPianoRoll().getVelocityEditor()); } },
            { "toast", [] (LifetimeScene& s) { s.editor().getFileCommands().loadV1Preset (s.invalidV1); } },
            { "tooltip", [] (LifetimeScene& s)
              {
                  s.window->xMove (EditorWindow::get ("preset_save"));
                  ASSERT_TRUE (EditorWindow::pumpUntil ([] { return EditorWindow::find ("tooltip") != nullptr; }, 5000));
              } },
        };
        return rows;
    }

    const tarn::PopupKind* kindNamed (const juce::String& name)
    {
        for (const auto* kind : tarn::PopupKind::all())
            if (name == kind->getName())
                return kind;

        return nullptr;
    }

    /** Opens the row's kind in the scene and checks that it is open. */
    void open (LifetimeScene& s, const PopupRow& row)
    {
        const auto* kind = kindNamed (row.kind);
        ASSERT_NE (kind, nullptr) << "no kind named \"" << row.kind << "\" in the program";
        const auto before = kind->getTimesShown();
        row.open (s);
        ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return kind->getTimesShown() > before; }, 5000)) << row.kind << " did not open";
        EditorWindow::pump (60);

        // Still open now (a menu that closed at once would test nothing).
        if (juce::String (row.kind).endsWith ("menu"))
        {
            EXPECT_TRUE (EditorWindow::isMenuOpen()) << row.kind;
        }
    }

    class PopupLifetime : public LifetimeTest
        , public ::testing::WithParamInterface<PopupRow>
    {
    };
} // namespace

TEST (PopupLifetimeTable, everyKindOfPopupInTheProgramHasARowAndEveryRowNamesOne)
{
    juce::StringArray missing, unknown;

    for (const auto* kind : tarn::PopupKind::all())
        if (std::none_of (popupTable().begin(), popupTable().end(), [&] (const auto& row) { return juce::String (kind->getName()) == row.kind; }))
            missing.add (kind->getName());

    for (const auto& row : popupTable())
        if (kindNamed (row.kind) == nullptr)
            unknown.add (row.kind);

    EXPECT_TRUE (missing.isEmpty()) << "popups without a row in the close-and-reopen table: " << missing.joinIntoString (", ");
    EXPECT_TRUE (unknown.isEmpty()) << "rows naming no popup of the program: " << unknown.joinIntoString (", ");
}

TEST (PopupLifetimeTable, popupsOpenOnlyThroughTheHelpersThatCountTheirKind)
{
    // A popup opened straight through the framework would have no kind, so no row above:
    // these calls may appear only in the helpers (a file named "*" may use none of them).
    struct Rule
    {
        const char* call;
        const char* onlyIn;
    };

    const Rule rules[] { { "showMenuAsync", "tarn/gui/overlays/PopupMenus.cpp" },
                         { "CallOutBox", "*" },
                         { "enterModalState", "*" },
                         { "runModalLoop", "*" },
                         { "AlertWindow::show", "*" },
                         { "NativeMessageBox", "*" },
                         { "DialogWindow", "*" },
                         { "addToDesktop", "*" },
                         { "juce::FileChooser", "tarn/gui/files/FileChooserLauncher." },
                         { "performExternalDragDrop", "source/editor/overlays/MidiRenderDragButton.cpp" } };

    const juce::File root (CADENZIUM_SOURCE_ROOT);
    juce::StringArray found;

    for (const auto* folder : { "tarn", "brindlex", "source", "formats", "standalone" })
        for (const auto& file : root.getChildFile (folder).findChildFiles (juce::File::findFiles, true, "*.cpp;*.h"))
        {
            const auto path = file.getRelativePathFrom (root);
            juce::StringArray lines;
            lines.addLines (file.loadFileAsString());

            for (int i = 0; i < lines.size(); ++i)
            {
                const auto code = lines[i].upToFirstOccurrenceOf ("//", false, false);

                for (const auto& rule : rules)
                    if (code.contains (rule.call) && ! path.startsWith (rule.onlyIn))
                        found.add (path + ":" + juce::String (i + 1) + ": " + rule.call);
            }
        }

    EXPECT_TRUE (found.isEmpty()) << found.joinIntoString ("\n");
}

TEST_P (PopupLifetime, closingTheWindowWithItOpenIsSafeAloneWithTheProcessorGoneAndWhenReopened)
{
    closeWithItOpenInEveryWay ([&row = GetParam()] (LifetimeScene& s) { open (s, row); });
}

INSTANTIATE_TEST_SUITE_P (EveryPopup, PopupLifetime, ::testing::ValuesIn (popupTable()), [] (const auto& test) { return testNameOf (test.param.kind); });

} // namespace cadenzium::test
