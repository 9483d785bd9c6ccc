#pragma once

#include <juce_core/juce_core.h>

#include <map>

/** First-version preset files, written as text. */
namespace cadenzium::test::v1
{

inline juce::String document (const juce::String& body, const juce::String& rootTag = "cadenzium")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + rootTag + ">" + body + "</" + rootTag + ">";
}

inline juce::String param (const juce::String& id, const juce::String& value)
{
    return "<PARAM id=\"" + id + "\" value=\"" + value + "\"/>";
}

inline juce::String timing (const juce::String& speed = "3", const juce::String& steps = "16")
{
    return param ("speed", speed) + param ("steps", steps);
}

inline juce::String controllers (const juce::String& numbers = "1,2,3,4,5,6,7,-1")
{
    return "<CONTROLLER numbers=\"" + numbers + "\"/>";
}

/** A phrase element; every cc attribute is present (empty) unless given or left out. */
inline juce::String phrase (const juce::String& row, const juce::String& notes, const std::map<int, juce::String>& points = {}, int missingLane = -1)
{
    juce::String text = "<SEQUENCE:" + row + " sequence=\"" + notes + "\"";

    for (int lane = 0; lane < 8; ++lane)
        if (lane != missingLane)
            text << " cc" << lane << "=\"" << (points.count (lane) > 0 ? points.at (lane) : juce::String()) << "\"";

    return text + "/>";
}

/** A complete, valid preset whose phrase 0 holds the notes and points. */
inline juce::String preset (const juce::String& notes, const std::map<int, juce::String>& points = {}, const juce::String& speed = "3", const juce::String& steps = "16")
{
    return document (timing (speed, steps) + controllers() + phrase ("0", notes, points));
}

/** A preset whose phrases 0 and 5 hold notes, phrase 0 the controller points. */
inline juce::String songPreset (const juce::String& controllerNumbers = "1,2,3,4,5,6,7,-1",
                                const std::map<int, juce::String>& points = { { 0, "0|10 48|90" }, { 7, "0|8192 96|0" } },
                                const juce::String& fill = "1",
                                const juce::String& steps = "16")
{
    return document (timing ("3", steps) + param ("fill", fill) + controllers (controllerNumbers)
                     + phrase ("0", "17|0|100|95|0|0|100 9|48|80|71|2|-1|50", points) + phrase ("5", "1|0|64|191|0|1|100"));
}

/** Seven controller numbers: not a first-version preset. */
inline juce::String invalidPreset()
{
    return songPreset ("1,2,3,4,5,6,7");
}

} // namespace cadenzium::test::v1

namespace cadenzium::test
{
// The names the editor's file-command tests use.
inline juce::String v1Preset() { return v1::songPreset(); }
inline juce::String invalidV1Preset() { return v1::invalidPreset(); }
} // namespace cadenzium::test
