#include "PianoRollMenus.h"

namespace tarn::PianoRollMenus
{
void show (juce::Component& owner, const juce::PopupMenu& menu, std::optional<juce::Point<int>> screenPosition, std::function<void (int)> chosen)
{
    juce::Component::SafePointer<juce::Component> safeOwner (&owner);
    auto guarded = [safeOwner, chosen = std::move (chosen)] (int result)
    {
        if (safeOwner != nullptr && result != 0)
            chosen (result);
    };

    auto options = juce::PopupMenu::Options().withTargetComponent (&owner);

    if (screenPosition.has_value())
        options = options.withTargetScreenArea (juce::Rectangle<int> (1, 1).withPosition (*screenPosition));

    auto shown = menu;
    shown.setLookAndFeel (&owner.getLookAndFeel());
    shown.showMenuAsync (options, std::move (guarded));
}

} // namespace tarn::PianoRollMenus
