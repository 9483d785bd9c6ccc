#include "TarnLibLookAndFeel.h"

#include "widgets/ComboTextBox.h"

#include "Fonts.h"
#include "Icons.h"

#include <TarnBinary.h>
#include <juce_audio_processors/juce_audio_processors.h>

namespace tarn
{
namespace
{
    juce::var loadThemeResource (const juce::String& fileName)
    {
        int size = 0;
        const auto resourceName = fileName.replaceCharacter ('.', '_');

        if (const auto* data = TarnBinary::getNamedResource (resourceName.toRawUTF8(), size))
            return juce::JSON::parse (juce::String::fromUTF8 (data, size));

        return {};
    }

    /** "5249E2" (opaque) or "CC5249E2" (with alpha); anything else is not a colour. */
    std::optional<juce::Colour> parseHexColour (const juce::String& text)
    {
        const auto hex = text.trim();

        if ((hex.length() != 6 && hex.length() != 8) || ! hex.containsOnly ("0123456789abcdefABCDEF"))
            return std::nullopt;

        const auto value = (juce::uint32) hex.getHexValue32();
        return juce::Colour (hex.length() == 6 ? (0xff000000u | value) : value);
    }

    void readInt (const juce::var& section, const char* key, int& target)
    {
        const auto value = section.getProperty (key, {});

        if (value.isInt() || value.isInt64() || value.isDouble())
            target = (int) value;
    }

    void readFloat (const juce::var& section, const char* key, float& target)
    {
        const auto value = section.getProperty (key, {});

        if (value.isInt() || value.isInt64() || value.isDouble())
            target = (float) (double) value;
    }
} // namespace

TarnLibLookAndFeel::TarnLibLookAndFeel (int colourScheme)
    : schemeNumber (colourScheme)
{
    loadTheme();
}

TarnLibLookAndFeel::~TarnLibLookAndFeel() = default;

juce::String TarnLibLookAndFeel::getThemeResourceName (int scheme)
{
    switch (scheme)
    {
        case 1: return "Quorvel.json";
        case 2: return "Vantor.json";
        case 3: return "CadenziumClassic.json";
        case 4: return "CadenziumDark.json";
        case 5: return "CadenziumLight.json";
        default: return "Classic.json";
    }
}

bool TarnLibLookAndFeel::setColourSchemeNumber (int scheme)
{
    if (scheme == schemeNumber)
        return false;

    schemeNumber = scheme;
    loadTheme();
    return true;
}

void TarnLibLookAndFeel::loadTheme()
{
    loadThemeDocument (loadThemeResource (getThemeResourceName (schemeNumber)));
}

void TarnLibLookAndFeel::loadThemeDocument (const juce::var& document)
{
    theme = document;
    colourCache.clear();
    loggedProblems.clear();

    readLibraryMetrics();
    readFontSettings();
    applyFrameworkColours();
}

void TarnLibLookAndFeel::readLibraryMetrics()
{
    libraryMetrics = {};
    const auto metrics = theme.getProperty ("tarnlib", {}).getProperty ("metrics", {});

    const auto plots = metrics.getProperty ("plots", {});
    readInt (plots, "spectrumAnalyserPixelGroupSize", libraryMetrics.spectrumAnalyserPixelGroupSize);

    const auto layouts = metrics.getProperty ("layouts", {});
    readInt (layouts, "defaultButtonHeight", libraryMetrics.defaultButtonHeight);
    readInt (layouts, "defaultButtonWidth", libraryMetrics.defaultButtonWidth);
    readInt (layouts, "iconButtonPadding", libraryMetrics.iconButtonPadding);
    readInt (layouts, "topBarButtonHeight", libraryMetrics.topBarButtonHeight);
    readInt (layouts, "topBarButtonWidth", libraryMetrics.topBarButtonWidth);
    readInt (layouts, "topBarIconPadding", libraryMetrics.topBarIconPadding);
    readInt (layouts, "panelPadding", libraryMetrics.panelPadding);
}

void TarnLibLookAndFeel::readFontSettings()
{
    fontSettings = {};
    const auto font = theme.getProperty ("font", {});

    if (font.hasProperty ("name"))
        fontSettings.name = font["name"].toString();

    if (font.hasProperty ("family"))
        fontSettings.style = font["family"].toString();

    readFloat (font, "scale", fontSettings.scale);
    readFloat (font, "kerning", fontSettings.kerning);
    readFloat (font, "descentOverride", fontSettings.descentOverride);
}

void TarnLibLookAndFeel::applyFrameworkColours()
{
    const auto background = getThemeColour ("background.background");
    const auto panel = getThemeColour ("background.panel");
    const auto element = getThemeColour ("elements.element");
    const auto border = getThemeColour ("elements.elementborder");
    const auto text = getThemeColour ("text.text");
    const auto primary = getThemeColour ("theme.primary");
    const auto highlightedText = getThemeColour ("text.highlightedtext");
    // A control's resting outline stands out from the panel it sits on; borders between
    // areas stay quiet. Older schemes without the newer names keep their border colours.
    const auto themeColourOr = [this] (const char* path, juce::Colour fallback)
    { return hasThemeColour (path) ? getThemeColour (path) : fallback; };
    const auto outline = themeColourOr ("elements.outline", border);

    setColourScheme ({ background, element, panel, border, text, primary, highlightedText, primary, text });

    setColour (juce::TooltipWindow::backgroundColourId, panel.brighter (0.1f));
    setColour (juce::TooltipWindow::textColourId, text);
    setColour (juce::TooltipWindow::outlineColourId, border);
    setColour (juce::TextEditor::backgroundColourId, element);
    setColour (juce::TextEditor::outlineColourId, outline);
    setColour (juce::TextEditor::focusedOutlineColourId, primary);
    setColour (juce::TextEditor::highlightColourId, primary.withAlpha (0.5f));
    setColour (juce::CaretComponent::caretColourId, text);
    setColour (juce::Label::textColourId, text);
    setColour (juce::ComboBox::backgroundColourId, element);
    setColour (juce::ComboBox::outlineColourId, outline);
    setColour (juce::ScrollBar::thumbColourId, themeColourOr ("scrollbar.thumb", element.brighter (0.4f)));
    setColour (juce::ScrollBar::trackColourId, juce::Colours::transparentBlack);

    setColour (juce::FileBrowserComponent::currentPathBoxBackgroundColourId, element);
    setColour (juce::FileBrowserComponent::currentPathBoxTextColourId, text);
    setColour (juce::FileBrowserComponent::currentPathBoxArrowColourId, text);
    setColour (juce::FileBrowserComponent::filenameBoxBackgroundColourId, element);
    setColour (juce::FileBrowserComponent::filenameBoxTextColourId, text);
    setColour (juce::DirectoryContentsDisplayComponent::highlightColourId, primary.withAlpha (0.45f));
    setColour (juce::DirectoryContentsDisplayComponent::textColourId, text);
    setColour (juce::DirectoryContentsDisplayComponent::highlightedTextColourId, highlightedText);
    setColour (juce::ListBox::backgroundColourId, element);
    setColour (juce::ListBox::outlineColourId, outline);
    setColour (juce::PopupMenu::backgroundColourId, panel);
    setColour (juce::PopupMenu::highlightedBackgroundColourId, primary);
    setColour (juce::PopupMenu::highlightedTextColourId, themeColourOr ("text.textOnTheme", highlightedText));
}

//==============================================================================
juce::Colour TarnLibLookAndFeel::getThemeColour (const juce::String& path) const
{
    if (const auto cached = colourCache.find (path); cached != colourCache.end())
        return cached->second;

    const auto colour = resolveColour (path);
    colourCache[path] = colour;
    return colour;
}

bool TarnLibLookAndFeel::hasThemeColour (const juce::String& path) const
{
    auto node = theme.getProperty ("colours", {});

    for (const auto& part : juce::StringArray::fromTokens (path, ".", {}))
    {
        if (part.isEmpty() || ! node.isObject())
            return false;

        node = node.getProperty (juce::Identifier (part), {});
    }

    return node.isString();
}

juce::Colour TarnLibLookAndFeel::resolveColour (const juce::String& path) const
{
    auto node = theme.getProperty ("colours", {});

    if (! node.isObject())
    {
        logOnce ("Unable to find the theme colours section in theme file");
        return getFallbackColour();
    }

    const auto parts = juce::StringArray::fromTokens (path, ".", {});

    for (int i = 0; i < parts.size() - 1; ++i)
    {
        node = node.getProperty (juce::Identifier (parts[i].isEmpty() ? juce::String ("_") : parts[i]), {});

        if (! node.isObject())
        {
            logOnce ("Unable to find the  colour '" + path + "' section in theme file");
            return getFallbackColour();
        }
    }

    const auto name = parts[parts.size() - 1];
    const auto value = name.isEmpty() ? juce::var() : node.getProperty (juce::Identifier (name), {});

    if (! value.isString())
    {
        logOnce ("Unable to find the colour '" + name + "' in theme file");
        return getFallbackColour();
    }

    return resolveValue (value.toString());
}

juce::Colour TarnLibLookAndFeel::resolveValue (const juce::String& value) const
{
    if (! value.startsWithChar ('$'))
    {
        if (const auto colour = parseHexColour (value))
            return *colour;

        logOnce ("Unable to read the colour '" + value + "' in theme file");
        return getFallbackColour();
    }

    const auto words = juce::StringArray::fromTokens (value.substring (1), " ", {});
    const auto variableName = words[0];
    const auto variables = theme.getProperty ("variables", {});

    if (! variables.isObject())
    {
        logOnce ("Unable to find the theme variables section in theme file");
        return getFallbackColour();
    }

    const auto variable = variableName.isEmpty() ? juce::var() : variables.getProperty (juce::Identifier (variableName), {});
    const auto base = variable.isString() ? parseHexColour (variable.toString()) : std::nullopt;

    if (! base)
    {
        logOnce ("Unable to find variable '" + variableName + "' in theme file");
        return getFallbackColour();
    }

    const auto operation = words[1];
    const auto amount = words[2].getFloatValue();

    if (operation == "brighter")
        return base->brighter (amount);

    if (operation == "darker")
        return base->darker (amount);

    return *base;
}

void TarnLibLookAndFeel::logOnce (const juce::String& message) const
{
    if (loggedProblems.insert (message).second)
        juce::Logger::writeToLog (message);
}

juce::Font TarnLibLookAndFeel::getThemeFont (float size) const
{
    const auto height = juce::jlimit (minFontHeight, maxFontHeight, size * fontSettings.scale);
    return Fonts::make (fontSettings.name, fontSettings.style, height, fontSettings.kerning, fontSettings.descentOverride);
}

float TarnLibLookAndFeel::getMetric (const juce::String& name, float fallback) const
{
    const auto value = name.isEmpty() ? juce::var() : theme.getProperty ("metrics", {}).getProperty (juce::Identifier (name), {});

    if (value.isInt() || value.isInt64() || value.isDouble())
        return (float) (double) value;

    const std::pair<const char*, int> library[] = {
        { "spectrumAnalyserPixelGroupSize", libraryMetrics.spectrumAnalyserPixelGroupSize },
        { "defaultButtonHeight", libraryMetrics.defaultButtonHeight },
        { "defaultButtonWidth", libraryMetrics.defaultButtonWidth },
        { "iconButtonPadding", libraryMetrics.iconButtonPadding },
        { "topBarButtonHeight", libraryMetrics.topBarButtonHeight },
        { "topBarButtonWidth", libraryMetrics.topBarButtonWidth },
        { "topBarIconPadding", libraryMetrics.topBarIconPadding },
        { "panelPadding", libraryMetrics.panelPadding },
    };

    for (const auto& [key, metric] : library)
        if (name == key)
            return (float) metric;

    logOnce ("Unable to find the metric '" + name + "' in theme file");
    return fallback;
}

//==============================================================================
juce::Typeface::Ptr TarnLibLookAndFeel::getTypefaceForFont (const juce::Font& font)
{
    if (auto embedded = Fonts::findEmbeddedTypeface (font.getTypefaceName(), font.getTypefaceStyle()))
        return embedded;

    return LookAndFeel_V4::getTypefaceForFont (font);
}

juce::Font TarnLibLookAndFeel::getLabelFont (juce::Label& label)
{
    // A label given a font of its own keeps its size, in the theme's typeface.
    return getThemeFont (label.getFont().getHeight() / fontSettings.scale);
}

juce::Font TarnLibLookAndFeel::getComboBoxFont (juce::ComboBox& box)
{
    return getThemeFont (juce::jmin (defaultTextSize, (float) box.getHeight() * 0.7f / fontSettings.scale));
}

juce::Font TarnLibLookAndFeel::getPopupMenuFont()
{
    return getThemeFont (defaultTextSize);
}

juce::Font TarnLibLookAndFeel::getTextButtonFont (juce::TextButton&, int buttonHeight)
{
    return getThemeFont (juce::jmin (defaultTextSize, (float) buttonHeight * 0.6f / fontSettings.scale));
}

juce::Font TarnLibLookAndFeel::getAlertWindowTitleFont() { return getThemeFont (defaultTextSize * 1.3f); }
juce::Font TarnLibLookAndFeel::getAlertWindowMessageFont() { return getThemeFont (defaultTextSize); }
juce::Font TarnLibLookAndFeel::getAlertWindowFont() { return getThemeFont (defaultTextSize); }
juce::Font TarnLibLookAndFeel::getSliderPopupFont (juce::Slider&) { return getThemeFont (defaultTextSize); }

juce::Label* TarnLibLookAndFeel::createComboBoxTextBox (juce::ComboBox&)
{
    return new ComboTextBox();
}

juce::Component* TarnLibLookAndFeel::getParentComponentForMenuOptions (const juce::PopupMenu::Options& options)
{
    if (auto* parent = options.getParentComponent())
        return parent;

    if (auto* target = options.getTargetComponent())
        if (auto* editor = target->findParentComponentOfClass<juce::AudioProcessorEditor>())
            return editor;

    return nullptr;
}

juce::Rectangle<int> TarnLibLookAndFeel::getTooltipBounds (const juce::String& tipText, juce::Point<int> screenPos,
                                                           juce::Rectangle<int> parentArea)
{
    const auto font = getThemeFont (defaultTextSize);
    const auto padding = 8;
    const auto maxWidth = 420;

    juce::TextLayout layout;
    juce::AttributedString text;
    text.append (tipText, font);
    text.setWordWrap (juce::AttributedString::byWord);
    layout.createLayout (text, (float) maxWidth);

    const auto w = (int) std::ceil (layout.getWidth()) + padding * 2;
    const auto h = (int) std::ceil (layout.getHeight()) + padding;

    return juce::Rectangle<int> (screenPos.x > parentArea.getCentreX() ? screenPos.x - (w + 12) : screenPos.x + 24,
                                 screenPos.y > parentArea.getCentreY() ? screenPos.y - (h + 6) : screenPos.y + 6,
                                 w, h)
        .constrainedWithin (parentArea);
}

void TarnLibLookAndFeel::drawTooltip (juce::Graphics& g, const juce::String& text, int width, int height)
{
    const auto bounds = juce::Rectangle<int> (width, height).toFloat();
    const auto corner = getMetric ("cornerRadius", 2.5f);

    g.setColour (findColour (juce::TooltipWindow::backgroundColourId));
    g.fillRoundedRectangle (bounds, corner);
    g.setColour (findColour (juce::TooltipWindow::outlineColourId));
    g.drawRoundedRectangle (bounds.reduced (0.5f), corner, 1.0f);

    juce::AttributedString attributed;
    attributed.append (text, getThemeFont (defaultTextSize), findColour (juce::TooltipWindow::textColourId));
    attributed.setWordWrap (juce::AttributedString::byWord);
    attributed.setJustification (juce::Justification::centredLeft);

    juce::TextLayout layout;
    layout.createLayout (attributed, (float) width - 16.0f);
    layout.draw (g, bounds.reduced (8.0f, 4.0f));
}

void TarnLibLookAndFeel::layoutFileBrowserComponent (juce::FileBrowserComponent& browser, juce::DirectoryContentsDisplayComponent* list,
                                                     juce::FilePreviewComponent* preview, juce::ComboBox* pathBox,
                                                     juce::TextEditor* nameBox, juce::Button* upButton)
{
    const auto lineHeight = (int) getMetric ("defaultButtonHeight", 25.0f);
    const auto gap = (int) getMetric ("panelPadding", 20.0f) / 4;
    auto area = browser.getLocalBounds().reduced (gap * 2, gap);

    auto top = area.removeFromTop (lineHeight);
    upButton->setBounds (top.removeFromRight (lineHeight + gap * 2));
    top.removeFromRight (gap);
    pathBox->setBounds (top);

    auto bottom = area.removeFromBottom (lineHeight);
    area.removeFromBottom (gap * 2);

    // The name field's label ("File name:") stands to its left, whole.
    for (auto* child : browser.getChildren())
        if (auto* label = dynamic_cast<juce::Label*> (child); label != nullptr && label->getAttachedComponent() == nameBox)
        {
            label->setFont (getThemeFont (defaultTextSize));
            const auto width = (int) std::ceil (getLabelFont (*label).getStringWidthFloat (label->getText())) + label->getBorderSize().getLeftAndRight() + 2;
            bottom.removeFromLeft (width + gap);
        }

    nameBox->setBounds (bottom);
    nameBox->applyFontToAllText (getThemeFont (defaultTextSize));

    if (preview != nullptr)
        preview->setBounds (area.removeFromRight (area.getWidth() / 3));

    if (auto* listComponent = dynamic_cast<juce::Component*> (list))
    {
        listComponent->setBounds (area.withTrimmedTop (gap));

        if (auto* rows = dynamic_cast<juce::ListBox*> (listComponent))
            rows->setRowHeight (lineHeight);
    }
}

juce::Button* TarnLibLookAndFeel::createFileBrowserGoUpButton()
{
    // The framework's arrow is white whatever the scheme: this one is the scheme's text.
    auto* button = new juce::DrawableButton ("up", juce::DrawableButton::ImageOnButtonBackground);
    juce::Path arrow;
    arrow.addArrow ({ 50.0f, 100.0f, 50.0f, 0.0f }, 40.0f, 100.0f, 50.0f);
    juce::DrawablePath image;
    image.setFill (getThemeColour ("text.text"));
    image.setPath (arrow);
    button->setImages (&image);
    return button;
}

void TarnLibLookAndFeel::drawFileBrowserRow (juce::Graphics& g, int width, int height, const juce::File&, const juce::String& fileName,
                                             juce::Image*, const juce::String& sizeText, const juce::String& timeText, bool isFolder,
                                             bool isSelected, int, juce::DirectoryContentsDisplayComponent& list)
{
    auto* listComponent = dynamic_cast<juce::Component*> (&list);
    const auto colourOf = [&] (int id) { return listComponent != nullptr ? listComponent->findColour (id) : findColour (id); };

    if (isSelected)
    {
        g.setColour (colourOf (juce::DirectoryContentsDisplayComponent::highlightColourId));
        g.fillRect (0, 0, width, height);
    }

    auto area = juce::Rectangle<int> (width, height).reduced (6, 0);
    const auto textColour = colourOf (isSelected ? juce::DirectoryContentsDisplayComponent::highlightedTextColourId
                                                 : juce::DirectoryContentsDisplayComponent::textColourId);

    if (auto icon = Icons::create (isFolder ? "folder" : "sequence", textColour))
        icon->drawWithin (g, area.removeFromLeft (height).toFloat().reduced ((float) height * 0.22f), juce::RectanglePlacement::centred, 1.0f);
    area.removeFromLeft (6);

    // Size and date in the secondary text colour at the right, when the row is wide enough.
    if (width > 450 && ! isFolder)
    {
        const auto secondary = hasThemeColour ("text.secondarytext") ? getThemeColour ("text.secondarytext") : getThemeColour ("text.disabledtext");
        g.setFont (getThemeFont (defaultTextSize * 0.85f));
        g.setColour (isSelected ? textColour : secondary);
        g.drawFittedText (timeText, area.removeFromRight (juce::jmin (130, area.getWidth() / 4)), juce::Justification::centredRight, 1);
        g.drawFittedText (sizeText, area.removeFromRight (juce::jmin (90, area.getWidth() / 4)), juce::Justification::centredRight, 1);
    }

    g.setColour (textColour);
    g.setFont (getThemeFont (defaultTextSize));
    g.drawFittedText (fileName, area, juce::Justification::centredLeft, 1);
}

void TarnLibLookAndFeel::fillTextEditorBackground (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    g.setColour (editor.findColour (juce::TextEditor::backgroundColourId));
    g.fillRoundedRectangle (juce::Rectangle<int> (width, height).toFloat(), getMetric ("cornerRadius", 2.5f));
}

void TarnLibLookAndFeel::drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    if (! editor.isEnabled())
        return;

    const auto focused = editor.hasKeyboardFocus (true) && ! editor.isReadOnly();
    g.setColour (editor.findColour (focused ? juce::TextEditor::focusedOutlineColourId : juce::TextEditor::outlineColourId));
    g.drawRoundedRectangle (juce::Rectangle<int> (width, height).toFloat().reduced (0.5f),
                            getMetric ("cornerRadius", 2.5f), focused ? 1.5f : 1.0f);
}

void TarnLibLookAndFeel::drawTableHeaderColumn (juce::Graphics& g, juce::TableHeaderComponent& header, const juce::String& columnName,
                                                int, int width, int height, bool isMouseOver, bool isMouseDown, int)
{
    const auto highlight = header.findColour (juce::TableHeaderComponent::highlightColourId);

    if (isMouseDown)
        g.fillAll (highlight);
    else if (isMouseOver)
        g.fillAll (highlight.withMultipliedAlpha (0.625f));

    g.setColour (header.findColour (juce::TableHeaderComponent::textColourId));
    g.setFont (getThemeFont (defaultTextSize));
    g.drawFittedText (columnName, juce::Rectangle<int> (width, height).reduced (8, 0), juce::Justification::centredLeft, 1);
}

} // namespace tarn
