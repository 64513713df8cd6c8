#pragma once

#include <juce_core/juce_core.h>

#include <stdexcept>
#include <type_traits>

/** The one error that preset operations throw. The base is private on
    purpose: handlers must name this type, so a catch of std::exception never
    swallows a preset error that should reach the user. */
class PresetException : private std::runtime_error
{
public:
    PresetException (const juce::String& message, const juce::String& context);
    ~PresetException() override;

    const char* what() const noexcept override;

    /** The activity that failed, shown after "Error while ". */
    juce::String context;
};

static_assert (! std::is_convertible_v<PresetException*, std::exception*>,
               "a catch of std::exception must not swallow a preset error");
