#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** "Drag MIDI": dragging it out of the window drags the rendered MIDI file into the host
    (the desktop's file drag and drop, so a host's timeline or a file manager can take it).

    At the start of the drag the owner writes the file (prepareFile); the file is offered
    as its URI. A file that cannot be written or a drag the desktop refuses ends in
    onFailure with "The MIDI drag could not be started.". [message thread] */
class MidiRenderDragButton : public juce::TextButton
{
public:
    static constexpr const char* failureMessage = "The MIDI drag could not be started.";

    MidiRenderDragButton();
    ~MidiRenderDragButton() override;

    /** Writes the file to drag and names it in `written`. */
    std::function<juce::Result (juce::File& written)> prepareFile;

    std::function<void (const juce::String& message)> onFailure;

    /** Whether a drag started here is still going on. */
    bool isDragging() const noexcept { return dragging; }

    /** The file of the last drag started. */
    const juce::File& getDraggedFile() const noexcept { return draggedFile; }

    /** What the drag offers for a file: its "file://" URI, with the characters a URI may
        not hold (the blanks in "Cadenzium 2 Render.mid") escaped. */
    static juce::String toUri (const juce::File& file);

    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;

private:
    /** Must run inside a mouse press or drag on this button. */
    bool startFileDrag();
    void fail();

    bool dragging = false, dragTriedThisPress = false;
    juce::File draggedFile;

    JUCE_DECLARE_WEAK_REFERENCEABLE (MidiRenderDragButton)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiRenderDragButton)
};
