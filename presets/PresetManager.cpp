#include "presets/PresetManager.h"
#include "presets/PresetException.h"
#include "presets/PresetFileReader.h"

#include "editor/ParameterStore.h"
#include "editor/Parameters.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include <sys/stat.h>
#include <unistd.h>

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
// success; only reading the file back tells.
bool writeAndReadBack (const juce::File& file, const juce::MemoryBlock& bytes)
{
    {
        juce::FileOutputStream out (file);

        if (! out.openedOk())
            return false;

        out.write (bytes.getData(), bytes.getSize());
        out.flush();

        if (out.getStatus().failed())
            return false;
    }

    juce::MemoryBlock written;
    return file.loadFileAsData (written) && written == bytes;
}

// JUCE writes a character that XML cannot carry (most control characters
// among them) as a reference that no parser takes back, and a name that is
// no XML name as it is: such text would be saved and then never load.
bool readsBackAs (const juce::MemoryBlock& bytes, const juce::XmlElement& xml)
{
    const auto readBack = PresetFileReader::parse (bytes);
    return readBack != nullptr && readBack->isEquivalentTo (&xml, false);
}

// Hidden, and without the preset extension: one left behind by a crash is
// never listed, and its name stays short however long the target's is.
juce::File temporaryFileBeside (const juce::File& target)
{
    const auto name = ".nusk-" + juce::String::toHexString (juce::Random::getSystemRandom().nextInt());
    return target.getParentDirectory().getNonexistentChildFile (name, ".tmp", false);
}

// The path with its folder's links and ".." resolved, as the kernel resolves
// them, and the name kept; empty when the folder is missing or the name
// names no file.
std::string physicalPath (const std::string& path)
{
    const auto slash = path.rfind ('/');
    const auto name = path.substr (slash + 1);
    const std::unique_ptr<char, decltype (&std::free)> folder (::realpath (slash == 0 ? "/" : path.substr (0, slash).c_str(), nullptr),
                                                               &std::free);

    if (folder == nullptr || name.empty() || name == "." || name == "..")
        return {};

    return (std::strcmp (folder.get(), "/") == 0 ? std::string() : std::string (folder.get())) + "/" + name;
}

// The text of the link, or nothing when the path names no link; empty when
// the text is too long to read whole.
std::optional<std::string> linkText (const std::string& path)
{
    char text[PATH_MAX];
    const auto length = readlink (path.c_str(), text, sizeof (text));

    if (length < 0)
        return std::nullopt;

    return (size_t) length < sizeof (text) ? std::string (text, (size_t) length) : std::string();
}

// Empty for bytes that are not UTF-8: a juce::String would read past their end.
juce::File fileAt (const std::string& path)
{
    if (! PresetFileReader::isValidUtf8 (path.data(), path.size()))
        return {};

    return juce::File (juce::String::fromUTF8 (path.data(), (int) path.size()));
}

// Every name in a parsed document is one of JUCE's pooled strings, which its
// address tells apart: each becomes an identifier once, rather than being
// looked up in the pool that the whole program shares at every use.
using Identifiers = std::unordered_map<const void*, juce::Identifier>;

const juce::Identifier& identifierOf (const juce::String& pooledName, Identifiers& made)
{
    const void* address = pooledName.getCharPointer().getAddress();
    auto known = made.find (address);

    if (known == made.end())
        known = made.emplace (address, juce::Identifier (pooledName)).first;

    return known->second;
}

// Every attribute becomes a property holding its text as it stands. JUCE's
// own conversion decodes names that begin with "base64:" into binary data:
// a hand-edited preset could then ask for any amount of memory, hide a
// second "value", or have its text rewritten by the next save.
juce::ValueTree treeOf (const juce::XmlElement& element, Identifiers& identifiers)
{
    juce::ValueTree tree (identifierOf (element.getTagName(), identifiers));

    for (int i = 0, count = element.getNumAttributes(); i < count; ++i)
        tree.setProperty (identifierOf (element.getAttributeName (i), identifiers), element.getAttributeValue (i), nullptr);

    for (const auto* child : element.getChildIterator())
        if (! child->isTextElement())
            tree.appendChild (treeOf (*child, identifiers), nullptr);

    return tree;
}

// A save through a link writes the file the link ends in, so that the link
// (into a synced folder, say) stays and the file it names is updated. A
// link's text is read as the kernel reads it, from the folder that really
// holds the link: "../x" behind a linked folder leads out of the folder the
// link points to, and "~" is just a name. Empty after too many links, as for
// a loop, for a link into a missing folder, and for a path no juce::String
// can hold. A path that names no link is kept as it stands: the kernel
// resolves its folders' links as it does when the preset is opened, and the
// real folder's name need not be one that a juce::String can hold.
juce::File followLinks (const juce::File& file)
{
    const auto given = file.getFullPathName().toStdString();

    if (! linkText (given))
        return file;

    auto path = physicalPath (given);

    for (int hop = 0; hop < 40 && ! path.empty(); ++hop)
    {
        const auto text = linkText (path);

        if (! text)
            return fileAt (path);

        if (text->empty())
            return {};

        path = physicalPath (text->front() == '/' ? *text : path.substr (0, path.rfind ('/') + 1) + *text);
    }

    return {};
}

// A preset saved over keeps who may read it; a new one, or one that takes
// the place of anything but a file (an empty folder, say), gets the defaults.
bool takePermissionsOf (const juce::File& target, const juce::File& file)
{
    struct stat status {};

    if (stat (target.getFullPathName().toRawUTF8(), &status) != 0 || ! S_ISREG (status.st_mode))
        return true;

    return chmod (file.getFullPathName().toRawUTF8(), status.st_mode & 07777) == 0;
}

// rename replaces the target in one step. JUCE's move falls back to deleting
// the target and copying, which can fail half-way and keep neither file.
bool moveOver (const juce::File& source, const juce::File& target)
{
    // An empty folder in the way gives way, as it does to JUCE's move.
    if (target.isDirectory())
        target.deleteFile();

    return std::rename (source.getFullPathName().toRawUTF8(), target.getFullPathName().toRawUTF8()) == 0;
}
} // namespace

juce::String getUserPresetFolderPath (juce::String productName)
{
    return userApplicationDataFolder().getFullPathName()
         + "/Application Support/Brevanto/" + productName + "/Library/Presets/";
}

bool savePreset (const juce::ValueTree& state, const juce::File& file)
{
    const auto xml = state.createCopy().createXml();
    const auto target = followLinks (file);

    if (xml == nullptr || target == juce::File())
        return false;

    juce::MemoryOutputStream text;
    xml->writeTo (text);
    const auto bytes = text.getMemoryBlock();

    // Nothing is written that would not be read back.
    if (bytes.getSize() > PresetFileReader::maxFileSize || ! readsBackAs (bytes, *xml))
        return false;

    // Moved over the target only once it is known to hold the whole text, so
    // a failed save leaves the old file as it was; the temporary file is
    // deleted when this ends, whatever happened.
    const juce::TemporaryFile temporary (target, temporaryFileBeside (target));
    return writeAndReadBack (temporary.getFile(), bytes)
        && takePermissionsOf (target, temporary.getFile())
        && moveOver (temporary.getFile(), target);
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

    // An older or trimmed preset: what it lacks starts at its default, so the
    // panel, the upload and a later save agree on it.
    addMissingParameters (tree);
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

    Identifiers identifiers;
    auto tree = treeOf (*xml, identifiers);

    if (! tree.isValid())
        throw PresetException ("Preset is invalid", "Loading Value Tree");

    return tree;
}

// Matched here rather than by the wildcard search, which ignores letter case
// on some platforms only: Bass.PRESET is a preset everywhere. A plain test of
// the end costs a large library a tenth of the wildcard's time.
bool PresetManager::isPresetFileName (const juce::String& fileName)
{
    return fileName.endsWithIgnoreCase (".preset");
}
