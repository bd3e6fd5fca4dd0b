#pragma once

#include <juce_graphics/juce_graphics.h>

namespace kelvarn
{
/** The font of both views: "Consolas" where the system has it, otherwise the monospace
    typeface shipped inside the plug-in, so that the character grid of the text view holds
    on every system. A proportional fallback would break every aligned column. */
juce::FontOptions terminalFont (float height);
} // namespace kelvarn
