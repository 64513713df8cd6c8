#pragma once

#include <juce_core/juce_core.h>

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

struct XML_ParserStruct;

/** Reads the XML of a preset file with expat and builds its document element:
    the elements with their attributes, in the order of the file. Text,
    comments, CDATA sections and processing instructions are skipped; a tree
    has no place for them.

    Only the file itself is read. A document type declaration is refused as
    soon as it begins, so no entity is ever defined and no other file named.

    expat parses in linear time without recursing. The limits below keep the
    building of the element as linear, and the recursion of the JUCE code
    that copies, converts and destroys it shallow; a file beyond them is
    refused like text that is not well-formed. */
class PresetFileReader
{
public:
    /** Far beyond the three levels of a preset. */
    static constexpr int maxNestingDepth = 256;

    /** A preset's elements carry two; JUCE looks through those already set
        for every attribute it adds. */
    static constexpr int maxAttributesPerElement = 256;

    /** A preset uses a dozen. Every name becomes a juce::Identifier, and each
        new one is inserted into JUCE's sorted pool of names, which the whole
        program shares, at a cost that grows with the pool. */
    static constexpr int maxDistinctNames = 10000;

    /** The document element, or null when the file is missing, unreadable,
        empty, not well-formed or refused. */
    static std::unique_ptr<juce::XmlElement> parse (const juce::File& file);

    /** The same for the bytes of a file. They are decoded as JUCE decodes a
        file's text (a UTF-8 or UTF-16 byte-order mark, else UTF-8, else
        Windows-1252; the text ends at a NUL) and given to expat as UTF-8. */
    static std::unique_ptr<juce::XmlElement> parse (const juce::MemoryBlock& fileContent);

private:
    PresetFileReader() = default;

    static juce::String decode (const juce::MemoryBlock& fileContent);
    static juce::String decodeUtf16 (const juce::MemoryBlock& fileContent);

    std::unique_ptr<juce::XmlElement> read (const char* utf8, size_t numBytes);
    bool feed (const char* utf8, size_t numBytes);
    void openElement (const char* name, const char** attributes);
    void closeElement();
    bool admitNames (const char* elementName, const char** attributes);
    void stop();

    struct OpenElement
    {
        std::unique_ptr<juce::XmlElement> element;

        // Added when the element closes: JUCE walks the whole list to append one.
        std::vector<std::unique_ptr<juce::XmlElement>> children;
    };

    XML_ParserStruct* parser = nullptr;
    bool stopped = false;
    std::vector<OpenElement> openElements;
    std::unique_ptr<juce::XmlElement> documentElement;
    std::unordered_set<std::string> names;
};
