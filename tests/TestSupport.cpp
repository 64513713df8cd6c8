#include "TestSupport.h"

#include <vector>

void dispatchMessages (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

void dismissModalComponents()
{
    juce::ModalComponentManager::getInstance()->cancelAllModalComponents();
    dispatchMessages (20);
}

juce::String fromCodePoints (std::initializer_list<juce::juce_wchar> codePoints)
{
    std::vector<juce::juce_wchar> text (codePoints);
    text.push_back (0);
    return juce::String (juce::CharPointer_UTF32 (text.data()));
}
