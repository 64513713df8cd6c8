#pragma once

#include <juce_core/juce_core.h>

/** Conversions of stored values that stay defined for any input a preset file
    can hold: huge numbers, NaN, numeric overflow in text. */

/** Like juce::var::toInt, but a number beyond the int range gives the nearest
    int instead of undefined behaviour, and NaN gives 0. */
int toSafeInt (const juce::var& value);

/** Like juce::var::toDouble, but NaN gives 0. */
double toFiniteDouble (const juce::var& value);
