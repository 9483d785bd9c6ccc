#include "PianoRollToolBar.h"

#include "NoteEditor.h"
#include <tarn/gui/overlays/PopupMenus.h>
#include "PianoRollMetrics.h"
#include "PianoRollTheme.h"

namespace tarn
{
namespace
{
    PopupKind gridSizeMenuKind { "grid size menu" };
} // namespace

namespace
{
    constexpr int gridButtonWidth = 64;
}

PianoRollToolBar::PianoRollToolBar()
{
    const std::pair<IconButton*, NoteTool> tools[] = {
        { &cursor, NoteTool::cursor }, { &pencil, NoteTool::pencil }, { &brush, NoteTool::brush }, { &loop, NoteTool::loop }
    };

    for (const auto& [button, tool] : tools)
    {
        button->onClick = [this, tool = tool]
        {
            setTool (tool);

            if (onToolChosen != nullptr)
                onToolChosen (tool);
        };
        addAndMakeVisible (button);
    }

    // The grid reads like the phrase's boxes beside it.
    gridButton.setTextSize (PianoRollText::normal);
    gridButton.onClick = [this]
    { showGridMenu(); };
    addAndMakeVisible (gridButton);
    addAndMakeVisible (phraseControls);

    setTool (NoteTool::cursor);
    setGrid (grid);
}

PianoRollToolBar::~PianoRollToolBar() = default;

IconButton& PianoRollToolBar::getToolButton (NoteTool tool) noexcept
{
    switch (tool)
    {
        case NoteTool::cursor: return cursor;
        case NoteTool::pencil: return pencil;
        case NoteTool::brush: return brush;
        case NoteTool::loop: return loop;
    }

    return cursor;
}

void PianoRollToolBar::setTool (NoteTool tool)
{
    for (auto t : { NoteTool::cursor, NoteTool::pencil, NoteTool::brush, NoteTool::loop })
        getToolButton (t).setToggleState (t == tool, juce::dontSendNotification);
}

void PianoRollToolBar::setGrid (const GridSize& newGrid)
{
    grid = newGrid;
    gridButton.setButtonText ("Grid " + grid.getName());
    resized();
}

void PianoRollToolBar::showGridMenu()
{
    showMenu (gridSizeMenuKind, gridButton, NoteEditor::createGridSizeMenu (grid), {}, [this] (int result)
                          {
                              if (! GridSize::isValidIdentifier (result))
                                  return;

                              setGrid (GridSize::fromIdentifier (result));

                              if (onGridChosen != nullptr)
                                  onGridChosen (grid); });
}

void PianoRollToolBar::paint (juce::Graphics& g)
{
    g.fillAll (themeColour (*this, "background.background"));
}

void PianoRollToolBar::resized()
{
    auto bounds = getLocalBounds().reduced (0, 2);

    for (auto* button : { &cursor, &pencil, &brush, &loop })
    {
        button->setBounds (bounds.removeFromLeft (PianoRollMetrics::toolButtonWidth));
        bounds.removeFromLeft (2);
    }

    bounds.removeFromLeft (PianoRollMetrics::phraseControlGap);
    const auto gridWidth = std::max (gridButtonWidth, juce::roundToInt (std::ceil (themeFont (*this).getStringWidthFloat (gridButton.getButtonText()))) + 12);
    gridButton.setBounds (bounds.removeFromLeft (gridWidth));
    bounds.removeFromLeft (PianoRollMetrics::phraseControlGap);
    phraseControls.setBounds (bounds);
}

} // namespace tarn
