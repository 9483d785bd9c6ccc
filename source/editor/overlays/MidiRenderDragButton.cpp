#include "MidiRenderDragButton.h"

#include <tarn/gui/overlays/PopupKind.h>

namespace
{
tarn::PopupKind renderDragKind { "rendered MIDI drag" };
} // namespace

MidiRenderDragButton::MidiRenderDragButton()
    : juce::TextButton ("Drag MIDI")
{
    setComponentID ("render_drag");
    setTooltip ("Drag MIDI: Drag the rendered MIDI into your DAW");
    setMouseCursor (juce::MouseCursor::DraggingHandCursor);
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
}

MidiRenderDragButton::~MidiRenderDragButton() = default;

juce::String MidiRenderDragButton::toUri (const juce::File& file)
{
    return juce::URL (file).toString (false);
}

void MidiRenderDragButton::mouseDown (const juce::MouseEvent& e)
{
    dragTriedThisPress = false;
    juce::TextButton::mouseDown (e);
}

void MidiRenderDragButton::mouseDrag (const juce::MouseEvent& e)
{
    juce::TextButton::mouseDrag (e);

    // One attempt per press, once the pointer has clearly moved.
    if (dragTriedThisPress || dragging || e.getDistanceFromDragStart() < 4 || ! e.mods.isLeftButtonDown())
        return;

    dragTriedThisPress = true;

    if (! startFileDrag())
        fail();
}

bool MidiRenderDragButton::startFileDrag()
{
    juce::File file;

    if (prepareFile == nullptr || prepareFile (file).failed() || ! file.existsAsFile())
        return false;

    // The framework passes a path with "://" in it on as it is: the escaped URI then reaches
    // the host in the form a text/uri-list must have.
    const juce::WeakReference<MidiRenderDragButton> weakThis (this);
    dragging = juce::DragAndDropContainer::performExternalDragDropOfFiles ({ toUri (file) }, false, this, [weakThis]
                                                                           {
                                                                               if (weakThis != nullptr)
                                                                                   weakThis->dragging = false;
                                                                           });

    if (dragging)
    {
        draggedFile = file;
        renderDragKind.shown();
    }

    return dragging;
}

void MidiRenderDragButton::fail()
{
    if (onFailure != nullptr)
        onFailure (failureMessage);
}
