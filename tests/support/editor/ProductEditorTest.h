#pragma once

#include <brindlex/BrindlexSettings.h>
#include <brindlex/UserFolders.h>
#include <tarn/gui/overlays/ToastComponent.h>
#include <tests/support/editor/EditorWindow.h>

#include <gtest/gtest.h>

namespace cadenzium::test
{

/** A test of the product's editor that starts and ends with no settings and no presets in
    the (private) product folder, toasts shown for their normal time. [message thread] */
class ProductEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        productFolder.deleteRecursively();
        tarn::ToastComponent::setDisplayTimeScale (1.0f);
    }

    void TearDown() override { productFolder.deleteRecursively(); }

public:
    static juce::File settingsFile() { return brindlex::UserFolders::getProductFolder ("Cadenzium 2").getChildFile ("settings.settings"); }

    /** What another plug-in instance does: its own settings object on the same file. */
    static void writeSetting (const juce::String& key, const juce::var& value)
    {
        brindlex::BrindlexSettings other (settingsFile());
        other.setValue (key, value);
        ASSERT_TRUE (other.saveNow());
    }

    static juce::String storedSetting (const juce::String& key) { return brindlex::BrindlexSettings (settingsFile()).getString (key, "<missing>"); }

    static juce::StringArray toastTexts (const tarn::ToastManager& toasts)
    {
        juce::StringArray texts;

        for (const auto& toast : toasts.getToasts())
            texts.add (toast.text);

        return texts;
    }

    /** A script in place of xdg-open that writes each argument it gets as a line of `record`. */
    static juce::File makeRecordingOpener (const juce::File& folder, const juce::File& record)
    {
        const auto opener = folder.getChildFile ("opener");
        EXPECT_TRUE (opener.replaceWithText ("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + record.getFullPathName() + "'; done\n",
                                             false, false, "\n"));
        EXPECT_TRUE (opener.setExecutePermission (true));
        return opener;
    }

protected:
    const juce::File productFolder = brindlex::UserFolders::getProductFolder ("Cadenzium 2");
};

/** Counts what a host hears from a processor while it listens. [message thread] */
struct HostListener : juce::AudioProcessorListener
{
    explicit HostListener (juce::AudioProcessor& p) : processor (p) { processor.addListener (this); }
    ~HostListener() override { processor.removeListener (this); }

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float) override
    {
        if (auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (processor.getParameters()[index]))
            internalPings += withId->getParameterID() == "internal" ? 1 : 0;
    }

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails& details) override { programChanges += details.programChanged ? 1 : 0; }

    juce::AudioProcessor& processor;
    int internalPings = 0, programChanges = 0; // the hidden `internal` parameter's notices; program list changes
};

} // namespace cadenzium::test
