#pragma once

#include <juce_core/juce_core.h>

#include <algorithm>

/** A list of listeners that are called from the last added to the first.
    Listeners are not owned and cannot be removed: each must outlive every
    call made on the list. */
template <typename ListenerType>
class Caller
{
public:
    virtual ~Caller() = default;

    /** Adds the listener unless the same pointer is already in the list. */
    void addListener (ListenerType* listener)
    {
        listeners.addIfNotAlreadyThere (listener);
    }

    /** Calls the method on every listener, each with its own copies of the
        arguments. The size is read again after every call, so a listener may
        add or remove listeners meanwhile: one added now is not called in this
        walk, and a shrinking list is never read past its end. */
    template <typename... MethodArgs, typename... Args>
    void call (void (ListenerType::*method) (MethodArgs...), const Args&... args)
    {
        for (int i = listeners.size() - 1; i >= 0; i = std::min (i, listeners.size()) - 1)
            (listeners.getUnchecked (i)->*method) (args...);
    }

    juce::Array<ListenerType*> listeners;
};
