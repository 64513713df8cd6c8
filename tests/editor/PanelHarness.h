#pragma once

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "editor/Nusk.h"
#include "editor/Parameters.h"

// A store with the defaults and a real editor panel on the desktop, driven
// through mouse and key events sent to its window.
struct PanelHarness : testing::Test
{
    PanelHarness() { addDefaultParameters (store); }

    // With startUp, lets the start-up messages arrive (the load of
    // "Init.preset" turns every value into text), then puts back the typed
    // values in 14-bit mode that the panel's construction left.
    Nusk& open (int width = 800, int height = 600, bool startUp = true)
    {
        panel = std::make_unique<Nusk> (store);
        panel->setSize (width, height);
        panel->addToDesktop (0);
        panel->setVisible (true);

        if (startUp)
        {
            const auto typed = store.tree.createCopy();
            dispatchMessages (100);
            store.tree = typed;
            undoManager.clearUndoHistory();
        }
        return *panel;
    }

    // Move, press and release at a point of the target (its centre by default).
    void click (juce::Component& target, std::optional<juce::Point<int>> at = {})
    {
        auto* peer = target.getPeer();
        ASSERT_NE (peer, nullptr);
        const auto position = peer->getComponent().getLocalPoint (&target, at.value_or (target.getLocalBounds().getCentre()));
        time += 1000; // far apart, so no two clicks make a double click
        for (auto [buttons, delay] : { std::pair (juce::ModifierKeys(), 0), { juce::ModifierKeys::leftButtonModifier, 10 }, { 0, 20 } })
            peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, position.toFloat(), buttons, 1.0f, 0.0f, time + delay);
    }

    // Where an inc/dec slider's "+" button lies.
    static juce::Point<int> plusOf (const juce::Slider& selector) { return { selector.getWidth() - 5, 5 }; }

    bool key (const juce::KeyPress& key) { return panel->getPeer()->handleKeyPress (key); }

    juce::var stored (const juce::String& key, int list = 0) { return store.getParameter (key, list); }

    juce::UndoManager undoManager { 30000, 30 };
    ParameterStore store { &undoManager };
    std::unique_ptr<Nusk> panel;
    juce::int64 time = juce::Time::currentTimeMillis();
};
