#pragma once

#include <juce_graphics/juce_graphics.h>

/** The editor's colours. The scheme text colour depends on the user's colour scheme
    (0 green, 1 amber, 2 green over scan lines); everything else is fixed. */
namespace kelvarn::palette
{
inline constexpr juce::uint32 greenText = 0xFF53FF76;
inline constexpr juce::uint32 amberText = 0xFFFFC26E;
inline constexpr juce::uint32 greenBackground = 0xFF0A0F0C;
inline constexpr juce::uint32 amberBackground = 0xFF110C05;
inline constexpr juce::uint32 scanLine = 0x0A78FFAA;

inline constexpr juce::uint32 frame = 0xFFFFCE71;
inline constexpr juce::uint32 selectedFrame = 0xFFFFD662;
inline constexpr juce::uint32 status = 0xFFBAC7B4;
inline constexpr juce::uint32 rowHighlight = 0x2353FF76;

inline constexpr juce::uint32 meterHot = 0xFFFF7561;  // above -3 dBFS
inline constexpr juce::uint32 meterWarm = 0xFFFFD662; // above -12 dBFS

inline constexpr int amberScheme = 1;
inline constexpr int scanLineScheme = 2;

inline juce::Colour schemeText (int colourScheme)
{
    return juce::Colour (colourScheme == amberScheme ? amberText : greenText);
}

inline juce::Colour tuiBackground (int colourScheme)
{
    return juce::Colour (colourScheme == amberScheme ? amberBackground : greenBackground);
}
} // namespace kelvarn::palette
