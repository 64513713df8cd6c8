#pragma once

#include <juce_data_structures/juce_data_structures.h>

/** Type names of the store's lists and of their parameter nodes, indexed by
    list number: 0 to 3 are the banks A to D, 4 is the global part. */
extern const juce::Identifier listTypes[5];
extern const juce::Identifier nodeTypes[5];

/** The two properties of every parameter node: its key and its value. */
extern const juce::Identifier idProperty;
extern const juce::Identifier valueProperty;

/** The whole configuration while the program runs: a tree of lists and
    parameters, the undo manager that records every change, and a lock.

    Parameters are addressed by key and list number (0 to 4, unchecked). */
struct ParameterStore
{
    ParameterStore (juce::UndoManager* undoManagerToUse);

    /** Adds the parameter unless its list already holds the key. */
    void addParameter (const juce::String& key, const juce::var& value, int list);

    /** Returns the value; a missing key is first added with an undefined value. */
    juce::var getParameter (const juce::String& key, int list);

    /** Changes an existing parameter and moves it, and its list, to the end. */
    void setParameter (const juce::String& key, const juce::var& value, int list);

    juce::ValueTree tree;
    juce::UndoManager* undoManager = nullptr;
    juce::CriticalSection lock;

private:
    juce::ValueTree getOrCreateList (int list);
    juce::ValueTree findParameter (const juce::ValueTree& listNode, const juce::String& key) const;
    void moveToEnd (juce::ValueTree& parent, const juce::ValueTree& child);

    JUCE_DECLARE_NON_COPYABLE (ParameterStore)
};
