#include "editor/StoredNumbers.h"

#include <cmath>
#include <limits>

namespace
{
int clampToInt (double number)
{
    if (std::isnan (number))
        return 0;

    constexpr auto lowest = (double) std::numeric_limits<int>::min();
    constexpr auto highest = (double) std::numeric_limits<int>::max();
    return (int) juce::jlimit (lowest, highest, number);
}

int clampToInt (juce::int64 number)
{
    return (int) juce::jlimit ((juce::int64) std::numeric_limits<int>::min(),
                               (juce::int64) std::numeric_limits<int>::max(),
                               number);
}
} // namespace

int toSafeInt (const juce::var& value)
{
    if (value.isDouble())
        return clampToInt ((double) value);

    if (value.isInt64())
        return clampToInt ((juce::int64) value);

    // The text's leading decimal integer, as toInt reads it, but wide enough
    // that long digit strings cannot overflow.
    if (value.isString())
        return clampToInt (value.toString().getLargeIntValue());

    return (int) value;
}

namespace
{
// Like juce::var::toDouble, but NaN gives 0.
double toFiniteDouble (const juce::var& value)
{
    const auto number = (double) value;
    return std::isnan (number) ? 0.0 : number;
}

// A slider with interval 1 from 0: to the nearest step, then into the range.
int roundedInto (double number, int highest)
{
    return (int) juce::jlimit (0.0, (double) highest, std::floor (number + 0.5));
}

int joinedHalves (const juce::var& msb, const juce::var& lsb)
{
    const auto joined = (juce::int64) toSafeInt (msb) * 128 + toSafeInt (lsb);
    return (int) juce::jlimit ((juce::int64) 0, (juce::int64) ControlRange::limit14Bit, joined);
}
} // namespace

bool isFourteenBit (const juce::var& mode)
{
    return (bool) mode;
}

int shownChannel (const juce::var& value)
{
    return roundedInto (toFiniteDouble (value), ControlRange::channel);
}

int shownController (const juce::var& value, bool is14Bit)
{
    return roundedInto (toFiniteDouble (value), is14Bit ? ControlRange::controller14Bit : ControlRange::controller7Bit);
}

int shownNote (const juce::var& value)
{
    return roundedInto (toFiniteDouble (value), ControlRange::note);
}

juce::Range<int> shownLimits (const juce::var& maxMsb, const juce::var& minMsb,
                              const juce::var& maxLsb, const juce::var& minLsb, bool is14Bit)
{
    if (is14Bit)
        return juce::Range<int>::between (joinedHalves (minMsb, minLsb), joinedHalves (maxMsb, maxLsb));

    return juce::Range<int>::between (roundedInto (toFiniteDouble (minMsb), ControlRange::limit7Bit),
                                      roundedInto (toFiniteDouble (maxMsb), ControlRange::limit7Bit));
}
