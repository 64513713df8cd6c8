#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <initializer_list>

/** Runs the message loop for the given time, delivering pending messages. */
void dispatchMessages (int milliseconds = 50);

/** The text of the given characters, any code points at all. */
juce::String fromCodePoints (std::initializer_list<juce::juce_wchar> codePoints);

/** Ends every modal component and lets the message loop tidy up after them. */
void dismissModalComponents();

/** The first C below the parent, depth first, with the name unless that is empty. */
template <typename C>
C* findChild (juce::Component& parent, const juce::String& name = {})
{
    for (auto* child : parent.getChildren())
        if (auto* typed = dynamic_cast<C*> (child); typed != nullptr && (name.isEmpty() || typed->getName() == name))
            return typed;
        else if (auto* nested = findChild<C> (*child, name))
            return nested;
    return nullptr;
}
