#pragma once

#include <juce_core/juce_core.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct XML_ParserStruct;

/** Reads the XML of a preset file with expat and builds its document element:
    the elements with their attributes, in the order of the file. Text,
    comments, CDATA sections and processing instructions are skipped; a tree
    has no place for them.

    Only the file itself is read. A document type declaration is refused as
    soon as it begins, so no entity is ever defined and no other file named.

    expat parses in linear time without recursing. The limits below keep the
    building of the element, and of the tree made from it, as linear, and the
    recursion of the JUCE code that copies, converts and destroys them
    shallow; a file beyond them is refused like text that is not well-formed. */
class PresetFileReader
{
public:
    /** A preset file is read only when it is a regular file of at most this
        size, and a preset is saved only when its text fits. */
    static constexpr size_t maxFileSize = 16 * 1024 * 1024;

    /** Well beyond the three levels of a preset. A juce::ValueTree tells a
        whole subtree each time the subtree is attached or detached, so
        building and dropping a tree costs its size times its depth. */
    static constexpr int maxNestingDepth = 16;

    /** A preset's elements carry two; JUCE looks through those already set
        for every attribute it adds. */
    static constexpr int maxAttributesPerElement = 256;

    /** A preset uses a dozen. Every name becomes a juce::Identifier, and each
        new one is inserted into JUCE's sorted pool of names, which the whole
        program shares, at a cost that grows with the pool. */
    static constexpr int maxDistinctNames = 10000;

    /** The document element, or null when the file is missing, unreadable,
        empty, not well-formed or refused: anything but a regular file of at
        most maxFileSize bytes is refused before a byte of it is read. */
    static std::unique_ptr<juce::XmlElement> parse (const juce::File& file);

    /** The same for the bytes of a file. A UTF-16 text (with its byte-order
        mark) must hold whole surrogate pairs. Any other text is read as UTF-8,
        after a byte-order mark if there is one, and each byte that belongs to
        no valid UTF-8 sequence as a character of Windows-1252. The text ends
        at a NUL. */
    static std::unique_ptr<juce::XmlElement> parse (const juce::MemoryBlock& fileContent);

    /** True when the bytes are well-formed UTF-8: no overlong forms, no
        surrogates, nothing beyond U+10FFFF. */
    static bool isValidUtf8 (const char* bytes, size_t size);

private:
    PresetFileReader() = default;

    static bool readRegularFile (const juce::File& file, juce::MemoryBlock& content);
    static bool decode (const juce::MemoryBlock& fileContent, std::string& utf8);
    static bool decodeUtf16 (const juce::uint8* bytes, size_t size, std::string& utf8);
    static void decodeUtf8OrWindows1252 (const juce::uint8* bytes, size_t size, std::string& utf8);

    std::unique_ptr<juce::XmlElement> read (const char* utf8, size_t numBytes);
    void openElement (const char* name, const char** attributes);
    void closeElement();
    static bool hasAdmissibleCount (const char** attributes);
    /** The name's identifier, or null once maxDistinctNames are known. */
    const juce::Identifier* admitName (const char* name);
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
    std::map<std::string, juce::Identifier, std::less<>> names;
};
