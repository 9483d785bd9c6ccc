#include "Cadenzium2AudioProcessorEditor.h"

#include "ProcessorReads.h"

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <source/processor/state/SettingsTree.h>
#include <tarn/gui/Theme.h>
#include <tarn/gui/ThemeSelector.h>

namespace
{
/** Selects the song's colour scheme and hands the processor on. Components read the theme
    while they are built (their sizes, their colours), so the scheme is chosen before the
    first of them, the editor's own base included. */
Cadenzium2AudioProcessor& withColourSchemeSelected (Cadenzium2AudioProcessor& processor)
{
    const auto theme = processor.getSettings().getString (Cadenzium2AudioProcessorEditor::themeSettingKey, "Dark");
    tarn::ThemeSelector::getInstance()->setColourSchemeNumber (Cadenzium2AudioProcessorEditor::colourSchemeFor (theme));
    return processor;
}
} // namespace

Cadenzium2AudioProcessorEditor::Cadenzium2AudioProcessorEditor (Cadenzium2AudioProcessor& p)
    : brindlex::BrindlexEditor (withColourSchemeSelected (p), { Cadenzium2AudioProcessor::versionString, ParameterIds::enable }),
      cadenziumProcessor (p),
      phraseButtons (p),
      rowEditor (p),
      keyboard (p),
      heldChord (p),
      playbackSidebar (p),
      generationSidebar (
          p, [this] (consts::RegenerationMode target)
          { generate (target); },
          [this]
          { mutate(); }),
      editorSettingsNode (p.getEditorSettings())
{
    getSettingsDialog().addSetting ("GUI Theme", themeSettingKey, { "Classic", "Dark", "Light" }, "Dark");
    getSettingsDialog().setMakerThemeShown (false);
    getToastDisplay().keepClearOf (&keyboard);

    setComponentID ("cadenzium_editor");
    editedPhrase = juce::jlimit (0, Cadenzium2AudioProcessor::numPhrases - 1, p.getRequestedPhrase());

    for (auto* c : std::initializer_list<juce::Component*> { &phraseButtons, &toolBar, &rowEditor, &pianoRoll, &keyboard, &heldChord,
                                                             &sidebarTabs, &playbackSidebar, &generationSidebar })
        addAndMakeVisible (c);

    phraseButtons.addListener (this);
    phraseButtons.setEditedPhrase (editedPhrase);
    rowEditor.onRowCountChanged = [this]
    { updateRowGeometry(); };
    rowEditor.onScrollRequest = [this] (float pixels)
    { pianoRoll.setRowScroll (pianoRoll.getRowAxis().scrollY + (double) pixels); };
    pianoRoll.addListener (this);
    pianoRollConnection.setEditedPhrase (editedPhrase);
    cadenziumProcessor.getPhraseManager().getPlayer().addListener (this);
    wireCommands();

    {
        // A host restoring a state calls these listeners under this lock, on its own thread.
        const juce::ScopedLock sl (cadenziumProcessor.getPhraseManager().getStateLock());
        cadenziumProcessor.getPhraseManager().addListener (this);
        editorSettingsNode.addListener (this);
    }

    // The view settings of the song, then its window size within the limits.
    view = ViewSettings::read (ProcessorReads::editorSettings (cadenziumProcessor));
    applyViewSettings();

    setResizable (true, true);
    setResizeLimits (SettingsTree::minWindowWidth, SettingsTree::minWindowHeight,
                     SettingsTree::maxWindowWidth, SettingsTree::maxWindowHeight);
    setSize (view.width, view.height);
    restoring = false;

    refreshFromProcessor();
    startTimerHz (refreshRateHz);
}

Cadenzium2AudioProcessorEditor::~Cadenzium2AudioProcessorEditor()
{
    stopTimer();
    cancelPendingUpdate();

    {
        const juce::ScopedLock sl (cadenziumProcessor.getPhraseManager().getStateLock());
        cadenziumProcessor.getPhraseManager().removeListener (this);
        editorSettingsNode.removeListener (this);
    }

    phraseButtons.removeListener (this);
    pianoRoll.removeListener (this);
    cadenziumProcessor.getPhraseManager().getPlayer().removeListener (this);
}

void Cadenzium2AudioProcessorEditor::wireCommands()
{
    toolBar.newRow.onClick = [this]
    { newRow(); };
    toolBar.undo.onClick = [this]
    {
        cadenziumProcessor.getPhraseManager().undo();
        refreshFromProcessor();
    };
    toolBar.redo.onClick = [this]
    {
        cadenziumProcessor.getPhraseManager().redo();
        refreshFromProcessor();
    };
    toolBar.generate.onClick = [this]
    { generate (consts::RegenerationMode::phrase); };
    toolBar.mutate.onClick = [this]
    { mutate(); };
    toolBar.panic.onClick = [this]
    { cadenziumProcessor.requestPanic(); };
    toolBar.keyboardPreview.onClick = [this]
    { setKeyboardViewShown (! view.showKeyboard); };
    toolBar.sidebarToggle.onClick = [this]
    { setSidebarShown (! view.showSidebar); };

    // Import MIDI, Render MIDI and Load v1 Preset, with the render and bulk-convert overlays.
    fileCommands.attach (toolBar.importMidi, toolBar.renderMidi, toolBar.loadV1Preset);
    addOverlay (fileCommands.getRenderOverlay());
    addOverlay (fileCommands.getBulkImporterOverlay());

    sidebarTabs.onViewPicked = [this] (const juce::String& picked)
    { setSidebarView (picked); };

    playbackSidebar.getPanelStack().onCollapseStatesChanged = [this] (const juce::String& states)
    {
        view.playbackCollapseStates = states;
        writeViewSetting (ViewSettings::playbackCollapseId, states);
    };
    generationSidebar.getPanelStack().onCollapseStatesChanged = [this] (const juce::String& states)
    {
        view.generationCollapseStates = states;
        writeViewSetting (ViewSettings::generationCollapseId, states);
    };
}

//==============================================================================
void Cadenzium2AudioProcessorEditor::setEditedPhrase (int slot)
{
    editedPhrase = juce::jlimit (0, Cadenzium2AudioProcessor::numPhrases - 1, slot);
    phraseButtons.setEditedPhrase (editedPhrase);
    pianoRollConnection.setEditedPhrase (editedPhrase);
}

void Cadenzium2AudioProcessorEditor::phraseButtonClicked (int slot)
{
    setEditedPhrase (slot);
    cadenziumProcessor.requestPhrase (slot);
}

void Cadenzium2AudioProcessorEditor::setKeyboardViewShown (bool shouldShow)
{
    view.showKeyboard = shouldShow;
    writeViewSetting (ViewSettings::showKeyboardId, shouldShow);
    applyViewSettings();
}

void Cadenzium2AudioProcessorEditor::setSidebarShown (bool shouldShow)
{
    view.showSidebar = shouldShow;
    writeViewSetting (ViewSettings::showSidebarId, shouldShow);
    applyViewSettings();
}

void Cadenzium2AudioProcessorEditor::setSidebarView (const juce::String& sidebarView)
{
    view.sidebarView = sidebarView == ViewSettings::generationView ? ViewSettings::generationView : ViewSettings::playbackView;
    writeViewSetting (ViewSettings::sidebarViewId, view.sidebarView);
    applyViewSettings();
}

void Cadenzium2AudioProcessorEditor::writeViewSetting (const juce::Identifier& property, const juce::var& value)
{
    if (! restoring)
        cadenziumProcessor.setEditorSetting (property, value);
}

void Cadenzium2AudioProcessorEditor::applyViewSettings()
{
    toolBar.keyboardPreview.setToggleState (view.showKeyboard, juce::dontSendNotification);
    toolBar.sidebarToggle.setToggleState (view.showSidebar, juce::dontSendNotification);
    sidebarTabs.showView (view.sidebarView);
    playbackSidebar.getPanelStack().setCollapseStates (view.playbackCollapseStates);
    generationSidebar.getPanelStack().setCollapseStates (view.generationCollapseStates);

    // Components the view switches off are hidden, never destroyed.
    const auto generationShown = view.sidebarView == ViewSettings::generationView;
    keyboard.setVisible (view.showKeyboard);
    heldChord.setVisible (view.showKeyboard);
    sidebarTabs.setVisible (view.showSidebar);
    playbackSidebar.setVisible (view.showSidebar && ! generationShown);
    generationSidebar.setVisible (view.showSidebar && generationShown);

    resized();
}

//==============================================================================
void Cadenzium2AudioProcessorEditor::generate (consts::RegenerationMode target)
{
    commands.generatePhrase (editedPhrase, target);
    refreshFromProcessor();
}

void Cadenzium2AudioProcessorEditor::mutate()
{
    commands.mutatePhrase (editedPhrase, mutator, pianoRollConnection.getGrid());
    refreshFromProcessor();
}

void Cadenzium2AudioProcessorEditor::newRow()
{
    commands.newRow();
    rowEditor.refresh();
    refreshFromProcessor();
}

//==============================================================================
void Cadenzium2AudioProcessorEditor::sequenceManagerChanged (int, void*)
{
    triggerAsyncUpdate();
}

void Cadenzium2AudioProcessorEditor::sequenceNumberChanged (tarn::SwitchableSequencePlayer& player)
{
    // A keyswitch brings its phrase into the piano roll, as a click on its button would.
    setEditedPhrase (player.getCurrentIndex());
}

void Cadenzium2AudioProcessorEditor::valueTreePropertyChanged (juce::ValueTree&, const juce::Identifier&)
{
    triggerAsyncUpdate();
}

void Cadenzium2AudioProcessorEditor::handleAsyncUpdate()
{
    // A preset or the host may have brought other view settings; the window keeps its size.
    auto loaded = ViewSettings::read (ProcessorReads::editorSettings (cadenziumProcessor));
    loaded.width = view.width;
    loaded.height = view.height;

    if (loaded.showKeyboard != view.showKeyboard || loaded.showSidebar != view.showSidebar || loaded.sidebarView != view.sidebarView
        || loaded.playbackCollapseStates != view.playbackCollapseStates || loaded.generationCollapseStates != view.generationCollapseStates)
    {
        view = loaded;
        applyViewSettings();
    }

    phraseButtons.phrasesChanged();
    refreshFromProcessor();
}

void Cadenzium2AudioProcessorEditor::timerCallback()
{
    refreshFromProcessor();
}

void Cadenzium2AudioProcessorEditor::refreshFromProcessor()
{
    const auto readout = PlaybackReadout::read (cadenziumProcessor);

    auto& phrases = cadenziumProcessor.getPhraseManager();
    toolBar.showUndoState (phrases.canUndo(), phrases.getUndoTooltip(), phrases.canRedo(), phrases.getRedoTooltip());

    phraseButtons.refresh();
    rowEditor.setSoundingRows (readout.soundingRows);
    rowEditor.setHeldChord (cadenziumProcessor.getHeldNotesSnapshot(), cadenziumProcessor.getIntParameterValue (ParameterIds::inputFill) != 0);
    keyboard.refresh();
    heldChord.refresh();
    playbackSidebar.refresh();
}

//==============================================================================
int Cadenzium2AudioProcessorEditor::colourSchemeFor (const juce::String& themeName)
{
    if (themeName == "Classic")
        return 3;

    if (themeName == "Light")
        return 5;

    return 4;
}

void Cadenzium2AudioProcessorEditor::settingsChanged (brindlex::BrindlexSettings& settings)
{
    tarn::ThemeSelector::getInstance()->setColourSchemeNumber (colourSchemeFor (settings.getString (themeSettingKey, "Dark")));
}

void Cadenzium2AudioProcessorEditor::windowSizeChanged (int width, int height)
{
    // Opening the window is not a change to the song.
    if (restoring)
        return;

    view.width = width;
    view.height = height;
    cadenziumProcessor.setEditorSetting (SettingsTree::windowWidthId, width);
    cadenziumProcessor.setEditorSetting (SettingsTree::windowHeightId, height);
}

void Cadenzium2AudioProcessorEditor::layoutMainArea (juce::Rectangle<int> area)
{
    const auto gap = juce::roundToInt (tarn::themeMetric (*this, "panelPadding", 20.0f) / 4.0f);
    const auto stripHeight = juce::roundToInt (tarn::themeMetric (*this, "topBarButtonHeight", 30.0f)) + 2 * gap;
    const auto sidebarWidth = juce::roundToInt (tarn::themeMetric (*this, "sidebarWidth", 240.0f));
    const auto keyboardHeight = juce::roundToInt (tarn::themeMetric (*this, "topBarHeight", 50.0f) * 1.4f);

    if (view.showSidebar)
    {
        auto side = area.removeFromRight (sidebarWidth);
        area.removeFromRight (juce::roundToInt (tarn::themeMetric (*this, "sidebarGap", 0.0f)));
        sidebarTabs.setBounds (side.removeFromTop (stripHeight));
        playbackSidebar.setBounds (side);
        generationSidebar.setBounds (side);
    }

    phraseButtons.setBounds (area.removeFromTop (stripHeight).reduced (gap));
    toolBar.setBounds (area.removeFromTop (stripHeight).reduced (gap));

    // In a small window the rows column gives some of its width to the piano roll.
    const auto rowsWidth = juce::jlimit (sidebarWidth / 2, sidebarWidth * 3 / 4, area.reduced (gap, 0).getWidth() / 5);
    const auto gridGap = juce::roundToInt (tarn::themeMetric (*this, "pianoRollLeftGap", 10.0f));

    // The keyboard stands under the grid; the held chord's name under the rows column.
    if (view.showKeyboard)
    {
        auto strip = area.removeFromBottom (keyboardHeight).reduced (gap, 0).withTrimmedBottom (gap);
        heldChord.setBounds (strip.removeFromLeft (rowsWidth));
        strip.removeFromLeft (gridGap);
        keyboard.setBounds (strip);
    }

    auto content = area.reduced (gap, 0).withTrimmedBottom (gap);
    rowsColumn = content.removeFromLeft (rowsWidth);
    content.removeFromLeft (gridGap);
    pianoRoll.setBounds (content);

    updateRowGeometry();
}

void Cadenzium2AudioProcessorEditor::updateRowGeometry()
{
    // The rows column stands beside the note grid, as tall as it, and shares its lines: the
    // same row height and scroll, row 0 at the bottom.
    const auto grid = pianoRoll.getGridBounds().translated (pianoRoll.getX(), pianoRoll.getY());
    rowEditor.setBounds (rowsColumn.getX(), grid.getY(), rowsColumn.getWidth(), grid.getHeight());

    const auto& axis = pianoRoll.getRowAxis();
    RowGeometry geometry;
    geometry.rowHeight = (float) axis.rowHeight;
    geometry.scrollY = (float) axis.scrollY;
    geometry.gridTop = (float) axis.stackTop;
    geometry.firstRowAtBottom = true;
    rowEditor.setGeometry (geometry);
}
