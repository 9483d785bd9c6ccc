#pragma once

#include <juce_core/juce_core.h>

/** The LV2 bundle's description of presets, as Turtle: the manifest's entries (label,
    description, bank), one file per preset holding its whole state, and the banks.

    Each preset carries the state the plug-in has after loading that preset as a program,
    in the same string property the LV2 plug-in saves its state under: loading it is a state
    restore, so it gives exactly that state whatever presets the user has installed. */
class Lv2PresetTurtle
{
public:
    explicit Lv2PresetTurtle (juce::String pluginUri);

    struct Preset
    {
        juce::String name, description;
        juce::String bank; // the library folder it sits in, or empty
        juce::String base64State; // the host state container, base-64 as the plug-in stores it
    };

    /** Adds a preset; returns its file, relative to the bundle. */
    juce::String add (const Preset& preset);

    /** What the manifest lists: every preset and bank added. */
    juce::String getManifestEntries() const;

    /** The files to write into the bundle: relative path, Turtle text. */
    const std::vector<std::pair<juce::String, juce::String>>& getPresetFiles() const noexcept { return files; }

    /** "Rising Eighths" -> "rising-eighths". */
    static juce::String makeSlug (const juce::String& text);

    /** A Turtle string literal's content. */
    static juce::String escape (const juce::String& text);

    /** Where a manifest's preset entries begin, so that an older list can be replaced;
        the text's length when it has none. */
    int findPresetEntries (const juce::String& manifest) const;

private:
    juce::String uniqueSlug (const juce::String& text);
    juce::String presetUri (const juce::String& slug) const { return pluginUri + ":preset/" + slug; }
    juce::String bankUri (const juce::String& bank) const { return pluginUri + ":bank/" + makeSlug (bank); }

    const juce::String pluginUri;
    juce::String entries;
    juce::StringArray banks, slugs;
    std::vector<std::pair<juce::String, juce::String>> files;
};
