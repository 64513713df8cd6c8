#include "presets/PresetFileComparator.h"

int PresetFileComparator::compareElements (const juce::File& first, const juce::File& second)
{
    return compareNames (first.getFileName(), second.getFileName());
}

int PresetFileComparator::compareNames (const juce::String& first, const juce::String& second)
{
    return first.compareNatural (second, false);
}
