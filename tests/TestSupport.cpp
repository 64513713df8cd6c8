#include "TestSupport.h"

#include <cstdlib>

void dispatchMessages (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

juce::File testConfigFolder()
{
    return juce::File (juce::String (std::getenv ("XDG_CONFIG_HOME")));
}
