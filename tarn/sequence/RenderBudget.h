#pragma once

#include <juce_core/juce_core.h>

namespace tarn
{

/** The most one rendered pass of a phrase may hold and cost, whatever the phrase.

    A pass multiplies what is stored: a row loop repeats its notes to the phrase end, a rate
    repeat strikes a note again every few ticks, and every controller lane is sampled tick by
    tick. A damaged or hostile song can turn a few kilobytes into hundreds of millions of
    messages, and the first passes are rendered on the thread that loads the song.

    A musical phrase stays far inside: the largest pass of the factory library is under 600
    messages from under 8,000 lane samples; a four-bar phrase of 64 notes with repeats, row
    loops and four lanes that change on almost every tick renders about 18,500; sixteen bars
    with a repeated sixteenth on every step of sixteen rows and four busy lanes about
    100,000. At the limit a pass takes about 15 MB and a few tens of milliseconds to render,
    so even a song whose twelve phrases all reach it loads in well under a second's work and
    a few hundred megabytes.

    What would go past the budget is left out in this order, each kind from the end of the
    pass backwards, so the part that plays is the phrase as written: first the repeat
    strikes, then the notes that row loops repeat, then controller detail (lanes are sampled
    every few ticks instead of every tick, and as a last resort their last changes go), and
    the notes themselves last. A note is always kept or dropped with its note-off, so nothing
    that is left out can leave a note hanging.
*/
namespace RenderBudget
{
    /** Note-ons, note-offs, repeat strikes and controller messages in one pass: one message
        on every fourth tick of the longest phrase. */
    constexpr int maxMessages = 1 << 18;

    /** Ticks at which controller lanes are sampled in one pass, over all lanes: sixteen
        lanes through a 16-bar phrase or one lane through the longest phrase, tick by tick. */
    constexpr juce::int64 maxLaneSamples = 1 << 20;
} // namespace RenderBudget

/** What a rendered pass left out to keep within the budget. Nothing for every musical
    phrase. The same phrase always leaves out the same: the choice does not depend on the
    pass's random draws. */
struct RenderReport
{
    juce::int64 notesLeftOut = 0;
    juce::int64 loopRepeatsLeftOut = 0;
    juce::int64 strikesLeftOut = 0;
    juce::int64 controllerChangesLeftOut = 0;
    int controllerStep = 1; // lanes were sampled every this many ticks

    bool isComplete() const noexcept
    {
        return notesLeftOut == 0 && loopRepeatsLeftOut == 0 && strikesLeftOut == 0 && controllerChangesLeftOut == 0
               && controllerStep == 1;
    }

    /** One line for the log, naming what was left out. */
    juce::String describe() const;
};

} // namespace tarn
