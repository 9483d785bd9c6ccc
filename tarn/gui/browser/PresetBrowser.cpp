#include "PresetBrowser.h"

#include "BrowserMetrics.h"

#include <tarn/util/RandomSource.h>

namespace tarn
{

PresetBrowser::PresetBrowser (PresetManager& presetManager)
    : presets (presetManager)
{
    setComponentID ("preset_browser_panel");

    tree.onFolderSelected = [this] (const PresetBrowserModel::FolderPath& folder)
    {
        model.selectFolder (folder);
        showVisiblePresets();
        repaint (folderDescriptionArea);
    };

    table.onPresetClicked = [this] (const PresetInfo& preset)
    { loadShownPreset (preset); };
    table.onPresetDoubleClicked = [this] (const PresetInfo& preset)
    {
        if (loadShownPreset (preset) && onCloseRequested != nullptr)
            onCloseRequested();
    };
    table.onRevealRequested = [this] (const PresetInfo& preset)
    { revealPreset (preset); };
    table.onSelectionChanged = [this]
    { updateDisplay(); };
    table.onEscape = [this]
    {
        if (onCloseRequested != nullptr)
            onCloseRequested();
    };

    filterMode.onChange = [this] (int option)
    {
        model.setFilterMode (option == 0 ? CategoryFilter::Mode::show : CategoryFilter::Mode::hide);
        showVisiblePresets();
    };
    matchMode.onChange = [this] (int option)
    {
        model.setMatchMode (option == 0 ? CategoryFilter::Match::any : CategoryFilter::Match::all);
        showVisiblePresets();
    };

    randomButton.setComponentID ("browser_random");
    randomButton.setTooltip (randomTooltip);
    randomButton.onClick = [this]
    { loadRandomPreset(); };

    searchBox.setComponentID ("browser_search");
    searchBox.setTooltip (searchTooltip);
    searchBox.setSelectAllWhenFocused (true);
    searchBox.setEscapeAndReturnKeysConsumed (false);
    searchBox.onTextChange = [this]
    {
        model.setSearchText (searchBox.getText());
        showVisiblePresets();
    };
    // Escape clears a search first; a second Escape closes the browser as it does in the list.
    searchBox.onEscapeKey = [this]
    {
        if (searchBox.isEmpty())
        {
            if (onCloseRequested != nullptr)
                onCloseRequested();
            return;
        }

        searchBox.clear();
        model.setSearchText ({});
        showVisiblePresets();
    };
    applySearchColours();

    for (auto* child : std::initializer_list<juce::Component*> { &searchBox, &tree, &table, &display, &filterMode, &matchMode, &randomButton })
        addAndMakeVisible (child);

    setRevealer ({});
    presets.addListener (this);
    rebuildFromLibrary();
}

PresetBrowser::~PresetBrowser()
{
    presets.removeListener (this);
}

void PresetBrowser::setRevealer (Revealer newRevealer)
{
    if (newRevealer != nullptr)
    {
        revealer = std::move (newRevealer);
        return;
    }

    if (locationRevealer == nullptr)
        locationRevealer = std::make_unique<LocationRevealer>();

    revealer = [this] (const juce::File& file)
    { return locationRevealer->reveal (file); };
}

//==============================================================================
bool PresetBrowser::loadShownPreset (const PresetInfo& shown)
{
    // The row may be older than the list: a save or an import renumbers it. Its preset is
    // found again by its file, so the click never loads a neighbour.
    const auto list = presets.getPresetList();
    const auto index = PresetBrowserModel::findLibraryIndex (shown, *list);

    if (! index.has_value())
    {
        rebuildFromLibrary();
        return false;
    }

    // Number 0 always stands for the initial state; without a factory folder a user preset
    // holds that number too, and only its file can load it.
    if (*index == 0 && shown.path.isNotEmpty())
        return presets.loadPresetFile (juce::File (shown.path));

    return presets.loadPreset (*index);
}

bool PresetBrowser::loadRandomPreset()
{
    if (const auto pick = model.pickRandom (RandomSource::threadGenerator()))
        return loadShownPreset (*pick);

    return false;
}

bool PresetBrowser::revealPreset (const PresetInfo& preset)
{
    if (preset.path.isEmpty() || revealer == nullptr)
        return false;

    return revealer (juce::File (preset.path));
}

bool PresetBrowser::revealSelectedPreset()
{
    if (const auto selected = table.getSelectedPreset())
        return revealPreset (*selected);

    return false;
}

CategoryBadge* PresetBrowser::findBadge (const juce::String& category) const
{
    for (auto* badge : badges)
        if (badge->getCategory() == category)
            return badge;

    return nullptr;
}

//==============================================================================
void PresetBrowser::currentPresetChanged (const PresetInfo& current)
{
    const auto shown = shownAsCurrent (current);
    table.setCurrentPreset (shown);

    if (const auto row = table.findRow (shown); row >= 0)
        table.scrollToRow (row);

    updateDisplay();
}

PresetInfo PresetBrowser::shownAsCurrent (const PresetInfo& current)
{
    // Until something is loaded the library's current entry is blank: the default state,
    // which the Initial Patch stands for (the top bar names it so too).
    if (current.name.isEmpty() && current.path.isEmpty())
        return PresetInfo::makeInitialPatch();

    return current;
}

void PresetBrowser::presetLibraryRefreshed()
{
    rebuildFromLibrary();
}

void PresetBrowser::rebuildFromLibrary()
{
    model.setLibrary (presets.getIndexTree(), presets.getPresetList());
    tree.setIndex (model.getIndexTree());
    tree.selectFolder (model.getSelectedFolder());
    rebuildBadges();
    showVisiblePresets();
    table.setCurrentPreset (shownAsCurrent (presets.getCurrentPreset()));
    updateDisplay();
    resized();
    repaint();
}

void PresetBrowser::rebuildBadges()
{
    badges.clear();

    for (const auto& category : model.getCategories())
    {
        auto* badge = badges.add (new CategoryBadge (category));
        badge->setToggleState (model.isCategorySelected (category), juce::dontSendNotification);
        badge->onClick = [this, badge]
        {
            // The badge may have toggled itself already; the model says what is selected.
            if (badge->getToggleState() != model.isCategorySelected (badge->getCategory()))
                model.toggleCategory (badge->getCategory());

            categoriesChanged();
        };
        badge->onClearAll = [this]
        {
            model.clearCategories();
            categoriesChanged();
        };
        addAndMakeVisible (badge);
    }
}

void PresetBrowser::categoriesChanged()
{
    for (auto* badge : badges)
        badge->setToggleState (model.isCategorySelected (badge->getCategory()), juce::dontSendNotification);

    showVisiblePresets();
}

void PresetBrowser::showVisiblePresets()
{
    table.setPresets (model.getVisible());

    if (const auto row = table.getSelectedRow(); row >= 0)
        table.scrollToRow (row);

    updateDisplay();
}

void PresetBrowser::updateDisplay()
{
    display.setPreset (table.getSelectedPreset());
}

void PresetBrowser::lookAndFeelChanged()
{
    applySearchColours();
}

void PresetBrowser::applySearchColours()
{
    searchBox.setFont (themeFont (*this));
    searchBox.setTextToShowWhenEmpty (searchHint, themeColour (*this, "text.disabledtext"));
    searchBox.setColour (juce::TextEditor::backgroundColourId, themeColour (*this, "background.panel"));
    searchBox.setColour (juce::TextEditor::textColourId, themeColour (*this, "text.text"));
    searchBox.setColour (juce::TextEditor::outlineColourId, themeColour (*this, "elements.elementborder"));
    searchBox.setColour (juce::TextEditor::focusedOutlineColourId, themeColour (*this, "theme.primary"));
    searchBox.setColour (juce::TextEditor::highlightColourId, themeColour (*this, "theme.primary").withAlpha (0.4f));
    searchBox.setColour (juce::CaretComponent::caretColourId, themeColour (*this, "text.text"));
    searchBox.applyFontToAllText (themeFont (*this));
}

//==============================================================================
int PresetBrowser::layoutFilterBar (juce::Rectangle<int> area, bool place)
{
    const auto gap = BrowserMetrics::gap (*this);
    const auto height = BrowserMetrics::controlHeight (*this);
    auto firstLine = area.removeFromTop (height);
    const auto textWidth = [this] (const char* text)
    { return juce::roundToInt (std::ceil (themeFont (*this).getStringWidthFloat (text))); };

    // The first line: the search box on the left; on the right the labelled switches and
    // Random. The badges, after their caption, flow on the lines below.
    auto placeRight = [&] (juce::Component& c, int width)
    {
        const auto slot = firstLine.removeFromRight (width);
        firstLine.removeFromRight (gap);

        if (place)
            c.setBounds (slot);
    };
    auto labelRight = [&] (juce::Rectangle<int>& labelArea, const char* text)
    {
        const auto slot = firstLine.removeFromRight (textWidth (text) + gap / 2);
        firstLine.removeFromRight (gap);

        if (place)
            labelArea = slot;
    };

    placeRight (randomButton, juce::jmax (70, textWidth (randomText) + 2 * gap));
    firstLine.removeFromRight (gap);
    placeRight (matchMode, matchMode.getIdealWidth());
    labelRight (matchModeLabelArea, matchModeLabel);
    firstLine.removeFromRight (gap);
    placeRight (filterMode, filterMode.getIdealWidth());
    labelRight (filterModeLabelArea, filterModeLabel);

    if (place)
        searchBox.setBounds (firstLine.withWidth (std::min (firstLine.getWidth(), std::max (textWidth (searchHint) + 3 * gap, firstLine.getWidth() / 2))));

    area.removeFromTop (gap);
    auto badgeLine = area.withHeight (height);
    const auto caption = badgeLine.removeFromLeft (textWidth (filterCaption) + gap);

    if (place)
        captionArea = caption;

    const auto left = badgeLine.getX();
    const auto right = badgeLine.getRight();
    const auto badgeHeight = height - 2;
    int x = left, y = badgeLine.getY(), lines = 1;

    for (auto* badge : badges)
    {
        const auto width = juce::jmin (badge->getIdealWidth (badgeHeight), right - left);

        if (x > left && x + width > right)
        {
            x = left;
            y += height + gap / 2;
            ++lines;
        }

        if (place)
            badge->setBounds (x, y + 1, width, badgeHeight);

        x += width + gap / 2;
    }

    return height + gap + lines * height + (lines - 1) * (gap / 2);
}

void PresetBrowser::resized()
{
    const auto gap = BrowserMetrics::gap (*this);
    auto area = getLocalBounds().reduced (gap * 2);

    if (area.isEmpty())
        return;

    const auto barHeight = layoutFilterBar (area, false);
    layoutFilterBar (area.removeFromTop (barHeight), true);
    area.removeFromTop (gap * 2);

    const auto wide = area.getWidth() >= 760;
    auto treeColumn = area.removeFromLeft (juce::jlimit (140, 240, area.getWidth() / 5));
    area.removeFromLeft (gap);

    // Below the tree: the chosen folder's name and description (or how many presets it holds).
    folderDescriptionArea = treeColumn.removeFromBottom (juce::jmin (treeColumn.getHeight() / 3, BrowserMetrics::rowHeight (*this) * 4));
    treeColumn.removeFromBottom (gap);
    tree.setBounds (treeColumn);

    if (wide)
    {
        display.setBounds (area.removeFromRight (juce::jlimit (200, 320, area.getWidth() / 4)));
        area.removeFromRight (gap);
    }
    else
    {
        display.setBounds (area.removeFromBottom (juce::jmin (area.getHeight() / 3, BrowserMetrics::rowHeight (*this) * 6)));
        area.removeFromBottom (gap);
    }

    // The table ends on a whole row, so its last visible row is never cut at the edge.
    const auto rowHeight = BrowserMetrics::rowHeight (*this);
    const auto rows = std::max (1, (area.getHeight() - rowHeight - 2) / rowHeight);
    table.setBounds (area.withHeight (std::min (area.getHeight(), rowHeight * (rows + 1) + 2)));
}

void PresetBrowser::paint (juce::Graphics& g)
{
    g.fillAll (themeColour (*this, "background.background"));

    g.setColour (themeColour (*this, "text.text"));
    g.setFont (themeFont (*this));
    g.drawText (filterCaption, captionArea, juce::Justification::centredLeft, false);
    g.drawText (filterModeLabel, filterModeLabelArea, juce::Justification::centredRight, false);
    g.drawText (matchModeLabel, matchModeLabelArea, juce::Justification::centredRight, false);

    if (folderDescriptionArea.isEmpty())
        return;

    const auto corner = themeMetric (*this, "cornerRadius", 2.5f);
    g.setColour (themeColour (*this, "background.panel"));
    g.fillRoundedRectangle (folderDescriptionArea.toFloat(), corner);

    const auto description = model.getFolderDescription();
    const auto selectedFolder = tree.findItem (model.getSelectedFolder());
    auto text = folderDescriptionArea.reduced (BrowserMetrics::gap (*this));

    if (selectedFolder != nullptr)
    {
        g.setColour (themeColour (*this, "text.highlightedtext"));
        g.setFont (themeFont (*this, 8.0f));
        g.drawText (selectedFolder->getFolderName(), text.removeFromTop (juce::roundToInt (themeFont (*this, 8.0f).getHeight() * 1.3f)),
                    juce::Justification::centredLeft, true);
    }

    g.setColour (themeColour (*this, "text.text").withMultipliedAlpha (0.75f));
    g.setFont (themeFont (*this, 7.5f));
    const auto count = (int) model.getScope().size();
    const auto shown = description.isNotEmpty() ? description : juce::String (count) + (count == 1 ? " preset" : " presets");
    g.drawFittedText (shown, text, juce::Justification::topLeft, juce::jmax (1, text.getHeight() / juce::roundToInt (themeFont (*this, 7.5f).getHeight())), 1.0f);
}

} // namespace tarn
