#include <gtest/gtest.h>

#include "BinaryData.h"
#include "editor/Parameters.h"
#include "presets/LeftLookAndFeel.h"
#include "presets/RightLookAndFeel.h"
#include "presets/SaveLookAndFeel.h"
#include "presets/UndoLookAndFeel.h"

namespace
{
juce::Path loadOutline (const void* data, int size)
{
    juce::Path path;
    path.loadPathFromData (data, (size_t) size);
    return path;
}

int countClosedShapes (const juce::Path& path)
{
    int closed = 0;
    for (juce::Path::Iterator it (path); it.next();)
        if (it.elementType == juce::Path::Iterator::closePath)
            ++closed;
    return closed;
}

void expectRectNear (juce::Rectangle<float> actual, juce::Rectangle<float> expected, float tolerance = 0.01f)
{
    EXPECT_NEAR (actual.getX(), expected.getX(), tolerance) << actual.toString();
    EXPECT_NEAR (actual.getY(), expected.getY(), tolerance) << actual.toString();
    EXPECT_NEAR (actual.getWidth(), expected.getWidth(), tolerance) << actual.toString();
    EXPECT_NEAR (actual.getHeight(), expected.getHeight(), tolerance) << actual.toString();
}

/** Draws a real drawable button of the given size through the look-and-feel
    onto an image and returns the image. */
struct ButtonCanvas
{
    ButtonCanvas (IconLookAndFeel& lnfToUse, int width, int height)
        : lnf (lnfToUse), image (juce::Image::ARGB, juce::jmax (1, width), juce::jmax (1, height), true)
    {
        button.setSize (width, height);
    }

    void draw (bool isDown)
    {
        image.clear (image.getBounds());
        juce::Graphics g (image);
        lnf.drawDrawableButton (g, button, false, isDown);
    }

    /** Where the icon ended up, in button pixels. */
    juce::Rectangle<float> placedIcon() const
    {
        const auto& icon = lnf.getIcon();
        return icon.getDrawableBounds().transformedBy (icon.getTransform());
    }

    juce::Colour pixelAtIconPoint (float x, float y) const
    {
        auto point = juce::Point<float> (x, y).transformedBy (lnf.getIcon().getTransform());
        return image.getPixelAt (juce::roundToInt (point.x), juce::roundToInt (point.y));
    }

    IconLookAndFeel& lnf;
    juce::DrawableButton button { "icon", juce::DrawableButton::ImageFitted };
    juce::Image image;
};
} // namespace

TEST (IconOutlines, HaveTheirBoundsAndShapes)
{
    const auto undo = loadOutline (BinaryData::UndoIcon_path, BinaryData::UndoIcon_pathSize);
    expectRectNear (undo.getBounds(), { 2.0f, 8.0f, 20.27f, 8.0f }, 0.001f);
    EXPECT_EQ (countClosedShapes (undo), 1);
    EXPECT_TRUE (undo.isUsingNonZeroWinding());

    const auto save = loadOutline (BinaryData::SaveIcon_path, BinaryData::SaveIcon_pathSize);
    expectRectNear (save.getBounds(), { 0.0f, 0.0f, 18.0f, 18.0f }, 0.001f);
    EXPECT_EQ (countClosedShapes (save), 2);
    EXPECT_TRUE (save.isUsingNonZeroWinding());

    const auto left = loadOutline (BinaryData::LeftIcon_path, BinaryData::LeftIcon_pathSize);
    const auto right = loadOutline (BinaryData::RightIcon_path, BinaryData::RightIcon_pathSize);
    EXPECT_EQ (countClosedShapes (left), 0);
    EXPECT_EQ (countClosedShapes (right), 0);
    expectRectNear (left.getBounds(), { 0.77f, 1.5f, 5.73f, 14.0f }, 0.001f);

    // Right is left mirrored about x = 4.
    expectRectNear (right.getBounds(), { 1.5f, 1.5f, 5.73f, 14.0f }, 0.001f);
}

TEST (IconLookAndFeel, UndoArrowIsCentredInItsAreaAndShrinksWhenPressed)
{
    UndoLookAndFeel lnf;
    ButtonCanvas canvas (lnf, 100, 40);

    // Area (37.5, 6, 36.3, 24): the wide arrow takes the full width.
    canvas.draw (false);
    const auto aspect = 8.0f / 20.27f;
    expectRectNear (canvas.placedIcon(), juce::Rectangle<float> (36.3f, 36.3f * aspect).withCentre ({ 55.65f, 18.0f }));

    // Pressed: (38.5, 7, 34.3, 22), same centre.
    canvas.draw (true);
    expectRectNear (canvas.placedIcon(), juce::Rectangle<float> (34.3f, 34.3f * aspect).withCentre ({ 55.65f, 18.0f }));
}

TEST (IconLookAndFeel, SaveIconCoversItsBoxInTheUpperNineTenths)
{
    SaveLookAndFeel lnf;
    ButtonCanvas canvas (lnf, 100, 40);

    // Box (35, 12, 30, 12): the square icon is 30 wide and overflows in height.
    canvas.draw (false);
    expectRectNear (canvas.placedIcon(), { 35.0f, 3.0f, 30.0f, 30.0f });

    canvas.draw (true);
    expectRectNear (canvas.placedIcon(), { 36.0f, 4.0f, 28.0f, 28.0f });
}

TEST (IconLookAndFeel, ChevronsTakeTheWidthOfTheirCentredBox)
{
    LeftLookAndFeel left;
    RightLookAndFeel right;

    for (IconLookAndFeel* lnf : { static_cast<IconLookAndFeel*> (&left), static_cast<IconLookAndFeel*> (&right) })
    {
        ButtonCanvas canvas (*lnf, 100, 40);

        // Box (45, 18, 10, 4); the tall chevron takes its width, extends above and below.
        canvas.draw (false);
        auto placed = canvas.placedIcon();
        EXPECT_NEAR (placed.getWidth(), 10.0f, 0.01f);
        EXPECT_NEAR (placed.getX(), 45.0f, 0.01f);
        EXPECT_NEAR (placed.getCentreY(), 20.0f, 0.01f);
        EXPECT_GT (placed.getHeight(), 4.0f);

        // Pressed: (45.5, 18.5, 9, 3).
        canvas.draw (true);
        placed = canvas.placedIcon();
        EXPECT_NEAR (placed.getWidth(), 9.0f, 0.01f);
        EXPECT_NEAR (placed.getX(), 45.5f, 0.01f);
        EXPECT_NEAR (placed.getCentreY(), 20.0f, 0.01f);
    }
}

TEST (IconLookAndFeel, EmptyAreaKeepsTheLastFitAndStillDraws)
{
    UndoLookAndFeel lnf;
    ButtonCanvas canvas (lnf, 100, 40);
    canvas.draw (false);
    const auto fitted = lnf.getIcon().getTransform();

    canvas.button.setSize (0, 40);
    canvas.draw (false);

    EXPECT_TRUE (lnf.getIcon().getTransform() == fitted);
    EXPECT_EQ (canvas.pixelAtIconPoint (13.5f, 9.2f), offWhite);
}

TEST (IconLookAndFeel, FilledIconsAreLightAndChevronsAreBareWhiteStrokes)
{
    UndoLookAndFeel undo;
    ButtonCanvas undoCanvas (undo, 400, 200);
    undoCanvas.draw (false);
    EXPECT_EQ (undoCanvas.pixelAtIconPoint (13.5f, 9.2f), offWhite); // inside the arc's band
    EXPECT_TRUE (undoCanvas.pixelAtIconPoint (13.5f, 13.0f).isTransparent()); // below the arc

    SaveLookAndFeel save;
    ButtonCanvas saveCanvas (save, 400, 200);
    saveCanvas.draw (false);
    EXPECT_EQ (saveCanvas.pixelAtIconPoint (9.0f, 3.0f), offWhite); // the arrow's shaft
    EXPECT_EQ (saveCanvas.pixelAtIconPoint (9.0f, 16.8f), offWhite); // the tray's floor

    LeftLookAndFeel left;
    ButtonCanvas leftCanvas (left, 400, 400);
    leftCanvas.draw (false);
    EXPECT_EQ (leftCanvas.pixelAtIconPoint (4.415f, 13.415f), juce::Colours::white); // on the stroke
    EXPECT_TRUE (leftCanvas.pixelAtIconPoint (5.0f, 8.5f).isTransparent()); // inside, but not filled
    EXPECT_EQ (left.getIcon().getStrokeFill().colour, juce::Colours::white);
    EXPECT_TRUE (left.getIcon().getFill().colour.isTransparent());
    EXPECT_NEAR (left.getIcon().getStrokeType().getStrokeThickness(), 2.0f, 0.0f);
}
