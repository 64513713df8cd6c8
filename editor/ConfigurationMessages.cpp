#include "editor/ConfigurationMessages.h"
#include "editor/ParameterStore.h"
#include "editor/Parameters.h"
#include "editor/StoredNumbers.h"

namespace
{
constexpr uint8_t sysExStart = 0xF0;
constexpr uint8_t sysExEnd = 0xF7;
constexpr int nameLength = 5;

/** The stored value, or its start-up default when it reads back undefined, so
    that every message keeps its length and every byte its place. */
juce::var readOrDefault (ParameterStore& store, const juce::String& key, int list)
{
    auto value = store.getParameter (key, list);
    return value.isUndefined() ? defaultValueOf (key, list) : value;
}

template <typename Conversion>
void appendShown (ParameterStore& store, std::vector<uint8_t>& message, const juce::StringArray& keys, int list,
                  Conversion shown)
{
    for (const auto& key : keys)
        message.push_back ((uint8_t) shown (readOrDefault (store, key, list)));
}

// The limits as the faders' thumbs show them, block by block: upper MSBs,
// upper LSBs, lower MSBs, lower LSBs. In 7-bit mode the LSBs are not shown
// and go out as they are stored.
void appendLimits (ParameterStore& store, std::vector<uint8_t>& message, int bank, bool is14Bit)
{
    enum Block { maxMsb, maxLsb, minMsb, minLsb };
    const juce::StringArray* keys[] { &maxMsbKeys, &maxLsbKeys, &minMsbKeys, &minLsbKeys };
    juce::var stored[4][4];
    uint8_t bytes[4][4];

    for (int block = 0; block < 4; ++block)
        for (int fader = 0; fader < 4; ++fader)
            stored[block][fader] = readOrDefault (store, (*keys[block])[fader], bank);

    for (int fader = 0; fader < 4; ++fader)
    {
        const auto limits = shownLimits (stored[maxMsb][fader], stored[minMsb][fader],
                                         stored[maxLsb][fader], stored[minLsb][fader], is14Bit);
        const auto upper = limits.getEnd(), lower = limits.getStart();

        bytes[maxMsb][fader] = (uint8_t) (is14Bit ? upper >> 7 : upper);
        bytes[minMsb][fader] = (uint8_t) (is14Bit ? lower >> 7 : lower);
        bytes[maxLsb][fader] = is14Bit ? (uint8_t) (upper & 0x7f) : toDataByte (stored[maxLsb][fader]);
        bytes[minLsb][fader] = is14Bit ? (uint8_t) (lower & 0x7f) : toDataByte (stored[minLsb][fader]);
    }

    for (const auto& block : bytes)
        message.insert (message.end(), std::begin (block), std::end (block));
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
    appendShown (store, message, buttonCcKeys, bank, shownNote);
    appendShown (store, message, is14Bit ? faderCc14bKeys : faderCcKeys, bank,
                 [is14Bit] (const juce::var& value) { return shownController (value, is14Bit); });
    appendLimits (store, message, bank, is14Bit);
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
    body.push_back ((uint8_t) shownChannel (readOrDefault (store, channelSelectKey, globalList)));

    const bool is14Bit = isFourteenBit (readOrDefault (store, fourteenBitToggleKey, globalList));
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
