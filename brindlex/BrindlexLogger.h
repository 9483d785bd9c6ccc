#pragma once

#include <juce_core/juce_core.h>

#include <memory>
#include <mutex>

namespace brindlex
{

/** The process-wide log: every plug-in instance of the process shares one logger,
    installed as the framework's current logger, that appends time-stamped lines to
    "log.log". Each message is one open-append-close under the logger's mutex, so
    threads and instances never interleave inside a line.
*/
class BrindlexLogger : public juce::Logger
{
public:
    explicit BrindlexLogger (juce::File logFile);
    ~BrindlexLogger() override;

    /** The shared logger, created (and installed) for the first caller and kept alive
        while anyone holds it. The first caller's file wins. [any thread] */
    static std::shared_ptr<BrindlexLogger> acquire (const juce::File& logFile);

    void logMessage (const juce::String& message) override;

    /** Many lines in one open-append-close, each with its own time stamp. [any thread] */
    void logLines (const juce::StringArray& messages);

    /** Writes the lines through the current logger: at once when it is ours, else line by line. */
    static void writeLinesToLog (const juce::StringArray& messages);

    const juce::File& getLogFile() const noexcept { return file; }

    /** "05/12/2026 14:03:27 " followed by the message and CR LF. */
    static juce::String formatLine (const juce::Time& time, const juce::String& message);

private:
    const juce::File file;
    std::mutex writeLock;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BrindlexLogger)
};

} // namespace brindlex
