#include <gtest/gtest.h>

#include "PresetTestSupport.h"
#include "editor/ParameterStore.h"
#include "editor/Parameters.h"
#include "presets/PresetException.h"
#include "presets/PresetFileReader.h"
#include "presets/PresetManager.h"

namespace
{
const juce::String parseFailure ("Could not parse preset");
const juce::StringArray knownOutcomes { "loaded", parseFailure, "Preset is invalid",
                                        "Preset seems to be malformed and cannot be loaded into plugin" };

juce::MemoryBlock bytesOf (const juce::String& text)
{
    return { text.toRawUTF8(), text.getNumBytesAsUTF8() };
}

juce::String repeated (const juce::String& text, int times)
{
    return juce::String::repeatedString (text, times);
}

struct PresetBadInput : testing::Test
{
    PresetBadInput() { addDefaultParameters (store); }

    void write (const juce::MemoryBlock& bytes) const { file.replaceWithData (bytes.getData(), bytes.getSize()); }

    /** "loaded" or the error's message. */
    juce::String loadWritten()
    {
        try
        {
            manager.loadPreset (manager.makePreset (file), store);
            return "loaded";
        }
        catch (const PresetException& error)
        {
            return error.what();
        }
    }

    juce::String load (const juce::MemoryBlock& bytes)
    {
        write (bytes);
        return loadWritten();
    }

    juce::String load (const juce::String& text) { return load (bytesOf (text)); }

    juce::String savedDefaults()
    {
        const auto defaults = folder.folder.getChildFile ("Defaults.preset");
        savePreset (store.tree, defaults);
        return defaults.loadFileAsString();
    }

    TemporaryFolder folder;
    juce::File file { folder.folder.getChildFile ("Bad.preset") };
    juce::UndoManager undoManager { 30000, 30 };
    ParameterStore store { &undoManager };
    PresetManager manager { "nusk" };
};

juce::String nested (int levels)
{
    return "<nusk>" + repeated ("<x>", levels - 1) + repeated ("</x>", levels - 1) + "</nusk>";
}
} // namespace

// Given unchecked, each of these crashes JUCE's parser, keeps it busy for
// seconds to minutes (growing with the square of the size), or makes it read
// past the end of the text.
TEST_F (PresetBadInput, HostileTextFailsQuicklyWithoutCrashing)
{
    juce::MemoryOutputStream distinctNames, overlongNesting;
    distinctNames << "<nusk";
    for (int i = 0; i < 200000; ++i)
        distinctNames << " a" << i << "=\"\"";
    distinctNames << "/>";
    overlongNesting << "<nusk>";
    for (int i = 0; i < 100000; ++i)
        overlongNesting << "\xc0\xbcx>"; // '<' in a forbidden two-byte form

    const std::pair<const char*, juce::MemoryBlock> cases[] = {
        { "deep nesting", bytesOf ("<nusk>" + repeated ("<x>", 100000)) },
        { "deep nesting in overlong UTF-8", overlongNesting.getMemoryBlock() },
        { "entity naming itself", bytesOf ("<!DOCTYPE nusk [<!ENTITY a \"&xa;\">]><nusk v=\"&a;\"/>") },
        { "entity bomb", bytesOf ("<!DOCTYPE nusk [<!ENTITY a \"" + repeated ("a", 65536) + "\">]><nusk v=\""
                                  + repeated ("&a;", 100000) + "\"/>") },
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
        write (bytes);
        const auto start = juce::Time::getMillisecondCounterHiRes();
        EXPECT_EQ (loadWritten(), parseFailure);
        EXPECT_LT (juce::Time::getMillisecondCounterHiRes() - start, 2000.0);
    }
}

TEST_F (PresetBadInput, LargeButPlainTextLoads)
{
    const auto hugeName = repeated ("x", 5000000) + repeated ("&#12354;", 100);
    ASSERT_EQ (load ("<nusk><GLIST><GLOBAL id=\"n\" value=\"" + hugeName + "\"/></GLIST></nusk>"), "loaded");
    EXPECT_EQ (store.getParameter ("n", globalList).toString().length(), 5000100);

    const auto longUnicodeName = repeated ("&#12354;", 10000);
    EXPECT_EQ (load ("<nusk v=\"" + longUnicodeName + "\"/>"), "loaded");

    EXPECT_EQ (load (nested (PresetFileReader::maxNestingDepth)), "loaded");
    EXPECT_EQ (load (nested (PresetFileReader::maxNestingDepth + 1)), parseFailure);

    juce::MemoryOutputStream withNul;
    withNul << "<nusk/>" << (juce::uint8) 0 << "\xff<<<";
    EXPECT_EQ (load (withNul.getMemoryBlock()), "loaded");
}

TEST_F (PresetBadInput, RandomBytesAndTruncatedPresetsFailCleanly)
{
    juce::Random random (7);

    for (int i = 0; i < 100; ++i)
    {
        juce::MemoryBlock bytes ((size_t) random.nextInt (4096));
        random.fillBitsRandomly (bytes.getData(), bytes.getSize());
        EXPECT_TRUE (knownOutcomes.contains (load (bytes)));
    }

    const auto text = savedDefaults();
    for (int length = 0; length < text.length(); length += 13)
    {
        const auto prefix = text.substring (0, length);
        EXPECT_EQ (load (prefix), prefix.contains ("</nusk>") ? "loaded" : parseFailure) << length;
    }
}

TEST_F (PresetBadInput, MutatedPresetsLoadOrFailCleanly)
{
    const auto original = bytesOf (savedDefaults());
    const char* fragments[] = { "<", ">", "/>", "</", "&", ";", "\"", "'", "=", "&#x", "&#12345678901234;", "&lt;",
                                "<!--", "-->", "<?", "?>", "<![CDATA[", "]]>", "<!DOCTYPE nusk [", "\xc0\xbc",
                                "\xff", "\xe2\x82", "<x>", "<nusk>", "</nusk>", "base64:", " " };
    juce::Random random (20240601);
    int loaded = 0, failed = 0;

    for (int i = 0; i < 400; ++i)
    {
        juce::MemoryBlock bytes (original);

        for (int edits = 1 + random.nextInt (4); --edits >= 0;)
        {
            const auto size = (int) bytes.getSize();
            const auto at = random.nextInt (size + 1);

            switch (random.nextInt (5))
            {
                case 0: if (at < size) bytes[at] = (char) random.nextInt (256); break;
                case 1: { const char* f = fragments[random.nextInt ((int) std::size (fragments))];
                          bytes.insert (f, std::strlen (f), (size_t) at); break; }
                case 2: bytes.removeSection ((size_t) at, (size_t) random.nextInt (200)); break;
                case 3: bytes.setSize ((size_t) at); break;
                default: { juce::MemoryBlock slice ((char*) bytes.getData() + at, (size_t) juce::jmin (size - at, random.nextInt (400)));
                           for (int copies = random.nextInt (50); --copies >= 0;)
                               bytes.insert (slice.getData(), slice.getSize(), (size_t) at); }
            }
        }

        const auto outcome = load (bytes);
        ASSERT_TRUE (knownOutcomes.contains (outcome)) << outcome;
        (outcome == "loaded" ? loaded : failed)++;
    }

    EXPECT_GT (loaded, 20);
    EXPECT_GT (failed, 20);
}
