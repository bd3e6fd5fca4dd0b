#include "EditorTestSupport.h"

namespace
{
using MeterTiming = EditorFixture;

TEST_F (MeterTiming, GainReductionIsHeldAsAFractionOf18Db)
{
    const std::pair<float, float> dbAndHeld[] { { 9.0f, 0.5f }, { 20.0f, 1.0f }, { 18.0f, 1.0f },
                                                { -3.0f, 0.0f }, { 0.0f, 0.0f } };

    for (const auto& [db, held] : dbAndHeld)
    {
        editor.holdGr = {};
        processor.meters.grTube.store (db);
        editor.updatePeakHold();
        EXPECT_FLOAT_EQ (editor.holdGr[4], held) << db;
    }
}

TEST_F (MeterTiming, EachMeterFeedsItsOwnHeldValue)
{
    processor.meters.inputPeak.store (0.25f);
    processor.meters.outputPeak.store (0.5f);
    processor.meters.grFet.store (1.8f);
    processor.meters.grOpto.store (3.6f);
    processor.meters.grVca.store (5.4f);
    processor.meters.grVariMu.store (7.2f);
    processor.meters.grTube.store (9.0f);

    editor.timerCallback();

    EXPECT_FLOAT_EQ (editor.holdIn, 0.25f);
    EXPECT_FLOAT_EQ (editor.holdOut, 0.5f);
    const std::array<float, 5> expected { 0.1f, 0.2f, 0.3f, 0.4f, 0.5f };

    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_FLOAT_EQ (editor.holdGr[i], expected[i]) << i;
}

TEST_F (MeterTiming, HeldLevelFallsLinearlyByAThirtiethPerTick)
{
    processor.meters.inputPeak.store (1.0f);
    processor.meters.grFet.store (18.0f);
    editor.updatePeakHold();
    processor.meters.inputPeak.store (0.0f);
    processor.meters.grFet.store (0.0f);

    for (int tick = 1; tick < 30; ++tick)
    {
        editor.updatePeakHold();
        EXPECT_NEAR (editor.holdIn, 1.0f - static_cast<float> (tick) / 30.0f, 1.0e-5f) << tick;
        EXPECT_NEAR (editor.holdGr[0], 1.0f - static_cast<float> (tick) / 30.0f, 1.0e-5f) << tick;
    }

    for (int tick = 30; tick < 33; ++tick)
    {
        editor.updatePeakHold();
        EXPECT_EQ (editor.holdIn, 0.0f) << tick;
        EXPECT_EQ (editor.holdGr[0], 0.0f) << tick;
    }
}

TEST_F (MeterTiming, HeldLevelNeverFallsBelowTheCurrentOneAndARiseReplacesItAtOnce)
{
    processor.meters.outputPeak.store (1.0f);
    editor.updatePeakHold();
    processor.meters.outputPeak.store (0.95f);
    editor.updatePeakHold();
    EXPECT_FLOAT_EQ (editor.holdOut, 1.0f - 1.0f / 30.0f);

    editor.updatePeakHold();
    EXPECT_FLOAT_EQ (editor.holdOut, 0.95f);

    processor.meters.outputPeak.store (0.1f);
    editor.updatePeakHold();
    processor.meters.outputPeak.store (0.99f);
    editor.updatePeakHold();
    EXPECT_FLOAT_EQ (editor.holdOut, 0.99f);
}
} // namespace
