#include "presets/PresetException.h"

PresetException::PresetException (const juce::String& message, const juce::String& contextToUse)
    : std::runtime_error (message.toStdString()), context (contextToUse)
{
}

PresetException::~PresetException() = default;

const char* PresetException::what() const noexcept
{
    return std::runtime_error::what();
}
