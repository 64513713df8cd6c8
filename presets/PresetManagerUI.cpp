#include "presets/PresetManagerUI.h"
#include "presets/PresetFileComparator.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <vector>

namespace
{
juce::String resolvedPath (const juce::File& folder)
{
    std::unique_ptr<char, decltype (&std::free)> resolved (::realpath (folder.getFullPathName().toRawUTF8(), nullptr),
                                                           &std::free);
    return resolved != nullptr ? juce::String::fromUTF8 (resolved.get()) : folder.getFullPathName();
}

struct FolderListingCloser
{
    void operator() (DIR* listing) const { closedir (listing); }
};

using NamedFiles = std::vector<std::pair<juce::String, juce::File>>;

// Sorts by PresetFileComparator's order, on names taken from the folder
// listing rather than from the files at every comparison.
juce::Array<juce::File> sortedByName (NamedFiles named)
{
    std::sort (named.begin(), named.end(), [] (const auto& first, const auto& second)
               { return PresetFileComparator::compareNames (first.first, second.first) < 0; });

    juce::Array<juce::File> files;
    files.ensureStorageAllocated ((int) named.size());

    for (const auto& entry : named)
        files.add (entry.second);

    return files;
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

    juce::Array<juce::File> files, subFolders;
    listFolder (folder, files, subFolders);
    addPresetItems (folderMenu, files);
    addSubFolderMenus (folderMenu, subFolders);

    foldersBeingListed.remove (foldersBeingListed.size() - 1);
    return folderMenu;
}

// One pass over the folder, asking the disk about an entry only when the
// listing does not say whether it is a folder: large preset libraries hold
// thousands of entries, and JUCE's iterator makes two system calls for each.
void PresetManagerUI::listFolder (const juce::File& folder, juce::Array<juce::File>& files,
                                  juce::Array<juce::File>& subFolders)
{
    const auto folderPath = folder.getFullPathName();
    const auto pathPrefix = folderPath.trimCharactersAtEnd ("/") + "/";
    const std::unique_ptr<DIR, FolderListingCloser> listing (opendir (folderPath.toRawUTF8()));

    if (listing == nullptr)
        return;

    NamedFiles namedFiles, namedFolders;

    while (const auto* entry = readdir (listing.get()))
    {
        auto name = juce::String::fromUTF8 (entry->d_name);

        if (name.containsOnly ("."))
            continue;

        const auto child = juce::File::createFileWithoutCheckingPath (pathPrefix + name);
        const bool isFolder = entry->d_type == DT_DIR
                           || ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) && child.isDirectory());

        if (isFolder)
            namedFolders.emplace_back (std::move (name), child);
        else if (isPresetFileName (name))
            namedFiles.emplace_back (std::move (name), child);
    }

    files = sortedByName (std::move (namedFiles));
    subFolders = sortedByName (std::move (namedFolders));
}

void PresetManagerUI::addPresetItems (juce::PopupMenu& folderMenu, const juce::Array<juce::File>& files)
{
    for (const auto& file : files)
    {
        auto preset = makePreset (file);
        folderMenu.addItem (nextItemId++, preset.name, true, false);
        presets.push_back (std::move (preset));
    }
}

void PresetManagerUI::addSubFolderMenus (juce::PopupMenu& folderMenu, const juce::Array<juce::File>& subFolders)
{
    for (const auto& subFolder : subFolders)
    {
        if (foldersBeingListed.contains (resolvedPath (subFolder)))
            continue;

        folderMenu.addSubMenu (subFolder.getFileName(), addPresetsFromFolder (subFolder), true);
    }
}
