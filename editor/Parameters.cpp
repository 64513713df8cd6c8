#include "editor/Parameters.h"
#include "editor/ParameterStore.h"

namespace
{
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
