#pragma once

#include "ControlTables.h"

#include <tarn/gui/panels/VerticalControlPanel.h>

#include <juce_audio_processors/juce_audio_processors.h>

/** A sidebar panel built from its control table: every parameter row becomes its control,
    bound to the parameter it names, in table order; neighbouring knobs share lines. Rows
    that are settings rather than parameters are made by the subclass.

    All members: [message thread].
*/
class TablePanel : public tarn::VerticalControlPanel
{
public:
    TablePanel (const juce::String& captionText, juce::AudioProcessorValueTreeState& parameters, const std::vector<ControlEntry>& table);
    ~TablePanel() override;

    /** The control built for a table row, by its component ID. */
    juce::Component* findControl (const juce::String& componentId) const;

protected:
    /** Builds the table's controls; the subclass calls it from its constructor, once its
        own members exist. */
    void build();

    /** The control for a setting row; nullptr leaves the row out. */
    virtual std::unique_ptr<juce::Component> createSettingControl (const ControlEntry& entry);

    juce::AudioProcessorValueTreeState& parameters;

private:
    const std::vector<ControlEntry>& table;
    std::vector<std::unique_ptr<juce::Component>> controls;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TablePanel)
};

/** The parameter control a table row describes, bound to its parameter(s); nullptr (and an
    assertion) when the table names a parameter the processor does not have. */
std::unique_ptr<juce::Component> createParameterControl (juce::AudioProcessorValueTreeState& parameters, const ControlEntry& entry);
