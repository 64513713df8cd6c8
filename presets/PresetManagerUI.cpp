#include "presets/PresetManagerUI.h"
#include "presets/PresetFileComparator.h"
#include "presets/PresetFileReader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <sys/stat.h>

namespace
{
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
    foldersListed.clear();
    entriesLeft = maxEntriesListed;

    juce::PopupMenu rootMenu;
    rootMenu.addSubMenu ("User Presets", addPresetsFromFolder (userPresetFolder).value_or (juce::PopupMenu()), true);
    menu = std::make_unique<juce::PopupMenu> (rootMenu);

    call (&PresetManagerListener::presetListChanged, (int) presets.size(), rootMenu);
}

std::optional<juce::PopupMenu> PresetManagerUI::addPresetsFromFolder (const juce::File& folder)
{
    juce::Array<juce::File> files, subFolders;

    if (! listFolder (folder, files, subFolders))
        return std::nullopt;

    juce::PopupMenu folderMenu;
    addPresetItems (folderMenu, files);
    addSubFolderMenus (folderMenu, subFolders);
    return folderMenu;
}

// False when this listing has read the folder before. One that cannot be
// read, or is reached once the listing has read its fill, lists nothing.
bool PresetManagerUI::listFolder (const juce::File& folder, juce::Array<juce::File>& files,
                                  juce::Array<juce::File>& subFolders)
{
    const auto folderPath = folder.getFullPathName();
    const std::unique_ptr<DIR, FolderListingCloser> listing (entriesLeft > 0 ? opendir (folderPath.toRawUTF8()) : nullptr);
    struct stat status {};

    if (listing == nullptr)
        return true;

    if (fstat (dirfd (listing.get()), &status) != 0 || ! foldersListed.emplace (status.st_dev, status.st_ino).second)
        return false;

    readListing (*listing, folderPath.trimCharactersAtEnd ("/") + "/", files, subFolders);
    return true;
}

// One pass over the folder, asking the disk about an entry only when the
// listing does not say whether it is a folder: large preset libraries hold
// thousands of entries, and JUCE's iterator makes two system calls for each.
void PresetManagerUI::readListing (DIR& listing, const juce::String& pathPrefix, juce::Array<juce::File>& files,
                                   juce::Array<juce::File>& subFolders)
{
    NamedFiles namedFiles, namedFolders;

    for (const dirent* entry; entriesLeft > 0 && (entry = readdir (&listing)) != nullptr; --entriesLeft)
    {
        // JUCE's text functions run past the end of a name that is not UTF-8.
        if (! PresetFileReader::isValidUtf8 (entry->d_name, std::strlen (entry->d_name)))
            continue;

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
        if (auto subMenu = addPresetsFromFolder (subFolder))
            folderMenu.addSubMenu (subFolder.getFileName(), std::move (*subMenu), true);
}
