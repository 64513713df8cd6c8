#include "presets/PresetManagerUI.h"
#include "presets/PresetFileComparator.h"

#include <cstdlib>

namespace
{
juce::String resolvedPath (const juce::File& folder)
{
    std::unique_ptr<char, decltype (&std::free)> resolved (::realpath (folder.getFullPathName().toRawUTF8(), nullptr),
                                                           &std::free);
    return resolved != nullptr ? juce::String::fromUTF8 (resolved.get()) : folder.getFullPathName();
}

void sortByName (juce::Array<juce::File>& files)
{
    if (files.size() > 1)
    {
        PresetFileComparator comparator;
        files.sort (comparator);
    }
}
} // namespace

PresetManagerUI::PresetManagerUI (const juce::String& productNameToUse) : PresetManager (productNameToUse) {}

PresetManagerUI::~PresetManagerUI() = default;

void PresetManagerUI::refreshPresetList()
{
    presets.clear();
    nextItemId = 1;

    juce::PopupMenu rootMenu;
    rootMenu.addSubMenu ("User Presets", addPresetsFromFolder (userPresetFolder), true);
    menu = std::make_unique<juce::PopupMenu> (rootMenu);

    call (&PresetManagerListener::presetListChanged, (int) presets.size(), rootMenu);
}

juce::PopupMenu PresetManagerUI::addPresetsFromFolder (juce::File folder)
{
    juce::PopupMenu folderMenu;
    foldersBeingListed.add (resolvedPath (folder));

    addPresetItems (folderMenu, folder);
    addSubFolderMenus (folderMenu, folder);

    foldersBeingListed.remove (foldersBeingListed.size() - 1);
    return folderMenu;
}

void PresetManagerUI::addPresetItems (juce::PopupMenu& folderMenu, const juce::File& folder)
{
    auto files = findPresetFiles (folder, false);
    sortByName (files);

    for (const auto& file : files)
    {
        auto preset = makePreset (file);
        folderMenu.addItem (nextItemId++, preset.name, true, false);
        presets.push_back (std::move (preset));
    }
}

void PresetManagerUI::addSubFolderMenus (juce::PopupMenu& folderMenu, const juce::File& folder)
{
    auto subFolders = folder.findChildFiles (juce::File::findDirectories, false, "*");
    sortByName (subFolders);

    for (const auto& subFolder : subFolders)
    {
        if (foldersBeingListed.contains (resolvedPath (subFolder)))
            continue;

        folderMenu.addSubMenu (subFolder.getFileName(), addPresetsFromFolder (subFolder), true);
    }
}
