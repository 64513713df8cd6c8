#include <gtest/gtest.h>

#include "editor/ParameterStore.h"
#include "editor/Parameters.h"

namespace
{
juce::ValueTree treeFrom (const juce::String& xml) { return juce::ValueTree::fromXml (xml); }

juce::ValueTree parameterOf (const juce::ValueTree& tree, const juce::String& key, int list)
{
    return tree.getChildWithName (listTypes[list]).getChildWithProperty ("id", key);
}

juce::String keysOf (const juce::ValueTree& list, int count)
{
    juce::StringArray keys;
    for (int i = 0; i < count; ++i)
        keys.add (list.getChild (i)["id"].toString());
    return keys.joinIntoString (" ");
}

juce::String typesOf (const juce::ValueTree& tree)
{
    juce::StringArray types;
    for (const auto& child : tree)
        types.add (child.getType().toString());
    return types.joinIntoString (" ");
}
} // namespace

// An older or trimmed preset: what it lacks would otherwise read back
// undefined, show the previous preset's value and be saved as "undefined".
TEST (MissingParameters, EveryStartUpParameterIsThereWithAValueAfterTheFill)
{
    ParameterStore defaults { nullptr };
    addDefaultParameters (defaults);
    auto tree = treeFrom ("<nusk><ALIST><A id=\"fader1_cc\" value=\"50\"/></ALIST></nusk>");

    addMissingParameters (tree);

    for (int list = 0; list <= globalList; ++list)
        for (const auto& parameter : defaults.tree.getChildWithName (listTypes[list]))
        {
            const auto key = parameter["id"].toString();
            EXPECT_TRUE (parameterOf (tree, key, list).hasProperty ("value")) << key << " in list " << list;
        }
    EXPECT_EQ (parameterOf (tree, "fader1_cc", 0)["value"].toString(), "50") << "a value the preset holds stays";
}

TEST (MissingParameters, EachMissingParameterTakesItsStartUpValue)
{
    auto tree = treeFrom ("<nusk/>");

    addMissingParameters (tree);

    EXPECT_EQ ((double) parameterOf (tree, "fader1_cc", 0)["value"], 16);
    EXPECT_EQ ((double) parameterOf (tree, "fader2_cc_14b", 2)["value"], 9);
    EXPECT_EQ ((double) parameterOf (tree, "max3_lsb", 3)["value"], 127);
    EXPECT_EQ ((double) parameterOf (tree, "button4_cc", 1)["value"], 7);
    EXPECT_EQ (parameterOf (tree, "fader1_text", 1)["value"].toString(), "unset");
    EXPECT_EQ ((double) parameterOf (tree, channelSelectKey, globalList)["value"], 1);
    EXPECT_FALSE ((bool) parameterOf (tree, fourteenBitToggleKey, globalList)["value"]);
}

// The store reads the first node of a key: that is the one that gets the
// value and the one kept, and a node the store does not know is left as it is.
TEST (MissingParameters, AParameterWithoutAValueGetsItsDefaultAndOthersStayAsTheyAre)
{
    auto tree = treeFrom ("<nusk><BLIST><B id=\"fader1_text\"/><B id=\"fader1_text\" value=\"Second\"/>"
                          "<B id=\"fader2_text\" value=\"\"/><B id=\"mystery\"/><X/></BLIST></nusk>");

    addMissingParameters (tree);
    const auto bank = tree.getChildWithName ("BLIST");

    EXPECT_EQ (bank.getChild (0)["value"].toString(), "unset");
    EXPECT_EQ (bank.getChild (1)["id"].toString(), "fader2_text") << "the second copy stayed";
    EXPECT_TRUE (bank.getChild (1).hasProperty ("value") && bank.getChild (1)["value"].toString().isEmpty()) << "an empty value is a value";
    EXPECT_FALSE (bank.getChild (2).hasProperty ("value"));
    EXPECT_EQ (bank.getChild (3).getType().toString(), "X");
}

// An edit moves its node, and its list, to the end, behind any later copy,
// which the store would then read in its place. What the store never reads
// stays, in its order.
TEST (MissingParameters, ARepeatedListOrKeyKeepsOnlyItsFirstCopyWhateverItsNodeType)
{
    auto tree = treeFrom ("<nusk><ALIST><X id=\"fader1_cc\" value=\"5\"/><A id=\"fader1_cc\" value=\"10\"/><A id=\"odd\"/><A id=\"odd\"/>"
                          "<A id=\"button1_cc\" value=\"1\"/><A id=\"button1_cc\" value=\"2\"/></ALIST><Z/><ALIST/><GLIST/><Z/><GLIST/></nusk>");

    addMissingParameters (tree);
    const auto bank = tree.getChildWithName ("ALIST");

    EXPECT_EQ (typesOf (tree), "ALIST Z GLIST Z BLIST CLIST DLIST");
    EXPECT_EQ (keysOf (bank, 4), "fader1_cc odd odd button1_cc") << "unknown ids stay, repeated or not";
    EXPECT_EQ (bank.getChild (3)["value"].toString(), "1");
    EXPECT_EQ (tree.getChildWithName ("GLIST").getNumChildren(), 2);
}

// What the preset holds keeps its place, so a saved preset keeps its order;
// the rest follows in the order of the defaults.
TEST (MissingParameters, WhatIsMissingGoesAtTheEndInTheDefaultsOrder)
{
    auto tree = treeFrom ("<nusk><GLIST><GLOBAL id=\"14bit_midi_toggle\" value=\"1\"/></GLIST>"
                          "<CLIST><C id=\"fader3_cc\" value=\"1\"/></CLIST></nusk>");

    addMissingParameters (tree);

    EXPECT_EQ (tree.getChild (0).getType().toString() + " " + tree.getChild (1).getType().toString() + " " + tree.getChild (2).getType().toString(),
               "GLIST CLIST ALIST");
    EXPECT_EQ (keysOf (tree.getChildWithName ("GLIST"), 2), "14bit_midi_toggle channel_select");
    EXPECT_EQ (keysOf (tree.getChildWithName ("CLIST"), 3), "fader3_cc fader1_cc fader2_cc");
    EXPECT_EQ (tree.getChildWithName ("CLIST").getNumChildren(), 36);
}
