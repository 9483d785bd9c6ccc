#include "BrindlexLogger.h"

namespace brindlex
{
namespace
{
    std::mutex sharedLoggerLock;
    std::weak_ptr<BrindlexLogger> sharedLogger;
} // namespace

BrindlexLogger::BrindlexLogger (juce::File logFile)
    : file (std::move (logFile))
{
    if (! file.existsAsFile())
        file.create();
}

BrindlexLogger::~BrindlexLogger()
{
    if (juce::Logger::getCurrentLogger() == this)
        juce::Logger::setCurrentLogger (nullptr);
}

std::shared_ptr<BrindlexLogger> BrindlexLogger::acquire (const juce::File& logFile)
{
    const std::lock_guard<std::mutex> guard (sharedLoggerLock);

    if (auto existing = sharedLogger.lock())
        return existing;

    auto logger = std::make_shared<BrindlexLogger> (logFile);
    juce::Logger::setCurrentLogger (logger.get());
    sharedLogger = logger;
    return logger;
}

juce::String BrindlexLogger::formatLine (const juce::Time& time, const juce::String& message)
{
    return time.formatted ("%d/%m/%Y %H:%M:%S ") + message + "\r\n";
}

void BrindlexLogger::logMessage (const juce::String& message)
{
    logLines ({ message });
}

void BrindlexLogger::logLines (const juce::StringArray& messages)
{
    const auto stamp = juce::Time::getCurrentTime().formatted ("%d/%m/%Y %H:%M:%S ").toStdString();
    std::string text;

    for (const auto& message : messages)
        text.append (stamp).append (message.toRawUTF8()).append ("\r\n");

    const std::lock_guard<std::mutex> guard (writeLock);

    // A log that cannot be opened loses the message; logging must never fail the caller.
    juce::FileOutputStream stream (file, 256);

    if (stream.openedOk())
    {
        stream.write (text.data(), text.size());
        stream.flush();
    }
}

void BrindlexLogger::writeLinesToLog (const juce::StringArray& messages)
{
    if (auto* ours = dynamic_cast<BrindlexLogger*> (juce::Logger::getCurrentLogger()))
    {
        ours->logLines (messages);
        return;
    }

    for (const auto& message : messages)
        juce::Logger::writeToLog (message);
}

} // namespace brindlex
