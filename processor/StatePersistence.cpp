#include "processor/KelvarnAudioProcessor.h"

namespace
{
const juce::Identifier idAttribute { "id" };
const juce::Identifier valueAttribute { "value" };

bool isDigit (juce::juce_wchar c) { return c >= '0' && c <= '9'; }

/** True for a plain decimal number such as "-24.0", "120" or "1.5e-05". Refuses "nan",
    "inf" and anything else, which String::getDoubleValue would quietly turn into a value. */
bool isDecimalNumber (const juce::String& text)
{
    auto p = text.trim().getCharPointer();

    if (*p == '+' || *p == '-')
        ++p;

    int digits = 0;
    while (isDigit (*p)) { ++p; ++digits; }

    if (*p == '.')
    {
        ++p;
        while (isDigit (*p)) { ++p; ++digits; }
    }

    if (digits == 0)
        return false;

    if (*p == 'e' || *p == 'E')
    {
        ++p;
        if (*p == '+' || *p == '-')
            ++p;

        if (! isDigit (*p))
            return false;

        while (isDigit (*p))
            ++p;
    }

    return p.isEmpty();
}

/** A loaded value that is not a number must not reach its parameter: such an element is
    given the parameter's current value instead, so that the parameter keeps it. */
void keepCurrentValuesForNonNumbers (juce::ValueTree& state, const KelvarnAudioProcessor& processor)
{
    for (auto child : state)
    {
        if (! child.hasProperty (valueAttribute))
            continue;

        const auto id = child.getProperty (idAttribute).toString();
        auto* current = processor.apvts.getRawParameterValue (id);

        if (current == nullptr)
            continue;

        const auto& value = child.getProperty (valueAttribute);
        const bool isNumber = value.isString() ? isDecimalNumber (value.toString())
                                               : std::isfinite (static_cast<double> (value));
        if (! isNumber)
            child.setProperty (valueAttribute, static_cast<double> (current->load()), nullptr);
    }
}

/** A parameter that the loaded state does not mention keeps its current value (the tree
    would otherwise reset it to its default). */
void addCurrentValuesOfUnmentionedParameters (juce::ValueTree& state, const KelvarnAudioProcessor& processor)
{
    for (auto* p : processor.getParameters())
    {
        const auto id = static_cast<juce::RangedAudioParameter*> (p)->getParameterID();

        if (state.getChildWithProperty (idAttribute, id).isValid())
            continue;

        juce::ValueTree element { "PARAM" };
        element.setProperty (idAttribute, id, nullptr);
        element.setProperty (valueAttribute, static_cast<double> (processor.getFloat (id)), nullptr);
        state.appendChild (element, nullptr);
    }
}
} // namespace

void KelvarnAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    const auto state = apvts.copyState();

    if (const auto xml = state.createXml())
        copyXmlToBinary (*xml, destData);
}

void KelvarnAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    if (data == nullptr)
        return;

    const auto xml = getXmlFromBinary (data, sizeInBytes);

    if (xml == nullptr || ! xml->getTagName().equalsIgnoreCase (apvts.state.getType().toString()))
        return;

    auto state = juce::ValueTree::fromXml (*xml);
    keepCurrentValuesForNonNumbers (state, *this);
    addCurrentValuesOfUnmentionedParameters (state, *this);
    apvts.replaceState (state);
}
