#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <vector>

struct ParameterStore;

/** The two system-exclusive messages that carry the configuration to the
    device: the settings (103 bytes framed) and the fader names (82 bytes framed).

    Each number goes out as the panel's control shows it, so every data byte
    lies within 0..127 and the device never sees a status byte inside a
    message. A value that reads back undefined is sent as its start-up default
    so the layout never shifts. */

/** Appends bank 0..3's 24 bytes: notes, controllers (14-bit MSB controllers when
    is14Bit), upper MSBs, upper LSBs, lower MSBs, lower LSBs. */
void appendBankSettings (ParameterStore& store, std::vector<uint8_t>& message, int bank, bool is14Bit);

/** Appends the four fader names of bank 0..3, five ASCII bytes each. */
void appendBankNames (ParameterStore& store, std::vector<uint8_t>& message, int bank);

/** 0xF0, the header, channel, 14-bit flag, banks A to D, 0xF7. */
std::vector<uint8_t> buildSettingsMessage (ParameterStore& store, const std::vector<uint8_t>& header);

/** 0xF0, the fader names of banks A to D, 0xF7. */
std::vector<uint8_t> buildNamesMessage (ParameterStore& store);

/** A number no control shows as a data byte: juce::var::toInt clamped to 0..127. */
uint8_t toDataByte (const juce::var& value);

/** The name as exactly five printable ASCII bytes: anything else becomes '?',
    a short name is padded with spaces, a long one cut. */
std::vector<uint8_t> toNameBytes (const juce::var& value);
