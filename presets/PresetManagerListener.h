#pragma once

#include "presets/Preset.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** Told by the preset manager which preset became current and what its
    preset list now holds. Arguments come by value: each listener gets its
    own copy. */
class PresetManagerListener
{
public:
    virtual ~PresetManagerListener() = default;

    /** index is the preset's position in the manager's list, or 0 when the
        list does not hold it. */
    virtual void currentPresetChanged (Preset preset, int index) = 0;

    virtual void presetListChanged (int numPresets, juce::PopupMenu menu) = 0;
};
