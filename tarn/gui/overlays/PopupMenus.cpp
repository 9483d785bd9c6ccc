#include "PopupMenus.h"

namespace tarn
{

void showMenu (PopupKind& kind, juce::Component& owner, const juce::PopupMenu& menu,
               juce::PopupMenu::Options options, std::function<void (int)> chosen)
{
    if (options.getTargetComponent() == nullptr)
    {
        // The target decides which editor the menu sits in and how it scales; a screen area
        // given before stays where it was.
        const auto area = options.getTargetScreenArea();
        options = options.withTargetComponent (&owner);

        if (! area.isEmpty())
            options = options.withTargetScreenArea (area);
    }

    const juce::Component::SafePointer<juce::Component> safeOwner (&owner);
    auto shown = menu;
    shown.setLookAndFeel (&owner.getLookAndFeel());
    kind.shown();
    shown.showMenuAsync (options, [safeOwner, chosen = std::move (chosen)] (int result)
                         {
                             if (safeOwner != nullptr && result != 0 && chosen != nullptr)
                                 chosen (result);
                         });
}

void showMenuAt (PopupKind& kind, juce::Component& owner, const juce::PopupMenu& menu,
                 juce::Point<int> screenPosition, std::function<void (int)> chosen)
{
    showMenu (kind, owner, menu, juce::PopupMenu::Options().withTargetComponent (&owner).withTargetScreenArea ({ screenPosition, screenPosition }),
              std::move (chosen));
}

} // namespace tarn
