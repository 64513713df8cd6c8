#pragma once

#include <cstdint>

/** Walks XML text the way JUCE's XmlDocument walks it and measures what the
    parser would build and do: how deep elements nest, how many names
    (element and attribute names) it creates, and how many bytes it copies
    for references in attribute values, each of which it appends to the
    value read so far.

    It follows the plain syntax that preset files use: declaration, comments,
    processing instructions, start, end and empty-element tags, quoted
    attribute values, references and text. At anything else it stops
    following and assumes the worst: every later '<' opens one more element,
    every later '=' adds an attribute and every later '&' is a reference in
    a value as long as the rest of the text. So the figures are upper bounds,
    exact for the files this program writes.

    The text must be NUL-terminated, valid UTF-8. */
class XmlTextScanner
{
public:
    struct Shape
    {
        int deepestNesting = 0;
        int numNames = 0;
        std::int64_t referenceCopying = 0;

        /** A processing instruction inside an element with text after it:
            the parser skips the instruction, steps back before it to read
            the text, stops at it, and so goes round for ever. */
        bool hasInstructionBeforeText = false;
    };

    static Shape measure (const char* text);

private:
    explicit XmlTextScanner (const char* text);

    void scanDocument();
    void scanTagBody();
    bool skipReference();
    bool skipQuotedValue();
    bool skipPast (const char* opening, const char* closing);
    bool skipInstruction();
    void checkWhatFollowsInstruction();
    void skipName();
    void skipSpace();
    bool startsWith (const char* prefix) const;
    void openElement();
    bool closeElement();
    void assumeTheWorstFromHere();

    const char* position;
    int depth = 0;
    Shape shape;
};
