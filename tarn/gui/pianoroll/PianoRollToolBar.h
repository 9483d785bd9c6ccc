#pragma once

#include "PhraseControls.h"
#include "PianoRollToolButton.h"
#include "PianoRollTypes.h"

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
    PianoRollToolButton& getToolButton (NoteTool) noexcept;

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    void showGridMenu();

    PianoRollToolButton cursor { "Cursor", "arrowpointer", PianoRollHelp::cursor, "cursor_tool" };
    PianoRollToolButton pencil { "Pencil", "pencil", PianoRollHelp::pencil, "pencil_tool" };
    PianoRollToolButton brush { "Brush", "paintbrush", PianoRollHelp::brush, "brush_tool" };
    PianoRollToolButton loop { "Loop", "syncalt", PianoRollHelp::loop, "loop_tool" };
    juce::TextButton gridButton;
    PhraseControls phraseControls;
    GridSize grid;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PianoRollToolBar)
};

} // namespace tarn
