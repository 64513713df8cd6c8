#include <gtest/gtest.h>

#include "editor/ParameterStore.h"
#include "editor/Parameters.h"

namespace
{
struct Store : testing::Test, juce::ValueTree::Listener
{
    Store() { addDefaultParameters (store); }

    /** The lists' type names in order, or with a list number the ids in that list. */
    juce::String order (int list = -1)
    {
        juce::StringArray names;
        for (const auto& child : list < 0 ? store.tree : store.tree.getChildWithName (listTypes[list]))
            names.add (list < 0 ? child.getType().toString() : child["id"].toString());
        return names.joinIntoString (" ");
    }

    /** Once listening, reads from the store at each property change, as the panel does. */
    void valueTreePropertyChanged (juce::ValueTree&, const juce::Identifier&) override
    {
        ++changes;
        seen = store.getParameter (keyToRead, globalList);
    }

    juce::UndoManager undoManager { 30000, 30 };
    ParameterStore store { &undoManager };
    juce::String keyToRead = channelSelectKey;
    int changes = 0;
    juce::var seen { "not read" };
};
} // namespace

TEST_F (Store, DefaultsAre146TypedParametersInOrder)
{
    int total = 0;
    for (const auto& list : store.tree)
        total += list.getNumChildren();
    EXPECT_EQ (total, 146);
    EXPECT_EQ (order(), "GLIST ALIST BLIST CLIST DLIST");
    EXPECT_TRUE (store.getParameter (fourteenBitToggleKey, globalList).isBool());

    // Some nodes of a list as they are written to a preset: tag, id and value text.
    const auto sample = [xml = store.tree.createXml()] (const char* list, std::initializer_list<int> indices)
    {
        juce::StringArray nodes;
        for (auto i : indices)
            if (auto* node = xml->getChildByName (list)->getChildElement (i))
                nodes.add (node->getTagName() + ":" + node->getStringAttribute ("id") + "=" + node->getStringAttribute ("value"));
        return nodes.joinIntoString (" ");
    };
    EXPECT_EQ (sample ("GLIST", { 0, 1 }), "GLOBAL:channel_select=1.0 GLOBAL:14bit_midi_toggle=0");
    EXPECT_EQ (sample ("ALIST", { 0, 7, 8, 12, 16, 20, 27, 28, 32, 35 }),
               "A:fader1_cc=16 A:fader4_cc_14b=3 A:max1_msb=127.0 A:min1_msb=0.0 A:max1_lsb=127.0 A:min1_lsb=0.0 "
               "A:button4_cc=3 A:fader1_text=unset A:button2_text=unset A:button5_text=unset");
    EXPECT_EQ (sample ("DLIST", { 3, 4, 24, 35 }), "D:fader4_cc=31 D:fader1_cc_14b=12 D:button1_cc=12 D:button5_text=unset");
    EXPECT_EQ (sample ("BLIST", { 35 }) + " " + sample ("CLIST", { 35 }), "B:button5_text=unset C:button5_text=unset");
}

TEST_F (Store, ReadingAMissingKeyAppendsOneUndefinedNodeExceptDuringUndo)
{
    EXPECT_TRUE (store.getParameter ("button1_cc", globalList).isUndefined());
    EXPECT_TRUE (store.getParameter ("button1_cc", globalList).isUndefined());
    EXPECT_EQ (order (globalList), "channel_select 14bit_midi_toggle button1_cc");

    store.setParameter ("no_such_key", 3, globalList); // adds nothing either
    undoManager.beginNewTransaction();
    store.setParameter (channelSelectKey, 5.0, globalList);
    keyToRead = "no_such_key";
    store.tree.addListener (this);
    ASSERT_TRUE (undoManager.undo());
    EXPECT_TRUE (seen.isVoid());
    EXPECT_EQ (order (globalList), "channel_select 14bit_midi_toggle button1_cc");
}

TEST_F (Store, SetMovesNodeAndListToTheEndEvenForAnEqualValueAndUndoMovesThemBack)
{
    store.tree.addListener (this);
    store.setParameter ("fader1_cc", 16.0, 0); // equal to the stored int 16
    EXPECT_EQ (changes, 0);
    EXPECT_EQ (order(), "GLIST BLIST CLIST DLIST ALIST");
    EXPECT_TRUE (order (0).endsWith ("button5_text fader1_cc"));

    const auto before = order() + " / " + order (2);
    undoManager.beginNewTransaction();
    store.setParameter ("max2_msb", 42, 2); // read again inside the set: the lock is recursive
    EXPECT_EQ (changes, 1);
    EXPECT_EQ ((double) seen, 1.0);
    EXPECT_EQ (order(), "GLIST BLIST DLIST ALIST CLIST");
    EXPECT_TRUE (order (2).endsWith ("button5_text max2_msb"));

    ASSERT_TRUE (undoManager.undo());
    EXPECT_EQ ((double) store.getParameter ("max2_msb", 2), 127.0);
    EXPECT_EQ (order() + " / " + order (2), before);
}
