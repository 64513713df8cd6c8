#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Drops, as they enter a name editor, typed or pasted, the characters that
    no preset file can hold: XML 1.0 carries no control character other than
    tab, line feed and carriage return, no U+FFFE or U+FFFF and no lone
    surrogate, not even as a character reference. Everything else passes. */
class NameInputFilter : public juce::TextEditor::InputFilter
{
public:
    juce::String filterNewText (juce::TextEditor& editor, const juce::String& newInput) override;

private:
    static bool canBeSaved (juce::juce_wchar character);
};
