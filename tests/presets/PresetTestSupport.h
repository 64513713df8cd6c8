#pragma once

#include "presets/PresetManagerListener.h"

#include <functional>

/** A fresh folder in the test process's own home folder, removed with its
    contents at the end. */
struct TemporaryFolder
{
    TemporaryFolder()
        : folder (juce::File::getSpecialLocation (juce::File::userHomeDirectory)
                      .getNonexistentChildFile ("presets", {}, false))
    {
        folder.createDirectory();
    }

    ~TemporaryFolder() { folder.deleteRecursively (false); }

    /** Writes the bytes to the relative path, making its folders. */
    juce::File write (const juce::String& path, const juce::String& text) const
    {
        auto file = folder.getChildFile (path);
        file.getParentDirectory().createDirectory();
        file.replaceWithText (text, false, false, nullptr);
        return file;
    }

    juce::File folder;
};

/** Appends a line per notification to a log, then runs an optional action. */
struct LoggingListener : PresetManagerListener
{
    LoggingListener (juce::String nameToUse, juce::StringArray& logToUse) : name (nameToUse), log (logToUse) {}

    void currentPresetChanged (Preset preset, int index) override
    {
        log.add (name + " current " + preset.name + " " + juce::String (index));
        if (onCall) onCall();
    }

    void presetListChanged (int numPresets, juce::PopupMenu menu) override
    {
        log.add (name + " list " + juce::String (numPresets));
        lastMenu = menu;
        if (onCall) onCall();
    }

    juce::String name;
    juce::StringArray& log;
    juce::PopupMenu lastMenu;
    std::function<void()> onCall;
};
