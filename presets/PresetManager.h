#pragma once

#include "presets/Caller.h"
#include "presets/Preset.h"
#include "presets/PresetManagerListener.h"

#include <vector>

struct ParameterStore;

/** Knows where preset files live, keeps the list of presets found there,
    loads presets into the parameter store and remembers the current one.
    Everything runs on the message thread. */
class PresetManager : public Caller<PresetManagerListener>
{
public:
    explicit PresetManager (const juce::String& productName);
    ~PresetManager() override;

    /** Rebuilds presets from every preset file below the user folder and then
        the factory folder, in the order found, and tells the listeners with
        an empty menu. */
    virtual void refreshPresetList();

    /** The index of the first listed preset with the same file, else 0. */
    int getPresetIndex (const Preset& preset) const;

    /** The record for a file; reads nothing from the disk. */
    Preset makePreset (const juce::File& file) const;

    /** Puts the preset's tree, with any parameter it lacks at its default,
        in place of the store's, tells the listeners, makes the preset
        current and then sends HOST_SETSTATE_REQUEST.
        Throws PresetException, before changing anything, when the file is
        not a preset for this store. */
    void loadPreset (const Preset& preset, ParameterStore& store);

    std::vector<Preset> presets;
    juce::File userPresetFolder;
    juce::File factoryPresetFolder;
    juce::String productName;
    Preset currentPreset;

protected:
    /** True when the file name ends in ".preset", in any letter case. */
    static bool isPresetFileName (const juce::String& fileName);

private:
    static juce::ValueTree readPresetTree (const juce::File& file);
    bool isInFactoryFolder (const juce::File& file) const;
};

/** The per-user preset folder, ending in "/". */
juce::String getUserPresetFolderPath (juce::String productName);

/** Writes the tree as a preset file and returns true when the file now
    holds exactly that text and the text loads back as the same tree. A link
    is followed and kept, and an existing file keeps its permissions. On
    failure an existing file stays as it was and no temporary file is left. */
bool savePreset (const juce::ValueTree& state, const juce::File& file);
