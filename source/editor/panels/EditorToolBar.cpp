#include "EditorToolBar.h"

#include "ControlTables.h"

#include <tarn/gui/Theme.h>

namespace
{
namespace commands = ControlTables::Commands;

void describe (juce::Button& button, const CommandEntry& entry)
{
    button.setName (entry.name);
    button.setComponentID (entry.componentId);
    button.setTooltip (entry.tooltip);
}
} // namespace

EditorToolBar::EditorToolBar()
    : newRow (commands::newRow().name, commands::newRow().iconName),
      generate (commands::generate().name, commands::generate().iconName),
      mutate (commands::mutate().name, commands::mutate().iconName),
      undo (commands::undo().iconName, commands::undo().componentId, commands::undo().tooltip),
      redo (commands::redo().iconName, commands::redo().componentId, commands::redo().tooltip),
      importMidi (commands::importMidi().iconName, commands::importMidi().componentId, commands::importMidi().tooltip),
      renderMidi (commands::renderMidi().iconName, commands::renderMidi().componentId, commands::renderMidi().tooltip),
      loadV1Preset (commands::loadV1Preset().iconName, commands::loadV1Preset().componentId, commands::loadV1Preset().tooltip),
      keyboardPreview (commands::keyboardPreview().iconName, commands::keyboardPreview().componentId, commands::keyboardPreview().tooltip),
      sidebarToggle (commands::sidebarToggle().iconName, commands::sidebarToggle().componentId, commands::sidebarToggle().tooltip),
      panic (commands::panic().iconName, commands::panic().componentId, commands::panic().tooltip)
{
    setComponentID ("tool_bar");

    describe (newRow, commands::newRow());
    describe (generate, commands::generate());
    describe (mutate, commands::mutate());
    describe (undo, commands::undo());
    describe (redo, commands::redo());
    describe (importMidi, commands::importMidi());
    describe (renderMidi, commands::renderMidi());
    describe (loadV1Preset, commands::loadV1Preset());
    describe (keyboardPreview, commands::keyboardPreview());
    describe (sidebarToggle, commands::sidebarToggle());
    describe (panic, commands::panic());

    renderMidi.setCaption ("Render");
    panic.setCaption ("Panic");
    panic.setIcon ({});

    for (auto* button : std::initializer_list<juce::Button*> { &newRow, &undo, &redo, &generate, &mutate, &importMidi, &renderMidi,
                                                               &loadV1Preset, &keyboardPreview, &sidebarToggle, &panic })
        addAndMakeVisible (button);
}

EditorToolBar::~EditorToolBar() = default;

void EditorToolBar::showUndoState (bool canUndo, const juce::String& undoTooltip, bool canRedo, const juce::String& redoTooltip)
{
    undo.setEnabled (canUndo);
    redo.setEnabled (canRedo);

    if (undo.getTooltip() != undoTooltip)
        undo.setTooltip (undoTooltip);
    if (redo.getTooltip() != redoTooltip)
        redo.setTooltip (redoTooltip);
}

int EditorToolBar::widthOf (const tarn::IconButton& button, int size, bool named) const
{
    return named || button.getIconName().isEmpty() ? button.getIdealWidth (size) : size;
}

int EditorToolBar::getButtonSize() const
{
    return std::min (getHeight(), juce::roundToInt (tarn::themeMetric (*this, "topBarButtonHeight", 30.0f)));
}

void EditorToolBar::resized()
{
    const auto size = getButtonSize();
    const auto gap = juce::roundToInt (tarn::themeMetric (*this, "panelPadding", 20.0f) / 4.0f);
    const auto groupGap = gap * 3;
    auto area = getLocalBounds().withSizeKeepingCentre (getWidth(), size);

    auto placeLeft = [&] (juce::Component& c, int width)
    {
        c.setBounds (area.removeFromLeft (width));
        area.removeFromLeft (gap);
    };
    auto placeRight = [&] (juce::Component& c, int width)
    {
        c.setBounds (area.removeFromRight (width));
        area.removeFromRight (gap);
    };

    placeLeft (newRow, newRow.getIdealWidth (size));
    placeLeft (undo, size);
    placeLeft (redo, size);
    area.removeFromLeft (groupGap - gap);
    placeLeft (generate, generate.getIdealWidth (size));
    placeLeft (mutate, mutate.getIdealWidth (size));

    const auto font = tarn::themeFont (*this);
    auto captionFor = [&] (const juce::String& text)
    {
        auto caption = area.removeFromRight (juce::roundToInt (std::ceil (font.getStringWidthFloat (text))) + gap);
        area.removeFromRight (gap);
        return caption;
    };

    const auto captionWidth = [&] (const juce::String& text)
    { return juce::roundToInt (std::ceil (font.getStringWidthFloat (text))) + gap; };

    // The Import buttons are named when everything fits; otherwise their icons stand under
    // the group's caption, as the View group's do.
    importMidi.setCaption ("MIDI");
    loadV1Preset.setCaption ("v1 Preset");
    const auto rightWidth = [&] (bool named)
    {
        return panic.getIdealWidth (size) + renderMidi.getIdealWidth (size) + 2 * size + captionWidth ("View")
             + widthOf (importMidi, size, named) + widthOf (loadV1Preset, size, named) + captionWidth ("Import") + 3 * groupGap + 8 * gap;
    };
    const auto named = rightWidth (true) <= area.getWidth();
    if (! named)
    {
        importMidi.setCaption ({});
        loadV1Preset.setCaption ({});
    }

    placeRight (panic, panic.getIdealWidth (size));
    area.removeFromRight (groupGap - gap);
    placeRight (sidebarToggle, size);
    placeRight (keyboardPreview, size);
    viewCaption = captionFor ("View");
    area.removeFromRight (groupGap - gap);
    placeRight (renderMidi, renderMidi.getIdealWidth (size));
    area.removeFromRight (groupGap - gap);
    placeRight (loadV1Preset, widthOf (loadV1Preset, size, named));
    placeRight (importMidi, widthOf (importMidi, size, named));
    importCaption = captionFor ("Import");
}

void EditorToolBar::paint (juce::Graphics& g)
{
    g.setColour (tarn::themeColour (*this, "text.secondarytext"));
    g.setFont (tarn::themeFont (*this));
    g.drawText ("Import", importCaption, juce::Justification::centredRight, false);
    g.drawText ("View", viewCaption, juce::Justification::centredRight, false);
}
