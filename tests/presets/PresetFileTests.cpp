#include "PresetTestSupport.h"

using PresetFile = PresetFixture;

// Names of 16,000 characters outside ASCII, or of 21,000 quotes or ampersands,
// were once refused on reading back, each character written as a reference; a
// long name here is written with over 60,000 references of every kind.
TEST_F (PresetFile, EveryStoreSavesAndLoadsBackToTheSameTreeHoweverLongAndOddItsNames)
{
    juce::Random random (20261207);
    for (int round = 0; round < 24; ++round)
    {
        // Edited as the program can: any key of any list, numbers or names,
        // each edit moving its parameter and list to the end.
        ParameterStore source { nullptr };
        addDefaultParameters (source);
        for (int edit = 0; edit < 40; ++edit)
        {
            const auto list = random.nextInt (5);
            if (random.nextBool())
                source.setParameter (faderCcKeys[random.nextInt (4)], random.nextInt (128), list);
            else
                source.setParameter (textKeys[random.nextInt (8)], randomCarriableText (random, random.nextInt (40)), list);
        }
        if (round % 6 == 0)
            source.setParameter (textKeys[random.nextInt (8)], randomCarriableText (random, 100000), random.nextInt (4));

        ASSERT_TRUE (savePreset (source.tree, folder.getChildFile ("Round.preset"))) << round;
        ASSERT_EQ (load ("Round.preset"), "loaded") << round;
        EXPECT_TRUE (store.tree.createXml()->isEquivalentTo (source.tree.createXml().get(), false)) << round;
        EXPECT_TRUE (store.getParameter (faderCcKeys[0], 0).isString()); // values come back as text
    }
}

// A bad byte is one character of Windows-1252, and spoils no other; a broken
// UTF-16 text is refused rather than guessed at.
TEST_F (PresetFile, HandEditedFilesLoadWhateverTheirCommentsLineEndsQuotesOrEncoding)
{
    const auto bank = [] (const juce::String& inside) { return "<nusk><ALIST>" + inside + "<A id=\"fader1_text\" value=\"Bass\"/></ALIST></nusk>"; };
    const juce::String declaration ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    const auto utf16 = [] (const juce::String& text, bool bigEndian)
    {
        const auto marked = juce::String::charToString (0xfeff) + text;
        juce::MemoryBlock bytes (marked.toUTF16().getAddress(), marked.toUTF16().sizeInBytes() - 2); // no terminator
        for (size_t i = 0; bigEndian && i + 1 < bytes.getSize(); i += 2)
            std::swap (bytes[i], bytes[i + 1]);
        return bytes;
    };
    const auto utf8 = [] (const juce::String& text) { return juce::MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8()); };
    const auto bytes = [] (const char* text) { return juce::MemoryBlock (text, strlen (text)); };
    const auto emoji = fromCodePoints ({ 'B', 0x1f3b8, 's', 's' });
    const auto cafe = fromCodePoints ({ 'C', 'a', 'f', 0xe9 });

    const std::pair<juce::MemoryBlock, juce::String> cases[] = {
        { utf8 ("<!-- Bass & Drums -->" + bank ("")), "Bass" },
        { utf8 (declaration + "\n" + bank ("\n  ") + "\n"), "Bass" },
        { utf8 (juce::String::charToString (0xfeff) + declaration + bank ("")), "Bass" },
        { utf16 (declaration.replace ("UTF-8", "UTF-16") + bank ("").replace ("Bass", emoji), false), emoji },
        { utf16 (bank ("").replace ("Bass", emoji), true), emoji },
        { utf8 ("<nusk><ALIST><A id='fader1_text' value='Say \"hi\"'/></ALIST></nusk>"), "Say \"hi\"" },
        { utf8 (bank ("").replace ("Bass", "&#66;&#x61;&#x73;&#115;&#x1F3B8;")), "Bass" + fromCodePoints ({ 0x1f3b8 }) },
        { utf8 ("<nusk><ALIST><?note keep?>text<![CDATA[ <b> & ]]><!-- R&B --><A id=\"fader1_text\" value=\"a&amp;b\"/>more</ALIST></nusk>"), "a&b" },
        { bytes ("<nusk><ALIST><A id=\"fader1_text\" value=\"Caf\xe9\"/></ALIST></nusk>"), cafe },
        { bytes ("<nusk><ALIST><A id=\"fader1_text\" value=\"Caf\xc3\xa9 \x80\"/></ALIST></nusk>"), cafe + " " + fromCodePoints ({ 0x20ac }) },
        { bytes ("<nusk><ALIST><A id=\"fader1_text\" value=\"\xed\xa0\x80\xc0\xbc\"/></ALIST></nusk>"), fromCodePoints ({ 0xed, 0xa0, 0x20ac, 0xc0, 0xbc }) },
        { utf16 (bank ("").replace ("Bass", fromCodePoints ({ 'B', 0xd83c })), false), parseFailure },
        { utf16 (bank ("").replace ("Bass", fromCodePoints ({ 'B', 0xdfb8, 0xd83c, 's' })), true), parseFailure },
    };

    for (const auto& [content, name] : cases)
    {
        folder.getChildFile ("Edited.preset").replaceWithData (content.getData(), content.getSize());
        store.setParameter ("fader1_text", "before", 0);
        const auto outcome = load ("Edited.preset");
        EXPECT_EQ (outcome == "loaded" ? store.getParameter ("fader1_text", 0).toString() : outcome, name) << content.toString();
    }
}

TEST_F (PresetFile, LoadTellsListenersBeforeTheCurrentPresetChangesAndAFailureChangesNothing)
{
    write ("Next.preset", "<nusk><GLIST><GLOBAL id=\"channel_select\" value=\"3\"/></GLIST></nusk>");
    write ("Capital.preset", "<NUSK><GLIST/></NUSK>");
    write ("Empty.preset", "");
    write ("Unclosed.preset", "<nusk><GLIST>");
    manager.refreshPresetList();
    manager.currentPreset = preset ("A.preset");
    log.clear();

    ASSERT_EQ (load ("Next.preset"), "loaded");
    EXPECT_EQ (log.joinIntoString ("|"), "L tree replaced while A|L current Next 2 while A|L HOST_SETSTATE_REQUEST while Next");
    EXPECT_FALSE (store.tree.hasProperty (hostSetStateRequest));

    write ("Control.preset", "<nusk><GLIST><GLOBAL id=\"n\" value=\"&#1;\"/></GLIST></nusk>");
    write ("Folder.preset/inside.preset", "<nusk/>");
    const auto treeBefore = store.tree;
    log.clear();
    EXPECT_EQ (load ("Capital.preset"), "Preset seems to be malformed and cannot be loaded into plugin / Saving");
    for (auto name : { "Empty.preset", "Missing.preset", "Unclosed.preset", "Control.preset", "Folder.preset" })
        EXPECT_EQ (load (name), parseFailure) << name;
    EXPECT_EQ (store.tree, treeBefore);
    EXPECT_EQ (manager.currentPreset.name, "Next");
    EXPECT_TRUE (log.isEmpty()) << log.joinIntoString ("|");
}
