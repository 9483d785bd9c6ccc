#pragma once

#include <brindlex/UserFolders.h>
#include <brindlex/gui/BrindlexEditor.h>
#include <source/editor/filecommands/FileChooserSpecs.h>
#include <source/editor/filecommands/FileCommands.h>
#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/gui/ThemeSelector.h>
#include <tests/support/TemporaryFolder.h>
#include <tests/support/editor/EditorWindow.h>

#include <gtest/gtest.h>

namespace cadenzium::test
{

/** The plug-in with a window holding the "Import" group as the product window places it:
    three buttons wired to one FileCommands, its overlays added like the product's. */
class FileCommandsProcessor : public Cadenzium2AudioProcessor
{
public:
    class Editor : public brindlex::BrindlexEditor
    {
    public:
        explicit Editor (FileCommandsProcessor& p)
            : brindlex::BrindlexEditor (p, { versionString, ParameterIds::enable }),
              commands (p, *this, [&p] { return p.editedPhrase; })
        {
            for (auto* button : { &importMidi, &renderMidi, &loadV1Preset })
                addAndMakeVisible (button);

            commands.attach (importMidi, renderMidi, loadV1Preset);
            addOverlay (commands.getRenderOverlay());
            addOverlay (commands.getBulkImporterOverlay());
            applySettings();
            setSize (1244, 935);
        }

    protected:
        // The product's colour schemes, as its window chooses them.
        void settingsChanged (brindlex::BrindlexSettings& settings) override
        {
            const auto theme = settings.getString (Cadenzium2AudioProcessorEditor::themeSettingKey, "Dark");
            tarn::ThemeSelector::getInstance()->setColourSchemeNumber (Cadenzium2AudioProcessorEditor::colourSchemeFor (theme));
        }

    public:
        tarn::FileDropButton importMidi { "fileimport", "import_midi", "Import MIDI Pattern: Loads a MIDI file into the piano roll. You can drag and drop a file onto this button" };
        tarn::FileDropButton renderMidi { "fileexport", "render_midi", "Render MIDI: Applies the current Cadenzium pattern to a MIDI chord progression" };
        tarn::FileDropButton loadV1Preset { "folder", "load_v1_preset", "Load v1 Preset: Loads a preset from version 1 of Cadenzium. You can drag and drop a file onto this button. Right click for bulk conversion" };
        FileCommands commands;

    protected:
        void layoutMainArea (juce::Rectangle<int> area) override
        {
            auto row = area.removeFromTop (40).reduced (10, 5);

            for (auto* button : { &loadV1Preset, &renderMidi, &importMidi })
            {
                button->setBounds (row.removeFromRight (30));
                row.removeFromRight (6);
            }
        }
    };

    juce::AudioProcessorEditor* createEditor() override { return new Editor (*this); }

    int editedPhrase = 0;
};

/** Fresh per-user folders, the framework's own choosers, and a folder for the test's files. */
class FileCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        productFolder.deleteRecursively();
        tarn::FileChooserLauncher::setDesktopChoosersAllowed (false);
    }

    void TearDown() override
    {
        productFolder.deleteRecursively();
        tarn::FileChooserLauncher::setDesktopChoosersAllowed (true);
    }

    static FileCommandsProcessor::Editor& editorOf (EditorWindow& window)
    {
        return window.getEditorAs<FileCommandsProcessor::Editor>();
    }

    /** A copy of one of the example chord progressions in the test's folder. */
    juce::File copyChords (const juce::String& name) const
    {
        const auto copy = folder().getChildFile (name);
        EXPECT_TRUE (juce::File (CADENZIUM_CHORD_EXAMPLES).getChildFile (name).copyFileTo (copy));
        return copy;
    }

    juce::File folder() const { return juce::File (files.string()); }

    static juce::StringArray toastTexts (Cadenzium2AudioProcessor& p)
    {
        juce::StringArray texts;

        for (const auto& toast : p.getToastManager().getToasts())
            texts.add (toast.text);

        return texts;
    }

    /** The framework's chooser open inside the editor, or nullptr. */
    static juce::FileChooserDialogBox* findChooser (juce::Component& editor)
    {
        for (auto* child : editor.getChildren())
            if (auto* dialog = dynamic_cast<juce::FileChooserDialogBox*> (child); dialog != nullptr && dialog->isVisible())
                return dialog;

        return nullptr;
    }

    template <typename Type>
    static Type* findInside (juce::Component& root)
    {
        if (auto* typed = dynamic_cast<Type*> (&root))
            return typed;

        for (auto* child : root.getChildren())
            if (auto* found = findInside<Type> (*child))
                return found;

        return nullptr;
    }

    static juce::Button* findButton (juce::Component& root, const juce::String& text)
    {
        if (auto* button = dynamic_cast<juce::Button*> (&root); button != nullptr && button->getButtonText() == text)
            return button;

        for (auto* child : root.getChildren())
            if (auto* found = findButton (*child, text))
                return found;

        return nullptr;
    }

    const juce::File productFolder = brindlex::UserFolders::getProductFolder ("Cadenzium 2");
    TemporaryFolder files;
};

} // namespace cadenzium::test
