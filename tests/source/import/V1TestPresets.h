#pragma once

#include <juce_core/juce_core.h>

#include <map>

namespace cadenzium::test
{

/** A first-version preset: phrase 0 and phrase 5 hold the notes, phrase 0 the controller
    points (lane -> "time|value ..."). */
inline juce::String v1Preset (const juce::String& controllers = "1,2,3,4,5,6,7,-1",
                              const std::map<int, juce::String>& points = { { 0, "0|10 48|90" }, { 7, "0|8192 96|0" } },
                              const juce::String& fill = "1",
                              const juce::String& steps = "16")
{
    const auto phrase = [&points] (int row, const juce::String& notes, bool withPoints)
    {
        juce::String text = "<SEQUENCE:" + juce::String (row) + " sequence=\"" + notes + "\"";

        for (int lane = 0; lane < 8; ++lane)
            text << " cc" << lane << "=\"" << (withPoints && points.count (lane) > 0 ? points.at (lane) : juce::String()) << "\"";

        return text + "/>";
    };

    return "<?xml version=\"1.0\"?>\n<cadenzium><PARAM id=\"speed\" value=\"3\"/><PARAM id=\"steps\" value=\"" + steps
           + "\"/><PARAM id=\"fill\" value=\"" + fill + "\"/><CONTROLLER numbers=\"" + controllers + "\"/>"
           + phrase (0, "17|0|100|95|0|0|100 9|48|80|71|2|-1|50", true) + phrase (5, "1|0|64|191|0|1|100", false)
           + "</cadenzium>";
}

/** Seven controller numbers: not a first-version preset. */
inline juce::String invalidV1Preset()
{
    return v1Preset ("1,2,3,4,5,6,7");
}

} // namespace cadenzium::test
