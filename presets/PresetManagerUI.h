#pragma once

#include "presets/PresetManager.h"

#include <memory>
#include <optional>
#include <set>
#include <utility>

#include <dirent.h>
#include <sys/types.h>

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
        sub-menu; appends to presets and numbers from nextItemId on. Nothing
        when this listing has read the folder before, through another link. */
    std::optional<juce::PopupMenu> addPresetsFromFolder (const juce::File& folder);

    int nextItemId = 1;
    std::unique_ptr<juce::FileChooser> chooser;
    std::unique_ptr<juce::PopupMenu> menu;

private:
    bool listFolder (const juce::File& folder, juce::Array<juce::File>& files, juce::Array<juce::File>& subFolders);
    void readListing (DIR& listing, const juce::String& pathPrefix, juce::Array<juce::File>& files, juce::Array<juce::File>& subFolders);
    void addPresetItems (juce::PopupMenu& folderMenu, const juce::Array<juce::File>& files);
    void addSubFolderMenus (juce::PopupMenu& folderMenu, const juce::Array<juce::File>& subFolders);

    /** Device and inode of each folder this listing has read: however many
        links lead to a folder, and a link to / leads to all of them, it is
        read once. */
    std::set<std::pair<dev_t, ino_t>> foldersListed;

    /** A listing reads no more entries than this, whatever lies below the folder. */
    static constexpr int maxEntriesListed = 100000;
    int entriesLeft = 0;
};
