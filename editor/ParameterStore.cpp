#include "editor/ParameterStore.h"

const juce::Identifier listTypes[5] { "ALIST", "BLIST", "CLIST", "DLIST", "GLIST" };
const juce::Identifier nodeTypes[5] { "A", "B", "C", "D", "GLOBAL" };
const juce::Identifier idProperty { "id" };
const juce::Identifier valueProperty { "value" };

ParameterStore::ParameterStore (juce::UndoManager* undoManagerToUse)
    : tree ("nusk"), undoManager (undoManagerToUse)
{
}

juce::ValueTree ParameterStore::getOrCreateList (int list)
{
    auto listNode = tree.getChildWithName (listTypes[list]);

    if (! listNode.isValid())
    {
        listNode = juce::ValueTree (listTypes[list]);
        tree.appendChild (listNode, undoManager);
    }

    return listNode;
}

juce::ValueTree ParameterStore::findParameter (const juce::ValueTree& listNode, const juce::String& key) const
{
    return listNode.getChildWithProperty (idProperty, key);
}

void ParameterStore::moveToEnd (juce::ValueTree& parent, const juce::ValueTree& child)
{
    parent.removeChild (child, undoManager);
    parent.appendChild (child, undoManager);
}

void ParameterStore::addParameter (const juce::String& key, const juce::var& value, int list)
{
    auto listNode = getOrCreateList (list);

    if (findParameter (listNode, key).isValid())
        return;

    juce::ValueTree parameter (nodeTypes[list]);
    parameter.setProperty (idProperty, key, undoManager);
    parameter.setProperty (valueProperty, value, undoManager);
    listNode.appendChild (parameter, undoManager);
}

juce::var ParameterStore::getParameter (const juce::String& key, int list)
{
    const juce::ScopedLock sl (lock);

    auto parameter = findParameter (tree.getChildWithName (listTypes[list]), key);

    if (! parameter.isValid())
    {
        addParameter (key, juce::var::undefined(), list);
        // Inside an undo or redo the undo manager performs nothing new, so the
        // node may still be missing here; the read then gives a void value.
        parameter = findParameter (tree.getChildWithName (listTypes[list]), key);
    }

    return parameter.getProperty (valueProperty);
}

void ParameterStore::setParameter (const juce::String& key, const juce::var& value, int list)
{
    const juce::ScopedLock sl (lock);

    auto listNode = getOrCreateList (list);

    if (listNode.getNumChildren() == 0)
    {
        tree.removeChild (listNode, undoManager);
        listNode = getOrCreateList (list);
    }

    auto parameter = findParameter (listNode, key);

    if (! parameter.isValid())
        return;

    parameter.setProperty (valueProperty, value, undoManager);
    moveToEnd (listNode, parameter);
    moveToEnd (tree, listNode);
}
