// One edit in the editor panel: the store write and the full refresh of the
// global part and the bank on show that every change in the store starts.

#include <benchmark/benchmark.h>

#include "editor/Nusk.h"
#include "editor/Parameters.h"

namespace
{
struct PanelOnStore
{
    PanelOnStore()
    {
        addDefaultParameters (store);
        panel = std::make_unique<Nusk> (store);
        panel->setSize (800, 600);
    }

    // Every edit starts its own undo step, as a mouse press does.
    void beginEdit() { undoManager.beginNewTransaction(); }

    juce::UndoManager undoManager { 30000, 30 };
    ParameterStore store { &undoManager };
    std::unique_ptr<Nusk> panel;
};

void controllerSelectorEdit (benchmark::State& state)
{
    PanelOnStore editor;
    auto& selector = editor.panel->selectors[0];
    int step = 0;

    for (auto _ : state)
    {
        editor.beginEdit();
        selector.setValue ((double) (++step % 2 + 1), juce::sendNotificationSync);
    }
}

void storeWriteWithRefresh (benchmark::State& state)
{
    PanelOnStore editor;
    int step = 0;

    for (auto _ : state)
    {
        editor.beginEdit();
        editor.store.setParameter ("fader1_text", juce::String (++step % 2), 0);
    }
}

void limitThumbEditIn14BitMode (benchmark::State& state)
{
    PanelOnStore editor;
    auto& slider = editor.panel->limitSliders[0];
    int step = 0;

    // Four writes, so four refreshes, per edit.
    for (auto _ : state)
    {
        editor.beginEdit();
        slider.setMaxValue ((double) (16000 + ++step % 2 * 300), juce::sendNotificationSync);
    }
}
} // namespace

BENCHMARK (controllerSelectorEdit)->Unit (benchmark::kMicrosecond);
BENCHMARK (storeWriteWithRefresh)->Unit (benchmark::kMicrosecond);
BENCHMARK (limitThumbEditIn14BitMode)->Unit (benchmark::kMicrosecond);
