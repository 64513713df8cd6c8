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
