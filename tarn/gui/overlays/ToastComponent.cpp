#include "ToastComponent.h"

#include <tarn/gui/Theme.h>

namespace tarn
{
namespace
{
    std::atomic<float> displayTimeScale { 1.0f };
    constexpr int textPadding = 12;
} // namespace

ToastComponent::ToastComponent (const Toast& toastToShow, std::function<void (juce::uint32)> finished)
    : toast (toastToShow),
      onFinished (std::move (finished))
{
    setComponentID (toast.isError() ? "toast_error" : "toast");
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
    setTitle (toast.text);
    startTimer (getDisplayTime (toast));
}

ToastComponent::~ToastComponent() = default;

int ToastComponent::getDisplayTime (const Toast& shown)
{
    // Enough to read it: a base, a little per character, more for errors.
    const auto milliseconds = 2500 + 45 * shown.text.length() + (shown.isError() ? 2000 : 0);
    return juce::jmax (1, juce::roundToInt ((float) juce::jmin (milliseconds, 12000) * displayTimeScale.load()));
}

void ToastComponent::setDisplayTimeScale (float scale)
{
    displayTimeScale = juce::jmax (0.0f, scale);
}

juce::String ToastComponent::getShownText() const
{
    return toast.count > 1 ? toast.text + juce::String::fromUTF8 ("  \xc3\x97") + juce::String (toast.count) : toast.text;
}

juce::Font ToastComponent::getFont() const
{
    return themeFont (*this);
}

int ToastComponent::getHeightForWidth (int width) const
{
    juce::AttributedString text;
    text.append (getShownText(), getFont());
    text.setWordWrap (juce::AttributedString::byWord);

    juce::TextLayout layout;
    layout.createLayout (text, (float) juce::jmax (1, width - textPadding * 2));
    return (int) std::ceil (layout.getHeight()) + textPadding;
}

void ToastComponent::paint (juce::Graphics& g)
{
    const auto bounds = getLocalBounds().toFloat();
    const auto corner = themeMetric (*this, "cornerRadius", 2.5f);

    // The toast's colour on an opaque plate of the window's own, so whatever lies beneath
    // (keys, notes) never shows through the words.
    g.setColour (themeColour (*this, "background.background"));
    g.fillRoundedRectangle (bounds, corner);
    g.setColour (juce::Colour (areaColour));
    g.fillRoundedRectangle (bounds, corner);

    if (toast.isError())
    {
        g.setColour (themeColour (*this, "theme.warning"));
        g.fillRoundedRectangle (bounds.withWidth (4.0f), 2.0f);
    }

    juce::AttributedString text;
    text.append (getShownText(), getFont(), juce::Colours::white.withAlpha (0.92f));
    text.setWordWrap (juce::AttributedString::byWord);
    text.setJustification (juce::Justification::centred);

    juce::TextLayout layout;
    layout.createLayout (text, bounds.getWidth() - (float) textPadding * 2.0f);
    layout.draw (g, bounds.reduced ((float) textPadding, (float) textPadding / 2.0f));
}

void ToastComponent::mouseUp (const juce::MouseEvent& e)
{
    if (e.mouseWasClicked())
        timerCallback();
}

void ToastComponent::timerCallback()
{
    stopTimer();

    if (onFinished != nullptr)
        onFinished (toast.id);
}

} // namespace tarn
