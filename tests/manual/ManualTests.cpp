// The user manual as the build made it: every chapter starts a page, every link of the
// contents and the cross references leads somewhere in the PDF, every panel caption and
// command label of the editor is explained, and the editor's manual button opens the PDF
// where `make run` installs it.

#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/editor/panels/ControlTables.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <source/editor/widgets/PhraseButton.h>
#include <tarn/gui/browser/CategoryBadge.h>
#include <tarn/gui/panels/Panel.h>
#include <tarn/gui/panels/TopBar.h>
#include <tarn/gui/widgets/IconButton.h>
#include <tests/support/TemporaryFolder.h>
#include <tests/support/editor/ProductEditorTest.h>

#include <gtest/gtest.h>

#include <set>

namespace cadenzium::test
{
namespace
{
    const juce::File manualPdf { CADENZIUM_MANUAL_PDF };
    const juce::File manualHtml { CADENZIUM_MANUAL_HTML };
    const juce::File chapterFolder { CADENZIUM_MANUAL_CHAPTERS };

    /** What a program prints; a failure when it cannot run or fails. */
    juce::String outputOf (const juce::StringArray& command)
    {
        juce::ChildProcess process;

        if (! process.start (command))
        {
            ADD_FAILURE() << "cannot run " << command[0];
            return {};
        }

        const auto output = process.readAllProcessOutput();
        EXPECT_TRUE (process.waitForProcessToFinish (60000)) << command[0];
        EXPECT_EQ (process.getExitCode(), 0u) << command.joinIntoString (" ");
        return output;
    }

    /** The PDF's text, one entry per page. */
    juce::StringArray pagesOfManual()
    {
        return juce::StringArray::fromTokens (outputOf ({ "pdftotext", "-enc", "UTF-8", manualPdf.getFullPathName(), "-" }), "\f", {});
    }

    /** Runs of blanks and line breaks as one blank, so a label broken over two lines still reads
        as written. */
    juce::String withSingleBlanks (const juce::String& text)
    {
        return juce::StringArray::fromTokens (text, " \t\r\n", {}).joinIntoString (" ", 0, -1).trim();
    }

    /** The chapters' titles ("# Getting Started {#getting-started}" -> "Getting Started"), in order. */
    juce::StringArray chapterTitles()
    {
        juce::StringArray titles;
        auto files = chapterFolder.findChildFiles (juce::File::findFiles, false, "*.md");
        std::sort (files.begin(), files.end());

        for (const auto& file : files)
            for (const auto& line : juce::StringArray::fromLines (file.loadFileAsString()))
                if (line.startsWith ("# "))
                {
                    titles.add (line.substring (2).upToFirstOccurrenceOf ("{#", false, false).trim());
                    break;
                }

        return titles;
    }

    /** The text between each occurrence of `open` and the next `close`. */
    std::set<juce::String> between (const juce::String& text, const juce::String& open, juce::juce_wchar close)
    {
        std::set<juce::String> found;

        for (int at = text.indexOf (open); at >= 0; at = text.indexOf (at + 1, open))
            found.insert (text.substring (at + open.length()).upToFirstOccurrenceOf (juce::String::charToString (close), false, false));

        return found;
    }

    /** The panels' captions and the texts of the window's buttons (sidebar tabs, the piano
        roll's tabs and boxes, panel and dialog buttons). Not the ones that show data: phrase
        names, the preset's name, the browser's categories. */
    void findCaptions (juce::Component& root, juce::StringArray& texts)
    {
        if (dynamic_cast<tarn::TopBar*> (&root) != nullptr || dynamic_cast<tarn::CategoryBadge*> (&root) != nullptr)
            return;

        if (auto* panel = dynamic_cast<tarn::Panel*> (&root))
            texts.addIfNotAlreadyThere (panel->getCaption());

        if (auto* button = dynamic_cast<juce::Button*> (&root))
            if (dynamic_cast<PhraseButton*> (button) == nullptr && dynamic_cast<tarn::IconButton*> (button) == nullptr
                && dynamic_cast<juce::DrawableButton*> (button) == nullptr
                && button->getButtonText().containsAnyOf ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"))
                texts.addIfNotAlreadyThere (button->getButtonText());

        for (auto* child : root.getChildren())
            findCaptions (*child, texts);
    }
} // namespace

TEST (UserManual, everyChapterStartsAPageOfItsOwn)
{
    ASSERT_TRUE (manualPdf.existsAsFile()) << manualPdf.getFullPathName();
    const auto titles = chapterTitles();
    ASSERT_GE (titles.size(), 10) << "the chapters were not found";

    juce::StringArray pageHeads;
    for (const auto& page : pagesOfManual())
        pageHeads.add (juce::StringArray::fromLines (page.trim())[0].trim());

    for (const auto& title : titles)
        EXPECT_TRUE (pageHeads.contains (title)) << "no page starts with the chapter \"" << title << "\"";

    const auto info = outputOf ({ "pdfinfo", manualPdf.getFullPathName() });
    const auto pages = info.fromFirstOccurrenceOf ("Pages:", false, false).trim().getIntValue();
    EXPECT_GT (pages, titles.size() + 2) << "a title page, the contents and the chapters";
}

TEST (UserManual, theContentsAndEveryCrossReferenceLeadToAPlaceInThePdf)
{
    const auto targets = between (manualHtml.loadFileAsString(), "href=\"#", '"');
    ASSERT_GT (targets.size(), 40u) << "the contents alone link every section";

    // The link annotations name their targets as "/Dest (name)"; the file is binary, so it is
    // searched as bytes.
    juce::MemoryBlock bytes;
    ASSERT_TRUE (manualPdf.loadFileAsData (bytes));
    const std::string pdf (static_cast<const char*> (bytes.getData()), bytes.getSize());
    std::set<juce::String> links;
    for (auto at = pdf.find ("/Dest ("); at != std::string::npos; at = pdf.find ("/Dest (", at + 1))
        links.insert (juce::String (pdf.substr (at + 7, pdf.find (')', at) - at - 7)));

    const auto destinations = outputOf ({ "pdfinfo", "-dests", manualPdf.getFullPathName() });

    for (const auto& target : targets)
    {
        EXPECT_TRUE (links.count (target) == 1) << "nothing in the PDF links to #" << target;
        EXPECT_TRUE (destinations.contains ("\"" + target + "\"")) << "#" << target << " leads nowhere";
    }
}

TEST (UserManual, everyPanelCaptionAndCommandLabelOfTheEditorIsExplained)
{
    const auto text = withSingleBlanks (pagesOfManual().joinIntoString (" "));
    ASSERT_TRUE (text.contains ("Getting Started"));

    // The panels and buttons as the window builds them, both sidebars.
    Cadenzium2AudioProcessor processor;
    processor.getToastManager().takeToasts();
    juce::StringArray captions;
    {
        EditorWindow window (processor);
        findCaptions (window.getEditor(), captions);
    }
    ASSERT_GE (captions.size(), 8) << captions.joinIntoString (", ");

    // The labels and command names, from the tables the panels and bars are built from.
    juce::StringArray labels;
    for (const auto* table : { &ControlTables::keyswitches(), &ControlTables::input(), &ControlTables::modifiers(),
                               &ControlTables::passthrough(), &ControlTables::noteGeneration(),
                               &ControlTables::modifierGeneration(), &ControlTables::mutation() })
        for (const auto& entry : *table)
            labels.addIfNotAlreadyThere (entry.label);

    for (const auto& entry : ControlTables::regeneration())
        labels.addIfNotAlreadyThere (entry.name);

    namespace C = ControlTables::Commands;
    for (const auto* command : { &C::newRow(), &C::undo(), &C::redo(), &C::keyboardPreview(), &C::sidebarToggle(),
                                 &C::importMidi(), &C::renderMidi(), &C::loadV1Preset(), &C::generate(), &C::mutate(),
                                 &C::panic(), &ControlTables::mutationPanelMutate() })
        labels.addIfNotAlreadyThere (command->name);

    juce::StringArray missing;
    for (const auto& wanted : captions)
        if (! text.contains (wanted))
            missing.add ("\"" + wanted + "\"");

    for (const auto& wanted : labels)
        if (! text.contains (wanted))
            missing.add ("\"" + wanted + "\"");

    EXPECT_TRUE (missing.isEmpty()) << "not in the manual: " << missing.joinIntoString (", ");
}

TEST (UserManual, theManualButtonOpensTheManualWhereMakeRunInstallsIt)
{
    // make run's installer, in this test's private HOME.
    const auto installed = juce::File (outputOf ({ CADENZIUM_INSTALL_MANUAL, manualPdf.getFullPathName() }).trim());
    ASSERT_TRUE (installed.existsAsFile()) << installed.getFullPathName();
    EXPECT_EQ (installed.getFileName(), "Cadenzium 2 Manual 2.5.0.pdf");
    EXPECT_TRUE (installed.hasIdenticalContentTo (manualPdf));

    const TemporaryFolder scratch;
    const juce::File folder (scratch.string());
    const auto record = folder.getChildFile ("opened.txt");

    Cadenzium2AudioProcessor processor;
    processor.getToastManager().takeToasts();
    EditorWindow window (processor);
    auto& editor = window.getEditorAs<Cadenzium2AudioProcessorEditor>();
    editor.getManualOpener().setOpenerProgram (ProductEditorTest::makeRecordingOpener (folder, record).getFullPathName());

    window.click (EditorWindow::get ("manual"));
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return editor.getManualOpener().getNumRunningOpeners() == 0; }));
    EXPECT_EQ (record.loadFileAsString(), installed.getFullPathName() + "\n") << "the installed PDF, as one argument";
    EXPECT_EQ (processor.getToastManager().getNumToasts(), 0) << "no \"can't find the manual\" toast";

    installed.deleteFile();
}
} // namespace cadenzium::test
