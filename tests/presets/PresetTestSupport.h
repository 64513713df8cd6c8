#pragma once

#include <gtest/gtest.h>

#include "editor/ParameterStore.h"
#include "editor/Parameters.h"
#include "presets/PresetException.h"
#include "presets/PresetManagerUI.h"

#include <functional>

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

// A store holding the defaults, a manager whose user folder is a fresh folder
// in the test process's own home folder, and a recorder listening to both.
struct PresetFixture : testing::Test
{
    PresetFixture()
    {
        folder.createDirectory();
        addDefaultParameters (store);
        manager.userPresetFolder = folder;
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

    const juce::File folder = juce::File::getSpecialLocation (juce::File::userHomeDirectory).getNonexistentChildFile ("presets", {}, false);
    juce::StringArray log;
    Recorder recorder { "L", log, &manager }; // outlives the store and the manager below
    ParameterStore store { nullptr };
    PresetManagerUI manager { "nusk" };
};

inline const juce::String parseFailure ("Could not parse preset / Loading XML");
