#pragma once

#include <juce_core/juce_core.h>

#include <map>
#include <vector>

namespace cadenzium::test
{

/** The statements of an LV2 bundle's Turtle file, read with the RDF tools' own parser
    (sordi, installed with lv2_validate), so tests look at what a host reads rather than
    at the file's text. Literals are unescaped; URIs stand without their angle brackets. */
class Lv2Triples
{
public:
    static bool isAvailable() { return juce::File ("/usr/bin/sordi").existsAsFile(); }

    explicit Lv2Triples (const juce::File& turtle)
    {
        juce::ChildProcess sordi;

        if (! sordi.start (juce::StringArray { "/usr/bin/sordi", "-o", "ntriples", turtle.getFullPathName(), juce::URL (turtle).toString (false) }, juce::ChildProcess::wantStdOut))
            return;

        for (const auto& line : juce::StringArray::fromLines (sordi.readAllProcessOutput()))
        {
            auto rest = line.trim();
            const auto subject = readTerm (rest);
            const auto predicate = readTerm (rest);
            const auto object = readTerm (rest);

            if (subject.isNotEmpty() && predicate.isNotEmpty())
                statements[subject][predicate].add (object);
        }
    }

    /** Every object of (subject, predicate). */
    juce::StringArray objects (const juce::String& subject, const juce::String& predicate) const
    {
        const auto s = statements.find (subject);
        if (s == statements.end())
            return {};
        const auto p = s->second.find (predicate);
        return p == s->second.end() ? juce::StringArray() : p->second;
    }

    juce::String object (const juce::String& subject, const juce::String& predicate) const { return objects (subject, predicate)[0]; }

    /** Subjects that have (predicate, object). */
    juce::StringArray subjectsWith (const juce::String& predicate, const juce::String& object) const
    {
        juce::StringArray found;

        for (const auto& [subject, predicates] : statements)
            if (const auto p = predicates.find (predicate); p != predicates.end() && p->second.contains (object))
                found.add (subject);

        return found;
    }

    bool isEmpty() const noexcept { return statements.empty(); }

    static constexpr const char* rdfType = "http://www.w3.org/1999/02/22-rdf-syntax-ns#type";
    static constexpr const char* rdfsLabel = "http://www.w3.org/2000/01/rdf-schema#label";
    static constexpr const char* rdfsComment = "http://www.w3.org/2000/01/rdf-schema#comment";
    static constexpr const char* rdfsSeeAlso = "http://www.w3.org/2000/01/rdf-schema#seeAlso";
    static constexpr const char* lv2AppliesTo = "http://lv2plug.in/ns/lv2core#appliesTo";
    static constexpr const char* psetPreset = "http://lv2plug.in/ns/ext/presets#Preset";
    static constexpr const char* psetBank = "http://lv2plug.in/ns/ext/presets#bank";
    static constexpr const char* stateState = "http://lv2plug.in/ns/ext/state#state";

private:
    /** Reads one N-Triples term off the front of `line`: <uri>, _:node or "literal"(^^type|@lang). */
    static juce::String readTerm (juce::String& line)
    {
        line = line.trimStart();

        if (line.startsWithChar ('<'))
        {
            const auto end = line.indexOfChar ('>');
            const auto uri = line.substring (1, end);
            line = line.substring (end + 1);
            return uri;
        }

        if (line.startsWithChar ('"'))
        {
            juce::String text;
            int i = 1;

            for (; i < line.length() && line[i] != '"'; ++i)
            {
                if (line[i] != '\\')
                {
                    text << juce::String::charToString (line[i]);
                    continue;
                }

                switch (line[++i])
                {
                    case 'n': text << "\n"; break;
                    case 't': text << "\t"; break;
                    case 'r': text << "\r"; break;
                    case 'u':
                        text << juce::String::charToString ((juce::juce_wchar) line.substring (i + 1, i + 5).getHexValue32());
                        i += 4;
                        break;
                    default: text << juce::String::charToString (line[i]); break;
                }
            }

            line = line.substring (i + 1).fromFirstOccurrenceOf (" ", false, false);
            return text;
        }

        const auto term = line.upToFirstOccurrenceOf (" ", false, false);
        line = line.fromFirstOccurrenceOf (" ", false, false);
        return term;
    }

    std::map<juce::String, std::map<juce::String, juce::StringArray>> statements;
};

} // namespace cadenzium::test
