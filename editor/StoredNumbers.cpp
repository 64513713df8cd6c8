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

double toFiniteDouble (const juce::var& value)
{
    const auto number = (double) value;
    return std::isnan (number) ? 0.0 : number;
}
