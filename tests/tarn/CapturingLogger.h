#pragma once

#include <juce_core/juce_core.h>

#include <mutex>

namespace cadenzium::test
{

/** Catches what reaches the framework's log, from any thread, while it is installed. */
struct CapturingLogger : juce::Logger
{
    CapturingLogger()
        : previous (juce::Logger::getCurrentLogger())
    {
        juce::Logger::setCurrentLogger (this);
    }
    ~CapturingLogger() override { juce::Logger::setCurrentLogger (previous); }

    void logMessage (const juce::String& message) override
    {
        const std::lock_guard<std::mutex> guard (lock);
        lines.add (message);
    }

    juce::Logger* previous;
    std::mutex lock;
    juce::StringArray lines;
};

} // namespace cadenzium::test
