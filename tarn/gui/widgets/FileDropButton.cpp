#include "FileDropButton.h"

#include <tarn/gui/Theme.h>

namespace tarn
{

FileDropButton::FileDropButton (const juce::String& icon, const juce::String& componentId, const juce::String& tooltip)
    : IconButton (icon, componentId, tooltip)
{
}

FileDropButton::~FileDropButton() = default;

void FileDropButton::setAcceptedExtensions (const juce::StringArray& extensions)
{
    acceptedExtensions = extensions;
}

std::optional<juce::File> FileDropButton::findAcceptedFile (const juce::StringArray& paths) const
{
    for (const auto& path : paths)
    {
        if (! juce::File::isAbsolutePath (path))
            continue;

        const juce::File file (path);

        for (const auto& extension : acceptedExtensions)
            if (file.getFileName().endsWithIgnoreCase (extension) && ! file.isDirectory())
                return file;
    }

    return std::nullopt;
}

bool FileDropButton::isInterestedInFileDrag (const juce::StringArray& files)
{
    return isEnabled() && findAcceptedFile (files).has_value();
}

void FileDropButton::fileDragEnter (const juce::StringArray&, int, int)
{
    setDropHovering (true);
}

void FileDropButton::fileDragExit (const juce::StringArray&)
{
    setDropHovering (false);
}

void FileDropButton::filesDropped (const juce::StringArray& files, int, int)
{
    setDropHovering (false);

    if (! isEnabled())
        return;

    if (const auto file = findAcceptedFile (files); file.has_value() && onFileDropped != nullptr)
        onFileDropped (*file);
}

void FileDropButton::setDropHovering (bool hovering)
{
    if (hovering != dropHovering)
    {
        dropHovering = hovering;
        repaint();
    }
}

void FileDropButton::enablementChanged()
{
    if (! isEnabled())
        dropHovering = false;

    IconButton::enablementChanged();
}

void FileDropButton::mouseDown (const juce::MouseEvent& e)
{
    if (e.mods.isPopupMenu() && onRightClick != nullptr)
        return;

    IconButton::mouseDown (e);
}

void FileDropButton::mouseUp (const juce::MouseEvent& e)
{
    if (e.mods.isPopupMenu() && onRightClick != nullptr)
    {
        if (e.mouseWasClicked() && isEnabled())
            onRightClick();

        return;
    }

    IconButton::mouseUp (e);
}

void FileDropButton::paintButton (juce::Graphics& g, bool highlighted, bool down)
{
    if (! dropHovering)
    {
        IconButton::paintButton (g, highlighted, down);
        return;
    }

    // Lit in the theme colour with a ring: "let go here".
    const auto bounds = getLocalBounds().toFloat().reduced (1.0f);
    const auto corner = themeMetric (*this, "cornerRadius", 2.5f);
    const auto theme = themeColour (*this, "theme.primary");
    g.setColour (theme.withAlpha (0.35f));
    g.fillRoundedRectangle (bounds, corner);
    IconButton::paintButton (g, false, false);
    g.setColour (theme);
    g.drawRoundedRectangle (bounds, corner, 2.0f);
}

} // namespace tarn
