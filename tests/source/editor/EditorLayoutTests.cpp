#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/source/editor/EditorTestHelpers.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

TEST (EditorLayout, theDefaultWindowPaints)
{
    Cadenzium2AudioProcessor processor;
    Cadenzium2AudioProcessorEditor editor (processor);
    EXPECT_EQ (editor.getWidth(), 1244);
    EXPECT_EQ (editor.getHeight(), 935);
    saveScreenshot (editor, "editor-default");
}
