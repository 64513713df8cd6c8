#include "TestSupport.h"

#include <cstdlib>
#include <vector>

void dispatchMessages (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

juce::File testConfigFolder()
{
    return juce::File (juce::String (std::getenv ("XDG_CONFIG_HOME")));
}

void dismissModalComponents()
{
    juce::ModalComponentManager::getInstance()->cancelAllModalComponents();
    dispatchMessages (20);
}

int countFilesBelow (const juce::File& folder)
{
    return folder.findChildFiles (juce::File::findFilesAndDirectories, true, "*", juce::File::FollowSymlinks::no).size();
}

juce::String fromCodePoints (std::initializer_list<juce::juce_wchar> codePoints)
{
    std::vector<juce::juce_wchar> text (codePoints);
    text.push_back (0);
    return juce::String (juce::CharPointer_UTF32 (text.data()));
}
