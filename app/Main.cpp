#include "app/nuskApplication.h"

START_JUCE_APPLICATION (nuskApplication)
