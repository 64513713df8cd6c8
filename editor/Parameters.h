#pragma once

#include <juce_data_structures/juce_data_structures.h>
#include <juce_graphics/juce_graphics.h>

struct ParameterStore;

/** The vocabulary that every part of the program shares: parameter keys,
    the name keys, the notification identifier and the two interface colours. */

// Global part (list 4).
inline const juce::String channelSelectKey { "channel_select" };
inline const juce::String fourteenBitToggleKey { "14bit_midi_toggle" };

// Per bank (lists 0 to 3); element n - 1 belongs to fader or button n.
inline const juce::StringArray faderCcKeys { "fader1_cc", "fader2_cc", "fader3_cc", "fader4_cc" };
inline const juce::StringArray faderCc14bKeys { "fader1_cc_14b", "fader2_cc_14b", "fader3_cc_14b", "fader4_cc_14b" };
inline const juce::StringArray maxMsbKeys { "max1_msb", "max2_msb", "max3_msb", "max4_msb" };
inline const juce::StringArray minMsbKeys { "min1_msb", "min2_msb", "min3_msb", "min4_msb" };
inline const juce::StringArray maxLsbKeys { "max1_lsb", "max2_lsb", "max3_lsb", "max4_lsb" };
inline const juce::StringArray minLsbKeys { "min1_lsb", "min2_lsb", "min3_lsb", "min4_lsb" };
inline const juce::StringArray buttonCcKeys { "button1_cc", "button2_cc", "button3_cc", "button4_cc" };

/** The eight name keys: faders 1 to 4, then buttons 1 to 4. Button n's name
    lives under "button<n+1>_text". */
inline const juce::StringArray textKeys { "fader1_text", "fader2_text", "fader3_text", "fader4_text",
                                          "button2_text", "button3_text", "button4_text", "button5_text" };

/** Names a property-change notification sent without setting any property. */
inline const juce::Identifier hostSetStateRequest { "HOST_SETSTATE_REQUEST" };

inline const juce::Colour offWhite { 0xFFF2F2F7 };
inline const juce::Colour offBlack { 0xFF1C1C1E };

constexpr int globalList = 4;
constexpr int numBanks = 4;

/** Writes the start-up configuration into an empty store: the global list,
    then banks A to D, 146 parameters in all. */
void addDefaultParameters (ParameterStore& store);

/** The start-up value of a parameter; void for a key the defaults lack. */
juce::var defaultValueOf (const juce::String& key, int list);

/** Gives a tree read from a preset each parameter of the start-up
    configuration that it lacks, or holds without a value, with its start-up
    value: a missing list goes at the end of the root, a missing parameter at
    the end of its list. A list type or a key that the tree repeats keeps its
    first copy only; everything else stays in its order. Records nothing for
    undo. */
void addMissingParameters (juce::ValueTree& tree);
