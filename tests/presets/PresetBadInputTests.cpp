#include "PresetTestSupport.h"

#include "presets/PresetFileReader.h"

namespace
{
juce::MemoryBlock bytesOf (const juce::String& text) { return { text.toRawUTF8(), text.getNumBytesAsUTF8() }; }
juce::String repeated (const juce::String& text, int times) { return juce::String::repeatedString (text, times); }
juce::String nested (int levels) { return "<nusk>" + repeated ("<x>", levels - 1) + repeated ("</x>", levels - 1) + "</nusk>"; }

struct PresetBadInput : PresetFixture
{
    // Expects a load or one of the three errors, and returns which.
    juce::String loadCleanly (const juce::MemoryBlock& bytes)
    {
        folder.getChildFile ("Bad.preset").replaceWithData (bytes.getData(), bytes.getSize());
        const auto outcome = load ("Bad.preset");
        const juce::StringArray known { "loaded", parseFailure, "Preset is invalid / Loading Value Tree",
                                        "Preset seems to be malformed and cannot be loaded into plugin / Saving" };
        EXPECT_TRUE (known.contains (outcome)) << outcome;
        return outcome;
    }
};
} // namespace

// Given unchecked, most of the failing cases crash JUCE's parser, keep it busy
// for seconds to minutes or for ever, or make it read past the end of the text.
TEST_F (PresetBadInput, HostileTextFailsQuicklyAndPlainTextLoadsHoweverLargeOrUnexpected)
{
    juce::MemoryOutputStream distinctNames, overlongNesting;
    distinctNames << "<nusk";
    for (int i = 0; i < 200000; ++i)
        distinctNames << " a" << i << "=\"\"";
    overlongNesting << "<nusk>";
    for (int i = 0; i < 100000; ++i)
        overlongNesting << "\xc0\xbcx>"; // '<' in a forbidden two-byte form

    const std::pair<juce::MemoryBlock, juce::String> cases[] = {
        { bytesOf ("<nusk>" + repeated ("<x>", 100000)), parseFailure },
        { overlongNesting.getMemoryBlock(), parseFailure },
        { bytesOf (nested (PresetFileReader::maxNestingDepth + 1)), parseFailure },
        { bytesOf ("<!DOCTYPE nusk [<!ENTITY a \"&xa;\">]><nusk v=\"&a;\"/>"), parseFailure },
        { bytesOf ("<nusk>" + repeated ("&", 200000) + "</nusk>"), parseFailure },
        { bytesOf ("<nusk>" + repeated ("<x>", 250) + "</" + repeated ("x", 3000000)), parseFailure },
        { bytesOf ("<nusk " + repeated ("<!--b='", 100000)), parseFailure },
        { bytesOf ("<nusk " + repeated ("<?b='", 100000)), parseFailure },
        { distinctNames.getMemoryBlock(), parseFailure },
        { bytesOf ("<nusk v=\"" + repeated ("x", 2000000) + repeated ("&amp;", 200000) + "\"/>"), parseFailure },
        { bytesOf ("<nusk><GLIST><?pi?>text</GLIST></nusk>"), parseFailure },
        { bytesOf ("<nusk v=\"&#x"), parseFailure },
        { bytesOf ("<nusk/>"), "loaded" },
        { bytesOf ("<nusk><FOO x=\"1\"><BAR/></FOO></nusk>"), "loaded" },
        { juce::MemoryBlock ("<nusk/>\0\xff<<<", 12), "loaded" },
        { bytesOf (nested (PresetFileReader::maxNestingDepth)), "loaded" },
        { bytesOf ("<nusk v=\"" + repeated ("&#12354;", 10000) + "\"/>"), "loaded" },
        { bytesOf ("<nusk><GLIST><GLOBAL id=\"n\" value=\"" + repeated ("x", 5000000) + repeated ("&#12354;", 100) + "\"/></GLIST></nusk>"), "loaded" },
    };

    for (const auto& [bytes, outcome] : cases)
    {
        const auto start = juce::Time::getMillisecondCounterHiRes();
        EXPECT_EQ (loadCleanly (bytes), outcome) << bytes.toString().substring (0, 40);
        EXPECT_LT (juce::Time::getMillisecondCounterHiRes() - start, outcome == parseFailure ? 2000.0 : 10000.0) << bytes.toString().substring (0, 40);
    }
    EXPECT_EQ (store.getParameter ("n", globalList).toString().length(), 5000100);
}

TEST_F (PresetBadInput, RandomTruncatedAndMutatedBytesLoadOrFailCleanly)
{
    savePreset (store.tree, folder.getChildFile ("Saved.preset"));
    const auto saved = folder.getChildFile ("Saved.preset").loadFileAsString();
    for (int length = 0; length < saved.length(); length += 13)
        EXPECT_EQ (loadCleanly (bytesOf (saved.substring (0, length))), saved.substring (0, length).contains ("</nusk>") ? "loaded" : parseFailure) << length;

    const juce::StringArray fragments { "<", ">", "/>", "</", "&", ";", "\"", "'", "=", "&#x", "&#12345678901234;", "&lt;",
                                        "<!--", "-->", "<?", "?>", "<![CDATA[", "]]>", "<!DOCTYPE nusk [", "<x>", "</nusk>",
                                        "base64:", juce::String (juce::CharPointer_UTF8 ("\xe2\x82\xac")), " " };
    juce::Random random (20240601);
    const auto noise = [&random] { juce::MemoryBlock bytes ((size_t) random.nextInt (4096)); random.fillBitsRandomly (bytes.getData(), bytes.getSize()); return bytes; };
    int loaded = 0;
    for (int i = 0; i < 500; ++i) // random bytes, then mutated presets
    {
        auto bytes = i < 100 ? noise() : bytesOf (saved);
        for (int edits = i < 100 ? 0 : 1 + random.nextInt (4); --edits >= 0;)
        {
            const auto size = (int) bytes.getSize(), at = random.nextInt (size + 1);
            const auto fragment = fragments[random.nextInt (fragments.size())];
            switch (random.nextInt (5))
            {
                case 0:  if (at < size) bytes[(size_t) at] = (char) random.nextInt (256); break;
                case 1:  bytes.insert (fragment.toRawUTF8(), fragment.getNumBytesAsUTF8(), (size_t) at); break;
                case 2:  bytes.removeSection ((size_t) at, (size_t) random.nextInt (200)); break;
                case 3:  bytes.setSize ((size_t) at); break;
                default: const juce::MemoryBlock slice (bytes.begin() + at, (size_t) juce::jmin (size - at, random.nextInt (400)));
                         for (int copies = random.nextInt (50); --copies >= 0;)
                             bytes.insert (slice.getData(), slice.getSize(), (size_t) at);
            }
        }
        loaded += loadCleanly (bytes) == "loaded" ? 1 : 0;
    }
    EXPECT_GT (loaded, 20);
    EXPECT_LT (loaded, 380);
}
