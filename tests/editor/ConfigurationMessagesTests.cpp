#include <gtest/gtest.h>

#include "editor/ConfigurationMessages.h"
#include "editor/ParameterStore.h"
#include "editor/Parameters.h"

#include <random>

namespace
{
const std::vector<uint8_t> header { 0x01, 0x00, 0x00 };

struct DefaultStore : testing::Test
{
    DefaultStore() { addDefaultParameters (store); }

    std::vector<uint8_t> settings() { return buildSettingsMessage (store, header); }
    std::vector<uint8_t> names() { return buildNamesMessage (store); }

    /** Removes the parameter's value so that it reads back undefined. */
    void unset (const juce::String& key, int list)
    {
        store.tree.getChildWithName (listTypes[list]).getChildWithProperty ("id", key).setProperty ("value", juce::var::undefined(), nullptr);
    }

    juce::UndoManager undoManager;
    ParameterStore store { &undoManager };
};

std::vector<uint8_t> expectedDefaultSettings (bool is14Bit)
{
    std::vector<uint8_t> bytes { 0xF0, 0x01, 0x00, 0x00, 0x01, (uint8_t) (is14Bit ? 1 : 0) };

    for (uint8_t bank = 0; bank < 4; ++bank)
    {
        for (uint8_t i = 0; i < 4; ++i)
            bytes.push_back ((uint8_t) (4 * bank + i));
        for (uint8_t i = 0; i < 4; ++i)
            bytes.push_back ((uint8_t) ((is14Bit ? 0 : 16) + 4 * bank + i));
        bytes.insert (bytes.end(), 8, 0x7F);
        bytes.insert (bytes.end(), 8, 0x00);
    }

    bytes.push_back (0xF7);
    return bytes;
}

std::vector<uint8_t> ascii (const char* text)
{
    return { text, text + std::strlen (text) };
}
} // namespace

using NuskSettingsMessage = DefaultStore;
using NuskNamesMessage = DefaultStore;

TEST_F (NuskSettingsMessage, DefaultsGiveTheFullLayoutInBothModes)
{
    EXPECT_EQ (settings(), expectedDefaultSettings (false));

    store.setParameter (fourteenBitToggleKey, true, globalList);
    const auto bytes = settings();
    EXPECT_EQ (bytes, expectedDefaultSettings (true));
    EXPECT_EQ (bytes.size(), 103u);
}

TEST_F (NuskSettingsMessage, NumbersAreClampedToDataBytes)
{
    store.setParameter ("button1_cc", 128, 0);
    store.setParameter ("button2_cc", -1, 0);
    store.setParameter ("button3_cc", 127.9, 0);
    store.setParameter ("button4_cc", "abc", 0);
    store.setParameter ("fader1_cc", 1.0e300, 0);
    store.setParameter ("fader2_cc", std::nan (""), 0);
    store.setParameter ("fader3_cc", "99999999999999999999", 0);
    store.setParameter ("fader4_cc", "42.7", 0);
    store.setParameter (channelSelectKey, 16, globalList);

    const auto bytes = settings();
    EXPECT_EQ (bytes[4], 0x10);
    EXPECT_EQ (std::vector<uint8_t> (bytes.begin() + 6, bytes.begin() + 14),
               (std::vector<uint8_t> { 0x7F, 0x00, 0x7F, 0x00, 0x7F, 0x00, 0x7F, 42 }));

    store.setParameter (channelSelectKey, 0.0, globalList);
    EXPECT_EQ (settings()[4], 0x00);
}

TEST_F (NuskSettingsMessage, UndefinedValuesAreSentAsTheirDefaultsInPlace)
{
    unset (channelSelectKey, globalList);
    unset (fourteenBitToggleKey, globalList);
    unset ("button3_cc", 2);
    unset ("fader1_cc", 3);
    unset ("max4_lsb", 1);
    unset ("min2_msb", 0);

    EXPECT_EQ (settings(), expectedDefaultSettings (false));

    // A missing key reads back undefined as well.
    store.tree.getChildWithName ("BLIST").removeChild (store.tree.getChildWithName ("BLIST").getChildWithProperty ("id", "fader2_cc"), nullptr);
    EXPECT_EQ (settings(), expectedDefaultSettings (false));
}

TEST_F (NuskNamesMessage, EveryNameIsFivePrintableBytes)
{
    std::vector<uint8_t> allUnset { 0xF0 };
    for (int i = 0; i < 16; ++i)
        for (auto byte : ascii ("unset"))
            allUnset.push_back (byte);
    allUnset.push_back (0xF7);
    EXPECT_EQ (names(), allUnset);

    store.setParameter ("button2_text", "Kick", 0);
    store.setParameter ("fader1_text", "AB", 0);
    store.setParameter ("fader2_text", "", 0);
    store.setParameter ("fader3_text", "Volume", 0);
    store.setParameter ("fader4_text", juce::String::fromUTF8 ("Caf\xc3\xa9"), 0);
    store.setParameter ("fader1_text", juce::String::fromUTF8 ("\xc3\x89t\xc3\xa9\tsynth"), 1);
    unset ("fader2_text", 1);

    const auto bytes = names();
    ASSERT_EQ (bytes.size(), 82u);
    EXPECT_EQ (std::vector<uint8_t> (bytes.begin() + 1, bytes.begin() + 31),
               ascii ("AB        VolumCaf? ?t??sunset"));
}

TEST (NuskMessages, RandomStoresKeepTheLayoutAndSevenBitData)
{
    std::mt19937 random (20240601);
    std::uniform_int_distribution<int> anyInt (std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    const auto pick = [&] (int count) { return (int) (random() % (unsigned) count); };

    const auto randomValue = [&]() -> juce::var
    {
        switch (pick (8))
        {
            case 0:  return juce::var::undefined();
            case 1:  return juce::var();
            case 2:  return anyInt (random);
            case 3:  return anyInt (random) / 7.0;
            case 4:  return pick (2) == 0;
            case 5:  return juce::String (anyInt (random));
            case 6:  return juce::String::fromUTF8 ("\xe2\x82\xac\xc3\xa9\x01") + juce::String (pick (100000));
            default: return juce::String::repeatedString ("x", pick (12));
        }
    };

    for (int round = 0; round < 200; ++round)
    {
        juce::UndoManager undoManager;
        ParameterStore store { &undoManager };
        addDefaultParameters (store);

        for (auto list : store.tree)
            for (auto node : list)
                if (pick (3) == 0)
                    node.setProperty ("value", randomValue(), nullptr);

        const auto settings = buildSettingsMessage (store, header);
        const auto names = buildNamesMessage (store);
        ASSERT_EQ (settings.size(), 103u);
        ASSERT_EQ (names.size(), 82u);

        for (const auto& bytes : { settings, names })
        {
            EXPECT_EQ (bytes.front(), 0xF0);
            EXPECT_EQ (bytes.back(), 0xF7);
            for (std::size_t i = 1; i + 1 < bytes.size(); ++i)
                ASSERT_LT (bytes[i], 0x80) << "round " << round << ", byte " << i;
        }
    }
}
