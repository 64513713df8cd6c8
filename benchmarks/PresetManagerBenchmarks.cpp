#include <benchmark/benchmark.h>

#include "editor/ParameterStore.h"
#include "editor/Parameters.h"
#include "presets/PresetFileReader.h"
#include "presets/PresetManagerUI.h"

#include <functional>
#include <vector>

namespace
{
struct IgnoringListener : PresetManagerListener
{
    void currentPresetChanged (Preset, int) override {}
    void presetListChanged (int, juce::PopupMenu) override {}
};

// 10,000 presets in the user folder: 100 in the folder itself and 99 more in
// each of 10 x 10 sub-folders two levels down, made once per run.
juce::File userFolderWithTenThousandPresets()
{
    static const auto folder = []
    {
        const juce::File root (getUserPresetFolderPath ("nusk"));
        const auto write = [] (const juce::File& dir, int count)
        {
            dir.createDirectory();
            for (int i = 0; i < count; ++i)
                dir.getChildFile ("Preset " + juce::String (i) + ".preset").replaceWithText ("<nusk/>");
        };

        write (root, 100);
        for (int outer = 0; outer < 10; ++outer)
            for (int inner = 0; inner < 10; ++inner)
                write (root.getChildFile ("Bank " + juce::String (outer)).getChildFile ("Set " + juce::String (inner)), 99);

        return root;
    }();

    return folder;
}

void refreshPresetListOfTenThousand (benchmark::State& state)
{
    PresetManagerUI manager ("nusk");
    manager.userPresetFolder = userFolderWithTenThousandPresets();
    IgnoringListener listener;
    manager.addListener (&listener);

    for (auto _ : state)
        manager.refreshPresetList();

    state.counters["presets"] = (double) manager.presets.size();
}

// Characters that are each saved as a reference, up to six bytes long
// (tab, markup, quotes, accented, CJK and outside the Basic Multilingual Plane).
juce::String longName (int length)
{
    const juce::juce_wchar cycle[] { 0x9, '&', '"', '<', 0xe9, 0x3042, 0x1f3b9, 'a' };
    std::vector<juce::juce_wchar> characters;
    for (int i = 0; i < length; ++i)
        characters.push_back (cycle[i % 8]);
    characters.push_back (0);
    return juce::String (juce::CharPointer_UTF32 (characters.data()));
}

void loadPresetInto (benchmark::State& state, const std::function<void (ParameterStore&)>& edit)
{
    juce::UndoManager undoManager { 30000, 30 };
    ParameterStore store { &undoManager };
    addDefaultParameters (store);
    edit (store);

    PresetManagerUI manager ("nusk");
    const auto file = manager.userPresetFolder.getChildFile ("Load.preset");
    if (! savePreset (store.tree, file))
        return state.SkipWithError ("the preset could not be saved");
    const auto preset = manager.makePreset (file);

    for (auto _ : state)
        manager.loadPreset (preset, store);

    state.counters["bytes"] = (double) file.getSize();
}

// 4 MiB of small elements, all at the given depth below a chain of elements
// with one child each: each depth costs the same bytes to read.
juce::File presetOfSmallElementsAt (int depth)
{
    const auto wrappers = depth - 2;
    juce::MemoryOutputStream text;
    text << "<nusk>" << juce::String::repeatedString ("<x>", wrappers);
    while (text.getDataSize() < 4 * 1024 * 1024)
        text << "<A id=\"fader1_text\" value=\"Bass\"/>";
    text << juce::String::repeatedString ("</x>", wrappers) << "</nusk>";

    const auto file = juce::File (getUserPresetFolderPath ("nusk")).getChildFile ("Depth " + juce::String (depth) + ".preset");
    file.getParentDirectory().createDirectory();
    file.replaceWithData (text.getData(), text.getDataSize());
    return file;
}

// The load, then the drop of the loaded tree: both walk its nodes.
void loadAndDropSmallElements (benchmark::State& state)
{
    ParameterStore store { nullptr };
    PresetManagerUI manager ("nusk");
    const auto preset = manager.makePreset (presetOfSmallElementsAt ((int) state.range (0)));

    for (auto _ : state)
    {
        manager.loadPreset (preset, store);
        store.tree = juce::ValueTree ("nusk");
    }

    state.counters["bytes"] = (double) preset.file.getSize();
}

void loadDefaultPreset (benchmark::State& state)
{
    loadPresetInto (state, [] (ParameterStore&) {});
}

void loadPresetWithALongName (benchmark::State& state)
{
    loadPresetInto (state, [] (ParameterStore& store) { store.setParameter ("fader1_text", longName (100000), 0); });
}
} // namespace

BENCHMARK (refreshPresetListOfTenThousand)->Unit (benchmark::kMillisecond);
BENCHMARK (loadDefaultPreset)->Unit (benchmark::kMicrosecond);
BENCHMARK (loadPresetWithALongName)->Unit (benchmark::kMillisecond);
BENCHMARK (loadAndDropSmallElements)->Arg (3)->Arg (PresetFileReader::maxNestingDepth)->Unit (benchmark::kMillisecond);
