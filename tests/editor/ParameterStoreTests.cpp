#include "PanelHarness.h"

// Once listening, reads a missing key at each property change, as the panel's refresh may.
struct Store : PanelHarness, juce::ValueTree::Listener
{
    void valueTreePropertyChanged (juce::ValueTree&, const juce::Identifier&) override { seen = stored ("no_such_key", globalList); }
    int globalCount() { return store.tree.getChildWithName (listTypes[globalList]).getNumChildren(); }
    juce::var seen { "not read" };
};

// Preset files written later carry a key that was read, so it is added, once.
TEST_F (Store, ReadingAMissingKeyAddsItUndefinedOnceButNeitherASetNorAReadDuringUndoDoes)
{
    EXPECT_TRUE (stored ("button1_cc", globalList).isUndefined() && stored ("button1_cc", globalList).isUndefined());
    store.setParameter ("no_such_key", 3, globalList);
    EXPECT_EQ (globalCount(), 3);

    undoManager.beginNewTransaction();
    store.setParameter ("max2_msb", 42, 2);
    store.tree.addListener (this);
    ASSERT_TRUE (undoManager.undo());
    EXPECT_TRUE (seen.isVoid());
    EXPECT_EQ (globalCount(), 3);
    EXPECT_EQ ((int) stored ("max2_msb", 2), 127);
}
