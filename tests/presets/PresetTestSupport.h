#pragma once

#include <gtest/gtest.h>

#include "TestSupport.h"

#include "editor/ParameterStore.h"
#include "editor/Parameters.h"
#include "presets/PresetException.h"
#include "presets/PresetManagerUI.h"

#include <functional>
#include <vector>

#include <sys/resource.h>

// Logs preset and tree notifications as "name event", with the watched
// manager's current preset at the time if it has one, then runs onCall.
struct Recorder : PresetManagerListener, juce::ValueTree::Listener
{
    Recorder (juce::String nameToUse, juce::StringArray& logToUse, const PresetManager* managerToWatch = nullptr)
        : name (nameToUse), log (logToUse), manager (managerToWatch) {}

    void currentPresetChanged (Preset preset, int index) override { note ("current " + preset.name + " " + juce::String (index)); }
    void presetListChanged (int numPresets, juce::PopupMenu menu) override { lastMenu = menu; note ("list " + juce::String (numPresets)); }
    void valueTreeRedirected (juce::ValueTree&) override { note ("tree replaced"); }
    void valueTreePropertyChanged (juce::ValueTree&, const juce::Identifier& id) override { note (id.toString()); }

    void note (const juce::String& event)
    {
        log.add (name + " " + event + (manager != nullptr && manager->currentPreset.name.isNotEmpty() ? " while " + manager->currentPreset.name : juce::String()));
        if (onCall) onCall();
    }

    juce::String name;
    juce::StringArray& log;
    const PresetManager* manager;
    juce::PopupMenu lastMenu;
    std::function<void()> onCall;
};

// A store holding the defaults, a manager whose user folder starts empty (it
// lies in the test process's own configuration folder), and a recorder
// listening to both.
struct PresetFixture : testing::Test
{
    PresetFixture()
    {
        folder.deleteRecursively();
        folder.createDirectory();
        addDefaultParameters (store);
        manager.addListener (&recorder);
        store.tree.addListener (&recorder);
    }

    ~PresetFixture() override { folder.deleteRecursively(); }

    juce::File write (const juce::String& path, const juce::String& text) const
    {
        auto file = folder.getChildFile (path);
        file.getParentDirectory().createDirectory();
        file.replaceWithText (text, false, false, nullptr);
        return file;
    }

    Preset preset (const juce::String& path) const { return manager.makePreset (folder.getChildFile (path)); }

    // "loaded", or the error's message and context.
    juce::String load (const juce::String& path)
    {
        try { manager.loadPreset (preset (path), store); }
        catch (const PresetException& error) { return juce::String (error.what()) + " / " + error.context; }
        return "loaded";
    }

    const juce::File folder { getUserPresetFolderPath ("nusk") };
    juce::StringArray log;
    Recorder recorder { "L", log, &manager }; // outlives the store and the manager below
    juce::UndoManager undoManager;
    ParameterStore store { &undoManager };
    PresetManagerUI manager { "nusk" };
};

inline const juce::String parseFailure ("Could not parse preset / Loading XML");

inline long peakMemoryKiB() { rusage usage {}; getrusage (RUSAGE_SELF, &usage); return usage.ru_maxrss; }

// A text of the given length: printable ASCII, the characters that need
// escaping, those at the edges of what XML can carry, and any other it can.
inline juce::String randomCarriableText (juce::Random& random, int length)
{
    const auto edges = fromCodePoints ({ '\t', '\n', '\r', '<', '>', '&', '"', '\'', 0x7f, 0x85, 0xd7ff, 0xe000, 0xfffd, 0x10000, 0x10ffff });
    std::vector<juce::juce_wchar> characters;
    for (int i = 0; i < length; ++i)
    {
        const auto any = (juce::juce_wchar) (0x80 + random.nextInt (0x10ff80));
        const juce::juce_wchar choices[] { (juce::juce_wchar) (0x20 + random.nextInt (0x5f)), edges[random.nextInt (edges.length())],
                                           (any >= 0xd800 && any <= 0xdfff) || any == 0xfffe || any == 0xffff ? 0xfffd : any };
        characters.push_back (choices[random.nextInt (3)]);
    }
    characters.push_back (0);
    return juce::String (juce::CharPointer_UTF32 (characters.data()));
}
