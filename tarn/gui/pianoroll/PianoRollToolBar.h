#pragma once

#include "PhraseControls.h"
#include "PianoRollTabButton.h"
#include "PianoRollTypes.h"

#include <tarn/gui/widgets/IconButton.h>
#include <tarn/sequence/GridSize.h>

#include <functional>

namespace tarn
{

/** The piano roll's tool bar: the four note tools with their help texts, the grid size, and
    the phrase's length, time signature and repeat count. [message thread] */
class PianoRollToolBar : public juce::Component
{
public:
    PianoRollToolBar();
    ~PianoRollToolBar() override;

    void setTool (NoteTool);
    void setGrid (const GridSize&);

    std::function<void (NoteTool)> onToolChosen;
    std::function<void (const GridSize&)> onGridChosen;

    PhraseControls& getPhraseControls() noexcept { return phraseControls; }
    IconButton& getToolButton (NoteTool) noexcept;

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    void showGridMenu();

    IconButton cursor { "arrowpointer", "cursor_tool", PianoRollHelp::cursor };
    IconButton pencil { "pencil", "pencil_tool", PianoRollHelp::pencil };
    IconButton brush { "paintbrush", "brush_tool", PianoRollHelp::brush };
    IconButton loop { "syncalt", "loop_tool", PianoRollHelp::loop };
    PianoRollTabButton gridButton { "Grid", "Grid Size: The grid that notes snap to. Hold shift while dragging to place freely", "grid_size" };
    PhraseControls phraseControls;
    GridSize grid;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PianoRollToolBar)
};

} // namespace tarn
