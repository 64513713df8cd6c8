#include "editor/Arrow.h"

Arrow::~Arrow() = default;

void Arrow::paint (juce::Graphics&)
{
}
