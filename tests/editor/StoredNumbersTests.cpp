#include <gtest/gtest.h>

#include "editor/StoredNumbers.h"

#include <cmath>

// What a hand-edited preset holds is text; the program itself stores whole
// numbers. Each row is one stored value and what its control shows of it,
// which is also what the upload sends.
TEST (StoredNumbers, EachNumberShowsRoundedToAWholeStepAndHeldInItsControlsRange)
{
    struct Row { juce::var stored; int channel, controller7Bit, controller14Bit, note; };
    const Row rows[] {
        { "20", 16, 20, 20, 20 },
        { "1e3", 16, 119, 31, 127 },
        { "125", 16, 119, 31, 125 },
        { "40.6", 16, 41, 31, 41 },
        { "40", 16, 40, 31, 40 },
        { "127.6", 16, 119, 31, 127 },
        { "64.5", 16, 65, 31, 65 },
        { "0.49", 0, 0, 0, 0 },
        { "-3", 0, 0, 0, 0 },
        { "Kick", 0, 0, 0, 0 },
        { "", 0, 0, 0, 0 },
        { 7, 7, 7, 7, 7 }, // as the program stores them: unchanged
        { 12.0, 12, 12, 12, 12 },
        { 1.0e300, 16, 119, 31, 127 },
        { -1.0e300, 0, 0, 0, 0 },
        { std::nan (""), 0, 0, 0, 0 },
    };

    for (const auto& row : rows)
    {
        SCOPED_TRACE ("stored " + row.stored.toString());
        EXPECT_EQ (shownChannel (row.stored), row.channel);
        EXPECT_EQ (shownController (row.stored, false), row.controller7Bit);
        EXPECT_EQ (shownController (row.stored, true), row.controller14Bit);
        EXPECT_EQ (shownNote (row.stored), row.note);
    }
}

// The panel and the upload take the mode by the same test, so "true" is
// 14-bit on screen and on the wire alike.
TEST (StoredNumbers, TheModeIsFourteenBitForWhatAToggleReadsAsOn)
{
    for (const auto& on : { juce::var ("true"), juce::var (" TRUE "), juce::var ("yes"), juce::var ("1"), juce::var ("2"), juce::var (true), juce::var (1) })
        EXPECT_TRUE (isFourteenBit (on)) << on.toString();

    for (const auto& off : { juce::var ("false"), juce::var ("0"), juce::var (""), juce::var ("on"), juce::var (false), juce::var (0), juce::var() })
        EXPECT_FALSE (isFourteenBit (off)) << off.toString();
}

namespace
{
juce::String limits (const juce::var& maxMsb, const juce::var& minMsb, const juce::var& maxLsb, const juce::var& minLsb, bool is14Bit)
{
    const auto range = shownLimits (maxMsb, minMsb, maxLsb, minLsb, is14Bit);
    return juce::String (range.getStart()) + "-" + juce::String (range.getEnd());
}
} // namespace

TEST (StoredNumbers, SevenBitLimitsAreTheRoundedMsbsInRangeAndInOrder)
{
    EXPECT_EQ (limits ("127", "0", "5", "9", false), "0-127") << "the LSBs play no part";
    EXPECT_EQ (limits ("100", "64.7", {}, {}, false), "65-100");
    EXPECT_EQ (limits ("300", "-4", {}, {}, false), "0-127");
    EXPECT_EQ (limits ("10", "90", {}, {}, false), "10-90") << "a stored upper limit below the lower one";
}

// Each half is read as an int, as the panel always has; the joined value is
// held in 0..16383.
TEST (StoredNumbers, FourteenBitLimitsJoinTheHalvesInRangeAndInOrder)
{
    EXPECT_EQ (limits ("127", "0", "127", "0", true), "0-16383");
    EXPECT_EQ (limits ("200", "0", "5", "0", true), "0-16383");
    EXPECT_EQ (limits ("2", "3.9", "44", "200", true), "300-584");
    EXPECT_EQ (limits ("0", "0", "-5", "0", true), "0-0");
    EXPECT_EQ (limits ({}, {}, {}, {}, true), "0-0") << "an undefined half counts as 0";
    EXPECT_EQ (limits ("99999999999", "-99999999999", "99999999999", "0", true), "0-16383");
}
