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
const auto fourteenBit = "f0 01 00 00 01 01 00 01 02 03 00 01 02 03" + limits + "04 05 06 07 04 05 06 07" + limits
                         + "08 09 0a 0b 08 09 0a 0b" + limits + "0c 0d 0e 0f 0c 0d 0e 0f" + limits + "f7";

struct Messages : testing::Test
{
    Messages() { addDefaultParameters (store); }

    std::vector<uint8_t> settings() { return buildSettingsMessage (store, { 0x01, 0x00, 0x00 }); }

    ParameterStore store { nullptr };
};
} // namespace

TEST_F (Messages, SettingsInBothModesGiveUndefinedValuesTheirDefaultsInPlace)
{
    EXPECT_EQ (hex (settings()), sevenBit);
    store.setParameter (fourteenBitToggleKey, true, globalList);
    EXPECT_EQ (hex (settings()), fourteenBit);

    for (auto [key, list] : { std::pair<juce::String, int> (channelSelectKey, globalList), { fourteenBitToggleKey, globalList },
                              { "button3_cc", 2 }, { "fader1_cc", 3 }, { "max4_lsb", 1 }, { "fader2_text", 0 } })
        store.setParameter (key, juce::var::undefined(), list);
    store.tree.getChildWithName ("BLIST").removeChild (0, nullptr); // a missing fader1_cc reads back undefined too
    EXPECT_EQ (hex (settings()), sevenBit);
    EXPECT_EQ (hex (buildNamesMessage (store)), "f0 " + juce::String::repeatedString ("75 6e 73 65 74 ", 16) + "f7");
}

TEST_F (Messages, AnyStoredValueGivesADataByteInItsPlace)
{
    store.setParameter (channelSelectKey, 16, globalList);
    for (auto [key, value] : { std::pair<juce::String, juce::var> ("button1_cc", 128), { "button2_cc", -1 }, { "fader1_cc", 1.0e300 },
                               { "fader2_cc", std::nan ("") }, { "fader3_cc", "99999999999999999999" }, { "fader4_cc", "42.7" } })
        store.setParameter (key, value, 0);
    EXPECT_EQ (hex (settings()).substring (12, 41), "10 00 7f 00 02 03 7f 00 7f 2a"); // channel to bank A's controllers

    // The same value in every parameter, the mode flag included.
    for (const juce::var& value : { juce::var(), juce::var (true), juce::var (-1.5), juce::var (std::numeric_limits<int>::max()),
                                    juce::var ("-99999999999999999999"), juce::var (juce::String::fromUTF8 ("\xe2\x82\xac\xc3\xa9\x01")) })
    {
        for (auto list : store.tree)
            for (auto node : list)
                node.setProperty ("value", value, nullptr);
        for (const auto& [message, size] : { std::pair (settings(), 103u), { buildNamesMessage (store), 82u } })
        {
            ASSERT_EQ (message.size(), size) << value.toString();
            for (std::size_t i = 0; i < size; ++i) // status bytes at the ends only
                ASSERT_EQ (message[i] >= 0x80, i == 0 || i + 1 == size) << value.toString() << ", byte " << i;
        }
    }
}

TEST_F (Messages, EachFaderNameIsFivePrintableBytes)
{
    // Button names stay in the editor.
    for (auto [key, value, list] : { std::tuple<juce::String, juce::String, int> ("button2_text", "Kick", 0), { "fader1_text", "AB", 0 }, { "fader2_text", "", 0 },
                                     { "fader3_text", "Kick 2", 0 }, { "fader4_text", juce::String::fromUTF8 ("Caf\xc3\xa9"), 0 },
                                     { "fader1_text", juce::String::fromUTF8 ("\xc3\x89t\xc3\xa9\tsynth"), 1 }, { "fader2_text", "Vol\x7f", 1 } })
        store.setParameter (key, value, list);

    const auto names = buildNamesMessage (store);
    EXPECT_EQ (std::string (names.begin(), names.end()), "\xf0" "AB        Kick Caf? ?t??sVol? " + juce::String::repeatedString ("unset", 10).toStdString() + "\xf7");
}
