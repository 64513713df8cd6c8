#include "presets/PresetFileReader.h"
#include "presets/XmlTextScanner.h"

std::unique_ptr<juce::XmlElement> PresetFileReader::parse (const juce::File& file)
{
    const auto text = readText (file);

    if (! isSafeToParse (text))
        return {};

    return juce::XmlDocument (text).getDocumentElement();
}

juce::String PresetFileReader::readText (const juce::File& file)
{
    // The round trip through UTF-32 ends the text at its first NUL and turns
    // overlong UTF-8 forms into the characters they stand for, so the checks
    // see the very characters the parser will see.
    const juce::String text (file.loadFileAsString().toUTF32());

    // The parser steps one character past a hex reference that breaks off;
    // a final line end gives it one to step onto instead of the terminator.
    return text + "\n";
}

bool PresetFileReader::isSafeToParse (const juce::String& text)
{
    const std::string_view bytes (text.toRawUTF8(), text.getNumBytesAsUTF8());

    if (bytes.find ("<!DOCTYPE") != std::string_view::npos // entity definitions, external subsets
        || bytes.find ("&<") != std::string_view::npos) // a reference the parser would parse again as elements
        return false;

    if (! isEveryOpeningClosed (bytes, "&", ";")
        || ! isEveryOpeningClosed (bytes, "</", ">")
        || ! isEveryOpeningClosed (bytes, "<!--", "-->")
        || ! isEveryOpeningClosed (bytes, "<?", "?>"))
        return false;

    const auto shape = XmlTextScanner::measure (bytes.data());
    return shape.deepestNesting <= maxNestingDepth
        && shape.numNames <= maxNames
        && shape.referenceCopying <= maxReferenceCopying
        && ! shape.hasInstructionBeforeText;
}

// When the last opening is followed by a closing, every earlier one is too,
// so the parser's search for the closing never runs to the end of the text.
bool PresetFileReader::isEveryOpeningClosed (std::string_view text, std::string_view opening, std::string_view closing)
{
    const auto lastOpening = text.rfind (opening);
    const auto lastClosing = text.rfind (closing);

    return lastOpening == std::string_view::npos
        || (lastClosing != std::string_view::npos && lastClosing >= lastOpening + opening.size());
}
