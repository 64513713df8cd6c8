#pragma once

#include <juce_core/juce_core.h>

/** Conversions of stored values that stay defined for any input a preset file
    can hold: huge numbers, NaN, numeric overflow in text. */

/** Like juce::var::toInt, but a number beyond the int range gives the nearest
    int instead of undefined behaviour, and NaN gives 0. */
int toSafeInt (const juce::var& value);

/** The highest value of each of the panel's controls; each starts at 0. */
namespace ControlRange
{
constexpr int channel = 16;
constexpr int controller7Bit = 119;
constexpr int controller14Bit = 31;
constexpr int note = 127;
constexpr int limit7Bit = 127;
constexpr int limit14Bit = 16383;
} // namespace ControlRange

/** What the panel's controls show of stored values, and so what the upload
    sends: each number rounded to a whole step and held in its control's range,
    as the control itself does with a value it is given. A hand-edited preset
    can hold anything, and the device must get what the screen shows. */

/** 14-bit mode: the value's juce::var truth ("true" and 1 are on). */
bool isFourteenBit (const juce::var& mode);

int shownChannel (const juce::var& value);
int shownController (const juce::var& value, bool is14Bit);
int shownNote (const juce::var& value);

/** A fader's travel limits as its two thumbs show them, lower one first: in
    7-bit mode the MSBs alone, in 14-bit mode MSB * 128 + LSB, each half read
    as an int. */
juce::Range<int> shownLimits (const juce::var& maxMsb, const juce::var& minMsb,
                              const juce::var& maxLsb, const juce::var& minLsb, bool is14Bit);
