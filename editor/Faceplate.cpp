#include "editor/Faceplate.h"

Faceplate::Faceplate() = default;

Faceplate::~Faceplate() = default;

void Faceplate::paint (juce::Graphics&)
{
}

void Faceplate::resized()
{
}
