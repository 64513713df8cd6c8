#include <gtest/gtest.h>

#include "editor/ParameterStore.h"
#include "editor/Parameters.h"

namespace
{
struct StoreFixture : testing::Test
{
    juce::UndoManager undoManager { 30000, 30 };
    ParameterStore store { &undoManager };

    juce::StringArray rootOrder() const
    {
        juce::StringArray types;
        for (const auto& child : store.tree)
            types.add (child.getType().toString());
        return types;
    }

    juce::StringArray listOrder (int list) const
    {
        juce::StringArray ids;
        for (const auto& child : store.tree.getChildWithName (listTypes[list]))
            ids.add (child["id"].toString());
        return ids;
    }
};

struct ChangeCounter : juce::ValueTree::Listener
{
    int propertyChanges = 0, childAdds = 0, childRemoves = 0;
    void valueTreePropertyChanged (juce::ValueTree&, const juce::Identifier&) override { ++propertyChanges; }
    void valueTreeChildAdded (juce::ValueTree&, juce::ValueTree&) override { ++childAdds; }
    void valueTreeChildRemoved (juce::ValueTree&, juce::ValueTree&, int) override { ++childRemoves; }
};
} // namespace

TEST_F (StoreFixture, AddCreatesListAndNodeWithIdThenValue)
{
    store.addParameter ("channel_select", 1.0, 4);

    auto node = store.tree.getChildWithName ("GLIST").getChild (0);
    ASSERT_TRUE (node.isValid());
    EXPECT_EQ (node.getType(), juce::Identifier ("GLOBAL"));
    EXPECT_EQ (node.getPropertyName (0), juce::Identifier ("id"));
    EXPECT_EQ (node.getPropertyName (1), juce::Identifier ("value"));
    EXPECT_TRUE (node["value"].isDouble());
}

TEST_F (StoreFixture, AddingAKeyTwiceKeepsTheFirstValue)
{
    store.addParameter ("fader1_cc", 16, 0);
    store.addParameter ("fader1_cc", 99, 0);

    EXPECT_EQ (store.tree.getChildWithName ("ALIST").getNumChildren(), 1);
    EXPECT_EQ ((int) store.getParameter ("fader1_cc", 0), 16);
}

TEST_F (StoreFixture, ReadingAMissingKeyAppendsOneUndefinedNode)
{
    addDefaultParameters (store);

    EXPECT_TRUE (store.getParameter ("button1_cc", 4).isUndefined());
    EXPECT_TRUE (store.getParameter ("button1_cc", 4).isUndefined());

    EXPECT_EQ (listOrder (4), juce::StringArray ({ "channel_select", "14bit_midi_toggle", "button1_cc" }));
    auto node = store.tree.getChildWithName ("GLIST").getChild (2);
    EXPECT_EQ (node.getType(), juce::Identifier ("GLOBAL"));

    // A preset written afterwards carries the node, its value as "undefined".
    auto xml = store.tree.createXml();
    auto* element = xml->getChildByName ("GLIST")->getChildElement (2);
    EXPECT_EQ (element->getStringAttribute ("value"), "undefined");
}

TEST_F (StoreFixture, ReadingFromAMissingListCreatesItAtTheEnd)
{
    store.addParameter ("channel_select", 1.0, 4);

    EXPECT_TRUE (store.getParameter ("fader1_cc", 2).isUndefined());
    EXPECT_EQ (rootOrder(), juce::StringArray ({ "GLIST", "CLIST" }));
    EXPECT_EQ (listOrder (2), juce::StringArray ({ "fader1_cc" }));
}

TEST_F (StoreFixture, ReadingAMissingKeyDuringUndoAddsNothingAndReturnsVoid)
{
    addDefaultParameters (store);
    undoManager.beginNewTransaction();
    store.setParameter ("channel_select", 5.0, 4);

    struct ReadingListener : juce::ValueTree::Listener
    {
        ParameterStore& store;
        juce::var seen { "not read" };
        explicit ReadingListener (ParameterStore& s) : store (s) {}
        void valueTreePropertyChanged (juce::ValueTree&, const juce::Identifier&) override
        {
            seen = store.getParameter ("no_such_key", 4);
        }
    } listener (store);

    store.tree.addListener (&listener);
    ASSERT_TRUE (undoManager.undo());
    store.tree.removeListener (&listener);

    EXPECT_TRUE (listener.seen.isVoid());
    EXPECT_FALSE (listOrder (4).contains ("no_such_key"));
}

TEST_F (StoreFixture, SettingAMissingKeyChangesNothing)
{
    addDefaultParameters (store);
    auto before = store.tree.createCopy();

    store.setParameter ("no_such_key", 3, 0);

    EXPECT_FALSE (listOrder (0).contains ("no_such_key"));
    EXPECT_EQ (listOrder (0), [&] {
        juce::StringArray ids;
        for (const auto& child : before.getChildWithName ("ALIST"))
            ids.add (child["id"].toString());
        return ids;
    }());
}

TEST_F (StoreFixture, SetMovesNodeAndListToTheEnd)
{
    addDefaultParameters (store);
    EXPECT_EQ (rootOrder(), juce::StringArray ({ "GLIST", "ALIST", "BLIST", "CLIST", "DLIST" }));

    store.setParameter ("channel_select", 3.0, 4);

    EXPECT_EQ (rootOrder(), juce::StringArray ({ "ALIST", "BLIST", "CLIST", "DLIST", "GLIST" }));
    EXPECT_EQ (listOrder (4).strings.getLast(), "channel_select");
    EXPECT_EQ ((double) store.getParameter ("channel_select", 4), 3.0);
}

TEST_F (StoreFixture, SettingAnEqualValueStillMovesButSendsNoPropertyChange)
{
    addDefaultParameters (store);
    ChangeCounter counter;
    store.tree.addListener (&counter);

    store.setParameter ("fader1_cc", 16.0, 0); // equal to the stored int 16

    store.tree.removeListener (&counter);
    EXPECT_EQ (counter.propertyChanges, 0);
    EXPECT_EQ (counter.childRemoves, 2);
    EXPECT_EQ (counter.childAdds, 2);
    EXPECT_TRUE (store.getParameter ("fader1_cc", 0).isInt()); // the int is kept
    EXPECT_EQ (listOrder (0).strings.getLast(), "fader1_cc");
    EXPECT_EQ (rootOrder().strings.getLast(), "ALIST");
}

TEST_F (StoreFixture, ADifferentNumberReplacesTheKind)
{
    addDefaultParameters (store);
    store.setParameter ("fader1_cc", 20.0, 0);
    EXPECT_TRUE (store.getParameter ("fader1_cc", 0).isDouble());
}

TEST_F (StoreFixture, SettingIntoAnEmptyListRecreatesItEmptyAtTheEnd)
{
    addDefaultParameters (store);
    store.tree.appendChild (juce::ValueTree ("EXTRA"), nullptr);
    store.tree.removeChild (store.tree.getChildWithName ("BLIST"), nullptr);
    store.tree.addChild (juce::ValueTree ("BLIST"), 0, nullptr);

    store.setParameter ("fader1_cc", 5, 1);

    EXPECT_EQ (rootOrder().strings.getLast(), "BLIST");
    EXPECT_EQ (store.tree.getChildWithName ("BLIST").getNumChildren(), 0);
}

TEST_F (StoreFixture, UndoRestoresValueAndPositions)
{
    addDefaultParameters (store);
    const auto rootBefore = rootOrder();
    const auto listBefore = listOrder (0);

    undoManager.beginNewTransaction();
    store.setParameter ("max2_msb", 42, 0);
    ASSERT_TRUE (undoManager.undo());

    EXPECT_EQ ((double) store.getParameter ("max2_msb", 0), 127.0);
    EXPECT_EQ (rootOrder(), rootBefore);
    EXPECT_EQ (listOrder (0), listBefore);

    ASSERT_TRUE (undoManager.redo());
    EXPECT_EQ ((int) store.getParameter ("max2_msb", 0), 42);
    EXPECT_EQ (listOrder (0).strings.getLast(), "max2_msb");
}

TEST_F (StoreFixture, ListenersRunInsideTheLockAndMayReadAgain)
{
    addDefaultParameters (store);

    struct NestedReader : juce::ValueTree::Listener
    {
        ParameterStore& store;
        int reads = 0;
        explicit NestedReader (ParameterStore& s) : store (s) {}
        void valueTreePropertyChanged (juce::ValueTree&, const juce::Identifier&) override
        {
            // The lock is recursive: reading from inside a set must not deadlock.
            for (auto& key : textKeys)
                if (store.getParameter (key, 0).toString() == "unset")
                    ++reads;
        }
    } reader (store);

    store.tree.addListener (&reader);
    store.setParameter ("fader1_cc", 99, 0);
    store.tree.removeListener (&reader);

    EXPECT_EQ (reader.reads, 8);
}
