#include "presets/PresetFileReader.h"

#include <expat.h>

#include <algorithm>
#include <climits>

namespace
{
struct ParserDeleter
{
    void operator() (XML_ParserStruct* parser) const { XML_ParserFree (parser); }
};
} // namespace

std::unique_ptr<juce::XmlElement> PresetFileReader::parse (const juce::File& file)
{
    juce::MemoryBlock content;

    if (! file.loadFileAsData (content))
        return {};

    return parse (content);
}

std::unique_ptr<juce::XmlElement> PresetFileReader::parse (const juce::MemoryBlock& fileContent)
{
    const auto text = decode (fileContent);
    PresetFileReader reader;
    return reader.read (text.toRawUTF8(), text.getNumBytesAsUTF8());
}

juce::String PresetFileReader::decode (const juce::MemoryBlock& fileContent)
{
    const auto* bytes = static_cast<const juce::uint8*> (fileContent.getData());
    const auto size = fileContent.getSize();

    if (size >= 2 && (juce::CharPointer_UTF16::isByteOrderMarkBigEndian (bytes)
                      || juce::CharPointer_UTF16::isByteOrderMarkLittleEndian (bytes)))
        return decodeUtf16 (fileContent);

    if (size > (size_t) INT_MAX)
        return {};

    return juce::String::createStringFromData (bytes, (int) size);
}

// JUCE's own decoding turns each half of a surrogate pair into a character of
// its own, which is not UTF-8 and so would fail any character outside the
// Basic Multilingual Plane; the UTF-16 character pointer joins the halves.
juce::String PresetFileReader::decodeUtf16 (const juce::MemoryBlock& fileContent)
{
    const auto* bytes = static_cast<const juce::uint8*> (fileContent.getData());
    const bool bigEndian = juce::CharPointer_UTF16::isByteOrderMarkBigEndian (bytes);
    const auto numUnits = fileContent.getSize() / 2 - 1;

    std::vector<juce::CharPointer_UTF16::CharType> units;
    units.reserve (numUnits + 1);

    for (size_t i = 1; i <= numUnits; ++i)
    {
        const auto first = bytes[2 * i], second = bytes[2 * i + 1];
        units.push_back ((juce::CharPointer_UTF16::CharType) (bigEndian ? (first << 8) | second : (second << 8) | first));
    }

    units.push_back (0);
    return juce::String (juce::CharPointer_UTF16 (units.data()));
}

std::unique_ptr<juce::XmlElement> PresetFileReader::read (const char* utf8, size_t numBytes)
{
    // The encoding given here overrides the one the declaration names.
    const std::unique_ptr<XML_ParserStruct, ParserDeleter> owner (XML_ParserCreate ("UTF-8"));

    if (owner == nullptr)
        return {};

    parser = owner.get();
    XML_SetUserData (parser, this);
    XML_SetElementHandler (parser,
                           [] (void* reader, const XML_Char* name, const XML_Char** attributes)
                           { static_cast<PresetFileReader*> (reader)->openElement (name, attributes); },
                           [] (void* reader, const XML_Char*)
                           { static_cast<PresetFileReader*> (reader)->closeElement(); });
    XML_SetStartDoctypeDeclHandler (parser,
                                    [] (void* reader, const XML_Char*, const XML_Char*, const XML_Char*, int)
                                    { static_cast<PresetFileReader*> (reader)->stop(); });

    if (! feed (utf8, numBytes) || stopped)
        return {};

    return std::move (documentElement);
}

// expat takes its input in pieces counted by an int.
bool PresetFileReader::feed (const char* utf8, size_t numBytes)
{
    constexpr size_t maxPiece = 1 << 30;

    for (;;)
    {
        const auto piece = std::min (numBytes, maxPiece);
        const bool isFinal = piece == numBytes;

        if (XML_Parse (parser, utf8, (int) piece, isFinal) != XML_STATUS_OK)
            return false;

        if (isFinal)
            return true;

        utf8 += piece;
        numBytes -= piece;
    }
}

void PresetFileReader::openElement (const char* name, const char** attributes)
{
    if (stopped)
        return;

    if ((int) openElements.size() >= maxNestingDepth || ! admitNames (name, attributes))
        return stop();

    auto element = std::make_unique<juce::XmlElement> (name);

    for (auto** attribute = attributes; *attribute != nullptr; attribute += 2)
        element->setAttribute (juce::Identifier (attribute[0]), juce::String (juce::CharPointer_UTF8 (attribute[1])));

    openElements.push_back ({ std::move (element), {} });
}

void PresetFileReader::closeElement()
{
    // After a stop, expat may still report the end of the tag that caused it.
    if (stopped)
        return;

    auto closed = std::move (openElements.back());
    openElements.pop_back();

    for (auto child = closed.children.rbegin(); child != closed.children.rend(); ++child)
        closed.element->prependChildElement (child->release());

    if (openElements.empty())
        documentElement = std::move (closed.element);
    else
        openElements.back().children.push_back (std::move (closed.element));
}

bool PresetFileReader::admitNames (const char* elementName, const char** attributes)
{
    int numAttributes = 0;

    while (attributes[2 * numAttributes] != nullptr)
        if (++numAttributes > maxAttributesPerElement)
            return false;

    names.emplace (elementName);

    for (int i = 0; i < numAttributes; ++i)
        names.emplace (attributes[2 * i]);

    return (int) names.size() <= maxDistinctNames;
}

void PresetFileReader::stop()
{
    stopped = true;
    XML_StopParser (parser, XML_FALSE);
}
