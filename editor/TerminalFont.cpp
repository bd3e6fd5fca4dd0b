#include "editor/TerminalFont.h"

#include <KelvarnBinaryData.h>

namespace
{
const juce::String requestedTypefaceName { "Consolas" };
const juce::String requestedTypefaceStyle { "Regular" };

/** Decides once per process which typeface the views use and keeps the shipped one alive
    while it is in use. It is released with JUCE's other shutdown objects, before the
    framework's font machinery goes away. */
class TerminalTypefaceChoice final : private juce::DeletedAtShutdown
{
public:
    TerminalTypefaceChoice()
        : shippedTypeface (systemHasRequestedTypeface() ? nullptr : createShippedTypeface())
    {
    }

    ~TerminalTypefaceChoice() override { clearSingletonInstance(); }

    juce::FontOptions fontOptions (float height) const
    {
        if (shippedTypeface == nullptr)
            return juce::FontOptions (requestedTypefaceName, requestedTypefaceStyle, height);

        return juce::FontOptions (shippedTypeface).withHeight (height);
    }

    JUCE_DECLARE_SINGLETON_INLINE (TerminalTypefaceChoice, false)

private:
    static bool systemHasRequestedTypeface()
    {
        return juce::Font::findAllTypefaceNames().contains (requestedTypefaceName, true);
    }

    static juce::Typeface::Ptr createShippedTypeface()
    {
        return juce::Typeface::createSystemTypefaceFor (KelvarnBinaryData::DejaVuSansMono_ttf,
                                                        static_cast<size_t> (KelvarnBinaryData::DejaVuSansMono_ttfSize));
    }

    const juce::Typeface::Ptr shippedTypeface;
};
} // namespace

juce::FontOptions kelvarn::terminalFont (float height)
{
    return TerminalTypefaceChoice::getInstance()->fontOptions (height);
}
