#include "Callout.h"

#include <tarn/gui/Theme.h>

namespace tarn
{
namespace
{
    constexpr int arrowSize = 10, margin = 6;
} // namespace

Callout::Callout (PopupKind& kind, std::unique_ptr<juce::Component> contentToShow, juce::Component& editor,
                  juce::Rectangle<int> targetArea)
    : content (std::move (contentToShow)),
      target (targetArea)
{
    jassert (content != nullptr);
    setComponentID ("callout");
    setWantsKeyboardFocus (true);
    getProperties().set ("tarn_keyboard_focus", true);
    addAndMakeVisible (*content);
    editor.addAndMakeVisible (this);
    // Made before it had a parent, the content took the default look: now it has the
    // editor's (combo boxes copy their colours when told).
    sendLookAndFeelChange();
    setBounds (editor.getLocalBounds());
    toFront (false);
    kind.shown();
}

Callout::~Callout()
{
    // The content first: it may still look at its parent while it goes.
    removeChildComponent (content.get());
    content.reset();
}

void Callout::dismiss()
{
    if (dismissed)
        return;

    dismissed = true;
    setVisible (false);

    if (hasKeyboardFocus (true))
        giveAwayKeyboardFocus();

    if (onDismissed != nullptr)
        onDismissed();
}

void Callout::setTargetArea (juce::Rectangle<int> targetArea)
{
    target = targetArea;
    resized();
    repaint();
}

void Callout::parentSizeChanged()
{
    if (auto* parent = getParentComponent())
        setBounds (parent->getLocalBounds());
}

void Callout::resized()
{
    const auto area = getLocalBounds().reduced (margin);
    const auto width = juce::jmin (content->getWidth(), area.getWidth());
    const auto height = juce::jmin (content->getHeight(), area.getHeight());
    const auto padding = juce::roundToInt (themeMetric (*this, "popupBorderWidth", 5.0f));
    const auto outer = juce::Rectangle<int> (width + 2 * padding, height + 2 * padding);

    // Right of the target where it fits, else left of it, else below it.
    auto placed = outer;
    if (target.getRight() + arrowSize + outer.getWidth() <= area.getRight())
    {
        placed.setPosition (target.getRight() + arrowSize, target.getCentreY() - outer.getHeight() / 2);
        arrowTip = { (float) target.getRight(), (float) target.getCentreY() };
    }
    else if (target.getX() - arrowSize - outer.getWidth() >= area.getX())
    {
        placed.setPosition (target.getX() - arrowSize - outer.getWidth(), target.getCentreY() - outer.getHeight() / 2);
        arrowTip = { (float) target.getX(), (float) target.getCentreY() };
    }
    else
    {
        placed.setPosition (target.getCentreX() - outer.getWidth() / 2, target.getBottom() + arrowSize);
        arrowTip = { (float) target.getCentreX(), (float) target.getBottom() };
    }

    box = placed.constrainedWithin (area);
    content->setBounds (box.reduced (padding).withSize (width, height));
}

void Callout::paint (juce::Graphics& g)
{
    const auto corner = themeMetric (*this, "cornerRadius", 2.5f) * 2.0f;
    const auto boxArea = box.toFloat();

    // The arrow: a triangle from the box's nearest side to the target.
    juce::Path shape;
    shape.addRoundedRectangle (boxArea, corner);

    const auto tipInside = boxArea.contains (arrowTip);
    if (! tipInside)
    {
        const auto base = boxArea.getConstrainedPoint (arrowTip);
        const auto alongX = juce::approximatelyEqual (base.x, boxArea.getX()) || juce::approximatelyEqual (base.x, boxArea.getRight());
        const auto half = (float) arrowSize * 0.8f;
        juce::Path arrow;
        if (alongX)
        {
            const auto y = juce::jlimit (boxArea.getY() + corner + half, boxArea.getBottom() - corner - half, base.y);
            arrow.addTriangle (base.x, y - half, base.x, y + half, arrowTip.x, y);
        }
        else
        {
            const auto x = juce::jlimit (boxArea.getX() + corner + half, boxArea.getRight() - corner - half, base.x);
            arrow.addTriangle (x - half, base.y, x + half, base.y, x, arrowTip.y);
        }
        shape.addPath (arrow);
    }

    g.setColour (juce::Colours::black.withAlpha (0.35f));
    g.fillRoundedRectangle (boxArea.translated (0.0f, 3.0f).expanded (1.0f), corner);

    g.setColour (themeColour (*this, "background.panel"));
    g.fillPath (shape);
    g.setColour (themeColour (*this, "elements.elementborder"));
    g.strokePath (shape, juce::PathStrokeType (themeMetric (*this, "panelBorderWidth", 1.0f)));
}

void Callout::mouseDown (const juce::MouseEvent& e)
{
    // Only clicks outside the box reach here: the content takes its own.
    if (! box.contains (e.getPosition()))
        dismiss();
}

bool Callout::keyPressed (const juce::KeyPress& key)
{
    if (key == juce::KeyPress::escapeKey)
    {
        dismiss();
        return true;
    }

    return false;
}

} // namespace tarn
