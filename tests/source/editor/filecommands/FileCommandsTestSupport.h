#pragma once

#include <source/editor/filecommands/FileChooserSpecs.h>
#include <source/editor/filecommands/FileCommands.h>
#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/source/editor/EditorTestHelpers.h>
#include <tests/support/TemporaryFolder.h>
#include <tests/support/editor/ProductEditorTest.h>

#include <gtest/gtest.h>

namespace cadenzium::test
{

/** Fresh per-user folders, the choosers drawn in the window, and a folder for the test's files. */
class FileCommandsTest : public ProductEditorTest
{
protected:
    void SetUp() override
    {
        ProductEditorTest::SetUp();
        tarn::FileChooserLauncher::setDesktopChoosersAllowed (false);
    }

    void TearDown() override
    {
        ProductEditorTest::TearDown();
        tarn::FileChooserLauncher::setDesktopChoosersAllowed (true);
    }

    /** A copy of one of the example chord progressions in the test's folder. */
    juce::File copyChords (const juce::String& name) const
    {
        const auto copy = folder().getChildFile (name);
        EXPECT_TRUE (juce::File (CADENZIUM_CHORD_EXAMPLES).getChildFile (name).copyFileTo (copy));
        return copy;
    }

    juce::File folder() const { return juce::File (files.string()); }

    static juce::StringArray toastTexts (Cadenzium2AudioProcessor& p) { return ProductEditorTest::toastTexts (p.getToastManager()); }

    /** The chooser open inside the editor, or nullptr. */
    static tarn::FileChooserWindow* findChooser (juce::Component& editor)
    {
        return findInside<tarn::FileChooserWindow> (editor, [] (juce::Component& dialog) { return dialog.isVisible(); });
    }

    static juce::Button* findButton (juce::Component& root, const juce::String& text)
    {
        return findInside<juce::Button> (root, [&] (juce::Button& button) { return button.getButtonText() == text; });
    }

    TemporaryFolder files;
};

} // namespace cadenzium::test
