#include <gtest/gtest.h>

#include "editor/ParameterStore.h"
#include "editor/Parameters.h"

namespace
{
struct DefaultsFixture : testing::Test
{
    juce::UndoManager undoManager { 30000, 30 };
    ParameterStore store { &undoManager };

    DefaultsFixture() { addDefaultParameters (store); }
};
} // namespace

TEST_F (DefaultsFixture, HoldsOneHundredAndFortySixParametersInListOrder)
{
    int total = 0;
    for (const auto& list : store.tree)
        total += list.getNumChildren();

    EXPECT_EQ (total, 146);
    EXPECT_EQ (store.tree.getChild (0).getType(), juce::Identifier ("GLIST"));
    EXPECT_EQ (store.tree.getChildWithName ("GLIST").getNumChildren(), 2);

    for (int bank = 0; bank < 4; ++bank)
    {
        auto list = store.tree.getChild (bank + 1);
        EXPECT_EQ (list.getType(), listTypes[bank]);
        ASSERT_EQ (list.getNumChildren(), 36);
        EXPECT_EQ (list.getChild (0)["id"].toString(), "fader1_cc");
        EXPECT_EQ (list.getChild (4)["id"].toString(), "fader1_cc_14b");
        EXPECT_EQ (list.getChild (8)["id"].toString(), "max1_msb");
        EXPECT_EQ (list.getChild (12)["id"].toString(), "min1_msb");
        EXPECT_EQ (list.getChild (16)["id"].toString(), "max1_lsb");
        EXPECT_EQ (list.getChild (20)["id"].toString(), "min1_lsb");
        EXPECT_EQ (list.getChild (24)["id"].toString(), "button1_cc");
        EXPECT_EQ (list.getChild (28)["id"].toString(), "fader1_text");
        EXPECT_EQ (list.getChild (32)["id"].toString(), "button2_text");
        EXPECT_EQ (list.getChild (35)["id"].toString(), "button5_text");
        EXPECT_EQ (list.getChild (35).getType(), nodeTypes[bank]);
    }
}

TEST_F (DefaultsFixture, ValuesAndKinds)
{
    auto fader1 = store.getParameter ("fader1_cc", 2);
    EXPECT_TRUE (fader1.isInt());
    EXPECT_EQ ((int) fader1, 24);

    auto fader4 = store.getParameter ("fader4_cc_14b", 3);
    EXPECT_TRUE (fader4.isInt());
    EXPECT_EQ ((int) fader4, 15);

    auto button3 = store.getParameter ("button3_cc", 1);
    EXPECT_TRUE (button3.isInt());
    EXPECT_EQ ((int) button3, 6);

    auto channel = store.getParameter ("channel_select", 4);
    EXPECT_TRUE (channel.isDouble());
    EXPECT_EQ ((double) channel, 1.0);

    auto toggle = store.getParameter ("14bit_midi_toggle", 4);
    EXPECT_TRUE (toggle.isBool());
    EXPECT_FALSE ((bool) toggle);

    auto name = store.getParameter ("button2_text", 0);
    EXPECT_TRUE (name.isString());
    EXPECT_EQ (name.toString(), "unset");

    for (int bank = 0; bank < 4; ++bank)
        for (int i = 0; i < 4; ++i)
        {
            EXPECT_TRUE (store.getParameter (maxMsbKeys[i], bank).isDouble());
            EXPECT_EQ ((double) store.getParameter (maxLsbKeys[i], bank), 127.0);
            EXPECT_EQ ((double) store.getParameter (minMsbKeys[i], bank), 0.0);
            EXPECT_EQ ((int) store.getParameter (faderCcKeys[i], bank), 16 + 4 * bank + i);
        }
}

TEST_F (DefaultsFixture, XmlTextShowsIntsDoublesAndTheBool)
{
    auto xml = store.tree.createXml();
    auto* glist = xml->getChildByName ("GLIST");
    EXPECT_EQ (glist->getChildElement (0)->getStringAttribute ("value"), "1.0");
    EXPECT_EQ (glist->getChildElement (1)->getStringAttribute ("value"), "0");

    auto* alist = xml->getChildByName ("ALIST");
    EXPECT_EQ (alist->getChildElement (0)->getStringAttribute ("value"), "16");
    EXPECT_EQ (alist->getChildElement (8)->getStringAttribute ("value"), "127.0");
    EXPECT_EQ (alist->getChildElement (12)->getStringAttribute ("value"), "0.0");
    EXPECT_EQ (alist->getChildElement (28)->getStringAttribute ("value"), "unset");
}

TEST_F (DefaultsFixture, EveryDefaultIsUndoable)
{
    EXPECT_TRUE (undoManager.canUndo());
}

TEST (ParameterKeys, NameKeysPairButtonNWithTheNextNumber)
{
    EXPECT_EQ (textKeys.size(), 8);
    EXPECT_EQ (textKeys[4], "button2_text");
    EXPECT_EQ (textKeys[7], "button5_text");
    EXPECT_EQ (hostSetStateRequest.toString(), "HOST_SETSTATE_REQUEST");
    EXPECT_EQ (offWhite.getARGB(), 0xFFF2F2F7u);
    EXPECT_EQ (offBlack.getARGB(), 0xFF1C1C1Eu);
}
