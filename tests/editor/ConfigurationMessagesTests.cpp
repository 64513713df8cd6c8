#include <gtest/gtest.h>

#include "editor/ConfigurationMessages.h"
#include "editor/ParameterStore.h"
#include "editor/Parameters.h"

namespace
{
juce::String hex (const std::vector<uint8_t>& bytes) { return juce::String::toHexString (bytes.data(), (int) bytes.size()); }

// Per bank: notes, controllers, upper MSBs and LSBs, lower MSBs and LSBs.
const juce::String limits = " 7f 7f 7f 7f 7f 7f 7f 7f 00 00 00 00 00 00 00 00 ";
const auto sevenBit = "f0 01 00 00 01 00 00 01 02 03 10 11 12 13" + limits + "04 05 06 07 14 15 16 17" + limits
                      + "08 09 0a 0b 18 19 1a 1b" + limits + "0c 0d 0e 0f 1c 1d 1e 1f" + limits + "f7";
} // namespace

// Undefined values take their defaults, so every byte keeps its place; any
// other value gives a data byte, and a name five printable bytes.
TEST (Messages, EveryStoredValueGivesDataBytesInTheirPlaceInBothModes)
{
    ParameterStore store { nullptr };
    addDefaultParameters (store);
    const auto settings = [&store] { return hex (buildSettingsMessage (store, { 0x01, 0x00, 0x00 })); };
    store.setParameter (fourteenBitToggleKey, true, globalList);
    EXPECT_EQ (settings().substring (0, 41), "f0 01 00 00 01 01 00 01 02 03 00 01 02 03"); // to bank A's 14-bit controllers

    for (auto [key, list] : { std::pair<juce::String, int> (channelSelectKey, globalList), { fourteenBitToggleKey, globalList },
                              { "button3_cc", 2 }, { "fader1_cc", 3 }, { "max4_lsb", 1 }, { "fader2_text", 0 } })
        store.setParameter (key, juce::var::undefined(), list);
    store.tree.getChildWithName ("BLIST").removeChild (0, nullptr); // a missing fader1_cc reads back undefined too
    EXPECT_EQ (settings(), sevenBit);

    store.setParameter (channelSelectKey, 300, globalList);
    for (auto [key, value] : { std::pair<juce::String, juce::var> ("button1_cc", 128), { "button2_cc", -1 }, { "fader1_cc", 1.0e300 },
                               { "fader2_cc", std::nan ("") }, { "fader3_cc", "99999999999999999999" }, { "fader4_cc", "42.7" } })
        store.setParameter (key, value, 0);
    EXPECT_EQ (settings().substring (12, 41), "10 00 7f 00 02 03 77 00 77 2b"); // channel to bank A's controllers, as the controls show them

    // Button names stay in the editor.
    for (auto [key, value, list] : { std::tuple<juce::String, juce::String, int> ("button2_text", "Kick", 0), { "fader1_text", "AB", 0 },
                                     { "fader3_text", "Kick 2", 0 }, { "fader4_text", juce::String::fromUTF8 ("Caf\xc3\xa9"), 0 },
                                     { "fader1_text", juce::String::fromUTF8 ("\xc3\x89t\xc3\xa9\tsynth"), 1 }, { "fader2_text", "Vol\x7f", 1 } })
        store.setParameter (key, value, list);
    const auto names = buildNamesMessage (store);
    EXPECT_EQ (std::string (names.begin(), names.end()), "\xf0" "AB   unsetKick Caf? ?t??sVol? " + juce::String::repeatedString ("unset", 10).toStdString() + "\xf7");
}
