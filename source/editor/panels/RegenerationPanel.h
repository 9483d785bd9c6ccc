#pragma once

#include <source/generation/RegenerationMode.h>
#include <tarn/gui/panels/VerticalControlPanel.h>
#include <tarn/gui/widgets/CommandButton.h>

#include <functional>

/** "Regeneration": seven buttons, each redrawing one aspect of the edited phrase (the
    whole phrase, the notes, or one attribute of every note, or the controller lanes).
    [message thread] */
class RegenerationPanel : public tarn::VerticalControlPanel
{
public:
    using Callback = std::function<void (consts::RegenerationMode)>;

    explicit RegenerationPanel (Callback regenerate);

    int getNumButtons() const noexcept { return buttons.size(); }
    juce::Button& getButton (int index) { return *buttons[index]; }

private:
    juce::OwnedArray<tarn::CommandButton> buttons;
};
