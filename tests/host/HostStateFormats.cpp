#include "HostStateFormats.h"

namespace cadenzium::test
{
namespace
{
    constexpr size_t headerSize = 4 + 4 + 32 + 8;
}

std::optional<juce::MemoryBlock> Vst3Preset::componentState (const juce::MemoryBlock& preset)
{
    if (preset.getSize() < headerSize)
        return std::nullopt;

    juce::MemoryInputStream in (preset, false);
    char magic[4] {};
    in.read (magic, 4);

    if (juce::String (magic, 4) != "VST3" || in.readInt() != 1)
        return std::nullopt;

    in.skipNextBytes (32);
    const auto listOffset = in.readInt64();

    if (listOffset < (juce::int64) headerSize || listOffset + 8 > (juce::int64) preset.getSize())
        return std::nullopt;

    in.setPosition (listOffset);
    char list[4] {};
    in.read (list, 4);
    const auto count = in.readInt();

    if (juce::String (list, 4) != "List")
        return std::nullopt;

    for (int i = 0; i < count && ! in.isExhausted(); ++i)
    {
        char id[4] {};
        in.read (id, 4);
        const auto offset = in.readInt64();
        const auto size = in.readInt64();

        if (juce::String (id, 4) == "Comp" && offset >= 0 && size >= 0 && offset + size <= (juce::int64) preset.getSize())
            return juce::MemoryBlock (preset.begin() + offset, (size_t) size);
    }

    return std::nullopt;
}

std::optional<juce::MemoryBlock> Vst3Preset::withComponentState (const juce::MemoryBlock& preset, const juce::MemoryBlock& state)
{
    if (! componentState (preset).has_value())
        return std::nullopt;

    juce::MemoryBlock result;
    juce::MemoryOutputStream out (result, false);
    out.write (preset.getData(), 40); // "VST3", version, class ID
    out.writeInt64 ((juce::int64) (headerSize + state.getSize()));
    out << state;
    out.write ("List", 4);
    out.writeInt (1);
    out.write ("Comp", 4);
    out.writeInt64 ((juce::int64) headerSize);
    out.writeInt64 ((juce::int64) state.getSize());
    out.flush();
    return result;
}

namespace
{
    // The quoted literal after the property, as [start of text, end of text).
    std::optional<std::pair<int, int>> findStateLiteral (const juce::String& turtle, const juce::String& pluginUri)
    {
        const auto property = turtle.indexOf ("<" + pluginUri + ":StateString>");

        if (property < 0)
            return std::nullopt;

        const auto open = turtle.indexOfChar (property, '"');
        const auto close = open >= 0 ? turtle.indexOfChar (open + 1, '"') : -1;

        if (close < 0)
            return std::nullopt;

        return std::pair (open + 1, close);
    }
} // namespace

std::optional<juce::MemoryBlock> Lv2StateFile::state (const juce::String& turtle, const juce::String& pluginUri)
{
    const auto literal = findStateLiteral (turtle, pluginUri);
    juce::MemoryBlock block;

    if (! literal.has_value() || ! block.fromBase64Encoding (turtle.substring (literal->first, literal->second)))
        return std::nullopt;

    return block;
}

std::optional<juce::String> Lv2StateFile::withState (const juce::String& turtle, const juce::String& pluginUri, const juce::MemoryBlock& state)
{
    const auto literal = findStateLiteral (turtle, pluginUri);

    if (! literal.has_value())
        return std::nullopt;

    return turtle.replaceSection (literal->first, literal->second - literal->first, state.toBase64Encoding());
}

} // namespace cadenzium::test
