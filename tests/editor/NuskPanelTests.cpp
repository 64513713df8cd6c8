#include "PanelHarness.h"
#include "TestSupport.h"
#include "presets/PresetManager.h"

namespace
{
juce::String shownText (juce::Slider& slider)
{
    return slider.getTextFromValue (slider.getValue());
}

juce::StringArray lastIds (const juce::ValueTree& list, int count)
{
    juce::StringArray ids;
    for (int i = list.getNumChildren() - count; i < list.getNumChildren(); ++i)
        ids.add (list.getChild (i)["id"].toString());
    return ids;
}

/** Every parameter of a list as "id=value:kind", in key order. */
juce::StringArray valuesOf (const juce::ValueTree& list)
{
    juce::StringArray entries;
    for (const auto& node : list)
    {
        const auto& value = node["value"];
        const auto kind = value.isString() ? "text" : value.isDouble() ? "double" : value.isInt() ? "int" : "other";
        entries.add (node["id"].toString() + "=" + value.toString() + ":" + kind);
    }
    entries.sort (false);
    return entries;
}

const juce::KeyPress undoKey { 'z', juce::ModifierKeys::commandModifier, 0 };
const juce::KeyPress redoKey { 'Z', juce::ModifierKeys::commandModifier | juce::ModifierKeys::shiftModifier, 0 };
} // namespace

using NuskPanel = PanelHarness;

TEST_F (NuskPanel, StartsOnBankAIn14BitModeWhileTheResetSnapshotKeeps7Bit)
{
    auto& nusk = openPanel (800, 600, false);

    EXPECT_TRUE ((bool) stored (fourteenBitToggleKey, globalList));
    EXPECT_FALSE ((bool) nusk.initialTree.getChildWithName ("GLIST").getChildWithProperty ("id", fourteenBitToggleKey)["value"]);
    EXPECT_TRUE (nusk.fourteenBitToggle.getToggleState());
    EXPECT_TRUE (nusk.bankButtons[0].getToggleState());
    EXPECT_EQ (nusk.currentBank, 0);
    EXPECT_EQ (nusk.limitSliders[3].getMaximum(), 16383.0);
    EXPECT_EQ (nusk.limitSliders[3].getMaxValue(), 16383.0);
    EXPECT_EQ (nusk.selectors[0].getMaximum(), 31.0);
    EXPECT_EQ (shownText (nusk.selectors[3]), "3/35 CC");
    EXPECT_EQ (shownText (nusk.selectors[4]), "0 NOTE");
}

TEST_F (NuskPanel, PendingLimitNotificationsStoreBankAInTheModeStoredWhenTheyArrive)
{
    openPanel (800, 600, false);
    store.setParameter (fourteenBitToggleKey, false, globalList);
    dispatchMessages (100);

    // The start-up load of "Init.preset" has replaced the tree by then.
    const auto bankA = store.tree.getChildWithName ("ALIST");

    // Each slider stored its upper and lower MSB; in 7-bit mode no LSB is written.
    EXPECT_EQ (store.tree.getChild (store.tree.getNumChildren() - 1), bankA);
    EXPECT_EQ (lastIds (bankA, 8).joinIntoString (" "),
               "max1_msb min1_msb max2_msb min2_msb max3_msb min3_msb max4_msb min4_msb");
}

TEST_F (NuskPanel, PendingLimitNotificationsWriteAllFourHalvesIn14BitMode)
{
    // A broken "Init.preset" fails to load, so the panel stays in 14-bit mode
    // when the limit notifications arrive.
    const juce::File folder (getUserPresetFolderPath ("nusk"));
    ASSERT_TRUE (folder.createDirectory());
    ASSERT_TRUE (folder.getChildFile ("Init.preset").replaceWithText ("this is not XML"));

    openPanel (800, 600, false);
    dispatchMessages (100);
    ASSERT_TRUE ((bool) stored (fourteenBitToggleKey, globalList));
    EXPECT_EQ (lastIds (store.tree.getChildWithName ("ALIST"), 4).joinIntoString (" "),
               "max4_msb min4_msb max4_lsb min4_lsb");
}

TEST_F (NuskPanel, LimitThumbsStoreIntsInTheBankOnShow)
{
    auto& nusk = openPanel();
    selectBank (2);
    ASSERT_EQ (nusk.currentBank, 2);

    nusk.limitSliders[1].setMinValue (300.0, juce::sendNotificationSync);

    EXPECT_TRUE (stored ("min2_msb", 2).isInt());
    EXPECT_EQ ((int) stored ("min2_msb", 2), 2);
    EXPECT_TRUE (stored ("min2_lsb", 2).isInt());
    EXPECT_EQ ((int) stored ("min2_lsb", 2), 44);
    EXPECT_EQ ((double) stored ("max2_msb", 2), 127.0);
    EXPECT_EQ (nusk.limitSliders[1].getMinValue(), 300.0);
    EXPECT_EQ ((double) stored ("min2_msb", 0), 0.0);

    click (nusk.fourteenBitToggle);
    nusk.limitSliders[0].setMaxValue (100.0, juce::sendNotificationSync);
    EXPECT_EQ ((int) stored ("max1_msb", 2), 100);
    EXPECT_EQ ((double) stored ("max1_lsb", 2), 127.0);
}

TEST_F (NuskPanel, ModeSwitchCombinesOrSplitsTheStoredHalvesWithoutWritingBack)
{
    auto& nusk = openPanel();
    click (nusk.fourteenBitToggle);
    ASSERT_FALSE ((bool) stored (fourteenBitToggleKey, globalList));
    EXPECT_EQ (shownText (nusk.selectors[0]), "16 CC");

    nusk.limitSliders[0].setMaxValue (100.0, juce::sendNotificationSync);
    click (nusk.fourteenBitToggle);

    EXPECT_EQ (nusk.limitSliders[0].getMaxValue(), 12927.0);
    EXPECT_EQ (nusk.limitSliders[0].getMinValue(), 0.0);
    EXPECT_EQ (shownText (nusk.selectors[1]), "1/33 CC");

    click (nusk.fourteenBitToggle);
    EXPECT_EQ (nusk.limitSliders[0].getMaxValue(), 100.0);
    EXPECT_EQ (shownText (nusk.selectors[1]), "17 CC");
    EXPECT_EQ ((int) stored ("max1_msb", 0), 100);
    EXPECT_TRUE (stored ("max1_lsb", 0).isDouble());
}

TEST_F (NuskPanel, ControllerNumbersOutsideTheRangeShowClampedAndStayStored)
{
    auto& nusk = openPanel();
    store.setParameter ("fader1_cc_14b", 40, 0);
    EXPECT_EQ (nusk.selectors[0].getValue(), 31.0);
    EXPECT_EQ (shownText (nusk.selectors[0]), "31/72 CC");

    store.setParameter ("fader1_cc", 127, 0);
    click (nusk.fourteenBitToggle);
    EXPECT_EQ (nusk.selectors[0].getValue(), 119.0);
    EXPECT_EQ ((int) stored ("fader1_cc", 0), 127);
    EXPECT_EQ ((int) stored ("fader1_cc_14b", 0), 40);
}

TEST_F (NuskPanel, NamesAreStoredWholeWhenTheirEditorLosesFocus)
{
    auto& nusk = openPanel();
    auto& buttonOneName = nusk.nameEditors[4];
    auto& faderThreeName = nusk.nameEditors[2];

    click (buttonOneName);
    ASSERT_TRUE (buttonOneName.hasKeyboardFocus (false));
    typeText ("Kick");
    EXPECT_EQ (stored ("button2_text", 0).toString(), "unset");
    pressKey (juce::KeyPress (juce::KeyPress::returnKey));
    dispatchMessages();
    EXPECT_EQ (buttonOneName.getText(), "Kick");
    EXPECT_EQ (stored ("button2_text", 0).toString(), "Kick");
    EXPECT_TRUE (stored ("button1_text", 0).isUndefined());

    faderThreeName.grabKeyboardFocus();
    typeText ("LongName");
    faderThreeName.giveAwayKeyboardFocus();
    dispatchMessages();
    EXPECT_EQ (stored ("fader3_text", 0).toString(), "LongName");
}

TEST_F (NuskPanel, EachPressIsOneUndoStepAndUndoShowsTheOldValueAtOnce)
{
    auto& nusk = openPanel();
    auto& channelPlus = incrementButtonOf (nusk.channelSelector);

    click (channelPlus);
    click (channelPlus);
    click (nusk.topBar, { 700, 15 });
    store.setParameter (channelSelectKey, 9.0, globalList);

    EXPECT_TRUE (pressKey (undoKey));
    EXPECT_EQ (nusk.channelSelector.getValue(), 3.0);
    EXPECT_TRUE (pressKey (undoKey));
    EXPECT_EQ (nusk.channelSelector.getValue(), 2.0);
    EXPECT_TRUE (pressKey (redoKey));
    EXPECT_EQ ((double) stored (channelSelectKey, globalList), 3.0);
    EXPECT_TRUE (pressKey (redoKey));
    EXPECT_EQ (nusk.channelSelector.getValue(), 9.0);

    // Nothing left to redo, and keys without command: consumed all the same.
    EXPECT_TRUE (pressKey (redoKey));
    EXPECT_TRUE (pressKey (juce::KeyPress ('x')));
    EXPECT_TRUE (pressKey (juce::KeyPress (juce::KeyPress::tabKey)));
    EXPECT_EQ (nusk.channelSelector.getValue(), 9.0);
}

TEST_F (NuskPanel, FaceplateKeepsItsShapeCentredInTheLowerNinetyPercent)
{
    for (auto [width, height] : { std::pair { 800, 600 }, std::pair { 1000, 500 } })
    {
        auto& nusk = openPanel (width, height, false);
        const auto faceplate = nusk.faceplate.getBounds().toFloat();
        const auto faceplateHeight = 0.625f * (float) height;
        const auto faceplateWidth = 0.6103014f * faceplateHeight;

        EXPECT_NEAR (faceplate.getHeight(), faceplateHeight, 1.0f);
        EXPECT_NEAR (faceplate.getWidth(), faceplateWidth, 1.0f);
        EXPECT_NEAR (faceplate.getX(), ((float) width - faceplateWidth) / 2.0f, 1.0f);
        EXPECT_NEAR (faceplate.getY(), 0.2375f * (float) height, 1.0f);
    }

    auto& nusk = openPanel (800, 600, false);
    EXPECT_EQ (nusk.topBar.getBounds(), juce::Rectangle<int> (0, 0, 800, 30));
    EXPECT_EQ (nusk.bankButtons[1].getBounds(), juce::Rectangle<int> (90, 54, 50, 45));
    EXPECT_EQ (nusk.nameEditors[6].getBounds(), juce::Rectangle<int> (560, 215, 80, 22));
    EXPECT_EQ (nusk.limitSliders[3].getBounds(), juce::Rectangle<int> (680, 458, 80, 112));
    EXPECT_EQ (nusk.maxLabels[0].getBounds(), juce::Rectangle<int> (16, 458, 80, 22));
    EXPECT_EQ (nusk.minLabels[0].getBounds(), juce::Rectangle<int> (64, 548, 80, 22));
    EXPECT_EQ (nusk.fourteenBitToggle.getRight(), 880);
}

TEST_F (NuskPanel, BadStoredValuesNeverCrashAndAreNeverWrittenBack)
{
    store.setParameter ("fader1_cc", "abc", 0);
    store.setParameter ("fader2_text", "undefined", 0);
    store.setParameter ("button1_cc", 1.0e12, 0);
    store.setParameter ("fader2_cc_14b", std::numeric_limits<int>::max(), 0);
    store.setParameter ("fader3_cc_14b", std::nan (""), 0);
    store.setParameter ("max1_msb", 10, 0);
    store.setParameter ("min1_msb", 50, 0);
    store.setParameter ("max2_msb", -7, 0);
    store.setParameter (channelSelectKey, "-3", globalList);
    const auto before = store.tree.createCopy();

    auto& nusk = openPanel (800, 600, false);
    click (nusk.fourteenBitToggle);
    store.setParameter ("button4_cc", 9, 0);
    store.setParameter ("button4_cc", 3, 0);

    EXPECT_EQ (valuesOf (store.tree.getChildWithName ("ALIST")), valuesOf (before.getChildWithName ("ALIST")));
    EXPECT_EQ (stored (channelSelectKey, globalList).toString(), "-3");
    EXPECT_EQ (nusk.channelSelector.getValue(), 0.0);
    EXPECT_EQ (nusk.nameEditors[1].getText(), "undefined");
    EXPECT_EQ (nusk.selectors[0].getValue(), 0.0);
    EXPECT_EQ (nusk.selectors[4].getValue(), 127.0);
    EXPECT_EQ (nusk.limitSliders[0].getMinValue(), 10.0);
    EXPECT_EQ (nusk.limitSliders[0].getMaxValue(), 50.0);

    click (nusk.fourteenBitToggle);
    EXPECT_EQ (shownText (nusk.selectors[1]), "31/2147483679 CC");
    EXPECT_EQ (nusk.selectors[2].getValue(), 0.0);
    EXPECT_EQ (nusk.limitSliders[1].getMinValue(), 0.0);
}

TEST_F (NuskPanel, ABankClickShowsThatBankOnlyAndDropsUncommittedText)
{
    auto& nusk = openPanel();
    store.setParameter ("fader2_text", "Bass", 1);
    store.setParameter ("button3_cc", 99, 1);
    nusk.channelSelector.setValue (9.0, juce::dontSendNotification);

    selectBank (1);
    EXPECT_EQ (nusk.nameEditors[1].getText(), "Bass");
    EXPECT_EQ (nusk.selectors[6].getValue(), 99.0);
    EXPECT_FALSE (nusk.bankButtons[0].getToggleState());

    nusk.nameEditors[1].setText ("typed but not committed");
    selectBank (1);
    EXPECT_EQ (nusk.nameEditors[1].getText(), "Bass");
    EXPECT_EQ (nusk.currentBank, 1);
    EXPECT_EQ (nusk.channelSelector.getValue(), 9.0);
}

TEST_F (NuskPanel, ResetReturnsToTheStartUpDefaultsIn7BitModeOnTheBankOnShow)
{
    auto& nusk = openPanel();
    selectBank (2);
    nusk.limitSliders[0].setMinValue (1000.0, juce::sendNotificationSync);
    nusk.selectors[1].setValue (5.0, juce::sendNotificationSync);
    store.setParameter ("fader1_text", "Edit", 2);

    for (int round = 0; round < 2; ++round)
    {
        click (nusk.resetButton);

        EXPECT_FALSE ((bool) stored (fourteenBitToggleKey, globalList));
        EXPECT_FALSE (nusk.fourteenBitToggle.getToggleState());
        EXPECT_TRUE (nusk.bankButtons[2].getToggleState());
        EXPECT_EQ (nusk.currentBank, 2);
        EXPECT_EQ (shownText (nusk.selectors[1]), "25 CC");
        EXPECT_EQ (nusk.limitSliders[0].getMaximum(), 127.0);
        EXPECT_EQ (nusk.limitSliders[0].getMinValue(), 0.0);
        EXPECT_EQ (nusk.limitSliders[0].getMaxValue(), 127.0);
        EXPECT_EQ (nusk.nameEditors[0].getText(), "unset");

        nusk.selectors[1].setValue (7.0, juce::sendNotificationSync);
    }
}

TEST_F (NuskPanel, UploadWithoutOutputsSendsNothingAndShowsNothing)
{
    auto& nusk = openPanel();
    ASSERT_TRUE (juce::MidiOutput::getAvailableDevices().isEmpty());
    const auto before = store.tree.createCopy();
    const auto windows = juce::Desktop::getInstance().getNumComponents();

    click (nusk.uploadButton);
    nusk.topBar.deviceSelector.addItem ("Gone", 1);
    nusk.topBar.deviceSelector.setSelectedItemIndex (0, juce::dontSendNotification);
    click (nusk.uploadButton);
    dispatchMessages();

    EXPECT_TRUE (store.tree.isEquivalentTo (before));
    EXPECT_EQ (juce::ModalComponentManager::getInstance()->getNumModalComponents(), 0);
    EXPECT_EQ (juce::Desktop::getInstance().getNumComponents(), windows);
}
