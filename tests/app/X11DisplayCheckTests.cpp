#include <gtest/gtest.h>

#include "app/X11DisplayCheck.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace
{
/** Sets or clears DISPLAY for one scope and puts the old value back. */
class ScopedDisplayVariable
{
public:
    explicit ScopedDisplayVariable (const std::optional<std::string>& value)
    {
        if (const auto* old = std::getenv ("DISPLAY"))
            previous = old;

        apply (value);
    }

    ~ScopedDisplayVariable() { apply (previous); }

private:
    static void apply (const std::optional<std::string>& value)
    {
        if (value)
            setenv ("DISPLAY", value->c_str(), 1);
        else
            unsetenv ("DISPLAY");
    }

    std::optional<std::string> previous;
};

/** A display number with no server behind it. */
std::string unusedDisplay()
{
    for (int number = 987; number < 1087; ++number)
        if (! juce::File ("/tmp/.X11-unix/X" + juce::String (number)).exists()
            && ! juce::File ("/tmp/.X" + juce::String (number) + "-lock").exists())
            return ":" + std::to_string (number);

    ADD_FAILURE() << "no unused display number";
    return ":987";
}
} // namespace

TEST (X11DisplayCheck, OpensOnlyADisplayThatAnswers)
{
    const auto* current = std::getenv ("DISPLAY");
    ASSERT_NE (current, nullptr) << "the tests run on a display";

    const auto missing = unusedDisplay();
    const struct
    {
        std::optional<std::string> display;
        bool opens;
        juce::String named;
    } cases[] = {
        { std::string (current), true, {} },
        { missing, false, "\"" + juce::String (missing) + "\"" },
        { std::nullopt, false, "\"\" (DISPLAY is empty or not set)" },
        { std::string(), false, "\"\" (DISPLAY is empty or not set)" },   // not JUCE's silent ":0.0"
    };

    for (const auto& each : cases)
    {
        SCOPED_TRACE (each.display.value_or ("<unset>"));
        const ScopedDisplayVariable scope (each.display);
        const X11DisplayCheck check;

        EXPECT_EQ (check.canOpenDisplay(), each.opens);

        if (! each.opens)
        {
            EXPECT_EQ (check.describeFailure(),
                       "nusk: cannot open the X display " + each.named + "; nusk needs an X11 display");
        }
    }
}
