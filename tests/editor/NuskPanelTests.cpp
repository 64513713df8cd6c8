#include "PanelHarness.h"
#include "presets/PresetManager.h"

namespace
{
juce::String shown (juce::Slider& slider) { return slider.getTextFromValue (slider.getValue()); }
} // namespace

using Panel = PanelHarness;

TEST_F (Panel, StartsOnBankAIn14BitThenPendingLimitsWriteBankAInTheModeStoredThen)
{
    // A valid "Init.preset" loads 7-bit mode first; a broken one leaves 14-bit mode.
    const juce::File preset (getUserPresetFolderPath ("nusk") + "/Init.preset");
    for (bool broken : { false, true })
    {
        if (broken)
        {
            ASSERT_TRUE (preset.replaceWithText ("this is not XML"));
        }
        auto& nusk = open (800, 600, false);
        EXPECT_TRUE ((bool) stored (fourteenBitToggleKey, globalList) && nusk.fourteenBitToggle.getToggleState());
        EXPECT_TRUE (nusk.bankButtons[0].getToggleState());
        EXPECT_EQ (shown (nusk.selectors[3]), "3/35 CC");

        dispatchMessages (100);
        EXPECT_EQ ((bool) stored (fourteenBitToggleKey, globalList), broken);

        const auto bankA = store.tree.getChild (store.tree.getNumChildren() - 1);
        juce::StringArray lastIds;
        for (int i = 28; i < bankA.getNumChildren(); ++i)
            lastIds.add (bankA.getChild (i)["id"].toString());
        EXPECT_EQ (bankA.getType().toString() + ": " + lastIds.joinIntoString (" "),
                   broken ? "ALIST: max3_msb min3_msb max3_lsb min3_lsb max4_msb min4_msb max4_lsb min4_lsb"
                          : "ALIST: max1_msb min1_msb max2_msb min2_msb max3_msb min3_msb max4_msb min4_msb");
    }
}

TEST_F (Panel, ModeSwitchesSplitAndJoinTheStoredHalvesWithoutWritingBack)
{
    auto& nusk = open();
    click (nusk.bankButtons[2]);
    nusk.limitSliders[1].setMinValue (300.0, juce::sendNotificationSync);
    EXPECT_EQ (stored ("min2_msb", 2).toString() + " " + stored ("min2_lsb", 2).toString(), "2 44"); // ints, not "2.0"

    click (nusk.fourteenBitToggle);
    nusk.limitSliders[0].setMaxValue (100.0, juce::sendNotificationSync);
    click (nusk.fourteenBitToggle);
    EXPECT_EQ (nusk.limitSliders[0].getMaxValue(), 12927.0);
    click (nusk.fourteenBitToggle);
    EXPECT_EQ (nusk.limitSliders[0].getMaxValue(), 100.0);
    EXPECT_EQ (stored ("max1_lsb", 2).toString(), "127.0");

    // Beyond the 14-bit controller range: shown clamped, kept as stored.
    click (nusk.fourteenBitToggle);
    store.setParameter ("fader1_cc_14b", 40, 2);
    EXPECT_EQ (shown (nusk.selectors[0]), "31/72 CC");
    EXPECT_EQ ((int) stored ("fader1_cc_14b", 2), 40);
}

TEST_F (Panel, ReturnStoresANameUnderItsKeyAndEachPressIsOneUndoStep)
{
    auto& nusk = open();
    click (nusk.bankButtons[1]);
    click (nusk.nameEditors[4]); // button 1's name
    for (auto character : juce::String ("Kick"))
        key (juce::KeyPress ((int) character, {}, character));
    EXPECT_EQ (stored ("button2_text", 1).toString(), "unset");
    key (juce::KeyPress (juce::KeyPress::returnKey));
    dispatchMessages();
    EXPECT_EQ (stored ("button2_text", 1).toString(), "Kick");
    EXPECT_TRUE (stored ("button1_text", 1).isUndefined());

    auto& channel = nusk.channelSelector;
    for (int press = 0; press < 2; ++press)
        click (channel, juce::Point<int> (channel.getWidth() - 5, 5)); // "+"
    ASSERT_EQ ((double) stored (channelSelectKey, globalList), 3.0);

    const juce::KeyPress undo ('z', juce::ModifierKeys::commandModifier, 0);
    const juce::KeyPress redo ('Z', juce::ModifierKeys::commandModifier | juce::ModifierKeys::shiftModifier, 0);
    for (auto [press, value, name] : { std::tuple (undo, 2.0, "Kick"), { undo, 1.0, "Kick" }, { undo, 1.0, "unset" }, { redo, 1.0, "Kick" } })
    {
        EXPECT_TRUE (key (press));
        EXPECT_EQ (channel.getValue(), value);
        EXPECT_EQ (nusk.nameEditors[4].getText(), name);
    }
    EXPECT_TRUE (key (juce::KeyPress ('x')) && key (juce::KeyPress (juce::KeyPress::tabKey)));
}

// A preset file cannot hold these characters, so a name holding one could
// never be saved.
TEST_F (Panel, NameEditorsDropWhatNoPresetCanHoldAsItIsPastedOrTyped)
{
    auto& nusk = open();
    click (nusk.nameEditors[0]);
    juce::SystemClipboard::copyTextToClipboard (fromCodePoints ({ 'K', 1, 2, 0x1b, '[', 0x7f, '\t', 'k', '\r', '\n', 0xd800, '&', 0xfffe, 0xffff, 0x1f941, 0xdc00 }));
    key (juce::KeyPress ('v', juce::ModifierKeys::commandModifier, 0));
    for (auto typed : { 0xfffe, 0xe9, 0x10ffff })
        key (juce::KeyPress (0, {}, (juce::juce_wchar) typed));
    key (juce::KeyPress (juce::KeyPress::returnKey));
    dispatchMessages();

    EXPECT_EQ (stored ("fader1_text").toString(), fromCodePoints ({ 'K', '[', 0x7f, '\t', 'k', '\n', '&', 0x1f941, 0xe9, 0x10ffff }));
}

TEST_F (Panel, FaceplateKeepsItsShapeCentredInTheLowerNinetyPercent)
{
    for (auto [width, height] : { std::pair (1000, 500), { 800, 600 } })
    {
        const auto plate = open (width, height, false).faceplate.getBounds().toFloat();
        EXPECT_NEAR (plate.getHeight(), 0.625f * (float) height, 1.0f);
        EXPECT_NEAR (plate.getWidth(), 0.6103014f * 0.625f * (float) height, 1.0f);
        EXPECT_NEAR (plate.getCentreX(), 0.5f * (float) width, 1.0f);
        EXPECT_NEAR (plate.getCentreY(), 0.55f * (float) height, 1.0f);
    }

    EXPECT_EQ (panel->topBar.getBounds(), juce::Rectangle<int> (0, 0, 800, 30));
    EXPECT_EQ (panel->bankButtons[1].getBounds(), juce::Rectangle<int> (90, 54, 50, 45));
    EXPECT_EQ (panel->limitSliders[3].getBounds(), juce::Rectangle<int> (680, 458, 80, 112));
    EXPECT_EQ (panel->minLabels[0].getBounds(), juce::Rectangle<int> (64, 548, 80, 22));
}

TEST_F (Panel, BadStoredValuesShowSafelyAndAreNeverWrittenBack)
{
    store.setParameter ("fader1_cc", "abc", 0);
    store.setParameter ("fader2_text", "undefined", 0);
    store.setParameter ("button1_cc", 1.0e12, 0);
    store.setParameter ("fader2_cc_14b", std::numeric_limits<int>::max(), 0);
    store.setParameter ("fader3_cc_14b", std::nan (""), 0);
    store.setParameter ("max1_msb", 10, 0);
    store.setParameter ("min1_msb", 50, 0);
    store.setParameter (channelSelectKey, "-3", globalList);
    const auto before = store.tree.createCopy();

    auto& nusk = open (800, 600, false);
    click (nusk.fourteenBitToggle);
    EXPECT_EQ (nusk.channelSelector.getValue(), 0.0);
    EXPECT_EQ (nusk.nameEditors[1].getText(), "undefined");
    EXPECT_EQ (nusk.selectors[0].getValue(), 0.0);
    EXPECT_EQ (nusk.selectors[4].getValue(), 127.0);
    EXPECT_EQ (nusk.limitSliders[0].getMinValue(), 10.0);
    EXPECT_EQ (nusk.limitSliders[0].getMaxValue(), 50.0);

    click (nusk.fourteenBitToggle);
    EXPECT_EQ (shown (nusk.selectors[1]), "31/2147483679 CC");
    EXPECT_EQ (nusk.selectors[2].getValue(), 0.0);

    for (const auto& node : before.getChildWithName ("ALIST"))
        EXPECT_EQ (stored (node["id"]).toString(), node["value"].toString()) << node["id"].toString();
    EXPECT_EQ (stored (channelSelectKey, globalList).toString(), "-3");
}

TEST_F (Panel, ABankClickShowsThatBankAndResetBringsBackItsStartUpDefaultsIn7Bit)
{
    auto& nusk = open();
    store.setParameter ("fader2_text", "Bass", 2);
    for (int round = 0; round < 2; ++round) // a click on the bank on show drops uncommitted text
    {
        click (nusk.bankButtons[2]);
        EXPECT_EQ (nusk.nameEditors[1].getText(), "Bass");
        nusk.nameEditors[1].setText ("typed, not committed");
    }
    EXPECT_FALSE (nusk.bankButtons[0].getToggleState());

    for (int round = 0; round < 2; ++round)
    {
        if (round > 0)
            click (nusk.fourteenBitToggle);
        ASSERT_TRUE ((bool) stored (fourteenBitToggleKey, globalList));
        nusk.limitSliders[0].setMinValue (1000.0, juce::sendNotificationSync);
        store.setParameter ("fader1_text", "Edit", 2);

        click (nusk.resetButton);
        EXPECT_FALSE ((bool) stored (fourteenBitToggleKey, globalList) || nusk.fourteenBitToggle.getToggleState());
        EXPECT_TRUE (nusk.bankButtons[2].getToggleState());
        EXPECT_EQ (shown (nusk.selectors[1]), "25 CC");
        EXPECT_EQ (nusk.limitSliders[0].getMinValue(), 0.0);
        EXPECT_EQ (nusk.nameEditors[0].getText() + nusk.nameEditors[1].getText(), "unsetunset");
    }
}
