#pragma once

#include <gtest/gtest.h>

#include "TestSupport.h"

#include "editor/ParameterStore.h"
#include "editor/Parameters.h"
#include "presets/PresetException.h"
#include "presets/PresetManagerUI.h"

#include <csignal>
#include <functional>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

// Logs preset and tree notifications as "name event", with the watched
// manager's current preset at the time if it has one, then runs onCall.
struct Recorder : PresetManagerListener, juce::ValueTree::Listener
{
    Recorder (juce::String nameToUse, juce::StringArray& logToUse, const PresetManager* managerToWatch = nullptr)
        : name (nameToUse), log (logToUse), manager (managerToWatch) {}

    void currentPresetChanged (Preset preset, int index) override { note ("current " + preset.name + " " + juce::String (index)); }
    void presetListChanged (int numPresets, juce::PopupMenu menu) override { lastMenu = menu; note ("list " + juce::String (numPresets)); }
    void valueTreeRedirected (juce::ValueTree&) override { note ("tree replaced"); }
    void valueTreePropertyChanged (juce::ValueTree&, const juce::Identifier& id) override { note (id.toString()); }

    void note (const juce::String& event)
    {
        log.add (name + " " + event + (manager != nullptr && manager->currentPreset.name.isNotEmpty() ? " while " + manager->currentPreset.name : juce::String()));
        if (onCall) onCall();
    }

    juce::String name;
    juce::StringArray& log;
    const PresetManager* manager;
    juce::PopupMenu lastMenu;
    std::function<void()> onCall;
};

// A store holding the defaults, a manager whose user folder is a fresh folder
// in the test process's own home folder, and a recorder listening to both.
struct PresetFixture : testing::Test
{
    PresetFixture()
    {
        folder.createDirectory();
        addDefaultParameters (store);
        manager.userPresetFolder = folder;
        manager.addListener (&recorder);
        store.tree.addListener (&recorder);
    }

    ~PresetFixture() override { folder.deleteRecursively(); }

    juce::File write (const juce::String& path, const juce::String& text) const
    {
        auto file = folder.getChildFile (path);
        file.getParentDirectory().createDirectory();
        file.replaceWithText (text, false, false, nullptr);
        return file;
    }

    Preset preset (const juce::String& path) const { return manager.makePreset (folder.getChildFile (path)); }

    // "loaded", or the error's message and context.
    juce::String load (const juce::String& path)
    {
        try { manager.loadPreset (preset (path), store); }
        catch (const PresetException& error) { return juce::String (error.what()) + " / " + error.context; }
        return "loaded";
    }

    const juce::File folder = juce::File::getSpecialLocation (juce::File::userHomeDirectory).getNonexistentChildFile ("presets", {}, false);
    juce::StringArray log;
    Recorder recorder { "L", log, &manager }; // outlives the store and the manager below
    ParameterStore store { nullptr };
    PresetManagerUI manager { "nusk" };
};

inline const juce::String parseFailure ("Could not parse preset / Loading XML");

// A text of the given length drawn from every character XML can carry, with
// those that need escaping (tab, line ends, markup, quotes) well represented.
inline juce::String randomCarriableText (juce::Random& random, int length)
{
    std::vector<juce::juce_wchar> characters;
    for (int i = 0; i < length; ++i)
    {
        switch (random.nextInt (6))
        {
            case 0:  characters.push_back ((juce::juce_wchar) "\t\n\r"[random.nextInt (3)]); break;
            case 1:  characters.push_back ((juce::juce_wchar) "<>&\"';#="[random.nextInt (8)]); break;
            case 2:  characters.push_back ((juce::juce_wchar) (0x20 + random.nextInt (0x5f))); break;
            case 3:  characters.push_back ((juce::juce_wchar) (0x7f + random.nextInt (0xd800 - 0x7f))); break;
            case 4:  characters.push_back ((juce::juce_wchar) (0xe000 + random.nextInt (0xfffe - 0xe000))); break;
            default: characters.push_back ((juce::juce_wchar) (0x10000 + random.nextInt (0x100000))); break;
        }
    }
    characters.push_back (0);
    return juce::String (juce::CharPointer_UTF32 (characters.data()));
}

// While it lives, a write cut short at the given size, as a full disk cuts it:
// the process's file-size limit, with the signal that would end it ignored.
class FileSizeLimit
{
public:
    explicit FileSizeLimit (rlim_t bytes) : oldHandler (std::signal (SIGXFSZ, SIG_IGN))
    {
        getrlimit (RLIMIT_FSIZE, &oldLimit);
        const rlimit limit { bytes, oldLimit.rlim_max };
        applied = setrlimit (RLIMIT_FSIZE, &limit) == 0;
    }

    ~FileSizeLimit()
    {
        setrlimit (RLIMIT_FSIZE, &oldLimit);
        std::signal (SIGXFSZ, oldHandler);
    }

    bool applied = false;

private:
    void (*oldHandler) (int);
    rlimit oldLimit {};
};

// While it lives, the folder cannot be written to. Tests may run as root,
// which passes over permission bits; without CAP_DAC_OVERRIDE this thread
// obeys them like any user.
class WriteProtectedFolder
{
public:
    explicit WriteProtectedFolder (const juce::File& folderToProtect) : folder (folderToProtect)
    {
        syscall (SYS_capget, &header, saved);
        __user_cap_data_struct reduced[2] { saved[0], saved[1] };
        reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        syscall (SYS_capset, &header, reduced);
        folder.setReadOnly (true, false);
        applied = ! folder.getNonexistentChildFile ("probe", ".tmp").create().wasOk();
    }

    ~WriteProtectedFolder()
    {
        folder.setReadOnly (false, false);
        syscall (SYS_capset, &header, saved);
    }

    bool applied = false;

private:
    juce::File folder;
    __user_cap_header_struct header { _LINUX_CAPABILITY_VERSION_3, 0 };
    __user_cap_data_struct saved[2] {};
};
