#pragma once

#include <tarn/gui/widgets/CommandButton.h>
#include <tarn/gui/widgets/FileDropButton.h>
#include <tarn/gui/widgets/IconButton.h>

/** The window's command strip: New Row, Undo, Redo, Generate and Mutate on the left; the
    "Import" group (Import MIDI, Load v1 Preset), Render, the "View" group (keyboard view,
    sidebar) and Panic on the right. Render and Panic are named on the button; the Import
    buttons too while the strip has the room. The buttons call the editor back through their
    onClick; the Import group also takes files dropped on it (the editor's FileCommands wire
    it). Undo and Redo show what they would do. [message thread] */
class EditorToolBar : public juce::Component
{
public:
    EditorToolBar();
    ~EditorToolBar() override;

    tarn::CommandButton newRow, generate, mutate;
    tarn::IconButton undo, redo;
    tarn::FileDropButton importMidi, renderMidi, loadV1Preset;
    tarn::IconButton keyboardPreview, sidebarToggle, panic;

    /** Enables Undo and Redo only while there is a step, and names the step in the tooltip. */
    void showUndoState (bool canUndo, const juce::String& undoTooltip, bool canRedo, const juce::String& redoTooltip);

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    int getButtonSize() const;
    int widthOf (const tarn::IconButton& button, int size, bool named) const;
    juce::Rectangle<int> importCaption, viewCaption;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EditorToolBar)
};
