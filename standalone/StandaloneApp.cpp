// The standalone app: the framework's window and device handling around our processor, with
// one change: the state is saved on every orderly exit, Ctrl+C and SIGTERM included, not only
// when the window is closed.

#include <juce_audio_plugin_client/utility/juce_IncludeModuleHeaders.h>

#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_audio_utils/juce_audio_utils.h>
#include <juce_gui_extra/juce_gui_extra.h>

#include <juce_audio_plugin_client/Standalone/juce_StandaloneFilterWindow.h>

#include <csignal>

namespace
{
class CadenziumStandaloneApp final : public juce::JUCEApplication
{
public:
    CadenziumStandaloneApp()
    {
        // "~/.config/Cadenzium 2.settings": the devices and the state of the last run.
        juce::PropertiesFile::Options options;
        options.applicationName = getApplicationName();
        options.filenameSuffix = ".settings";
        options.folderName = "~/.config";
        appProperties.setStorageParameters (options);
    }

    const juce::String getApplicationName() override { return JucePlugin_Name; }
    const juce::String getApplicationVersion() override { return JucePlugin_VersionString; }
    bool moreThanOneInstanceAllowed() override { return true; }
    void anotherInstanceStarted (const juce::String&) override {}

    void initialise (const juce::String&) override
    {
        // The framework quits its loop on SIGINT; SIGTERM (a session logging out) takes the same way.
        std::signal (SIGTERM, [] (int)
                     { std::raise (SIGINT); });

        window = std::make_unique<juce::StandaloneFilterWindow> (getApplicationName(),
                                                                 juce::LookAndFeel::getDefaultLookAndFeel().findColour (juce::ResizableWindow::backgroundColourId),
                                                                 appProperties.getUserSettings(),
                                                                 false,
                                                                 juce::String(),
                                                                 nullptr);
        window->setVisible (true);
    }

    void shutdown() override
    {
        if (window != nullptr)
            window->pluginHolder->savePluginState();

        window = nullptr;
        appProperties.saveIfNeeded();
    }

    void systemRequestedQuit() override
    {
        if (juce::ModalComponentManager::getInstance()->cancelAllModalComponents())
            juce::Timer::callAfterDelay (100, []
                                         {
                                             if (auto* app = juce::JUCEApplicationBase::getInstance())
                                                 app->systemRequestedQuit(); });
        else
            quit();
    }

private:
    juce::ApplicationProperties appProperties;
    std::unique_ptr<juce::StandaloneFilterWindow> window;
};
} // namespace

juce::JUCEApplicationBase* juce_CreateApplication();
juce::JUCEApplicationBase* juce_CreateApplication()
{
    return new CadenziumStandaloneApp();
}
