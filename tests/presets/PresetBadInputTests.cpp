#include "PresetTestSupport.h"

#include "presets/PresetFileReader.h"

#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
juce::MemoryBlock bytesOf (const juce::String& text) { return { text.toRawUTF8(), text.getNumBytesAsUTF8() }; }
juce::String repeated (const juce::String& text, int times) { return juce::String::repeatedString (text, times); }
juce::String nested (int levels, const juce::String& inside = {}) { return "<nusk>" + repeated ("<x>", levels - 1) + inside + repeated ("</x>", levels - 1) + "</nusk>"; }
double millisecondsSince (double start) { return juce::Time::getMillisecondCounterHiRes() - start; }
double cpuMilliseconds() { timespec now {}; clock_gettime (CLOCK_THREAD_CPUTIME_ID, &now); return (double) now.tv_sec * 1000.0 + (double) now.tv_nsec / 1.0e6; }

// Elements of the given count, each with attributes named a0, a1, ... that
// continue from one element to the next when distinct.
juce::MemoryBlock attributes (int numElements, int perElement, bool distinct)
{
    juce::MemoryOutputStream out;
    out << "<nusk>";
    for (int element = 0, name = 0; element < numElements; ++element)
    {
        out << "<e";
        for (int i = 0; i < perElement; ++i)
            out << " a" << (distinct ? name++ : i) << "=\"\"";
        out << "/>";
    }
    out << "</nusk>";
    return out.getMemoryBlock();
}

juce::MemoryBlock padded (size_t size) { return bytesOf ("<nusk/>" + juce::String::repeatedString (" ", (int) size - 7)); }
juce::MemoryBlock raw (const char* bytes) { return { bytes, strlen (bytes) }; }
juce::String withName (const juce::String& name) { return "<nusk><ALIST><A id=\"fader1_text\" value=\"" + name + "\"/></ALIST></nusk>"; }

// With a byte-order mark and no terminator.
juce::MemoryBlock utf16 (const juce::String& text, bool bigEndian)
{
    const auto marked = juce::String::charToString (0xfeff) + text;
    juce::MemoryBlock bytes (marked.toUTF16().getAddress(), marked.toUTF16().sizeInBytes() - 2);
    for (size_t i = 0; bigEndian && i + 1 < bytes.getSize(); i += 2)
        std::swap (bytes[i], bytes[i + 1]);
    return bytes;
}

struct PresetBadInput : PresetFixture
{
    juce::String loadCleanly (const juce::MemoryBlock& bytes) { folder.getChildFile ("Bad.preset").replaceWithData (bytes.getData(), bytes.getSize()); return load ("Bad.preset"); }
};
} // namespace

// Each file loads the name it holds, loads whatever its content ("loaded"),
// or fails. A bad byte is one character of Windows-1252 and spoils no other; a
// broken UTF-16 text is refused rather than guessed at. Read, a pipe would
// block and a device fill memory: both are refused unread, and the alarm ends
// a run that blocks in seconds rather than at ctest's timeout.
TEST_F (PresetBadInput, EveryKindOfFileLoadsWhatItHoldsOrFailsQuicklyInBoundedMemory)
{
    alarm (10);
    const auto special = folder.getChildFile ("Special.preset").getFullPathName().toStdString();
    ASSERT_TRUE (mkfifo (special.c_str(), 0600) == 0 && load ("Special.preset") == parseFailure);
    ASSERT_TRUE (std::remove (special.c_str()) == 0 && symlink ("/dev/zero", special.c_str()) == 0);
    EXPECT_EQ (load ("Special.preset"), parseFailure);
    alarm (0);

    // A document type would define entities, and could name another file.
    write ("defs.dtd", "<!ENTITY secret \"LEAKED\">");
    const juce::String secret ("<nusk><GLIST><GLOBAL id=\"channel_select\" value=\"&secret;\"/></GLIST></nusk>");
    const juce::String declaration ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    const auto emoji = fromCodePoints ({ 'B', 0x1f3b8, 's', 's' }), cafe = fromCodePoints ({ 'C', 'a', 'f', 0xe9 });
    const auto depth = PresetFileReader::maxNestingDepth;
    const auto perElement = PresetFileReader::maxAttributesPerElement;

    const std::pair<juce::MemoryBlock, juce::String> cases[] = {
        { bytesOf ("<!-- Bass & Drums -->" + withName ("Bass")), "Bass" },
        { bytesOf (declaration + "\n" + withName ("Bass").replace ("<A", "\n  <A") + "\n"), "Bass" },
        { bytesOf (juce::String::charToString (0xfeff) + declaration + withName ("Bass")), "Bass" },
        { utf16 (declaration.replace ("UTF-8", "UTF-16") + withName (emoji), false), emoji },
        { utf16 (withName (emoji), true), emoji },
        { bytesOf ("<nusk><ALIST><A id='fader1_text' value='Say \"hi\"'/></ALIST></nusk>"), "Say \"hi\"" },
        { bytesOf (withName ("&#66;&#x61;&#x73;&#115;&#x1F3B8;")), "Bass" + fromCodePoints ({ 0x1f3b8 }) },
        { bytesOf (withName ("a&amp;b").replace ("<A", "<?note keep?>text<![CDATA[ <b> & ]]><!-- R&B --><A")), "a&b" },
        { raw ("<nusk><ALIST><A id=\"fader1_text\" value=\"Caf\xe9\"/></ALIST></nusk>"), cafe },
        { raw ("<nusk><ALIST><A id=\"fader1_text\" value=\"Caf\xc3\xa9 \x80\"/></ALIST></nusk>"), cafe + " " + fromCodePoints ({ 0x20ac }) },
        { raw ("<nusk><ALIST><A id=\"fader1_text\" value=\"\xed\xa0\x80\xc0\xbc\"/></ALIST></nusk>"), fromCodePoints ({ 0xed, 0xa0, 0x20ac, 0xc0, 0xbc }) },
        { utf16 (withName (fromCodePoints ({ 'B', 0xd83c })), false), parseFailure },
        { utf16 (withName (fromCodePoints ({ 'B', 0xdfb8, 0xd83c, 's' })), true), parseFailure },
        { padded (PresetFileReader::maxFileSize + 1), parseFailure },
        { padded (PresetFileReader::maxFileSize), "loaded" },
        { bytesOf ("<nusk>" + repeated ("<x>", 1000000)), parseFailure },
        { bytesOf (nested (depth + 1)), parseFailure },
        { bytesOf (nested (depth)), "loaded" },
        { bytesOf ("<!DOCTYPE nusk [<!ENTITY secret \"inline\">]>" + secret), parseFailure },
        { bytesOf ("<!DOCTYPE nusk [<!ENTITY % defs SYSTEM \"defs.dtd\"> %defs;]>" + secret), parseFailure },
        { bytesOf ("<!DOCTYPE nusk SYSTEM \"defs.dtd\">" + secret), parseFailure },
        { attributes (1, perElement + 1, true), parseFailure },
        { attributes (1, perElement, true), "loaded" },
        { attributes (500, perElement, false), "loaded" },
        { attributes (PresetFileReader::maxDistinctNames / 100 + 1, 100, true), parseFailure },
        { attributes (PresetFileReader::maxDistinctNames / 100 - 1, 100, true), "loaded" },
        { bytesOf ("<nusk><ALIST>" + repeated ("<A id=\"fader1_text\" value=\"1\"/>", 100000) + "</ALIST></nusk>"), "loaded" },
        { bytesOf ("<nusk v=\"" + repeated ("x&amp;&#12354;", 500000) + "\"/>"), "loaded" },
        { juce::MemoryBlock ("<nusk/>\0\xff<<<", 12), "loaded" }, // the text ends at the NUL
        { [] { auto bytes = utf16 (withName ("Bass"), false); bytes.append ("\0\0\xff<<", 5); return bytes; }(), "Bass" },
        { juce::MemoryBlock ("\0<nusk/>", 8), parseFailure },
    };

    const auto memoryBefore = peakMemoryKiB();
    for (const auto& [bytes, outcome] : cases)
    {
        const auto start = juce::Time::getMillisecondCounterHiRes();
        const auto loaded = loadCleanly (bytes);
        EXPECT_EQ (loaded == "loaded" && outcome != "loaded" ? store.getParameter ("fader1_text", 0).toString() : loaded, outcome) << bytes.toString().substring (0, 60);
        EXPECT_LT (millisecondsSince (start), 5000.0) << bytes.toString().substring (0, 60);
    }
    EXPECT_LT (peakMemoryKiB() - memoryBefore, 1024 * 1024) << "KiB";
}

// Attaching or dropping a subtree walks all of it, so a deep tree costs its
// size times its depth; within the nesting limit that stays a small factor.
// Timed on this thread's processor time, alternately, so neither other
// processes nor drift favour one side.
TEST_F (PresetBadInput, LoadingAndDroppingTheDeepestFileCostsAtMostTwiceTheSameBytesShallow)
{
    const auto elements = repeated ("<A id=\"fader1_text\" value=\"Bass\"/>", 40000);
    const juce::String names[] { "Shallow.preset", "Deep.preset" };
    write (names[0], nested (2, elements));
    write (names[1], nested (PresetFileReader::maxNestingDepth - 1, elements));
    double best[] { 1.0e9, 1.0e9 };
    for (int run = 0; run < 6; ++run)
    {
        const auto start = cpuMilliseconds();
        EXPECT_EQ (load (names[run % 2]), "loaded");
        store.tree = juce::ValueTree ("nusk");
        best[run % 2] = std::min (best[run % 2], cpuMilliseconds() - start);
    }
    EXPECT_LT (best[1], 2.0 * best[0]);
}

TEST_F (PresetBadInput, RandomTruncatedAndMutatedBytesLoadOrFailCleanly)
{
    juce::Random random (20240601);
    store.setParameter ("fader1_text", randomCarriableText (random, 3000), 0);
    ASSERT_TRUE (savePreset (store.tree, folder.getChildFile ("Saved.preset")));
    const auto saved = folder.getChildFile ("Saved.preset").loadFileAsString();
    for (int length = 0; length < saved.length(); length += 97)
        EXPECT_EQ (loadCleanly (bytesOf (saved.substring (0, length))), saved.substring (0, length).contains ("</nusk>") ? "loaded" : parseFailure) << length;

    // Raw bytes: a byte-order mark, a euro sign and a lone continuation byte among them.
    const std::string fragments[] { "<", ">", "/>", "</", "&", ";", "\"", "'", "=", "&#x", "&#12345678901234;", "&#0;", "&#xD800;",
                                    "&#65534;", "<!--", "-->", "<?", "?>", "<![CDATA[", "]]>", "<!DOCTYPE nusk [", "]>", "<x>",
                                    "</nusk>", " b='1'", "\xef\xbb\xbf", "\xe2\x82\xac", "\x80", "\xf0\x9f", " " };
    int loaded = 0;
    for (int i = 0; i < 600; ++i) // random bytes, random bytes after a UTF-16 mark, then mutated presets
    {
        juce::MemoryBlock bytes ((size_t) random.nextInt (4096));
        random.fillBitsRandomly (bytes.getData(), bytes.getSize());
        if (i >= 150)
            bytes = bytesOf (saved);
        else if (i >= 100)
            bytes.insert ("\xff\xfe", 2, 0);
        for (int edits = i < 150 ? 0 : 1 + random.nextInt (4); --edits >= 0;)
        {
            const auto at = (size_t) random.nextInt ((int) bytes.getSize() + 1);
            const auto& fragment = fragments[random.nextInt ((int) std::size (fragments))];
            if (const auto kind = random.nextInt (3); kind == 0)
                bytes.insert (fragment.data(), fragment.size(), at);
            else if (kind == 1)
                bytes.removeSection (at, (size_t) random.nextInt (200));
            else if (at < bytes.getSize())
                bytes[at] = (char) random.nextInt (256);
        }
        loaded += loadCleanly (bytes) == "loaded" ? 1 : 0;
    }
    EXPECT_GT (loaded, 20);
    EXPECT_LT (loaded, 450);
}

// A folder entry's name becomes a juce::String only when it passes this
// test: JUCE's text functions run past the end of a name that is not UTF-8.
TEST (PresetFileReader, TellsWellFormedUtf8FromEveryKindOfMalformedBytes)
{
    const std::pair<std::string, bool> cases[] {
        { "", true },
        { "Bass.preset", true },
        { "Caf\xc3\xa9", true },
        { "\xe2\x82\xac \xf0\x9f\x8e\xb8", true },
        { "\xf4\x8f\xbf\xbf", true }, // U+10FFFF
        { "Pad\xc3", false }, // a lone lead byte at the end
        { "Pad\xc3.preset", false },
        { "Voil\xe0.preset", false }, // Latin-1
        { "Cut\xe2\x82", false }, // a three-byte sequence cut short
        { "\x80", false }, // a lone continuation byte
        { "\xc0\xaf", false }, // an overlong slash
        { "\xe0\x80\xaf", false },
        { "\xed\xa0\x80", false }, // a surrogate
        { "\xf4\x90\x80\x80", false }, // beyond U+10FFFF
        { "\xff", false },
    };

    for (const auto& [bytes, valid] : cases)
        EXPECT_EQ (PresetFileReader::isValidUtf8 (bytes.data(), bytes.size()), valid) << juce::String::toHexString (bytes.data(), (int) bytes.size());
}
