#include "PanelHarness.h"
#include "TestSupport.h"

PanelHarness::PanelHarness()
{
    addDefaultParameters (store);
    eventTime = juce::Time::currentTimeMillis();
}

Nusk& PanelHarness::openPanel (int width, int height, bool deliverStartUpMessages)
{
    panel = std::make_unique<Nusk> (store);
    panel->setSize (width, height);
    panel->addToDesktop (0);
    panel->setVisible (true);

    if (deliverStartUpMessages)
    {
        dispatchMessages (100);
        useTypedDefaultsIn14BitMode();
    }

    return *panel;
}

void PanelHarness::useTypedDefaultsIn14BitMode()
{
    // Start-up loads "Init.preset", whose values are text and whose switch is
    // off. The panel's own tests start from the typed defaults in 14-bit mode,
    // as the panel leaves them at the end of its construction.
    juce::UndoManager scratchUndo;
    ParameterStore defaults { &scratchUndo };
    addDefaultParameters (defaults);
    defaults.setParameter (fourteenBitToggleKey, true, globalList);

    store.tree = defaults.tree;
    undoManager.clearUndoHistory();
}

void PanelHarness::click (juce::Component& target, juce::Point<int> position)
{
    auto* peer = target.getPeer();
    ASSERT_NE (peer, nullptr);
    const auto inPeer = peer->getComponent().getLocalPoint (&target, position).toFloat();

    // Far apart in time, so no two presses make a double click.
    eventTime += 1000;
    const auto send = [&] (juce::ModifierKeys modifiers, juce::int64 time)
    {
        peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, inPeer, modifiers,
                                juce::MouseInputSource::defaultPressure,
                                juce::MouseInputSource::defaultOrientation, time);
    };
    send (juce::ModifierKeys(), eventTime);
    send (juce::ModifierKeys::leftButtonModifier, eventTime + 10);
    send (juce::ModifierKeys(), eventTime + 20);
}

void PanelHarness::click (juce::Component& target)
{
    click (target, target.getLocalBounds().getCentre());
}

bool PanelHarness::pressKey (const juce::KeyPress& key)
{
    return panel->getPeer()->handleKeyPress (key);
}

void PanelHarness::typeText (const juce::String& text)
{
    for (auto character : text)
        pressKey (juce::KeyPress ((int) character, juce::ModifierKeys(), character));
}

juce::Component& PanelHarness::incrementButtonOf (juce::Slider& slider)
{
    // The "+" button is the right one of the two.
    juce::Component* increment = nullptr;

    for (auto* child : slider.getChildren())
        if (dynamic_cast<juce::Button*> (child) != nullptr && (increment == nullptr || child->getX() > increment->getX()))
            increment = child;

    return *increment;
}

void PanelHarness::selectBank (int bank)
{
    click (panel->bankButtons[(std::size_t) bank]);
}

juce::var PanelHarness::stored (const juce::String& key, int list)
{
    return store.getParameter (key, list);
}
