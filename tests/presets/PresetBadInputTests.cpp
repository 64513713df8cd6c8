#include "PresetTestSupport.h"

#include "presets/PresetFileReader.h"

namespace
{
juce::MemoryBlock bytesOf (const juce::String& text) { return { text.toRawUTF8(), text.getNumBytesAsUTF8() }; }
juce::String repeated (const juce::String& text, int times) { return juce::String::repeatedString (text, times); }

juce::String nested (int levels)
{
    return "<nusk>" + repeated ("<x>", levels - 1) + repeated ("</x>", levels - 1) + "</nusk>";
}

struct PresetBadInput : PresetFixture
{
    juce::String loadBytes (const juce::MemoryBlock& bytes)
    {
        folder.folder.getChildFile ("Bad.preset").replaceWithData (bytes.getData(), bytes.getSize());
        return load ("Bad.preset");
    }

    bool isKnownOutcome (const juce::String& outcome) const
    {
        return juce::StringArray { "loaded", parseFailure, "Preset is invalid / Loading Value Tree",
                                   "Preset seems to be malformed and cannot be loaded into plugin / Saving" }
            .contains (outcome);
    }

    juce::String savedDefaults()
    {
        savePreset (store.tree, folder.folder.getChildFile ("Defaults.preset"));
        return folder.folder.getChildFile ("Defaults.preset").loadFileAsString();
    }
};
} // namespace

// Given unchecked, each of these crashes JUCE's parser, keeps it busy for
// seconds to minutes (growing with the square of the size) or for ever, or
// makes it read past the end of the text.
TEST_F (PresetBadInput, HostileTextFailsQuicklyWithoutCrashing)
{
    juce::MemoryOutputStream distinctNames, overlongNesting;
    distinctNames << "<nusk";
    for (int i = 0; i < 200000; ++i)
        distinctNames << " a" << i << "=\"\"";
    overlongNesting << "<nusk>";
    for (int i = 0; i < 100000; ++i)
        overlongNesting << "\xc0\xbcx>"; // '<' in a forbidden two-byte form

    const std::pair<const char*, juce::MemoryBlock> cases[] = {
        { "deep nesting", bytesOf ("<nusk>" + repeated ("<x>", 100000)) },
        { "deep nesting in overlong UTF-8", overlongNesting.getMemoryBlock() },
        { "entity naming itself", bytesOf ("<!DOCTYPE nusk [<!ENTITY a \"&xa;\">]><nusk v=\"&a;\"/>") },
        { "entity bomb", bytesOf ("<!DOCTYPE nusk [<!ENTITY a \"" + repeated ("a", 65536) + "\">]><nusk v=\"" + repeated ("&a;", 100000) + "\"/>") },
        { "unterminated references", bytesOf ("<nusk>" + repeated ("&", 200000) + "</nusk>") },
        { "unterminated end tags", bytesOf ("<nusk>" + repeated ("<x>", 250) + "</" + repeated ("x", 3000000)) },
        { "unterminated comments in a tag", bytesOf ("<nusk " + repeated ("<!--b='", 100000)) },
        { "unterminated instructions in a tag", bytesOf ("<nusk " + repeated ("<?b='", 100000)) },
        { "distinct names", distinctNames.getMemoryBlock() },
        { "references in a huge value", bytesOf ("<nusk v=\"" + repeated ("x", 2000000) + repeated ("&amp;", 200000) + "\"/>") },
        { "instruction before text", bytesOf ("<nusk><GLIST><?pi?>text</GLIST></nusk>") },
        { "hex reference at the end", bytesOf ("<nusk v=\"&#x") },
    };

    for (const auto& [name, bytes] : cases)
    {
        SCOPED_TRACE (name);
        folder.folder.getChildFile ("Bad.preset").replaceWithData (bytes.getData(), bytes.getSize());
        const auto start = juce::Time::getMillisecondCounterHiRes();
        EXPECT_EQ (load ("Bad.preset"), parseFailure);
        EXPECT_LT (juce::Time::getMillisecondCounterHiRes() - start, 2000.0);
    }
}

TEST_F (PresetBadInput, LargeButPlainTextLoads)
{
    const auto hugeValue = repeated ("x", 5000000) + repeated ("&#12354;", 100);
    ASSERT_EQ (loadBytes (bytesOf ("<nusk><GLIST><GLOBAL id=\"n\" value=\"" + hugeValue + "\"/></GLIST></nusk>")), "loaded");
    EXPECT_EQ (store.getParameter ("n", globalList).toString().length(), 5000100);

    EXPECT_EQ (loadBytes (bytesOf ("<nusk v=\"" + repeated ("&#12354;", 10000) + "\"/>")), "loaded");
    EXPECT_EQ (loadBytes (bytesOf (nested (PresetFileReader::maxNestingDepth))), "loaded");
    EXPECT_EQ (loadBytes (bytesOf (nested (PresetFileReader::maxNestingDepth + 1))), parseFailure);
    EXPECT_EQ (loadBytes (juce::MemoryBlock ("<nusk/>\0\xff<<<", 12)), "loaded");
}

TEST_F (PresetBadInput, RandomBytesAndTruncatedPresetsFailCleanly)
{
    juce::Random random (7);
    for (int i = 0; i < 100; ++i)
    {
        juce::MemoryBlock bytes ((size_t) random.nextInt (4096));
        random.fillBitsRandomly (bytes.getData(), bytes.getSize());
        EXPECT_TRUE (isKnownOutcome (loadBytes (bytes)));
    }

    const auto text = savedDefaults();
    for (int length = 0; length < text.length(); length += 13)
    {
        const auto prefix = text.substring (0, length);
        EXPECT_EQ (loadBytes (bytesOf (prefix)), prefix.contains ("</nusk>") ? "loaded" : parseFailure) << length;
    }
}

TEST_F (PresetBadInput, MutatedPresetsLoadOrFailCleanly)
{
    const auto original = bytesOf (savedDefaults());
    const juce::StringArray fragments { "<", ">", "/>", "</", "&", ";", "\"", "'", "=", "&#x", "&#12345678901234;", "&lt;",
                                        "<!--", "-->", "<?", "?>", "<![CDATA[", "]]>", "<!DOCTYPE nusk [", "<x>", "</nusk>",
                                        "base64:", juce::String (juce::CharPointer_UTF8 ("\xe2\x82\xac")), " " };
    juce::Random random (20240601);
    int loaded = 0;

    for (int i = 0; i < 400; ++i)
    {
        juce::MemoryBlock bytes (original);

        for (int edits = 1 + random.nextInt (4); --edits >= 0;)
        {
            const auto size = (int) bytes.getSize();
            const auto at = (size_t) random.nextInt (size + 1);
            const auto fragment = fragments[random.nextInt (fragments.size())];

            switch (random.nextInt (5))
            {
                case 0:  if ((int) at < size) bytes[at] = (char) random.nextInt (256); break;
                case 1:  bytes.insert (fragment.toRawUTF8(), fragment.getNumBytesAsUTF8(), at); break;
                case 2:  bytes.removeSection (at, (size_t) random.nextInt (200)); break;
                case 3:  bytes.setSize (at); break;
                default: const juce::MemoryBlock slice (bytes.begin() + at, (size_t) juce::jmin (size - (int) at, random.nextInt (400)));
                         for (int copies = random.nextInt (50); --copies >= 0;)
                             bytes.insert (slice.getData(), slice.getSize(), at);
            }
        }

        const auto outcome = loadBytes (bytes);
        ASSERT_TRUE (isKnownOutcome (outcome)) << outcome;
        loaded += outcome == "loaded" ? 1 : 0;
    }

    EXPECT_GT (loaded, 20);
    EXPECT_LT (loaded, 380);
}
