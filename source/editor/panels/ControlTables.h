#pragma once

#include <source/generation/RegenerationMode.h>

#include <vector>

/** What kind of control a table row builds. */
enum class ControlKind
{
    toggle, // a switch parameter
    knob, // a continuous parameter as a knob
    slider, // a continuous parameter as a horizontal slider
    range, // two parameters, low and high, on one two-handled slider
    combo, // a stepped parameter as a menu
    choice, // a stepped parameter as a row of buttons
    setting // not a parameter: the panel builds it (key signature, swing speed)
};

/** One control of a sidebar panel: its component ID (the parameter's identifier, or the
    setting's name), the label it shows, its tooltip, and the parameter(s) it drives. */
struct ControlEntry
{
    const char* componentId;
    const char* label;
    const char* tooltip;
    const char* parameterId; // nullptr for a setting
    const char* secondParameterId; // the high bound of a range, else nullptr
    ControlKind kind;
};

/** A command button of the window: its component ID, its name (shown as text on the text
    buttons), its tooltip and, for the icon buttons, the theme icon. */
struct CommandEntry
{
    const char* componentId;
    const char* name;
    const char* tooltip;
    const char* iconName; // nullptr for a text button
};

/** A button of the regeneration panel and the target it regenerates. */
struct RegenerationEntry
{
    const char* name;
    const char* tooltip;
    consts::RegenerationMode target;
};

/** Every control of the sidebars and command bars as data, in the order they are shown.
    The panels build themselves from these tables. [any thread: constant data] */
namespace ControlTables
{
// Playback sidebar
const std::vector<ControlEntry>& keyswitches();
const std::vector<ControlEntry>& input();
const std::vector<ControlEntry>& modifiers();
const std::vector<ControlEntry>& passthrough();

// Generation sidebar
const std::vector<ControlEntry>& noteGeneration();
const std::vector<ControlEntry>& modifierGeneration();
const std::vector<ControlEntry>& mutation();
const std::vector<RegenerationEntry>& regeneration();

/** The mutation panel's own Mutate button. */
const CommandEntry& mutationPanelMutate();

/** The controller generation panel's per-lane controls. */
inline constexpr const char* controllerEnableTooltip = "Enable: Enable generation for this controller";
inline constexpr const char* controllerRangeTooltip = "Range: Control the range of values to generate";
inline constexpr const char* controllerDensityTooltip = "Density: Control the amount of points to generate";

/** The window's command buttons. */
namespace Commands
{
const CommandEntry& newRow();
const CommandEntry& undo();
const CommandEntry& redo();
const CommandEntry& keyboardPreview();
const CommandEntry& sidebarToggle();
const CommandEntry& importMidi();
const CommandEntry& renderMidi();
const CommandEntry& loadV1Preset();
const CommandEntry& generate();
const CommandEntry& mutate();
const CommandEntry& panic();
} // namespace Commands

/** The scale names of the key-signature menu come from the scale table (Scales::all());
    these are the menu's other texts. */
inline constexpr const char* keySignatureId = "key_signature";
inline constexpr const char* swingSpeedId = "swing_speed";
} // namespace ControlTables
