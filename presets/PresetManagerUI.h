#pragma once

#include "presets/PresetManager.h"

#include <memory>

/** The preset manager the program uses: its list is the user folder's
    presets in a numbered menu with one sub-menu per sub-folder. After a
    refresh, presets[i] is the preset of the menu item with id i + 1. */
class PresetManagerUI : public PresetManager
{
public:
    explicit PresetManagerUI (const juce::String& productName);
    ~PresetManagerUI() override;

    void refreshPresetList() override;

    /** The folder's presets, sorted, then its sub-folders, sorted, each as a
        sub-menu; appends to presets and numbers from nextItemId on. */
    juce::PopupMenu addPresetsFromFolder (juce::File folder);

    int nextItemId = 1;
    std::unique_ptr<juce::FileChooser> chooser;
    std::unique_ptr<juce::PopupMenu> menu;

private:
    static void listFolder (const juce::File& folder, juce::Array<juce::File>& files, juce::Array<juce::File>& subFolders);
    void addPresetItems (juce::PopupMenu& folderMenu, const juce::Array<juce::File>& files);
    void addSubFolderMenus (juce::PopupMenu& folderMenu, const juce::Array<juce::File>& subFolders);

    /** Resolved paths of the folders being listed, outermost first: a link
        back to one of them would otherwise be followed for ever. */
    juce::StringArray foldersBeingListed;
};
