#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/support/editor/EditorWindow.h>

#include <gtest/gtest.h>

namespace cadenzium::test
{

TEST (Cadenzium2Editor, opensAtItsDefaultSizeWithTheShell)
{
    Cadenzium2AudioProcessor processor;
    EditorWindow window (processor);

    EXPECT_EQ (window.getScreenArea().getWidth(), 1244);
    EXPECT_EQ (window.getScreenArea().getHeight(), 935);
    window.saveScreenshot ("default");
}

} // namespace cadenzium::test
