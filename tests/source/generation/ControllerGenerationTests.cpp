#include "GenerationTestSupport.h"

using namespace generation_test;
namespace cg = ControllerGeneration;

namespace
{
tarn::ControllerLane makeLane (int type, int number = -1, int channel = 1)
{
    tarn::ControllerLane lane;
    std::tie (lane.type, lane.number, lane.channel) = std::tie (type, number, channel);
    return lane;
}

juce::ValueTree makeChild (bool enabled, double density, double rangeMin = 0.0, double rangeMax = 1.0)
{
    return juce::ValueTree (cg::Ids::ccGenerator, { { cg::Ids::enable, enabled }, { cg::Ids::density, density }, { cg::Ids::rangeMin, rangeMin }, { cg::Ids::rangeMax, rangeMax } });
}

std::set<int> valuesOf (const tarn::ControllerLane& lane)
{
    std::set<int> values;
    for (const auto& point : lane.points)
        values.insert (point.value);
    return values;
}
} // namespace

TEST (ControllerGeneration, fullDensityPutsAPointOnEverySixteenthInsideTheRange)
{
    juce::Random random (3);
    auto lane = makeLane (tarn::ControllerLane::controlChange, 1);
    cg::fillLane (lane, cg::LaneSettings::fromTree (makeChild (true, 100.0)), 3840, random);

    ASSERT_EQ (lane.points.size(), 16u);

    for (size_t i = 0; i < 16; ++i)
        EXPECT_TRUE (lane.points[i].timestamp == 240 * (int) i && lane.points[i].shape >= 0 && lane.points[i].shape <= 2 && lane.points[i].curve >= 0.0f && lane.points[i].curve < 1.0f);

    // A quarter to three quarters of a control change: 32 to 95, both ends reached.
    cg::fillLane (lane, cg::LaneSettings::fromTree (makeChild (true, 100.0, 0.25, 0.75)), 64 * 3840, random);
    const auto values = valuesOf (lane);
    EXPECT_EQ (std::pair (*values.begin(), *values.rbegin()), std::pair (32, 95));

    // A pitch-bend range of one point at the middle is exactly 0 (8191.5 rounds to even).
    auto bend = makeLane (tarn::ControllerLane::pitchBend);
    cg::fillLane (bend, cg::LaneSettings::fromTree (makeChild (true, 100.0, 0.5, 0.5)), 3840, random);
    EXPECT_EQ (valuesOf (bend), (std::set<int> { 0 }));

    // An inverted range draws at its low end.
    cg::fillLane (lane, cg::LaneSettings::fromTree (makeChild (true, 100.0, 0.75, 0.25)), 3840, random);
    EXPECT_EQ (valuesOf (lane), (std::set<int> { 95 }));

    // Density 0 empties an enabled lane.
    cg::fillLane (lane, cg::LaneSettings::fromTree (makeChild (true, 0.0)), 3840, random);
    EXPECT_TRUE (lane.points.empty());
}

TEST (ControllerGeneration, onlyEnabledLanesWithTheirOwnSettingsAreRefilled)
{
    auto phrase = makeSequence ({ makeNote (0, 0, 240) });
    phrase.lanes = { makeLane (tarn::ControllerLane::controlChange, 1), makeLane (tarn::ControllerLane::pitchBend), makeLane (tarn::ControllerLane::controlChange, 7) };

    for (auto& lane : phrase.lanes)
        lane.points = { { 960, 64, 0.5f, 0 } };
    phrase.normalise();

    juce::ValueTree node (cg::Ids::generation);
    node.appendChild (makeChild (true, 100.0), nullptr);
    node.appendChild (makeChild (false, 100.0), nullptr);

    const auto generate = [] (const tarn::Sequence& p, consts::RegenerationMode target, const juce::ValueTree& n)
    { return generateWithSeed (p, makeRows (1), makeSettings (GenerationSettings::Polyphony::mono), 5, target, n); };
    const auto result = generate (phrase, consts::RegenerationMode::phrase, node);
    EXPECT_EQ (result.lanes[0].points.size(), 16u);
    EXPECT_EQ (result.lanes[1], phrase.lanes[1]); // disabled
    EXPECT_EQ (result.lanes[2], phrase.lanes[2]); // no settings child

    // Nothing enabled: a controller regeneration leaves the phrase as it was.
    node.getChild (0).setProperty (cg::Ids::enable, false, nullptr);
    const auto untouched = generate (phrase, consts::RegenerationMode::controllers, node);
    EXPECT_TRUE (tarn::SequenceEditing::hasSameContent (untouched, phrase));

    // A child made for another lane is not used for the lane now at its position: after
    // lane 0 is deleted and before the node is rebuilt, the pitch bend keeps its points.
    auto child = makeChild (true, 100.0);
    child.setProperty (cg::Ids::type, tarn::ControllerLane::controlChange, nullptr);
    juce::ValueTree stale (cg::Ids::generation);
    stale.appendChild (child, nullptr);
    auto withoutFirstLane = phrase;
    withoutFirstLane.lanes.erase (withoutFirstLane.lanes.begin());
    const auto kept = generate (withoutFirstLane, consts::RegenerationMode::controllers, stale);
    EXPECT_EQ (kept.lanes[0], phrase.lanes[1]);
}

TEST (ControllerGeneration, rebuildingTheNodeKeepsEachLanesOwnSettings)
{
    const std::vector<tarn::ControllerLane> lanes { makeLane (tarn::ControllerLane::controlChange, 1), makeLane (tarn::ControllerLane::pitchBend, -1, 2) };
    const auto built = cg::rebuildForLanes (juce::ValueTree (cg::Ids::generation), lanes);
    ASSERT_EQ (built.getNumChildren(), 2);
    EXPECT_FALSE (cg::LaneSettings::fromTree (built.getChild (1)).enabled);

    auto configured = built.createCopy();
    configured.getChild (0).setProperty (cg::Ids::enable, true, nullptr);
    configured.getChild (1).setProperty (cg::Ids::density, 40.0, nullptr);

    // Deleting a lane is checked through its command; here reordered, and a new lane at the end starting from the defaults.
    const auto reordered = cg::rebuildForLanes (configured, { lanes[1], lanes[0], makeLane (tarn::ControllerLane::controlChange, 7) });
    EXPECT_EQ (cg::LaneSettings::fromTree (reordered.getChild (0)).density, 40);
    EXPECT_TRUE (cg::LaneSettings::fromTree (reordered.getChild (1)).enabled);
    EXPECT_FALSE (cg::LaneSettings::fromTree (reordered.getChild (2)).enabled);
    EXPECT_EQ ((int) reordered.getChild (2)[cg::Ids::number], 7);

    // A child from an older state names no channel: it is matched by position and type.
    juce::ValueTree old (cg::Ids::generation);
    auto oldChild = makeChild (true, 70.0);
    oldChild.setProperty (cg::Ids::type, tarn::ControllerLane::controlChange, nullptr);
    old.appendChild (oldChild, nullptr);
    EXPECT_EQ (cg::LaneSettings::fromTree (cg::rebuildForLanes (old, lanes).getChild (0)).density, 70);
    EXPECT_EQ (cg::LaneSettings::fromTree (cg::rebuildForLanes (old, { lanes[1] }).getChild (0)).density, 0);
}
