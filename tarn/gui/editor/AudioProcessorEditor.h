#pragma once

#include "HostKeyboardFocus.h"

#include <tarn/gui/TarnLibLookAndFeel.h>
#include <tarn/gui/overlays/ToastDisplay.h>

#include <juce_audio_processors/juce_audio_processors.h>

namespace tarn
{

/** The library's editor: a themed window that scales, shows tooltips and the processor's
    toasts, and follows the process's colour scheme.

    Its scale is the user's scale × the host's scale factor. The user's scale is used only
    within 0.5..2.0 (anything else, 0 or a typo in a settings file, counts as 1.0), and a
    host factor that is not positive keeps the last one, so the window can never become
    unusably small or impossibly large.

    Controls other than text fields never take the keyboard focus, so a host's shortcuts
    keep working while the mouse is over the window.

    Derived editors lay their content out in layoutContent(); overlays added with
    addOverlay() stay above it. [message thread] */
class AudioProcessorEditor : public juce::AudioProcessorEditor
    , private juce::ChangeListener
{
public:
    static constexpr float minUserScale = 0.5f, maxUserScale = 2.0f;

    /** User scale × host scale is kept within these. */
    static constexpr float minEffectiveScale = 0.25f, maxEffectiveScale = 4.0f;

    AudioProcessorEditor (juce::AudioProcessor& owner, ToastManager& toasts);
    ~AudioProcessorEditor() override;

    /** The user's scale ("scale" in the settings); out of range counts as 1.0. */
    void setUserScale (double scale);
    float getUserScale() const noexcept { return userScale; }

    /** The host's scale factor; a factor that is not positive keeps the last one. */
    void setScaleFactor (float newHostScale) override;
    float getHostScale() const noexcept { return hostScale; }

    /** User scale × host scale (within 0.25..4): how many screen pixels one editor pixel takes. */
    float getEffectiveScale() const noexcept { return juce::jlimit (minEffectiveScale, maxEffectiveScale, userScale * hostScale); }

    /** The user scale a stored value stands for. */
    static float sanitiseUserScale (double scale) noexcept;

    TarnLibLookAndFeel& getTarnLookAndFeel() noexcept { return lookAndFeel; }
    ToastDisplay& getToastDisplay() noexcept { return toastDisplay; }

    void resized() final;

    /** Stops every component under `root` but text fields (and components that ask for
        it with the "tarn_keyboard_focus" property) from taking the keyboard focus. */
    static void keepKeyboardFocusForTextFields (juce::Component& root);

    /** Tab moves through the controls as usual, but the window names no control to focus
        (the editor is its own focus container, so the host's window does not look inside
        either): when the window gets the keyboard (opening, the host handing it over) no
        combo box or text field takes it, and a table that took it on a click keeps it. */
    std::unique_ptr<juce::ComponentTraverser> createKeyboardFocusTraverser() override;

protected:
    /** Lay out the editor's content in its whole area. */
    virtual void layoutContent (juce::Rectangle<int> area) = 0;

    /** The window's size changed (after a resize by the user or the host). */
    virtual void windowSizeChanged (int width, int height) { juce::ignoreUnused (width, height); }

    /** The colour scheme changed; the look-and-feel has the new theme already. */
    virtual void colourSchemeChanged() {}

    /** Adds a component that stays above the content, covering the whole editor. */
    void addOverlay (juce::Component& overlay);

    /** Puts the overlays (and the toasts above them) back on top, after content was
        brought to the front. */
    void raiseOverlays();

private:
    /** The tooltip panel. The framework shows tips only while its own window is the active
        one, which an editor embedded in a host (that keeps the keyboard) never is. */
    class TooltipPanel : public juce::TooltipWindow
    {
    public:
        explicit TooltipPanel (juce::Component* parent) : juce::TooltipWindow (parent, 700) {}
        juce::String getTipFor (juce::Component& component) override;
        void visibilityChanged() override;
    };

    /** Hands the keyboard back to the host after clicks that leave no text field in focus. */
    class KeyboardReturner : public juce::MouseListener
    {
    public:
        explicit KeyboardReturner (AudioProcessorEditor& editorToWatch) : editor (editorToWatch) {}
        void mouseUp (const juce::MouseEvent& e) override;

    private:
        static void returnWhenDone (juce::Component::SafePointer<AudioProcessorEditor> editor,
                                    juce::Component::SafePointer<juce::Component> clicked,
                                    int attempt);

        AudioProcessorEditor& editor;
    };

    void changeListenerCallback (juce::ChangeBroadcaster* source) override;
    void applyScale();

    TarnLibLookAndFeel lookAndFeel;
    TooltipPanel tooltipWindow { this };
    ToastDisplay toastDisplay;
    std::vector<juce::Component*> overlays;
    HostKeyboardFocus hostKeyboardFocus;
    KeyboardReturner keyboardReturner { *this };
    float userScale = 1.0f, hostScale = 1.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AudioProcessorEditor)
};

} // namespace tarn
