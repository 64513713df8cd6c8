#pragma once

#include <juce_core/juce_core.h>

#include <memory>
#include <string_view>

/** Parses a preset file's XML from that file alone.

    JUCE's XmlDocument, given a file, follows a DOCTYPE to other files; given
    text it cannot, so the file is read first and its text parsed. The text
    is checked before the parser sees it, because that parser recurses once
    per nesting level, expands entities that refer to themselves without
    end, rescans the rest of the text at every unterminated reference, end
    tag, comment or processing instruction, copies the value read so far for
    each reference in an attribute, and loops for ever on an instruction
    before text inside an element. Text that could do any of that is refused;
    the program never writes such text. */
class PresetFileReader
{
public:
    /** Far beyond the three levels of a preset, far below where the parser's
        recursion runs out of stack. */
    static constexpr int maxNestingDepth = 256;

    /** Every new element or attribute name is interned for the rest of the
        run, at a cost that grows with the number already held. */
    static constexpr int maxNames = 20000;

    /** The parser appends each reference in an attribute value to the value
        read so far, copying it each time. This many bytes take it well under
        a second; a name of ten thousand characters outside ASCII, each saved
        as a reference, stays below. */
    static constexpr juce::int64 maxReferenceCopying = juce::int64 (1) << 31;

    /** The document element, or null when the file is missing, unreadable,
        not well-formed, or refused. */
    static std::unique_ptr<juce::XmlElement> parse (const juce::File& file);

private:
    static juce::String readText (const juce::File& file);
    static bool isSafeToParse (const juce::String& text);
    static bool isEveryOpeningClosed (std::string_view text, std::string_view opening, std::string_view closing);
};
