#include "PanelHarness.h"
#include "editor/ConfigurationMessages.h"

namespace
{
juce::String shown (juce::Slider& slider)
{
    const auto text = [&slider] (double value) { return slider.getTextFromValue (value); };
    return slider.isTwoValue() ? text (slider.getMinValue()) + " to " + text (slider.getMaxValue()) : text (slider.getValue());
}
} // namespace

using Panel = PanelHarness;

// Distinct values and limits with unequal halves, so a value under the key of
// the other mode, or in the wrong block of the message, shows.
TEST_F (Panel, EditsReachTheKeysOfTheModeAndTheSettingsBytesUntilResetBringsBackTheStartIn7Bit)
{
    auto& nusk = open();
    EXPECT_TRUE (nusk.fourteenBitToggle.getToggleState() && nusk.bankButtons[0].getToggleState() && shown (nusk.selectors[3]) == "3/35 CC");
    auto& limits = nusk.limitSliders[1];
    const juce::Point<int> plus (nusk.selectors[0].getWidth() - 5, 5), minus (5, 5);
    const auto bankC = [this] // the stored values, then bank C's bytes in the settings message
    {
        juce::String text;
        for (auto key : { "fader2_cc", "fader2_cc_14b", "button3_cc", "max2_msb", "max2_lsb", "min2_msb", "min2_lsb" })
            text << stored (key, 2).toString() << " ";
        const auto bytes = buildSettingsMessage (store, { 0x01, 0x00, 0x00 });
        return text + "| " + (bytes.size() == 103 ? juce::String::toHexString (bytes.data() + 54, 24) : "short");
    };

    store.setParameter ("fader2_text", "Bass", 2);
    click (nusk.bankButtons[2]);
    nusk.nameEditors[1].setText ("typed, not committed");
    click (nusk.bankButtons[2]); // the bank on show, shown again
    EXPECT_EQ (nusk.nameEditors[1].getText(), "Bass");

    click (nusk.selectors[1], plus);
    click (nusk.selectors[6], minus); // button 3
    limits.setMinAndMaxValues (300.0, 10000.0, juce::sendNotificationSync);
    EXPECT_EQ (bankC(), "25 10.0 9.0 78 16 2 44 | 08 09 09 0b 08 0a 0a 0b 7f 4e 7f 7f 7f 10 7f 7f 00 02 00 00 00 2c 00 00");

    click (nusk.fourteenBitToggle);
    click (nusk.selectors[1], plus);
    limits.setMinAndMaxValues (20.0, 100.0, juce::sendNotificationSync);
    EXPECT_EQ (bankC(), "26.0 10.0 9.0 100 16 20 44 | 08 09 09 0b 18 1a 1a 1b 7f 64 7f 7f 7f 10 7f 7f 00 14 00 00 00 2c 00 00");

    click (nusk.fourteenBitToggle); // joins the halves again and writes nothing back
    EXPECT_EQ (shown (nusk.selectors[1]) + ", " + shown (limits), "10/42 CC, 2604 to 12816");
    EXPECT_EQ (bankC(), "26.0 10.0 9.0 100 16 20 44 | 08 09 09 0b 08 0a 0a 0b 7f 64 7f 7f 7f 10 7f 7f 00 14 00 00 00 2c 00 00");

    for (int round = 0; round < 2; ++round) // the edits after a reset never reach what it brings back
    {
        click (nusk.resetButton);
        EXPECT_FALSE ((bool) stored (fourteenBitToggleKey, globalList) || nusk.fourteenBitToggle.getToggleState() || ! nusk.bankButtons[2].getToggleState());
        EXPECT_EQ (shown (nusk.selectors[1]) + ", " + shown (limits) + ", " + nusk.nameEditors[1].getText() + " | " + bankC(),
                   "25 CC, 0 to 127, unset | 25 9 10 127.0 127.0 0.0 0.0 | 08 09 0a 0b 18 19 1a 1b 7f 7f 7f 7f 7f 7f 7f 7f 00 00 00 00 00 00 00 00");
        click (nusk.fourteenBitToggle);
        limits.setMinAndMaxValues (300.0, 10000.0, juce::sendNotificationSync);
    }
}

// A preset file cannot hold some characters, so a name holding one could
// never be saved.
TEST_F (Panel, ANameIsStoredOnReturnWithoutWhatNoPresetCanHoldAndEachPressIsOneUndoStep)
{
    auto& nusk = open();
    click (nusk.bankButtons[1]);
    click (nusk.nameEditors[4]); // button 1's name
    juce::SystemClipboard::copyTextToClipboard (fromCodePoints ({ 'K', 1, 2, 0x1b, '[', 0x7f, '\t', 'k', '\r', '\n', 0xd800, '&', 0xfffe, 0xffff, 0x1f941, 0xdc00 }));
    key (juce::KeyPress ('v', juce::ModifierKeys::commandModifier, 0));
    for (auto typed : fromCodePoints ({ 0xfffe, 0xe9, 0x10ffff, ' ', '2' }))
        key (juce::KeyPress (0, {}, typed));
    EXPECT_EQ (stored ("button2_text", 1).toString(), "unset");
    key (juce::KeyPress (juce::KeyPress::returnKey));
    dispatchMessages();
    const auto name = fromCodePoints ({ 'K', '[', 0x7f, '\t', 'k', '\n', '&', 0x1f941, 0xe9, 0x10ffff, ' ', '2' });
    EXPECT_EQ (stored ("button2_text", 1).toString(), name);
    EXPECT_TRUE (stored ("button1_text", 1).isUndefined());

    auto& channel = nusk.channelSelector;
    for (int press = 0; press < 2; ++press)
        click (channel, juce::Point<int> (channel.getWidth() - 5, 5)); // "+"
    ASSERT_EQ ((double) stored (channelSelectKey, globalList), 3.0);

    const juce::KeyPress undo ('z', juce::ModifierKeys::commandModifier, 0);
    const juce::KeyPress redo ('Z', juce::ModifierKeys::commandModifier | juce::ModifierKeys::shiftModifier, 0);
    for (auto [press, value, text] : { std::tuple (undo, 2.0, name), { undo, 1.0, name }, { undo, 1.0, "unset" }, { redo, 1.0, name } })
    {
        EXPECT_TRUE (key (press));
        EXPECT_EQ (channel.getValue(), value);
        EXPECT_EQ (nusk.nameEditors[4].getText(), text);
    }
    EXPECT_TRUE (key (juce::KeyPress ('x')) && key (juce::KeyPress (juce::KeyPress::tabKey)));
}

// Controls that overlap or leave the panel are hidden or cannot be clicked.
TEST_F (Panel, ControlsStayInsideAndApartAndTheFaceplateKeepsItsShapeAndIgnoresClicks)
{
    std::vector<float> shapes;
    for (auto [width, height] : { std::pair (800, 600), { 1000, 500 } })
    {
        auto& nusk = open (width, height, false);
        juce::RectangleList<int> taken;
        const auto place = [&taken] (juce::Component* control)
        {
            EXPECT_FALSE (taken.intersectsRectangle (control->getScreenBounds().reduced (1))) << control->getScreenBounds().toString();
            taken.addWithoutMerging (control->getScreenBounds());
        };
        for (auto* child : nusk.getChildren()) // labels overlap on purpose, and so does the toggle
            if (dynamic_cast<juce::Label*> (child) == nullptr && child != &nusk.fourteenBitToggle && child != &nusk.topBar)
                place (child);
        for (auto* child : nusk.topBar.getChildren())
            place (child);
        EXPECT_TRUE (nusk.getScreenBounds().contains (taken.getBounds())) << taken.getBounds().toString();
        shapes.push_back ((float) nusk.faceplate.getWidth() / (float) nusk.faceplate.getHeight());
    }
    EXPECT_NEAR (shapes[0], shapes[1], 0.01f);

    int faders = 0; // the faceplate's faders are a picture
    for (auto* child : panel->faceplate.getChildren())
        if (auto* fader = dynamic_cast<juce::Slider*> (child))
        {
            const auto value = fader->getValue();
            click (*fader, juce::Point<int> (fader->getWidth() / 2, fader->getHeight() / 3));
            EXPECT_EQ (fader->getValue(), value);
            ++faders;
        }
    EXPECT_EQ (faders, 4);
}

TEST_F (Panel, BadStoredValuesShowSafelyAndAreNeverWrittenBack)
{
    for (auto [key, value] : { std::pair<juce::String, juce::var> ("fader1_cc", "abc"), { "fader2_text", "undefined" }, { "button1_cc", 1.0e12 },
                               { "fader2_cc_14b", std::numeric_limits<int>::max() }, { "fader3_cc_14b", std::nan ("") }, { "max1_msb", 10 }, { "min1_msb", 50 } })
        store.setParameter (key, value, 0);
    store.setParameter (channelSelectKey, "20", globalList); // shown as 16, not as the 0 shown before
    const auto before = store.tree.createCopy();

    auto& nusk = open (800, 600, false);
    click (nusk.fourteenBitToggle);
    EXPECT_EQ (shown (nusk.channelSelector) + ", " + shown (nusk.selectors[0]) + ", " + shown (nusk.selectors[4]) + ", " + shown (nusk.limitSliders[0])
                   + ", " + nusk.nameEditors[1].getText(), "16, 0 CC, 127 NOTE, 10 to 50, undefined");
    click (nusk.fourteenBitToggle);
    EXPECT_EQ (shown (nusk.selectors[1]) + ", " + shown (nusk.selectors[2]), "31/2147483679 CC, 0/32 CC");

    for (const auto& node : before.getChildWithName ("ALIST"))
        EXPECT_EQ (stored (node["id"]).toString(), node["value"].toString()) << node["id"].toString();
    EXPECT_EQ (stored (channelSelectKey, globalList).toString(), "20");
}
