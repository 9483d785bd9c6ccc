#include <formats/ContinuousPlayHead.h>

#include <gtest/gtest.h>

#include <deque>

namespace
{
using PositionInfo = juce::AudioPlayHead::PositionInfo;

/** A host that reports the queued positions, one per block, and nothing once they run out. */
struct ReportingHost final : juce::AudioPlayHead
{
    mutable std::deque<juce::Optional<PositionInfo>> reports;

    juce::Optional<PositionInfo> getPosition() const override
    {
        const auto next = reports.empty() ? juce::nullopt : reports.front();
        if (! reports.empty())
            reports.pop_front();
        return next;
    }
};

// How Ardour reports an LV2 transport: frame, speed, tempo and metre, no position in beats.
PositionInfo ardourStyle (juce::int64 frame, bool playing)
{
    PositionInfo info;
    info.setTimeInSamples (frame);
    info.setIsPlaying (playing);
    info.setBpm (120.0);
    info.setTimeSignature (juce::AudioPlayHead::TimeSignature { 3, 4 });
    return info;
}

constexpr double rate = 48000.0;
constexpr double beatsPerSample = 120.0 / (60.0 * rate);
} // namespace

TEST (ContinuousPlayHead, aPositionReportedOnceMovesOnWithEveryBlockWhileTheTransportRuns)
{
    ReportingHost host;
    ContinuousPlayHead head;
    head.advance (512, rate);
    EXPECT_FALSE (head.getPosition().hasValue()) << "no host";

    head.setSource (&host);
    head.advance (512, rate);
    EXPECT_FALSE (head.getPosition().hasValue()) << "nothing reported yet";

    host.reports = { ardourStyle (48000 * 5, true) };
    head.advance (512, rate);
    auto position = *head.getPosition();
    EXPECT_DOUBLE_EQ (*position.getPpqPosition(), 10.0); // five seconds at 120 bpm
    EXPECT_DOUBLE_EQ (*position.getPpqPositionOfLastBarStart(), 9.0); // bars of three beats

    head.advance (1000, rate);
    head.advance (1000, rate);
    position = *head.getPosition();
    EXPECT_EQ (*position.getTimeInSamples(), 48000 * 5 + 512 + 1000);
    EXPECT_DOUBLE_EQ (*position.getPpqPosition(), 10.0 + 1512 * beatsPerSample);
    EXPECT_TRUE (position.getIsPlaying());
    EXPECT_DOUBLE_EQ (*position.getBpm(), 120.0);
}

TEST (ContinuousPlayHead, theNextReportWinsAndAStoppedTransportStaysWhereItStopped)
{
    ReportingHost host;
    host.reports = { ardourStyle (0, true), juce::nullopt, ardourStyle (96000, false), juce::nullopt, juce::nullopt };
    ContinuousPlayHead head;
    head.setSource (&host);

    for (int block = 0; block < 2; ++block)
        head.advance (512, rate);

    EXPECT_DOUBLE_EQ (*head.getPosition()->getPpqPosition(), 512 * beatsPerSample);

    // A locate while stopping: the reported place, then no movement.
    for (int block = 0; block < 3; ++block)
    {
        head.advance (512, rate);
        EXPECT_DOUBLE_EQ (*head.getPosition()->getPpqPosition(), 4.0);
        EXPECT_FALSE (head.getPosition()->getIsPlaying());
    }
}

TEST (ContinuousPlayHead, aHostThatReportsBeatsEveryBlockIsFollowedAsItReportsThem)
{
    PositionInfo reported;
    reported.setIsPlaying (true);
    reported.setBpm (90.0);
    reported.setTimeInSamples (0); // a frame that disagrees: the beats win
    reported.setPpqPosition (7.25);
    reported.setPpqPositionOfLastBarStart (4.0);

    ReportingHost host;
    host.reports = { reported, reported };
    ContinuousPlayHead head;
    head.setSource (&host);

    for (int block = 0; block < 2; ++block)
    {
        head.advance (256, rate);
        EXPECT_DOUBLE_EQ (*head.getPosition()->getPpqPosition(), 7.25);
        EXPECT_DOUBLE_EQ (*head.getPosition()->getPpqPositionOfLastBarStart(), 4.0);
    }
}
