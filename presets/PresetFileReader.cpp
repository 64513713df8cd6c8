#include "presets/PresetFileReader.h"

#include <expat.h>

#include <algorithm>
#include <cerrno>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
struct ParserDeleter
{
    void operator() (XML_ParserStruct* parser) const { XML_ParserFree (parser); }
};

struct DescriptorCloser
{
    void operator() (const int* descriptor) const { ::close (*descriptor); }
};

void appendUtf8 (std::string& utf8, juce::juce_wchar character)
{
    char bytes[4];
    juce::CharPointer_UTF8 writer (bytes);
    writer.write (character);
    utf8.append (bytes, (size_t) (writer.getAddress() - bytes));
}

// The length of the well-formed UTF-8 sequence at the start of the bytes, or
// 0: no overlong forms, no surrogates, nothing beyond U+10FFFF.
size_t validUtf8SequenceLength (const juce::uint8* bytes, size_t size)
{
    const auto lead = bytes[0];

    if (lead < 0x80)
        return 1;

    size_t length = 0;
    juce::uint8 secondMin = 0x80, secondMax = 0xbf;

    if (lead >= 0xc2 && lead <= 0xdf)      length = 2;
    else if (lead >= 0xe0 && lead <= 0xef) length = 3;
    else if (lead >= 0xf0 && lead <= 0xf4) length = 4;
    else                                   return 0;

    if (lead == 0xe0) secondMin = 0xa0;
    if (lead == 0xed) secondMax = 0x9f;
    if (lead == 0xf0) secondMin = 0x90;
    if (lead == 0xf4) secondMax = 0x8f;

    if (size < length || bytes[1] < secondMin || bytes[1] > secondMax)
        return 0;

    for (size_t i = 2; i < length; ++i)
        if ((bytes[i] & 0xc0) != 0x80)
            return 0;

    return length;
}
} // namespace

bool PresetFileReader::isValidUtf8 (const char* bytes, size_t size)
{
    const auto* unsignedBytes = reinterpret_cast<const juce::uint8*> (bytes);

    for (size_t i = 0, length = 0; i < size; i += length)
        if ((length = validUtf8SequenceLength (unsignedBytes + i, size - i)) == 0)
            return false;

    return true;
}

std::unique_ptr<juce::XmlElement> PresetFileReader::parse (const juce::File& file)
{
    juce::MemoryBlock content;

    if (! readRegularFile (file, content))
        return {};

    return parse (content);
}

std::unique_ptr<juce::XmlElement> PresetFileReader::parse (const juce::MemoryBlock& fileContent)
{
    std::string text;

    if (! decode (fileContent, text))
        return {};

    PresetFileReader reader;
    return reader.read (text.data(), text.size());
}

// Opened without waiting, so that a pipe or a device named like a preset
// never blocks, and read only once it is known to be a regular file of a
// bounded size: a link to /dev/zero is refused unread.
bool PresetFileReader::readRegularFile (const juce::File& file, juce::MemoryBlock& content)
{
    const int descriptor = ::open (file.getFullPathName().toRawUTF8(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);

    if (descriptor < 0)
        return false;

    const std::unique_ptr<const int, DescriptorCloser> closer (&descriptor);
    struct stat status {};

    if (fstat (descriptor, &status) != 0 || ! S_ISREG (status.st_mode) || (size_t) status.st_size > maxFileSize)
        return false;

    // One byte more than the file holds tells a file that grows while it is
    // read: its text may be half written, and it is refused.
    content.setSize ((size_t) status.st_size + 1);
    size_t numRead = 0;

    while (numRead < content.getSize())
    {
        const auto result = ::read (descriptor, static_cast<char*> (content.getData()) + numRead, content.getSize() - numRead);

        if (result == 0)
            break;

        if (result < 0 && errno != EINTR)
            return false;

        numRead += (size_t) std::max<ssize_t> (result, 0);
    }

    content.setSize (numRead);
    return numRead <= (size_t) status.st_size;
}

bool PresetFileReader::decode (const juce::MemoryBlock& fileContent, std::string& utf8)
{
    const auto* bytes = static_cast<const juce::uint8*> (fileContent.getData());
    const auto size = fileContent.getSize();

    if (size >= 2 && (juce::CharPointer_UTF16::isByteOrderMarkBigEndian (bytes)
                      || juce::CharPointer_UTF16::isByteOrderMarkLittleEndian (bytes)))
        return decodeUtf16 (bytes, size, utf8);

    const size_t byteOrderMark = size >= 3 && juce::CharPointer_UTF8::isByteOrderMark (bytes) ? 3 : 0;
    decodeUtf8OrWindows1252 (bytes + byteOrderMark, size - byteOrderMark, utf8);
    return true;
}

// A lone or reversed surrogate stands for no character at all: the text is
// refused rather than guessed at.
bool PresetFileReader::decodeUtf16 (const juce::uint8* bytes, size_t size, std::string& utf8)
{
    const bool bigEndian = juce::CharPointer_UTF16::isByteOrderMarkBigEndian (bytes);
    const auto unitAt = [&] (size_t i) { return bigEndian ? (bytes[i] << 8) | bytes[i + 1] : (bytes[i + 1] << 8) | bytes[i]; };

    utf8.reserve (size);

    for (size_t i = 2; i + 1 < size; i += 2)
    {
        auto character = (juce::juce_wchar) unitAt (i);

        if (character == 0)
            break;

        if (character >= 0xdc00 && character <= 0xdfff)
            return false;

        if (character >= 0xd800 && character <= 0xdbff)
        {
            const auto low = i + 3 < size ? (juce::juce_wchar) unitAt (i + 2) : 0;

            if (low < 0xdc00 || low > 0xdfff)
                return false;

            character = 0x10000 + ((character - 0xd800) << 10) + (low - 0xdc00);
            i += 2;
        }

        appendUtf8 (utf8, character);
    }

    return true;
}

// Valid UTF-8 is kept as it is, so one stray byte of another encoding
// garbles no other character.
void PresetFileReader::decodeUtf8OrWindows1252 (const juce::uint8* bytes, size_t size, std::string& utf8)
{
    utf8.reserve (size);
    size_t validFrom = 0, i = 0;

    while (i < size && bytes[i] != 0)
    {
        if (const auto length = bytes[i] < 0x80 ? 1 : validUtf8SequenceLength (bytes + i, size - i); length > 0)
        {
            i += length;
            continue;
        }

        utf8.append (reinterpret_cast<const char*> (bytes + validFrom), i - validFrom);
        appendUtf8 (utf8, juce::CharacterFunctions::getUnicodeCharFromWindows1252Codepage (bytes[i]));
        validFrom = ++i;
    }

    utf8.append (reinterpret_cast<const char*> (bytes + validFrom), i - validFrom);
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

    // expat counts its input in an int; a preset's text is far shorter.
    if (numBytes > (size_t) std::numeric_limits<int>::max()
        || XML_Parse (parser, utf8, (int) numBytes, XML_TRUE) != XML_STATUS_OK || stopped)
        return {};

    return std::move (documentElement);
}

void PresetFileReader::openElement (const char* name, const char** attributes)
{
    if (stopped)
        return;

    if ((int) openElements.size() >= maxNestingDepth || ! hasAdmissibleCount (attributes))
        return stop();

    const auto* tagName = admitName (name);

    if (tagName == nullptr)
        return stop();

    auto element = std::make_unique<juce::XmlElement> (*tagName);

    for (auto** attribute = attributes; *attribute != nullptr; attribute += 2)
    {
        const auto* attributeName = admitName (attribute[0]);

        if (attributeName == nullptr)
            return stop();

        element->setAttribute (*attributeName, juce::String (juce::CharPointer_UTF8 (attribute[1])));
    }

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

bool PresetFileReader::hasAdmissibleCount (const char** attributes)
{
    for (int numAttributes = 0; attributes[2 * numAttributes] != nullptr;)
        if (++numAttributes > maxAttributesPerElement)
            return false;

    return true;
}

// A preset repeats a dozen names hundreds of times: each is looked up in
// JUCE's shared pool once per file rather than at every use.
const juce::Identifier* PresetFileReader::admitName (const char* name)
{
    const std::string_view text (name);
    auto known = names.find (text);

    if (known == names.end())
    {
        if ((int) names.size() >= maxDistinctNames)
            return nullptr;

        known = names.emplace (std::string (text), juce::Identifier (name)).first;
    }

    return &known->second;
}

void PresetFileReader::stop()
{
    stopped = true;
    XML_StopParser (parser, XML_FALSE);
}
