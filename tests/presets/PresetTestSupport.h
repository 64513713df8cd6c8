#pragma once

#include <gtest/gtest.h>

#include "editor/ParameterStore.h"
#include "editor/Parameters.h"
#include "presets/PresetException.h"
#include "presets/PresetManagerUI.h"

#include <functional>

/** A fresh folder in the test process's own home folder, removed at the end. */
struct TemporaryFolder
{
    TemporaryFolder() { folder.createDirectory(); }
    ~TemporaryFolder() { folder.deleteRecursively(); }

    juce::File write (const juce::String& path, const juce::String& text) const
    {
        auto file = folder.getChildFile (path);
        file.getParentDirectory().createDirectory();
        file.replaceWithText (text, false, false, nullptr);
        return file;
    }

    juce::File folder = juce::File::getSpecialLocation (juce::File::userHomeDirectory)
                            .getNonexistentChildFile ("presets", {}, false);
};

/** Logs preset and tree notifications, with the manager's current preset at
    the time, then runs an optional action. */
struct Recorder : PresetManagerListener, juce::ValueTree::Listener
{
    Recorder (juce::String nameToUse, juce::StringArray& logToUse, const PresetManager* managerToWatch = nullptr)
        : name (nameToUse), log (logToUse), manager (managerToWatch) {}

    void currentPresetChanged (Preset preset, int index) override { note ("current " + preset.name + " " + juce::String (index) + whileCurrent()); }
    void presetListChanged (int numPresets, juce::PopupMenu menu) override { lastMenu = menu; note ("list " + juce::String (numPresets)); }
    void valueTreeRedirected (juce::ValueTree&) override { note ("tree replaced" + whileCurrent()); }
    void valueTreePropertyChanged (juce::ValueTree&, const juce::Identifier& id) override { note (id.toString() + whileCurrent()); }

    juce::String whileCurrent() const { return manager != nullptr ? " while " + manager->currentPreset.name : juce::String(); }

    void note (const juce::String& event)
    {
        log.add (name + " " + event);
        if (onCall) onCall();
    }

    juce::String name;
    juce::StringArray& log;
    const PresetManager* manager;
    juce::PopupMenu lastMenu;
    std::function<void()> onCall;
};

/** A store holding the defaults, a manager whose user folder is a fresh
    folder, and a recorder listening to both. */
struct PresetFixture : testing::Test
{
    PresetFixture()
    {
        addDefaultParameters (store);
        manager.userPresetFolder = folder.folder;
        manager.addListener (&recorder);
        store.tree.addListener (&recorder);
    }

    ~PresetFixture() override { store.tree.removeListener (&recorder); }

    Preset preset (const juce::String& path) const { return manager.makePreset (folder.folder.getChildFile (path)); }

    /** "loaded", or the error's message and context. */
    juce::String load (const juce::String& path)
    {
        try
        {
            manager.loadPreset (preset (path), store);
            return "loaded";
        }
        catch (const PresetException& error)
        {
            return juce::String (error.what()) + " / " + error.context;
        }
    }

    TemporaryFolder folder;
    juce::UndoManager undoManager { 30000, 30 };
    ParameterStore store { &undoManager };
    PresetManagerUI manager { "nusk" };
    juce::StringArray log;
    Recorder recorder { "L", log, &manager };
};

inline const juce::String parseFailure ("Could not parse preset / Loading XML");
