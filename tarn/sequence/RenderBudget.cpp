#include "RenderBudget.h"

namespace tarn
{

juce::String RenderReport::describe() const
{
    juce::StringArray parts;

    const auto count = [&parts] (juce::int64 number, const char* what)
    {
        if (number > 0)
            parts.add (juce::String (number) + " " + what);
    };

    count (strikesLeftOut, "repeat strikes");
    count (loopRepeatsLeftOut, "loop repeats");
    count (controllerChangesLeftOut, "controller changes");
    count (notesLeftOut, "notes");

    auto text = parts.isEmpty() ? juce::String() : "left out " + parts.joinIntoString (", ");

    if (controllerStep > 1)
        text << (text.isEmpty() ? "" : "; ") << "controllers sampled every " << controllerStep << " ticks";

    return text;
}

} // namespace tarn
