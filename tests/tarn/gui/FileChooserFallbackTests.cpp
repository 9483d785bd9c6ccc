#include <tests/support/editor/EditorWindow.h>

#include <gtest/gtest.h>

namespace cadenzium::test
{

TEST (FileChooserFallback, withoutZenityOrKdialogTheFrameworksOwnChooserOpensAndCancels)
{
    if (juce::FileChooser::isPlatformDialogAvailable())
        GTEST_SKIP() << "zenity or kdialog is installed here: the desktop's chooser is used";

    juce::FileChooser chooser ("Please select a MIDI file...",
                               juce::File::getSpecialLocation (juce::File::userDocumentsDirectory), "*.mid");
    std::optional<juce::File> chosen;
    chooser.launchAsync (juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles,
                         [&] (const juce::FileChooser& c)
                         { chosen = c.getResult(); });

    juce::FileChooserDialogBox* dialog = nullptr;
    ASSERT_TRUE (EditorWindow::pumpUntil ([&]
                                          {
                                              auto& desktop = juce::Desktop::getInstance();

                                              for (int i = 0; i < desktop.getNumComponents() && dialog == nullptr; ++i)
                                                  dialog = dynamic_cast<juce::FileChooserDialogBox*> (desktop.getComponent (i));

                                              return dialog != nullptr && dialog->isShowing();
                                          }));
    EXPECT_EQ (dialog->getName(), "Please select a MIDI file...");

    juce::Button* cancel = nullptr;
    std::function<void (juce::Component&)> findCancel = [&] (juce::Component& c)
    {
        if (auto* button = dynamic_cast<juce::Button*> (&c); button != nullptr && button->getButtonText() == "Cancel")
            cancel = button;

        for (auto* child : c.getChildren())
            findCancel (*child);
    };
    findCancel (*dialog);
    ASSERT_NE (cancel, nullptr);

    cancel->triggerClick();
    EXPECT_TRUE (EditorWindow::pumpUntil ([&]
                                          { return chosen.has_value(); }));
    EXPECT_EQ (*chosen, juce::File()) << "cancelled: no file";
}

} // namespace cadenzium::test
