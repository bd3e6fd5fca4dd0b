#include "processor/KelvarnAudioProcessor.h"

#include <gtest/gtest.h>

namespace
{
juce::MemoryBlock saveState (KelvarnAudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

void loadState (KelvarnAudioProcessor& processor, const juce::MemoryBlock& block)
{
    processor.setStateInformation (block.getData(), (int) block.getSize());
}

/** A block in the saved format around the given XML text; the length field may be overridden. */
juce::MemoryBlock makeBlock (const juce::String& xml, std::optional<int> lengthField = {})
{
    juce::MemoryOutputStream out;
    out.writeInt (0x21324356);
    out.writeInt (lengthField.value_or ((int) xml.getNumBytesAsUTF8()));
    out << xml;
    out.writeByte (0);
    return out.getMemoryBlock();
}

juce::String paramsXml (const juce::String& children, const juce::String& tag = "PARAMS")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?> <" + tag + ">" + children + "</" + tag + ">";
}

std::vector<float> allValues (const KelvarnAudioProcessor& processor)
{
    std::vector<float> values;
    for (auto* p : processor.getParameters())
        values.push_back (processor.getFloat (dynamic_cast<juce::RangedAudioParameter*> (p)->getParameterID()));
    return values;
}

void setPlain (KelvarnAudioProcessor& processor, const char* id, float plain)
{
    auto& p = *processor.apvts.getParameter (id);
    p.setValueNotifyingHost (p.convertTo0to1 (plain));
}

TEST (StatePersistence, FreshBlockLayout)
{
    KelvarnAudioProcessor processor;
    const auto block = saveState (processor);
    const auto* bytes = static_cast<const char*> (block.getData());
    const auto size = block.getSize();

    ASSERT_GT (size, 9u);
    EXPECT_EQ (juce::String (bytes, 4), "VC2!");
    EXPECT_EQ ((size_t) juce::ByteOrder::littleEndianInt (bytes + 4), size - 9);
    EXPECT_EQ (bytes[size - 1], 0);

    const juce::String text (juce::CharPointer_UTF8 (bytes + 8), size - 9);
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> "
                                  "<PARAMS><PARAM id=\"fet_attack_us\" value=\"120.0\"/>"))
        << text;
    EXPECT_TRUE (text.endsWith ("</PARAMS>"));
    EXPECT_FALSE (text.containsChar ('\n'));
    EXPECT_EQ (text.indexOf ("vca_threshold"), text.lastIndexOf ("id=\"") + 4);
}

TEST (StatePersistence, SaveLoadSaveRoundTrips)
{
    KelvarnAudioProcessor source;
    setPlain (source, "fet_threshold", -31.5f);
    setPlain (source, "global_os", 3.0f);
    setPlain (source, "tube_enable", 1.0f);
    setPlain (source, "global_drywet", 0.8125f);
    const auto saved = saveState (source);

    KelvarnAudioProcessor restored;
    loadState (restored, saved);

    EXPECT_EQ (allValues (restored), allValues (source));
    EXPECT_EQ (saveState (restored), saved);
}

TEST (StatePersistence, PartialAndUnusualBlocks)
{
    const struct { const char* name; juce::String children; float expectedThreshold; } cases[] {
        { "only threshold", "<PARAM id=\"fet_threshold\" value=\"-30\"/>", -30.0f },
        { "missing value resets to default", "<PARAM id=\"fet_threshold\"/>", -24.0f },
        { "out of range is clamped", "<PARAM id=\"fet_threshold\" value=\"-500\"/>", -60.0f },
        { "exponent form", "<PARAM id=\"fet_threshold\" value=\"-3.0e1\"/>", -30.0f },
        { "unknown ids are ignored", "<PARAM id=\"nonsense\" value=\"7\"/>", -50.0f },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        KelvarnAudioProcessor processor;
        setPlain (processor, "fet_threshold", -50.0f);
        setPlain (processor, "global_output", 6.0f);

        loadState (processor, makeBlock (paramsXml (c.children)));

        EXPECT_NEAR (processor.getFloat ("fet_threshold"), c.expectedThreshold, 1e-4f);
        EXPECT_NEAR (processor.getFloat ("global_output"), 6.0f, 1e-4f);
    }
}

TEST (StatePersistence, LowerCaseRootTagIsAccepted)
{
    KelvarnAudioProcessor processor;
    loadState (processor, makeBlock (paramsXml ("<PARAM id=\"fet_threshold\" value=\"-30\"/>", "params")));
    EXPECT_NEAR (processor.getFloat ("fet_threshold"), -30.0f, 1e-4f);
}

TEST (StatePersistence, LengthLargerThanDataIsClippedToTheData)
{
    KelvarnAudioProcessor processor;
    const auto xml = paramsXml ("<PARAM id=\"fet_threshold\" value=\"-30\"/>");
    loadState (processor, makeBlock (xml, (int) xml.getNumBytesAsUTF8() + 1000));
    EXPECT_NEAR (processor.getFloat ("fet_threshold"), -30.0f, 1e-4f);
}

TEST (StatePersistence, MalformedBlocksChangeNothing)
{
    const auto goodXml = paramsXml ("<PARAM id=\"fet_threshold\" value=\"-30\"/>");
    const auto good = makeBlock (goodXml);

    auto byteSwappedMagic = good;
    std::reverse (static_cast<char*> (byteSwappedMagic.getData()), static_cast<char*> (byteSwappedMagic.getData()) + 4);

    juce::MemoryBlock eightBytes (good.getData(), 8);
    juce::MemoryBlock randomBytes (4096);
    juce::Random rng (42);
    rng.fillBitsRandomly (randomBytes.getData(), randomBytes.getSize());
    auto randomAfterHeader = makeBlock ({}, 4000);
    randomAfterHeader.append (randomBytes.getData(), randomBytes.getSize());

    const struct { const char* name; juce::MemoryBlock block; } cases[] {
        { "empty", {} },
        { "exactly eight bytes", eightBytes },
        { "byte-swapped magic", byteSwappedMagic },
        { "zero length", makeBlock (goodXml, 0) },
        { "negative length", makeBlock (goodXml, -5) },
        { "not xml", makeBlock ("this is not xml at all") },
        { "truncated xml", makeBlock (goodXml.dropLastCharacters (12)) },
        { "other root tag", makeBlock (paramsXml ("<PARAM id=\"fet_threshold\" value=\"-30\"/>", "STATE")) },
        { "random bytes", randomBytes },
        { "random bytes after a header", randomAfterHeader },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        KelvarnAudioProcessor processor;
        setPlain (processor, "fet_threshold", -50.0f);
        const auto before = saveState (processor);

        loadState (processor, c.block);

        EXPECT_EQ (saveState (processor), before);
    }
}

TEST (StatePersistence, NonNumericValuesKeepTheCurrentValue)
{
    for (const char* value : { "nan", "NaN", "inf", "-inf", "infinity", "garbage", "", "12abc", "1e", "--3" })
    {
        SCOPED_TRACE (value);
        KelvarnAudioProcessor processor;
        setPlain (processor, "fet_threshold", -50.0f);

        loadState (processor, makeBlock (paramsXml (juce::String ("<PARAM id=\"fet_threshold\" value=\"") + value
                                                    + "\"/><PARAM id=\"fet_release_ms\" value=\"300\"/>")));

        EXPECT_NEAR (processor.getFloat ("fet_threshold"), -50.0f, 1e-4f);
        EXPECT_NEAR (processor.getFloat ("fet_release_ms"), 300.0f, 1e-4f);
        for (auto v : allValues (processor))
            EXPECT_TRUE (std::isfinite (v));
    }
}

TEST (StatePersistence, NullDataIsIgnored)
{
    KelvarnAudioProcessor processor;
    const auto before = saveState (processor);
    processor.setStateInformation (nullptr, 100);
    EXPECT_EQ (saveState (processor), before);
}
} // namespace
