#include "Lv2PresetTurtle.h"

namespace
{
const juce::String prefixes = "@prefix lv2:   <http://lv2plug.in/ns/lv2core#> .\n"
                              "@prefix pset:  <http://lv2plug.in/ns/ext/presets#> .\n"
                              "@prefix rdfs:  <http://www.w3.org/2000/01/rdf-schema#> .\n"
                              "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n";
} // namespace

Lv2PresetTurtle::Lv2PresetTurtle (juce::String uri)
    : pluginUri (std::move (uri))
{
}

juce::String Lv2PresetTurtle::makeSlug (const juce::String& text)
{
    juce::String slug;

    for (auto c : text.toLowerCase())
        slug << (juce::CharacterFunctions::isLetterOrDigit (c) && c < 128 ? juce::String::charToString (c) : juce::String ("-"));

    while (slug.contains ("--"))
        slug = slug.replace ("--", "-");

    slug = slug.trimCharactersAtStart ("-").trimCharactersAtEnd ("-");
    return slug.isEmpty() ? juce::String ("preset") : slug;
}

juce::String Lv2PresetTurtle::escape (const juce::String& text)
{
    return text.replace ("\\", "\\\\").replace ("\"", "\\\"").replace ("\n", "\\n").replace ("\r", "\\r").replace ("\t", "\\t");
}

juce::String Lv2PresetTurtle::uniqueSlug (const juce::String& text)
{
    const auto base = makeSlug (text);
    auto slug = base;

    for (int n = 2; slugs.contains (slug); ++n)
        slug = base + "-" + juce::String (n);

    slugs.add (slug);
    return slug;
}

juce::String Lv2PresetTurtle::add (const Preset& preset)
{
    const auto slug = uniqueSlug (preset.bank.isEmpty() ? preset.name : preset.bank + " " + preset.name);
    const auto file = "presets/" + slug + ".ttl";
    const auto uri = "<" + presetUri (slug) + ">";

    entries << uri << "\n"
            << "\ta pset:Preset ;\n"
            << "\tlv2:appliesTo <" << pluginUri << "> ;\n"
            << "\trdfs:label \"" << escape (preset.name) << "\" ;\n";

    // Hosts that tell factory presets from the user's own take those with a description for factory ones.
    if (preset.description.isNotEmpty())
        entries << "\trdfs:comment \"" << escape (preset.description) << "\" ;\n";

    if (preset.bank.isNotEmpty())
    {
        entries << "\tpset:bank <" << bankUri (preset.bank) << "> ;\n";
        banks.addIfNotAlreadyThere (preset.bank);
    }

    entries << "\trdfs:seeAlso <" << file << "> .\n\n";

    juce::String text;
    text << prefixes << "\n"
         << uri << "\n"
         << "\ta pset:Preset ;\n"
         << "\tlv2:appliesTo <" << pluginUri << "> ;\n"
         << "\trdfs:label \"" << escape (preset.name) << "\" ;\n"
         << "\tstate:state [\n"
         << "\t\t<" << pluginUri << ":StateString> \"" << escape (preset.base64State) << "\"\n"
         << "\t] .\n";
    files.emplace_back (file, text);
    return file;
}

juce::String Lv2PresetTurtle::getManifestEntries() const
{
    juce::String text (entries);

    // The property the presets keep the state in; JUCE uses it without declaring it, and
    // a validating host rejects an undeclared, unlabelled property.
    text << "<" << pluginUri << ":StateString>\n"
         << "\ta <http://www.w3.org/1999/02/22-rdf-syntax-ns#Property> ;\n"
         << "\trdfs:label \"State\" ;\n"
         << "\trdfs:comment \"The plug-in's whole state, as a song or a preset keeps it.\" .\n\n";

    for (const auto& bank : banks)
        text << "<" << bankUri (bank) << ">\n"
             << "\ta pset:Bank ;\n"
             << "\trdfs:label \"" << escape (bank) << "\" .\n\n";

    return text;
}

int Lv2PresetTurtle::findPresetEntries (const juce::String& manifest) const
{
    // JUCE's own program presets and ours both begin with the plug-in's URI and ":preset".
    const auto at = manifest.indexOf ("\n<" + pluginUri + ":preset");
    return at < 0 ? manifest.length() : at + 1;
}
