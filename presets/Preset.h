#pragma once

#include <juce_core/juce_core.h>

/** Names one preset file. Two presets are the same preset when their files
    are equal; the name is only what the menu shows. */
struct Preset
{
    juce::String name;
    bool isFactory = false;
    juce::File file;
};
