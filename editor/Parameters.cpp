#include "editor/Parameters.h"
#include "editor/ParameterStore.h"

namespace
{
const juce::Identifier idProperty { "id" };
const juce::Identifier valueProperty { "value" };

/** The start-up configuration, built once. */
const juce::ValueTree& startUpTree()
{
    static const juce::ValueTree defaults = []
    {
        ParameterStore store (nullptr);
        addDefaultParameters (store);
        return store.tree;
    }();
    return defaults;
}

juce::ValueTree getOrAppendChild (juce::ValueTree& parent, const juce::Identifier& type)
{
    auto child = parent.getChildWithName (type);

    if (! child.isValid())
    {
        child = juce::ValueTree (type);
        parent.appendChild (child, nullptr);
    }

    return child;
}

// Looks first where the order of the defaults puts the key: a preset the
// program saved holds its parameters in nearly that order, and a scan of the
// list for every one of them would cost a good part of a load.
juce::ValueTree findParameterFrom (const juce::ValueTree& list, const juce::var& key, int& expectedIndex)
{
    auto parameter = list.getChild (expectedIndex);

    if (parameter.getProperty (idProperty) == key)
    {
        ++expectedIndex;
        return parameter;
    }

    parameter = list.getChildWithProperty (idProperty, key);
    expectedIndex = list.indexOf (parameter) + 1;
    return parameter;
}

void addMissingParametersToList (juce::ValueTree& list, const juce::ValueTree& defaults)
{
    int expectedIndex = 0;

    for (const auto& parameter : defaults)
    {
        auto loaded = findParameterFrom (list, parameter.getProperty (idProperty), expectedIndex);

        if (! loaded.isValid())
            list.appendChild (parameter.createCopy(), nullptr);
        else if (! loaded.hasProperty (valueProperty))
            loaded.setProperty (valueProperty, parameter.getProperty (valueProperty), nullptr);
    }
}

void addBankDefaults (ParameterStore& store, int bank)
{
    for (int i = 0; i < 4; ++i)
        store.addParameter (faderCcKeys[i], 16 + 4 * bank + i, bank);

    for (int i = 0; i < 4; ++i)
        store.addParameter (faderCc14bKeys[i], 4 * bank + i, bank);

    for (int i = 0; i < 4; ++i)
        store.addParameter (maxMsbKeys[i], 127.0, bank);

    for (int i = 0; i < 4; ++i)
        store.addParameter (minMsbKeys[i], 0.0, bank);

    for (int i = 0; i < 4; ++i)
        store.addParameter (maxLsbKeys[i], 127.0, bank);

    for (int i = 0; i < 4; ++i)
        store.addParameter (minLsbKeys[i], 0.0, bank);

    for (int i = 0; i < 4; ++i)
        store.addParameter (buttonCcKeys[i], 4 * bank + i, bank);

    for (auto& key : textKeys)
        store.addParameter (key, juce::String ("unset"), bank);
}
} // namespace

void addDefaultParameters (ParameterStore& store)
{
    store.addParameter (channelSelectKey, 1.0, globalList);
    store.addParameter (fourteenBitToggleKey, false, globalList);

    for (int bank = 0; bank < numBanks; ++bank)
        addBankDefaults (store, bank);
}

juce::var defaultValueOf (const juce::String& key, int list)
{
    return startUpTree().getChildWithName (listTypes[list]).getChildWithProperty (idProperty, key).getProperty (valueProperty);
}

void addMissingParameters (juce::ValueTree& tree)
{
    for (const auto& defaults : startUpTree())
    {
        auto list = getOrAppendChild (tree, defaults.getType());
        addMissingParametersToList (list, defaults);
    }
}
