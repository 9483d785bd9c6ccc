#pragma once

#include "LibraryMetrics.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <map>
#include <set>

namespace tarn
{

/** The library's look-and-feel: every colour, font and size of the editor comes from one
    compiled-in theme document, chosen by a colour-scheme number.

    Colours are asked for by a dotted path, group then name ("theme.primary",
    "pianoroll.whiterow"); a value is six hexadecimal digits, or "$" and a variable of the
    theme, optionally followed by "brighter X" or "darker X". Anything missing is written
    to the log (once per path and theme) and answered with the fallback colour, so a theme
    error never stops the editor. The framework's own components (labels, menus, combo
    boxes, tooltips, text editors) take their colours and font from the theme too.

    One per editor; message thread only.
*/
class TarnLibLookAndFeel : public juce::LookAndFeel_V4
{
public:
    /** 0 "Classic.json" (also every unknown number), 1 "Quorvel.json", 2 "Vantor.json",
        3 "CadenziumClassic.json", 4 "CadenziumDark.json", 5 "CadenziumLight.json". */
    static constexpr int numColourSchemes = 6;

    /** What a colour that the theme lacks is painted with: loud, so it is seen and fixed. */
    static constexpr juce::uint32 fallbackColourArgb = 0xffff00ff;

    /** A font height, after the theme's scale, is kept within these. */
    static constexpr float minFontHeight = 0.1f, maxFontHeight = 10000.0f;

    explicit TarnLibLookAndFeel (int colourScheme = 0);
    ~TarnLibLookAndFeel() override;

    /** Loads the scheme's theme when the number differs from the current one, and gives
        the framework's components its colours. Returns true when it changed. */
    bool setColourSchemeNumber (int scheme);
    int getColourSchemeNumber() const noexcept { return schemeNumber; }

    /** The compiled-in document of a scheme number, e.g. "CadenziumDark.json". */
    static juce::String getThemeResourceName (int scheme);

    /** The parsed theme document. */
    const juce::var& getThemeDocument() const noexcept { return theme; }

    /** Uses a theme document that is not compiled in (a theme being written, a test);
        the scheme number stays as it was. */
    void loadThemeDocument (const juce::var& document);

    //==============================================================================
    /** The colour at "group.name" (fallback colour and a log line when missing). */
    juce::Colour getThemeColour (const juce::String& path) const;

    /** Whether the theme has a colour at "group.name" (nothing is logged). */
    bool hasThemeColour (const juce::String& path) const;

    /** The theme's typeface at size × the theme's scale, with its kerning. */
    juce::Font getThemeFont (float size) const;

    /** A product metric of the theme's "metrics" section, else a library metric of that
        name, else `fallback` (logged once). In pixels. */
    float getMetric (const juce::String& name, float fallback = 0.0f) const;

    const LibraryMetrics& getLibraryMetrics() const noexcept { return libraryMetrics; }

    static juce::Colour getFallbackColour() noexcept { return juce::Colour (fallbackColourArgb); }

    //==============================================================================
    // The framework's components
    juce::Typeface::Ptr getTypefaceForFont (const juce::Font& font) override;
    juce::Font getLabelFont (juce::Label& label) override;
    juce::Font getComboBoxFont (juce::ComboBox& box) override;
    juce::Label* createComboBoxTextBox (juce::ComboBox& box) override;
    juce::Font getPopupMenuFont() override;
    juce::Font getTextButtonFont (juce::TextButton& button, int buttonHeight) override;
    juce::Font getAlertWindowTitleFont() override;
    juce::Font getAlertWindowMessageFont() override;
    juce::Font getAlertWindowFont() override;
    juce::Font getSliderPopupFont (juce::Slider& slider) override;

    /** Menus open inside the editor they belong to, so they scale with it and stay in
        the host's window. */
    juce::Component* getParentComponentForMenuOptions (const juce::PopupMenu::Options& options) override;

    juce::Rectangle<int> getTooltipBounds (const juce::String& tipText, juce::Point<int> screenPos,
                                           juce::Rectangle<int> parentArea) override;
    void drawTooltip (juce::Graphics& g, const juce::String& text, int width, int height) override;

    void fillTextEditorBackground (juce::Graphics& g, int width, int height, juce::TextEditor& editor) override;

    // The file chooser drawn inside the window: its path box, list rows, name field and its
    // label in the theme's fonts and colours, the label as wide as its text.
    void layoutFileBrowserComponent (juce::FileBrowserComponent& browser, juce::DirectoryContentsDisplayComponent* list,
                                     juce::FilePreviewComponent* preview, juce::ComboBox* pathBox, juce::TextEditor* nameBox,
                                     juce::Button* upButton) override;
    juce::Button* createFileBrowserGoUpButton() override;
    void drawFileBrowserRow (juce::Graphics& g, int width, int height, const juce::File& file, const juce::String& fileName,
                             juce::Image* icon, const juce::String& sizeText, const juce::String& timeText, bool isFolder,
                             bool isSelected, int index, juce::DirectoryContentsDisplayComponent& list) override;
    void drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor) override;

    /** Column titles in the theme's text font, the rows' font, indented as the rows' cells are. */
    void drawTableHeaderColumn (juce::Graphics& g, juce::TableHeaderComponent& header, const juce::String& columnName, int columnId,
                                int width, int height, bool isMouseOver, bool isMouseDown, int columnFlags) override;

    /** The size the editor's text is set in, before the theme's scale. */
    static constexpr float defaultTextSize = 9.0f;

private:
    struct FontSettings
    {
        juce::String name { "<Sans-Serif>" };
        juce::String style { "Regular" };
        float scale = 1.6f;
        float kerning = -0.027f;
        float descentOverride = -1.0f;
    };

    void loadTheme();
    void readLibraryMetrics();
    void readFontSettings();
    void applyFrameworkColours();

    juce::Colour resolveColour (const juce::String& path) const;
    juce::Colour resolveValue (const juce::String& value) const;
    void logOnce (const juce::String& message) const;

    int schemeNumber;
    juce::var theme;
    LibraryMetrics libraryMetrics;
    FontSettings fontSettings;

    mutable std::map<juce::String, juce::Colour> colourCache;
    mutable std::set<juce::String> loggedProblems;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TarnLibLookAndFeel)
};

} // namespace tarn
