// The host may close the window in the middle of a gesture: with the mouse still pressed in a
// drag, with a key of the keyboard view held, while a name is being typed, or with a combo
// box's list open. Also run under AddressSanitizer.

#include "LifetimeScene.h"

namespace cadenzium::test
{
namespace
{
    struct GestureRow
    {
        const char* name;
        std::function<void (LifetimeScene&)> start; // leaves the gesture going on
    };

    void dragStarted (LifetimeScene& s, juce::Component& target, juce::Point<float> from, juce::Point<float> by = { 60.0f, 30.0f })
    {
        s.window->press (target, from);
        s.window->moveTo (target, from + by * 0.5f);
        s.window->moveTo (target, from + by);
    }

    juce::Point<float> centreOf (juce::Component& c) { return c.getLocalBounds().getCentre().toFloat(); }

    const std::vector<GestureRow>& gestureTable()
    {
        static const std::vector<GestureRow> rows {
            { "note drag", [] (LifetimeScene& s) { dragStarted (s, s.editor().getPianoRoll().getNoteEditor(), s.noteCentre()); } },
            { "marquee selection", [] (LifetimeScene& s)
              {
                  auto& grid = s.editor().getPianoRoll().getNoteEditor();
                  dragStarted (s, grid, centreOf (grid), { -80.0f, -40.0f });
              } },
            { "brush stroke", [] (LifetimeScene& s)
              {
                  s.click ("brush_tool");
                  auto& grid = s.editor().getPianoRoll().getNoteEditor();
                  dragStarted (s, grid, centreOf (grid), { 120.0f, 0.0f });
              } },
            { "row drag", [] (LifetimeScene& s)
              {
                  auto& row = s.editor().getRowEditor().getRow (0);
                  dragStarted (s, row, centreOf (row), { 0.0f, -90.0f });
              } },
            { "velocity drag", [] (LifetimeScene& s)
              {
                  auto& values = s.editor().getPianoRoll().getVelocityEditor();
                  dragStarted (s, values, centreOf (values), { 0.0f, -20.0f });
              } },
            { "curve drag", [] (LifetimeScene& s)
              {
                  s.window->click (*s.editor().getPianoRoll().getLaneBar().getLaneButton (0), juce::Point<float> (10.0f, 10.0f));
                  auto& curve = s.editor().getPianoRoll().getCurveEditor();
                  dragStarted (s, curve, centreOf (curve), { 40.0f, -20.0f });
              } },
            { "slider drag", [] (LifetimeScene& s)
              {
                  auto& swing = EditorWindow::get ("swing_amount");
                  dragStarted (s, swing, centreOf (swing), { 30.0f, 0.0f });
              } },
            { "window resize", [] (LifetimeScene& s)
              {
                  auto* corner = findResizeCorner (s.editor());
                  ASSERT_NE (corner, nullptr);
                  dragStarted (s, *corner, centreOf (*corner), { 60.0f, 40.0f });
              } },
            { "keyboard key held", [] (LifetimeScene& s)
              {
                  auto& keys = EditorWindow::get ("keyboard");
                  s.window->press (keys, { keys.getWidth() * 0.5f, keys.getHeight() * 0.85f });
              } },
            { "phrase rename typing", [] (LifetimeScene& s)
              {
                  s.rightClickAfterFocus (s.editor().getPhraseButtons().getButton (1));
                  ASSERT_TRUE (EditorWindow::chooseMenuItem ("Rename"));
                  s.window->typeText ("Half");
              } },
            { "length box typing", [] (LifetimeScene& s)
              {
                  s.window->doubleClick (EditorWindow::get ("length_box"));
                  s.window->typeText ("3");
              } },
            { "time signature typing", [] (LifetimeScene& s)
              {
                  s.window->click (EditorWindow::get ("time_signature"), juce::Point<float> (10.0f, 8.0f));
                  s.window->typeText ("7/8");
              } },
            { "row name typing", [] (LifetimeScene& s)
              {
                  s.window->rightClick (s.editor().getRowEditor().getRow (0));
                  s.window->click (EditorWindow::get ("row_name"));
                  s.window->typeText ("Half");
              } },
            { "preset name typing", [] (LifetimeScene& s)
              {
                  s.click ("preset_save");
                  s.window->typeText ("Half");
              } },
        };
        return rows;
    }

    class GestureLifetime : public LifetimeTest
        , public ::testing::WithParamInterface<GestureRow>
    {
    };
} // namespace

TEST_P (GestureLifetime, closingTheWindowMidGestureIsSafeAloneWithTheProcessorGoneAndWhenReopened)
{
    closeWithItOpenInEveryWay (GetParam().start, [] (LifetimeScene& s) { s.window->release(); });
}

INSTANTIATE_TEST_SUITE_P (EveryGesture, GestureLifetime, ::testing::ValuesIn (gestureTable()), [] (const auto& test) { return testNameOf (test.param.name); });

using ComboListLifetime = LifetimeTest;

TEST_F (ComboListLifetime, closingTheWindowWithAnyComboBoxListOpenIsSafe)
{
    // Every combo box of both sidebars, the piano roll, the row settings and the settings
    // dialog, each found in a new window by the order it has there.
    struct Place
    {
        const char* name;
        std::function<juce::Component& (LifetimeScene&)> show; // what takes the clicks then
    };

    const Place places[] {
        { "playback sidebar and piano roll", [] (LifetimeScene& s) -> juce::Component& { return s.editor(); } },
        { "generation sidebar", [] (LifetimeScene& s) -> juce::Component&
          {
              s.editor().setSidebarView ("generation");
              return s.editor();
          } },
        { "row settings", [] (LifetimeScene& s) -> juce::Component&
          {
              s.window->rightClick (s.editor().getRowEditor().getRow (0));
              return EditorWindow::get ("row_popup");
          } },
        { "settings dialog", [] (LifetimeScene& s) -> juce::Component&
          {
              s.click ("settings");
              return EditorWindow::get ("settings_dialog");
          } },
    };

    auto visibleCombos = [] (juce::Component& root)
    {
        std::vector<juce::ComboBox*> combos;
        std::function<void (juce::Component&)> collect = [&] (juce::Component& c)
        {
            if (! c.isVisible())
                return;
            if (auto* combo = dynamic_cast<juce::ComboBox*> (&c); combo != nullptr && combo->isEnabled())
                combos.push_back (combo);
            for (auto* child : c.getChildren())
                collect (*child);
        };
        collect (root);
        return combos;
    };

    for (const auto& place : places)
    {
        SCOPED_TRACE (place.name);
        LifetimeScene s;
        int opened = 0;

        for (size_t index = 0;; ++index)
        {
            s.focusGrid();
            auto& shown = place.show (s);
            EditorWindow::pump (40);
            const auto combos = visibleCombos (shown);

            if (index >= combos.size())
                break;

            // At its arrow: the text of a combo box that takes typing is a text field.
            auto& combo = *combos[index];
            SCOPED_TRACE (combo.getComponentID());
            s.window->click (combo, juce::Point<float> ((float) combo.getWidth() - 6.0f, (float) combo.getHeight() * 0.5f));
            ASSERT_TRUE (EditorWindow::pumpUntil ([] { return EditorWindow::isMenuOpen(); }, 2000));
            ++opened;
            s.closeWindow();
            s.playAndExpectNothingHangs();
            s.openWindow();
        }

        EXPECT_GT (opened, 0) << "no combo box found";
    }
}

} // namespace cadenzium::test
