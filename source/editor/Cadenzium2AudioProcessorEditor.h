#pragma once

#include "PlaybackReadout.h"
#include "ViewSettings.h"
#include "filecommands/FileCommands.h"
#include "panels/EditorToolBar.h"
#include "panels/GenerationSidebar.h"
#include "panels/PlaybackSidebar.h"
#include "pianoroll/PianoRollConnection.h"
#include "widgets/CadenziumKeyboard.h"
#include "widgets/CadenziumRowEditor.h"
#include "widgets/PhraseButtons.h"
#include "widgets/HeldChordDisplay.h"
#include "widgets/SidebarTabs.h"

#include <brindlex/gui/BrindlexEditor.h>
#include <source/commands/EditCommands.h>
#include <source/generation/PhraseMutator.h>

class Cadenzium2AudioProcessor;

/** The plug-in window. Under the top bar: the phrase buttons and the command strip; the
    rows column beside the piano roll, the keyboard view below them; the playback or the
    generation sidebar at the right.

    It shows what the processor holds and changes it only through its undoable commands and
    thread-safe setters. What the audio thread does (sounding rows and notes) it reads on its
    timer, and a switch of the playing phrase reaches it on the message thread; what a host
    may change from its own thread (phrases, rows, view settings) reaches it through
    asynchronous updates. The view settings travel with the
    song: they are restored when the window opens and written (pinging the host) when they
    change.

    All members: [message thread].
*/
class Cadenzium2AudioProcessorEditor : public brindlex::BrindlexEditor
    , private PhraseButtons::Listener
    , private tarn::PianoRoll::Listener
    , private tarn::AdvancedSequenceManager::Listener
    , private tarn::SwitchableSequencePlayer::Listener
    , private juce::ValueTree::Listener
    , private juce::AsyncUpdater
    , private juce::Timer
{
public:
    static constexpr int defaultWidth = ViewSettings::defaultWidth, defaultHeight = ViewSettings::defaultHeight;
    static constexpr int refreshRateHz = 30;

    /** The settings key of the product's colour scheme, and its choices. */
    static constexpr const char* themeSettingKey = "cadenzium_gui_theme";

    explicit Cadenzium2AudioProcessorEditor (Cadenzium2AudioProcessor& processor);
    ~Cadenzium2AudioProcessorEditor() override;

    /** "Classic" → 3, "Light" → 5, anything else → 4 (Dark). */
    static int colourSchemeFor (const juce::String& themeName);

    //==============================================================================
    /** The phrase the piano roll shows and the commands act on. */
    int getEditedPhrase() const noexcept { return editedPhrase; }
    void setEditedPhrase (int slot);

    void setKeyboardViewShown (bool shouldShow);
    bool isKeyboardViewShown() const noexcept { return view.showKeyboard; }

    void setSidebarShown (bool shouldShow);
    bool isSidebarShown() const noexcept { return view.showSidebar; }

    /** "playback" or "generation". */
    void setSidebarView (const juce::String& sidebarView);
    const juce::String& getSidebarView() const noexcept { return view.sidebarView; }

    //==============================================================================
    // Commands, each one undo step when it changed anything.
    void generate (consts::RegenerationMode target);
    void mutate();
    void newRow();

    //==============================================================================
    PhraseButtons& getPhraseButtons() noexcept { return phraseButtons; }
    CadenziumRowEditor& getRowEditor() noexcept { return rowEditor; }
    CadenziumKeyboard& getKeyboard() noexcept { return keyboard; }
    HeldChordDisplay& getHeldChordDisplay() noexcept { return heldChord; }
    tarn::PianoRoll& getPianoRoll() noexcept { return pianoRoll; }
    EditorToolBar& getToolBar() noexcept { return toolBar; }
    PlaybackSidebar& getPlaybackSidebar() noexcept { return playbackSidebar; }
    GenerationSidebar& getGenerationSidebar() noexcept { return generationSidebar; }
    FileCommands& getFileCommands() noexcept { return fileCommands; }
    SidebarTabs& getSidebarTabs() noexcept { return sidebarTabs; }

    /** What the timer does, now. */
    void refreshFromProcessor();

protected:
    void layoutMainArea (juce::Rectangle<int> area) override;
    void settingsChanged (brindlex::BrindlexSettings& settings) override;
    void windowSizeChanged (int width, int height) override;

private:
    // PhraseButtons::Listener
    void phraseButtonClicked (int slot) override;
    void editedPhraseMoved (int slot) override { setEditedPhrase (slot); }

    // The piano roll's rows moved (scroll, zoom, layout): the rows column follows.
    void pianoRollPhraseEdited (const tarn::Sequence&) override {}
    void pianoRollRowLayoutChanged() override { updateRowGeometry(); }

    // The phrase manager, on the thread that replaced a phrase.
    void sequenceManagerChanged (int slot, void* source) override;

    // The playing phrase changed (a keyswitch, a request): the piano roll shows it.
    void sequenceNumberChanged (tarn::SwitchableSequencePlayer& player) override;

    // The editor-settings node, on the thread that changed it (a host's while it restores).
    void valueTreePropertyChanged (juce::ValueTree& tree, const juce::Identifier& property) override;

    void handleAsyncUpdate() override;
    void timerCallback() override;

    void applyViewSettings();
    void writeViewSetting (const juce::Identifier& property, const juce::var& value);
    void updateRowGeometry();
    void wireCommands();

    Cadenzium2AudioProcessor& cadenziumProcessor;
    EditCommands commands { cadenziumProcessor };
    PhraseMutator mutator;

    PhraseButtons phraseButtons;
    EditorToolBar toolBar;
    CadenziumRowEditor rowEditor;
    tarn::PianoRoll pianoRoll;
    PianoRollConnection pianoRollConnection { cadenziumProcessor, pianoRoll };
    CadenziumKeyboard keyboard;
    HeldChordDisplay heldChord;
    SidebarTabs sidebarTabs;
    PlaybackSidebar playbackSidebar;
    GenerationSidebar generationSidebar;
    FileCommands fileCommands { cadenziumProcessor, *this, [this] { return editedPhrase; } };

    juce::ValueTree editorSettingsNode;
    ViewSettings view;
    juce::Rectangle<int> rowsColumn;
    int editedPhrase = 0;
    bool restoring = true;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Cadenzium2AudioProcessorEditor)
};
