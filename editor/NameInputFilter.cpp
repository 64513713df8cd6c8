#include "editor/NameInputFilter.h"

#include <vector>

juce::String NameInputFilter::filterNewText (juce::TextEditor&, const juce::String& newInput)
{
    std::vector<juce::juce_wchar> kept;
    kept.reserve ((size_t) newInput.length() + 1);

    for (auto text = newInput.getCharPointer(); ! text.isEmpty(); ++text)
        if (canBeSaved (*text))
            kept.push_back (*text);

    kept.push_back (0);
    return juce::String (juce::CharPointer_UTF32 (kept.data()));
}

// The characters of the XML 1.0 production Char.
bool NameInputFilter::canBeSaved (juce::juce_wchar character)
{
    const auto c = (juce::uint32) character;

    return c == 0x9 || c == 0xA || c == 0xD
        || (c >= 0x20 && c <= 0xD7FF)
        || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}
