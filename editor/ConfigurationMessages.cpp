#include "editor/ConfigurationMessages.h"
#include "editor/ParameterStore.h"
#include "editor/Parameters.h"
#include "editor/StoredNumbers.h"

namespace
{
constexpr uint8_t sysExStart = 0xF0;
constexpr uint8_t sysExEnd = 0xF7;
constexpr int nameLength = 5;

/** The start-up configuration, built once: the stand-in for undefined values. */
const juce::ValueTree& startUpDefaults()
{
    static const juce::ValueTree defaults = []
    {
        ParameterStore store (nullptr);
        addDefaultParameters (store);
        return store.tree;
    }();
    return defaults;
}

/** The stored value, or its start-up default when it reads back undefined, so
    that every message keeps its length and every byte its place. */
juce::var readOrDefault (ParameterStore& store, const juce::String& key, int list)
{
    auto value = store.getParameter (key, list);

    if (! value.isUndefined())
        return value;

    return startUpDefaults().getChildWithName (listTypes[list]).getChildWithProperty ("id", key)["value"];
}

void appendNumbers (ParameterStore& store, std::vector<uint8_t>& message, const juce::StringArray& keys, int list)
{
    for (const auto& key : keys)
        message.push_back (toDataByte (readOrDefault (store, key, list)));
}

bool isPrintableAscii (juce::juce_wchar character)
{
    return character >= 0x20 && character <= 0x7E;
}

std::vector<uint8_t> frame (const std::vector<uint8_t>& body)
{
    std::vector<uint8_t> framed;
    framed.reserve (body.size() + 2);
    framed.push_back (sysExStart);
    framed.insert (framed.end(), body.begin(), body.end());
    framed.push_back (sysExEnd);
    return framed;
}
} // namespace

uint8_t toDataByte (const juce::var& value)
{
    return (uint8_t) juce::jlimit (0, 127, toSafeInt (value));
}

std::vector<uint8_t> toNameBytes (const juce::var& value)
{
    juce::String printable;

    for (auto character : value.toString())
        printable << (isPrintableAscii (character) ? character : (juce::juce_wchar) '?');

    const auto padded = printable.paddedRight (' ', nameLength).substring (0, nameLength);
    return { padded.toRawUTF8(), padded.toRawUTF8() + nameLength };
}

void appendBankSettings (ParameterStore& store, std::vector<uint8_t>& message, int bank, bool is14Bit)
{
    appendNumbers (store, message, buttonCcKeys, bank);
    appendNumbers (store, message, is14Bit ? faderCc14bKeys : faderCcKeys, bank);
    appendNumbers (store, message, maxMsbKeys, bank);
    appendNumbers (store, message, maxLsbKeys, bank);
    appendNumbers (store, message, minMsbKeys, bank);
    appendNumbers (store, message, minLsbKeys, bank);
}

void appendBankNames (ParameterStore& store, std::vector<uint8_t>& message, int bank)
{
    // Only the fader names go to the device; the button names stay in the editor.
    for (int fader = 0; fader < 4; ++fader)
    {
        const auto name = toNameBytes (readOrDefault (store, textKeys[fader], bank));
        message.insert (message.end(), name.begin(), name.end());
    }
}

std::vector<uint8_t> buildSettingsMessage (ParameterStore& store, const std::vector<uint8_t>& header)
{
    auto body = header;
    body.push_back (toDataByte (readOrDefault (store, channelSelectKey, globalList)));

    const bool is14Bit = toSafeInt (readOrDefault (store, fourteenBitToggleKey, globalList)) != 0;
    body.push_back (is14Bit ? 0x01 : 0x00);

    for (int bank = 0; bank < numBanks; ++bank)
        appendBankSettings (store, body, bank, is14Bit);

    return frame (body);
}

std::vector<uint8_t> buildNamesMessage (ParameterStore& store)
{
    std::vector<uint8_t> body;

    for (int bank = 0; bank < numBanks; ++bank)
        appendBankNames (store, body, bank);

    return frame (body);
}
