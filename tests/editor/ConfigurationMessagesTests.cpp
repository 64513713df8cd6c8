#include <gtest/gtest.h>

#include "editor/ConfigurationMessages.h"
#include "editor/ParameterStore.h"
#include "editor/Parameters.h"

#include <random>

namespace
{
const std::vector<uint8_t> header { 0x01, 0x00, 0x00 };

std::vector<uint8_t> fromHex (const juce::String& hex)
{
    juce::MemoryBlock block;
    block.loadFromHexString (hex);
    return { (const uint8_t*) block.getData(), (const uint8_t*) block.getData() + block.getSize() };
}

// Per bank: notes, controllers, upper MSBs and LSBs, lower MSBs and LSBs.
const juce::String limits = " 7f7f7f7f 7f7f7f7f 00000000 00000000 ";
const auto sevenBitDefaults = fromHex ("f0 010000 01 00 00010203 10111213" + limits + "04050607 14151617" + limits
                                       + "08090a0b 18191a1b" + limits + "0c0d0e0f 1c1d1e1f" + limits + "f7");
const auto fourteenBitDefaults = fromHex ("f0 010000 01 01 00010203 00010203" + limits + "04050607 04050607" + limits
                                          + "08090a0b 08090a0b" + limits + "0c0d0e0f 0c0d0e0f" + limits + "f7");

/** The bytes between 0xF0 and 0xF7 as text. */
juce::String body (const std::vector<uint8_t>& message)
{
    if (message.size() < 2 || message.front() != 0xF0 || message.back() != 0xF7)
        return "(unframed)";
    return juce::String::fromUTF8 ((const char*) message.data() + 1, (int) message.size() - 2);
}

struct Messages : testing::Test
{
    Messages() { addDefaultParameters (store); }

    std::vector<uint8_t> settings() { return buildSettingsMessage (store, header); }

    ParameterStore store { nullptr };
};
} // namespace

TEST_F (Messages, DefaultsGiveTheFullSettingsInBothModesAndUndefinedValuesTheirDefaultsInPlace)
{
    ASSERT_EQ (sevenBitDefaults.size(), 103u);
    EXPECT_EQ (settings(), sevenBitDefaults);
    store.setParameter (fourteenBitToggleKey, true, globalList);
    EXPECT_EQ (settings(), fourteenBitDefaults);

    for (auto [key, list] : { std::pair<juce::String, int> (channelSelectKey, globalList), { fourteenBitToggleKey, globalList },
                              { "button3_cc", 2 }, { "fader1_cc", 3 }, { "max4_lsb", 1 }, { "fader2_text", 0 } })
        store.setParameter (key, juce::var::undefined(), list);
    store.tree.getChildWithName ("BLIST").removeChild (0, nullptr); // a missing fader1_cc reads back undefined too
    EXPECT_EQ (settings(), sevenBitDefaults);
    EXPECT_EQ (body (buildNamesMessage (store)), juce::String::repeatedString ("unset", 16));
}

TEST_F (Messages, NumbersAreClampedToDataBytes)
{
    store.setParameter (channelSelectKey, 16, globalList);
    store.setParameter ("button1_cc", 128, 0);
    store.setParameter ("button2_cc", -1, 0);
    store.setParameter ("fader1_cc", 1.0e300, 0);
    store.setParameter ("fader2_cc", std::nan (""), 0);
    store.setParameter ("fader3_cc", "99999999999999999999", 0);
    store.setParameter ("fader4_cc", "42.7", 0);

    const auto bytes = settings();
    EXPECT_EQ (std::vector<uint8_t> (bytes.begin() + 4, bytes.begin() + 14),
               (std::vector<uint8_t> { 0x10, 0x00, 0x7F, 0x00, 0x02, 0x03, 0x7F, 0x00, 0x7F, 42 }));
}

TEST_F (Messages, EachFaderNameIsFivePrintableBytes)
{
    store.setParameter ("button2_text", "Kick", 0); // button names stay in the editor
    store.setParameter ("fader1_text", "AB", 0);
    store.setParameter ("fader2_text", "", 0);
    store.setParameter ("fader3_text", "Volume", 0);
    store.setParameter ("fader4_text", juce::String::fromUTF8 ("Caf\xc3\xa9"), 0);
    store.setParameter ("fader1_text", juce::String::fromUTF8 ("\xc3\x89t\xc3\xa9\tsynth"), 1);

    EXPECT_EQ (body (buildNamesMessage (store)), "AB        VolumCaf? ?t??sunset" + juce::String::repeatedString ("unset", 10));
}

TEST (MessagesOfRandomStores, KeepTheirLengthAndSevenBitData)
{
    std::mt19937 random (20240601);
    const juce::var odd[] { juce::var::undefined(), juce::var(), true, std::nan (""), 1.0e300, "xxxxxxxxxxxx",
                            juce::String::fromUTF8 ("\xe2\x82\xac\xc3\xa9\x01") };
    const auto anyValue = [&]
    {
        const auto number = (int) random();
        const juce::var choices[] { number, number / 7.0, juce::String (number), odd[random() % std::size (odd)] };
        return choices[random() % std::size (choices)];
    };

    for (int round = 0; round < 200; ++round)
    {
        ParameterStore store { nullptr };
        addDefaultParameters (store);
        for (auto list : store.tree)
            for (auto node : list)
                if (random() % 3 == 0)
                    node.setProperty ("value", anyValue(), nullptr);

        for (const auto& [bytes, size] : { std::pair (buildSettingsMessage (store, header), 103u), { buildNamesMessage (store), 82u } })
        {
            ASSERT_EQ (bytes.size(), size) << "round " << round;
            ASSERT_NE (body (bytes), "(unframed)") << "round " << round;
            for (std::size_t i = 1; i + 1 < bytes.size(); ++i)
                ASSERT_LT (bytes[i], 0x80) << "round " << round << ", byte " << i;
        }
    }
}
