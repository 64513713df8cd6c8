#include <benchmark/benchmark.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdlib>
#include <unistd.h>

// Like benchmark_main, with JUCE initialised and the per-user configuration
// folder moved to a temporary one, so no run touches a real user's presets.
int main (int argc, char** argv)
{
    char pattern[] = "/tmp/nusk-benchmark-XXXXXX";

    if (mkdtemp (pattern) == nullptr)
        return 1;

    const juce::File configHome (pattern);
    setenv ("XDG_CONFIG_HOME", pattern, 1);

    benchmark::Initialize (&argc, argv);

    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;

    {
        juce::ScopedJuceInitialiser_GUI gui;
        benchmark::RunSpecifiedBenchmarks();
    }

    benchmark::Shutdown();
    configHome.deleteRecursively();
    return 0;
}
