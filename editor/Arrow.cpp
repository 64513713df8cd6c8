#include "editor/Arrow.h"

Arrow::~Arrow() = default;

void Arrow::paint (juce::Graphics& g)
{
    g.setColour (juce::Colours::black);
    g.fillPath (createTriangle (getWidth(), getHeight(), pointsLeft));
}

juce::Path Arrow::createTriangle (int width, int height, bool pointingLeft)
{
    const juce::Point<float> centre ((float) (width / 2), (float) (height / 2));
    const auto radius = 0.2f * (float) width;
    const auto pi = juce::MathConstants<float>::pi;

    juce::Path triangle;
    triangle.addPolygon (centre, 3, radius, pointingLeft ? 1.5f * pi : 0.5f * pi);
    return triangle;
}
