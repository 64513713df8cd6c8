#include "presets/PresetFileComparator.h"

int PresetFileComparator::compareElements (const juce::File& first, const juce::File& second)
{
    return first.getFileName().compareNatural (second.getFileName(), false);
}
