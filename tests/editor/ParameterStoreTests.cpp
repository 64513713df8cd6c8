#include <gtest/gtest.h>

#include "editor/ParameterStore.h"
#include "editor/Parameters.h"

namespace
{
struct Store : testing::Test, juce::ValueTree::Listener
{
    Store() { addDefaultParameters (store); }

    int globalCount() { return store.tree.getChildWithName (listTypes[globalList]).getNumChildren(); }

    // Once listening, reads a missing key at each property change, as the panel's refresh may.
    void valueTreePropertyChanged (juce::ValueTree&, const juce::Identifier&) override { seen = store.getParameter ("no_such_key", globalList); }

    juce::UndoManager undoManager { 30000, 30 };
    ParameterStore store { &undoManager };
    juce::var seen { "not read" };
};
} // namespace

// Preset files written later carry a key that was read, so it is added, once.
TEST_F (Store, ReadingAMissingKeyAddsItUndefinedOnceButNeitherASetNorAReadDuringUndoDoes)
{
    EXPECT_TRUE (store.getParameter ("button1_cc", globalList).isUndefined() && store.getParameter ("button1_cc", globalList).isUndefined());
    store.setParameter ("no_such_key", 3, globalList);
    EXPECT_EQ (globalCount(), 3);

    undoManager.beginNewTransaction();
    store.setParameter ("max2_msb", 42, 2);
    EXPECT_EQ ((int) store.getParameter ("max2_msb", 2), 42);
    store.tree.addListener (this);
    ASSERT_TRUE (undoManager.undo());
    EXPECT_TRUE (seen.isVoid());
    EXPECT_EQ (globalCount(), 3);
    EXPECT_EQ ((int) store.getParameter ("max2_msb", 2), 127);
}
