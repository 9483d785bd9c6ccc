// Writes the LV2 bundle's Turtle files with JUCE's own helper, run in a fresh, empty home
// folder: the files then describe the plug-in as it ships (its parameters and ports), never
// the presets or settings of whoever builds it. Then it corrects the few statements of JUCE
// 7.0.5's files that LV2 validators reject. The presets are make_lv2_presets' job.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <system_error>
#include <utility>

#define main juceLv2HelperMain
#include <juce_audio_plugin_client/LV2/juce_LV2TurtleDumpProgram.cpp>
#undef main

namespace
{
bool replaceInFile (const std::filesystem::path& file, const std::vector<std::pair<std::string, std::string>>& replacements)
{
    std::stringstream text;
    text << std::ifstream (file).rdbuf();
    auto content = text.str();

    for (const auto& [from, to] : replacements)
    {
        const auto at = content.find (from);

        if (at == std::string::npos)
        {
            std::cerr << file.string() << ": expected text not found: " << from << '\n';
            return false;
        }

        content.replace (at, from.size(), to);
    }

    std::ofstream (file, std::ios::trunc) << content;
    return true;
}

bool correctTurtle (const std::filesystem::path& bundle)
{
    // doap:maintainer and doap:release belong to a doap:Project; an empty e-mail address
    // would resolve to the file's own location.
    const auto dsp = replaceInFile (bundle / "dsp.ttl",
                                    { { "\ta lv2:InstrumentPlugin ;\n", "\ta lv2:InstrumentPlugin , doap:Project ;\n" },
                                      { "\t\tfoaf:mbox <> ;\n", "" } });

    // "noUserResize" is a feature, not extension data; the options interface is extension
    // data, not a feature (JUCE lists it among the optional features, after "noUserResize"
    // for a fixed-size editor and after "resize" for ours).
    const auto ui = replaceInFile (bundle / "ui.ttl",
                                   { { "\t\topts:interface ,\n\t\tui:noUserResize ,\n\t\tui:resize ;", "\t\topts:interface ,\n\t\tui:resize ;" },
                                     { "\t\topts:interface ,\n\t\topts:options ;", "\t\topts:options ;" } });
    return dsp && ui;
}
} // namespace

int main (int argc, const char** argv)
{
    std::string home = (std::filesystem::temp_directory_path() / "cadenzium-lv2-helper-XXXXXX").string();

    if (argc != 2 || mkdtemp (home.data()) == nullptr)
        return 1;

    setenv ("HOME", home.c_str(), 1);
    setenv ("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);

    auto result = juceLv2HelperMain (argc, argv);

    if (result == 0 && ! correctTurtle (std::filesystem::absolute (argv[1]).parent_path()))
        result = 1;

    std::error_code ignored;
    std::filesystem::remove_all (home, ignored);
    return result;
}
