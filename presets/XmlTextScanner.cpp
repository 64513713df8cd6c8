#include "presets/XmlTextScanner.h"

#include <algorithm>
#include <cstring>

namespace
{
// The ASCII part of the characters JUCE's parser accepts in names.
bool isNameChar (char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
        || c == '_' || c == '-' || c == ':' || c == '.';
}

// The same test JUCE applies when it skips white space.
bool isSpace (char c)
{
    return c == ' ' || (c >= 9 && c <= 13);
}

bool isDigit (char c)
{
    return c >= '0' && c <= '9';
}

bool isHexDigit (char c)
{
    return isDigit (c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
} // namespace

XmlTextScanner::XmlTextScanner (const char* text) : position (text) {}

XmlTextScanner::Shape XmlTextScanner::measure (const char* text)
{
    XmlTextScanner scanner (text);
    scanner.scanDocument();
    return scanner.shape;
}

void XmlTextScanner::scanDocument()
{
    while (*position != 0)
    {
        if (*position == '&')
        {
            if (depth == 0)
                return; // text before the root: the parser finds no document

            if (! skipReference())
                return assumeTheWorstFromHere();

            continue;
        }

        if (*position != '<')
        {
            if (depth == 0 && ! isSpace (*position))
                return;

            ++position;
            continue;
        }

        if (skipPast ("<!--", "-->") || skipInstruction())
            continue;

        if (startsWith ("</"))
        {
            if (! closeElement() || ! skipPast ("</", ">") || depth == 0)
                return;

            continue;
        }

        if (! isNameChar (position[1]))
            return assumeTheWorstFromHere();

        ++position;
        openElement();
        scanTagBody();

        if (position == nullptr)
            return;

        if (depth == 0)
            return; // the root element is complete; the parser reads no further
    }
}

// Reads from the element name to the end of the start tag. Leaves position
// null when it hands over to the worst-case count.
void XmlTextScanner::scanTagBody()
{
    skipName();

    for (;;)
    {
        skipSpace();

        if (startsWith ("/>"))
        {
            position += 2;
            closeElement();
            return;
        }

        if (*position == '>')
        {
            ++position;
            return;
        }

        if (! isNameChar (*position))
            break;

        skipName();
        skipSpace();

        if (*position != '=')
            break;

        ++position;
        skipSpace();

        if (! skipQuotedValue())
            break;

        ++shape.numNames;
    }

    assumeTheWorstFromHere();
    position = nullptr;
}

// The parser takes "&#" with decimal or hex digits up to ';', and any other
// reference up to the next ';'. Odd numeric forms make it skip characters
// in ways not worth following.
bool XmlTextScanner::skipReference()
{
    const char* p = position + 1;

    if (*p == '#')
    {
        ++p;
        const bool hex = (*p == 'x' || *p == 'X');
        const int maxDigits = hex ? 8 : 12;
        p += hex ? 1 : 0;

        int digits = 0;

        for (; digits < maxDigits && (hex ? isHexDigit (*p) : isDigit (*p)); ++digits)
            ++p;

        if (digits == 0 || *p != ';')
            return false;

        position = p + 1;
        return true;
    }

    const char* end = std::strchr (p, ';');

    if (end == nullptr)
        return false;

    position = end + 1;
    return true;
}

bool XmlTextScanner::skipQuotedValue()
{
    const char quote = *position;

    if (quote != '"' && quote != '\'')
        return false;

    const char* valueStart = ++position;
    std::int64_t references = 0;

    while (*position != quote)
    {
        if (*position == 0)
            return false;

        if (*position == '&')
        {
            if (! skipReference())
                return false;

            ++references;
        }
        else
        {
            ++position;
        }
    }

    shape.referenceCopying += references * (position - valueStart);
    ++position;
    return true;
}

bool XmlTextScanner::skipPast (const char* opening, const char* closing)
{
    if (! startsWith (opening))
        return false;

    const char* end = std::strstr (position + std::strlen (opening), closing);
    position = end != nullptr ? end + std::strlen (closing) : position + std::strlen (position);
    return true;
}

bool XmlTextScanner::skipInstruction()
{
    if (! skipPast ("<?", "?>"))
        return false;

    if (depth > 0)
        checkWhatFollowsInstruction();

    return true;
}

// Looks past white space, comments and instructions, as the parser does
// before it decides between an element and text.
void XmlTextScanner::checkWhatFollowsInstruction()
{
    const char* const instructionEnd = position;

    for (;;)
    {
        skipSpace();

        if (! skipPast ("<!--", "-->") && ! skipPast ("<?", "?>"))
            break;
    }

    if (*position != 0 && *position != '<')
        shape.hasInstructionBeforeText = true;

    position = instructionEnd;
}

void XmlTextScanner::skipName()
{
    while (isNameChar (*position))
        ++position;
}

void XmlTextScanner::skipSpace()
{
    while (isSpace (*position))
        ++position;
}

bool XmlTextScanner::startsWith (const char* prefix) const
{
    return std::strncmp (position, prefix, std::strlen (prefix)) == 0;
}

void XmlTextScanner::openElement()
{
    ++depth;
    ++shape.numNames;
    shape.deepestNesting = std::max (shape.deepestNesting, depth);
}

bool XmlTextScanner::closeElement()
{
    if (depth == 0)
        return false;

    --depth;
    return true;
}

// From here on every '<' that is not an end tag may open an element inside
// all those still open, every '=' may add an attribute, every '&' may copy a
// value as long as the rest of the text, and every instruction may stand
// before text.
void XmlTextScanner::assumeTheWorstFromHere()
{
    const auto remainingLength = (std::int64_t) std::strlen (position);

    for (const char* p = position; *p != 0; ++p)
    {
        if (*p == '<' && p[1] != '/')
            openElement();
        else if (*p == '=')
            ++shape.numNames;
        else if (*p == '&')
            shape.referenceCopying += remainingLength;

        if (*p == '<' && p[1] == '?')
            shape.hasInstructionBeforeText = true;
    }
}
