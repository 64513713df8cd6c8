#include "editor/Parameters.h"
#include "editor/ParameterStore.h"

#include <algorithm>
#include <bitset>
#include <iterator>
#include <unordered_map>
#include <vector>

namespace
{
/** One list of the start-up configuration, with its keys in order and
    mapped to their places. */
struct StartUpList
{
    juce::ValueTree parameters;
    std::vector<juce::String> keys;
    std::unordered_map<juce::String, int> indexOfKey;
};

const std::vector<StartUpList>& startUpLists()
{
    static const std::vector<StartUpList> lists = []
    {
        ParameterStore store (nullptr);
        addDefaultParameters (store);
        std::vector<StartUpList> made;

        for (const auto& parameters : store.tree)
        {
            auto& list = made.emplace_back (StartUpList { parameters, {}, {} });
            for (const auto& parameter : parameters)
            {
                list.indexOfKey.emplace (parameter.getProperty (idProperty).toString(), (int) list.keys.size());
                list.keys.push_back (parameter.getProperty (idProperty).toString());
            }
        }

        return made;
    }();
    return lists;
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

// Looked for first where the order of the defaults puts it, which is where a
// preset the program saved mostly holds it; -1 for a key the list lacks. An
// id of any kind matches as the store's lookup matches it, by its text.
int indexOfKey (const StartUpList& defaults, const juce::var& key, int expectedIndex)
{
    const auto text = key.toString();

    if ((size_t) expectedIndex < defaults.keys.size() && defaults.keys[(size_t) expectedIndex] == text)
        return expectedIndex;

    const auto known = defaults.indexOfKey.find (text);
    return known != defaults.indexOfKey.end() ? known->second : -1;
}

// Drops the children at the given places, in ascending order. Emptied from
// the end and refilled, the parent moves no child more than once, so a list
// of millions of repeats costs no more than its reading.
void dropChildren (juce::ValueTree& parent, const std::vector<int>& places)
{
    if (places.empty())
        return;

    std::vector<juce::ValueTree> kept;
    kept.reserve ((size_t) parent.getNumChildren() - places.size());

    for (int i = 0, next = 0; i < parent.getNumChildren(); ++i)
        if (next < (int) places.size() && places[(size_t) next] == i)
            ++next;
        else
            kept.push_back (parent.getChild (i));

    parent.removeAllChildren (nullptr);

    for (const auto& child : kept)
        parent.appendChild (child, nullptr);
}

// The store reads the first list of each type, and the first node of each
// key in it, but an edit moves its node to the end: a later copy would then
// be read instead, while the panel still shows the edit.
void dropRepeatedLists (juce::ValueTree& tree)
{
    std::bitset<globalList + 1> found;
    std::vector<int> repeats;

    for (int i = 0; i < tree.getNumChildren(); ++i)
    {
        const auto* type = std::find (std::begin (listTypes), std::end (listTypes), tree.getChild (i).getType());
        const auto list = (size_t) (type - std::begin (listTypes));

        if (list < found.size() && found[list])
            repeats.push_back (i);
        else if (list < found.size())
            found[list] = true;
    }

    dropChildren (tree, repeats);
}

// One pass over the loaded list finds the first node of each key and drops
// the later ones, so a hostile list of millions of nodes costs no more than
// its reading. Nodes of no known key stay as they are.
void addMissingParametersToList (juce::ValueTree& list, const StartUpList& defaults)
{
    std::bitset<64> found;
    jassert (defaults.keys.size() <= found.size());
    std::vector<int> repeats;
    int expectedIndex = 0;

    for (int i = 0; i < list.getNumChildren(); ++i)
    {
        auto parameter = list.getChild (i);
        const auto index = indexOfKey (defaults, parameter.getProperty (idProperty), expectedIndex);

        if (index < 0)
            continue;

        if (found[(size_t) index])
        {
            repeats.push_back (i);
            continue;
        }

        found[(size_t) index] = true;
        expectedIndex = index + 1;

        if (! parameter.hasProperty (valueProperty))
            parameter.setProperty (valueProperty, defaults.parameters.getChild (index).getProperty (valueProperty), nullptr);
    }

    dropChildren (list, repeats);

    for (size_t i = 0; i < defaults.keys.size(); ++i)
        if (! found[i])
            list.appendChild (defaults.parameters.getChild ((int) i).createCopy(), nullptr);
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
    for (const auto& defaults : startUpLists())
        if (defaults.parameters.getType() == listTypes[list])
            if (const auto index = indexOfKey (defaults, key, -1); index >= 0)
                return defaults.parameters.getChild (index).getProperty (valueProperty);

    return {};
}

void addMissingParameters (juce::ValueTree& tree)
{
    dropRepeatedLists (tree);

    for (const auto& defaults : startUpLists())
    {
        auto list = getOrAppendChild (tree, defaults.parameters.getType());
        addMissingParametersToList (list, defaults);
    }
}
