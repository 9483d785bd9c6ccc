#pragma once

#include <juce_core/juce_core.h>

#include <functional>
#include <vector>

/** Lists the first-version preset files below a folder the user chose, for the bulk
    importer. The folder comes from outside: links may lead back up the tree, and the
    folder may hold the importer's own output. */
namespace V1PresetFinder
{
struct Found
{
    juce::File file;
    juce::String relativePath; // from the chosen folder, "/"-separated, never with ".."
};

/** More files than this are not a preset folder; the list stops there (with a log line). */
inline constexpr int maxFiles = 20000;

/** Every "*.bpre" file below `folder`, recursively, sorted by relative path. Linked
    folders are followed, but no real folder is entered twice, so a link back up the tree
    ends there. Nothing inside `excludedFolder` (the output of an earlier import) is listed,
    also when `folder` lies inside it. Stops early, with what it has, once `shouldStop`
    returns true. [any thread but the audio thread] */
std::vector<Found> find (const juce::File& folder, const juce::File& excludedFolder, const std::function<bool()>& shouldStop = {});
} // namespace V1PresetFinder
