#pragma once

#include <juce_core/juce_core.h>

/** Orders files for the preset menu by name, extension included: digit runs
    by their value (Pad 2 before Pad 10) and letters without regard to case. */
class PresetFileComparator
{
public:
    static int compareElements (const juce::File& first, const juce::File& second);

    /** The same order on file names already taken from their files. */
    static int compareNames (const juce::String& first, const juce::String& second);
};
