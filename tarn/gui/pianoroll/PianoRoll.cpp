#include "PianoRoll.h"

#include "ControllerLaneMenu.h"
#include <tarn/gui/overlays/PopupMenus.h>
#include "PianoRollMetrics.h"
#include "PianoRollTheme.h"

#include <tarn/sequence/notegrid/PhraseLength.h>

namespace tarn
{
namespace
{
    PopupKind laneMenuKind { "controller lane menu" };
} // namespace


PianoRoll::PianoRoll()
{
    setComponentID ("piano_roll");
    document.addListener (this);
    view.addListener (this);
    document.onCommit = [this] (const Sequence& edited)
    {
        tellListeners ([&edited] (Listener& l)
                       { l.pianoRollPhraseEdited (edited); });
    };

    addAndMakeVisible (toolBar);
    addAndMakeVisible (ruler);
    addAndMakeVisible (noteEditor);
    addAndMakeVisible (laneBar);
    addAndMakeVisible (velocityEditor);
    addChildComponent (curveEditor);

    for (auto* bar : { &horizontalScrollBar, &verticalScrollBar })
    {
        bar->setAutoHide (true); // nothing to scroll, no bar
        bar->addListener (this);
        addAndMakeVisible (bar);
    }

    toolBar.onToolChosen = [this] (NoteTool tool)
    { noteEditor.setTool (tool); };
    toolBar.onGridChosen = [this] (const GridSize& grid)
    {
        setGrid (grid);
        tellListeners ([&grid] (Listener& l)
                       { l.pianoRollGridChanged (grid); });
    };

    noteEditor.onGridChanged = [this] (const GridSize& grid)
    {
        setGrid (grid);
        tellListeners ([&grid] (Listener& l)
                       { l.pianoRollGridChanged (grid); });
    };
    noteEditor.onUndo = [this]
    { tellListeners ([] (Listener& l)
                     { l.pianoRollUndoRequested(); }); };
    noteEditor.onRedo = [this]
    { tellListeners ([] (Listener& l)
                     { l.pianoRollRedoRequested(); }); };

    velocityEditor.onRangeModeChanged = [this] (ValueEditorMode mode, bool isOn)
    { tellListeners ([mode, isOn] (Listener& l)
                     { l.pianoRollRangeModeChanged (mode, isOn); }); };

    laneBar.onShownChanged = [this] (ControllerLaneBar::Shown shown)
    { showUnderGrid (shown); };
    laneBar.onCurveToolChosen = [this] (CurveEditor::Tool tool)
    { curveEditor.setTool (tool); };
    laneBar.onAddLane = [this]
    { tellListeners ([] (Listener& l)
                     { l.pianoRollLaneAddRequested(); }); };
    laneBar.onLaneRenamed = [this] (int lane, const juce::String& name)
    { tellListeners ([lane, &name] (Listener& l)
                     { l.pianoRollLaneRenamed (lane, name); }); };
    laneBar.onLaneMenuRequested = [this] (int lane)
    {
        if (auto* button = laneBar.getLaneButton (lane))
            showMenu (laneMenuKind, *button, createLaneMenu (lane), {}, [this, lane] (int result)
                                  { performLaneMenuCommand (lane, result); });
    };

    auto& controls = toolBar.getPhraseControls();
    controls.onLengthPreview = [this] (int ticks)
    {
        auto changed = document.getCommittedPhrase();
        changed.setLength (ticks);
        changed.normalise();
        document.showPreview (changed, document.getSelection());
    };
    controls.onLengthChosen = [this] (int ticks)
    {
        auto changed = document.getCommittedPhrase();
        changed.setLength (ticks);
        changed.normalise();
        document.commit (changed, document.getSelection());
    };
    controls.onTimeSignatureChosen = [this] (int numerator, int denominator)
    {
        // One step: the signature, and the same number of bars in it.
        auto changed = document.getCommittedPhrase();
        changed.setLength (lengthInTimeSignature (changed.getLength(), changed.timeSignatureNumerator, changed.timeSignatureDenominator,
                                                  numerator, denominator));
        changed.timeSignatureNumerator = numerator;
        changed.timeSignatureDenominator = denominator;
        changed.normalise();
        document.commit (changed, document.getSelection());
    };
    controls.onLoopCountChosen = [this] (int loopCount)
    {
        auto changed = document.getCommittedPhrase();
        changed.loopCount = loopCount;
        document.commit (changed, document.getSelection());
    };

    installCommands();
    updatePhraseControls();
    lookAndFeelChanged();
}

PianoRoll::~PianoRoll()
{
    view.removeListener (this);
    document.removeListener (this);
}

//==============================================================================
void PianoRoll::installCommands()
{
    noteEditor.onHalfSpeed = [this]
    { commitTransformation (SequenceEditing::halfSpeed (document.getCommittedPhrase(), document.getSelection())); };
    noteEditor.onDoubleSpeed = [this]
    { commitTransformation (SequenceEditing::doubleSpeed (document.getCommittedPhrase(), document.getSelection())); };
    noteEditor.onLegato = [this]
    { commitTransformation (SequenceEditing::legato (document.getCommittedPhrase(), document.getSelection())); };
    noteEditor.onSnapToGrid = [this]
    { commitTransformation (SequenceEditing::snapToGrid (document.getCommittedPhrase(), document.getSelection(), noteEditor.getGrid())); };
}

void PianoRoll::commitTransformation (const SequenceEdit& edit)
{
    if (edit.shouldPlayAlert())
        getLookAndFeel().playAlertSound();

    document.commit (edit);
}

//==============================================================================
void PianoRoll::setPhrase (const Sequence& phrase, bool isAnotherPhrase)
{
    document.setPhrase (phrase, isAnotherPhrase);
    updatePhraseControls();
}

void PianoRoll::setRows (const std::vector<PianoRollRow>& rows)
{
    noteEditor.setRows (rows);
}

void PianoRoll::setPlayback (const PlaybackSnapshot& playback)
{
    noteEditor.setPlayback (playback);
    ruler.setPlayhead (playback.playheadTick);
}

void PianoRoll::setGrid (const GridSize& grid)
{
    noteEditor.setGrid (grid);
    curveEditor.setGrid (grid);
    toolBar.setGrid (grid);
}

void PianoRoll::setRangeMode (ValueEditorMode mode, bool isOn)
{
    velocityEditor.setRangeMode (mode, isOn);
}

void PianoRoll::setTool (NoteTool tool)
{
    noteEditor.setTool (tool);
    toolBar.setTool (tool);
}

void PianoRoll::setRowScroll (double scrollY)
{
    view.scrollRowsTo (scrollY);
}

juce::Rectangle<int> PianoRoll::getGridBounds() const
{
    return noteEditor.getBounds();
}

//==============================================================================
void PianoRoll::phraseChanged (const Sequence& before)
{
    const auto& phrase = document.getPhrase();

    if (before.lanes.size() != phrase.lanes.size() || before.lanes != phrase.lanes)
    {
        juce::StringArray names;

        for (const auto& lane : phrase.lanes)
            names.add (lane.getDisplayName());

        laneBar.setLaneNames (names);
    }

    ruler.setTimeSignature (phrase.timeSignatureNumerator, phrase.timeSignatureDenominator);

    if (! document.isPreviewing())
        updatePhraseControls();
}

void PianoRoll::phraseReplaced()
{
    // A length dragged or typed for the old phrase must not land on the new one.
    toolBar.getPhraseControls().getLengthBox().cancelGesture();
}

void PianoRoll::updatePhraseControls()
{
    toolBar.getPhraseControls().showPhrase (document.getPhrase());
    ruler.setTimeSignature (document.getPhrase().timeSignatureNumerator, document.getPhrase().timeSignatureDenominator);
    view.setPhraseLength (document.getPhrase().getLength(), document.getPhrase().getContentEnd());
}

void PianoRoll::showUnderGrid (ControllerLaneBar::Shown shown)
{
    if (const auto* mode = std::get_if<ValueEditorMode> (&shown))
    {
        velocityEditor.setMode (*mode);
        velocityEditor.setVisible (true);
        curveEditor.setVisible (false);
        return;
    }

    curveEditor.setLane (std::get<int> (shown));
    curveEditor.setVisible (true);
    velocityEditor.setVisible (false);
}

juce::PopupMenu PianoRoll::createLaneMenu (int lane) const
{
    return ControllerLaneMenu::create (document.getPhrase().lanes, lane);
}

void PianoRoll::performLaneMenuCommand (int lane, int result)
{
    const auto& lanes = document.getCommittedPhrase().lanes;
    const auto choice = ControllerLaneMenu::decode (result, lanes, lane);

    if (const auto* set = std::get_if<ControllerLaneMenu::SetController> (&choice))
    {
        tellListeners ([lane, set] (Listener& l)
                       { l.pianoRollLaneTypeChosen (lane, set->type, set->number, set->channel); });
    }
    else if (std::holds_alternative<ControllerLaneMenu::Delete> (choice))
    {
        tellListeners ([lane] (Listener& l)
                       { l.pianoRollLaneDeleteRequested (lane); });
    }
    else if (std::holds_alternative<ControllerLaneMenu::Rename> (choice))
    {
        if (auto* button = laneBar.getLaneButton (lane))
            button->startRenaming();
    }
    else if (std::holds_alternative<ControllerLaneMenu::SendMidiLearn> (choice))
    {
        const auto& source = lanes[(size_t) lane];
        const auto channel = juce::jlimit (1, 16, source.channel), number = juce::jlimit (0, 127, source.number);
        tellListeners ([channel, number] (Listener& l)
                       { l.pianoRollMidiLearnRequested (channel, number, 64); });
    }
    else if (const auto* copy = std::get_if<ControllerLaneMenu::CopyTo> (&choice))
    {
        auto changed = document.getCommittedPhrase();
        changed.lanes[(size_t) copy->lane] = ControllerLaneMenu::withPointsOf (changed.lanes[(size_t) copy->lane], changed.lanes[(size_t) lane]);
        changed.normalise();
        document.commit (changed, document.getSelection());
    }
}

//==============================================================================
void PianoRoll::timeAxisChanged()
{
    updateScrollBars();
}

void PianoRoll::rowAxisChanged()
{
    updateScrollBars();
    tellListeners ([] (Listener& l)
                   { l.pianoRollRowLayoutChanged(); });
}

void PianoRoll::updateScrollBars()
{
    const auto& time = view.getTimeAxis();
    horizontalScrollBar.setRangeLimits (0.0, std::max ((double) view.getScrollExtent(), time.visibleTicks), juce::dontSendNotification);
    horizontalScrollBar.setCurrentRange (time.firstTick, time.visibleTicks, juce::dontSendNotification);

    const auto& rows = view.getRowAxis();
    verticalScrollBar.setRangeLimits (0.0, std::max (rows.totalHeight(), view.getViewHeight()), juce::dontSendNotification);
    verticalScrollBar.setCurrentRange (rows.scrollY, view.getViewHeight(), juce::dontSendNotification);
}

void PianoRoll::scrollBarMoved (juce::ScrollBar* bar, double newRangeStart)
{
    if (bar == &horizontalScrollBar)
        view.scrollTimeTo (newRangeStart);
    else
        view.scrollRowsTo (newRangeStart);
}

//==============================================================================
void PianoRoll::lookAndFeelChanged()
{
    for (auto* bar : { &horizontalScrollBar, &verticalScrollBar })
    {
        bar->setColour (juce::ScrollBar::thumbColourId, themeColour (*this, "scrollbar.thumb"));
        bar->setColour (juce::ScrollBar::trackColourId, themeColour (*this, "background.background"));
    }
}

void PianoRoll::paint (juce::Graphics& g)
{
    g.fillAll (themeColour (*this, "background.background"));
}

void PianoRoll::setReadOnly (bool shouldBeReadOnly)
{
    readOnly = shouldBeReadOnly;

    for (auto* editing : std::initializer_list<juce::Component*> { &toolBar, &laneBar })
        editing->setVisible (! readOnly);

    if (readOnly)
    {
        velocityEditor.setVisible (false);
        curveEditor.setVisible (false);
    }
    else
    {
        showUnderGrid (laneBar.getShown());
    }

    // Wheel events over a grid that takes no clicks come to this component instead.
    noteEditor.setInterceptsMouseClicks (! readOnly, ! readOnly);
    ruler.setInterceptsMouseClicks (! readOnly, ! readOnly);
    resized();
}

void PianoRoll::mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel)
{
    if (readOnly && noteEditor.getBounds().contains (e.getPosition()))
        noteEditor.mouseWheelMove (e.getEventRelativeTo (&noteEditor), wheel);
    else
        juce::Component::mouseWheelMove (e, wheel);
}

void PianoRoll::resized()
{
    using namespace PianoRollMetrics;
    auto bounds = getLocalBounds();

    toolBar.setBounds (readOnly ? juce::Rectangle<int>() : bounds.removeFromTop (toolBarHeight));

    const auto valueHeight = std::max (valueEditorHeight, juce::roundToInt ((float) getHeight() * valueEditorShare));
    auto under = readOnly ? juce::Rectangle<int>() : bounds.removeFromBottom (valueHeight);
    laneBar.setBounds (readOnly ? juce::Rectangle<int>() : bounds.removeFromBottom (laneBarHeight));
    auto horizontal = bounds.removeFromBottom (scrollBarThickness);
    auto ruled = bounds.removeFromTop (rulerHeight);

    // Everything drawn against time shares the grid's width and left edge.
    verticalScrollBar.setBounds (bounds.removeFromRight (scrollBarThickness));
    ruler.setBounds (ruled.withWidth (bounds.getWidth()));
    noteEditor.setBounds (bounds);
    horizontalScrollBar.setBounds (horizontal.withWidth (bounds.getWidth()));
    under.setWidth (bounds.getWidth());
    velocityEditor.setBounds (under);
    curveEditor.setBounds (under);

    updateScrollBars();
    tellListeners ([] (Listener& l)
                   { l.pianoRollRowLayoutChanged(); });
}

} // namespace tarn
