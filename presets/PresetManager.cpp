#include "presets/PresetManager.h"
#include "presets/PresetException.h"
#include "presets/PresetFileReader.h"

#include "editor/ParameterStore.h"
#include "editor/Parameters.h"

namespace
{
// JUCE 7 on Linux looks this folder up in ~/.config/user-dirs.dirs only and
// so misses XDG_CONFIG_HOME; the XDG rules ask for it when it is absolute.
juce::File userApplicationDataFolder()
{
   #if JUCE_LINUX || JUCE_BSD
    const auto configHome = juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {});

    if (configHome.startsWithChar ('/'))
        return juce::File (configHome);
   #endif

    return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory);
}

// JUCE's stream takes a short write, which is what a full disk gives, for
// success; only the size on the disk tells.
bool writeCompletely (const juce::File& file, const juce::MemoryBlock& data)
{
    {
        juce::FileOutputStream out (file);

        if (! out.openedOk())
            return false;

        out.write (data.getData(), data.getSize());
        out.flush();

        if (out.getStatus().failed())
            return false;
    }

    return file.getSize() == (juce::int64) data.getSize();
}
} // namespace

juce::String getUserPresetFolderPath (juce::String productName)
{
    return userApplicationDataFolder().getFullPathName()
         + "/Application Support/Brevanto/" + productName + "/Library/Presets/";
}

void savePreset (const juce::ValueTree& state, const juce::File& file)
{
    const auto xml = state.createCopy().createXml();

    if (xml == nullptr)
        return;

    juce::MemoryOutputStream text;
    xml->writeTo (text);

    // Written beside the target and moved over it only once it is complete,
    // so a failed save leaves the old file as it was.
    const juce::TemporaryFile temporary (file);

    if (writeCompletely (temporary.getFile(), text.getMemoryBlock()))
        temporary.overwriteTargetFileWithTemporary();
}

PresetManager::PresetManager (const juce::String& productNameToUse)
    : userPresetFolder (getUserPresetFolderPath (productNameToUse)),
      factoryPresetFolder ("/Library/Application Support/Brevanto/" + productNameToUse + "/Presets/main/"),
      productName (productNameToUse)
{
    // A folder that cannot be made shows up later as an empty list.
    if (! userPresetFolder.isDirectory())
        userPresetFolder.createDirectory();
}

PresetManager::~PresetManager() = default;

void PresetManager::refreshPresetList()
{
    presets.clear();

    for (const auto& folder : { userPresetFolder, factoryPresetFolder })
        for (const auto& file : folder.findChildFiles (juce::File::findFiles, true, "*", juce::File::FollowSymlinks::noCycles))
            if (isPresetFileName (file.getFileName()))
                presets.push_back (makePreset (file));

    call (&PresetManagerListener::presetListChanged, (int) presets.size(), juce::PopupMenu());
}

int PresetManager::getPresetIndex (const Preset& preset) const
{
    for (size_t i = 0; i < presets.size(); ++i)
        if (presets[i].file == preset.file)
            return (int) i;

    return 0;
}

Preset PresetManager::makePreset (const juce::File& file) const
{
    return { file.getFileNameWithoutExtension(), isInFactoryFolder (file), file };
}

// isAChildOf builds the path of every ancestor; a file whose path does not
// even start with the folder's is quickly known to lie elsewhere.
bool PresetManager::isInFactoryFolder (const juce::File& file) const
{
    return file.getFullPathName().startsWithIgnoreCase (factoryPresetFolder.getFullPathName())
        && file.isAChildOf (factoryPresetFolder);
}

void PresetManager::loadPreset (const Preset& preset, ParameterStore& store)
{
    // A copy, because a listener may rebuild the list that the argument lives in.
    const Preset loaded = preset;
    auto tree = readPresetTree (loaded.file);

    if (tree.getType() != store.tree.getType())
        throw PresetException ("Preset seems to be malformed and cannot be loaded into plugin", "Saving");

    store.tree = tree;
    call (&PresetManagerListener::currentPresetChanged, loaded, getPresetIndex (loaded));
    currentPreset = loaded;
    store.tree.sendPropertyChangeMessage (hostSetStateRequest);
}

juce::ValueTree PresetManager::readPresetTree (const juce::File& file)
{
    const auto xml = PresetFileReader::parse (file);

    if (xml == nullptr)
        throw PresetException ("Could not parse preset", "Loading XML");

    auto tree = juce::ValueTree::fromXml (*xml);

    if (! tree.isValid())
        throw PresetException ("Preset is invalid", "Loading Value Tree");

    return tree;
}

// Matched here rather than by the wildcard search, which ignores letter case
// on some platforms only: Bass.PRESET is a preset everywhere.
bool PresetManager::isPresetFileName (const juce::String& fileName)
{
    return fileName.matchesWildcard ("*.preset", true);
}
