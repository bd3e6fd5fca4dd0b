#include "processor/KelvarnAudioProcessor.h"

#include "editor/KelvarnAudioProcessorEditor.h"

namespace
{
const juce::String pluginName { "kelvarn by solvenari" };

// The host's single program needs a name: VST3 validators reject an empty one.
const juce::String defaultProgramName { "Default" };

/** The parameter tree starts from defaults converted to and from the normalised range
    without snapping, which can leave a stepped default one float step off (120.0000076 us
    instead of 120). Setting each such parameter away and back makes the tree, and the state
    it saves, hold the snapped value that the parameter itself reports. The tree ignores
    changes too small to notice, hence the detour, flushed in between. */
void snapTreeValuesToDefaults (juce::AudioProcessorValueTreeState& tree)
{
    std::vector<std::pair<juce::RangedAudioParameter*, float>> offByAStep; // parameter, snapped default

    for (auto* p : tree.processor.getParameters())
    {
        auto* parameter = static_cast<juce::RangedAudioParameter*> (p);
        const auto snappedDefault = parameter->convertFrom0to1 (parameter->getDefaultValue());

        if (! juce::exactlyEqual (tree.getRawParameterValue (parameter->getParameterID())->load(), snappedDefault))
            offByAStep.emplace_back (parameter, snappedDefault);
    }

    if (offByAStep.empty())
        return;

    for (auto [parameter, snappedDefault] : offByAStep)
        parameter->setValueNotifyingHost (parameter->getValue() < 0.5f ? 1.0f : 0.0f);

    tree.copyState();

    for (auto [parameter, snappedDefault] : offByAStep)
        parameter->setValueNotifyingHost (parameter->convertTo0to1 (snappedDefault));
}
} // namespace

KelvarnAudioProcessor::KelvarnAudioProcessor()
    : juce::AudioProcessor (BusesProperties()
                                .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      apvts (*this, nullptr, "PARAMS", createParameterLayout())
{
    snapTreeValuesToDefaults (apvts);
}

KelvarnAudioProcessor::~KelvarnAudioProcessor() = default;

const juce::String KelvarnAudioProcessor::getName() const { return pluginName; }

void KelvarnAudioProcessor::releaseResources() {}

double KelvarnAudioProcessor::getTailLengthSeconds() const { return 0.0; }
bool KelvarnAudioProcessor::acceptsMidi() const { return false; }
bool KelvarnAudioProcessor::producesMidi() const { return false; }
bool KelvarnAudioProcessor::isMidiEffect() const { return false; }

juce::AudioProcessorEditor* KelvarnAudioProcessor::createEditor()
{
    return new KelvarnAudioProcessorEditor (*this);
}

bool KelvarnAudioProcessor::hasEditor() const { return true; }

int KelvarnAudioProcessor::getNumPrograms() { return 1; }
int KelvarnAudioProcessor::getCurrentProgram() { return 0; }
void KelvarnAudioProcessor::setCurrentProgram (int) {}

const juce::String KelvarnAudioProcessor::getProgramName (int index)
{
    return index == 0 ? defaultProgramName : juce::String();
}

void KelvarnAudioProcessor::changeProgramName (int, const juce::String&) {}

bool KelvarnAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto input = layouts.getMainInputChannelSet();
    const auto output = layouts.getMainOutputChannelSet();

    if (input != juce::AudioChannelSet::mono() && input != juce::AudioChannelSet::stereo())
        return false;

    return output == input;
}

float KelvarnAudioProcessor::getFloat (const juce::String& parameterId) const
{
    if (auto* value = apvts.getRawParameterValue (parameterId))
        return value->load();

    return 0.0f;
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new KelvarnAudioProcessor();
}
