// The five compressor models, one branch at a time, through processBranchSample.
#include "tests/SignalPathTestSupport.h"

#include "processor/dspu.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace
{
using namespace kelvarn::testing;

constexpr float rate = 48000.0f;

const struct ModelInfo
{
    BranchType type;
    const char* name;
    const char* saturationId;
    float driveFactor;
} models[] {
    { BranchType::Fet, "FET76", "fet_sat", 5.0f },
    { BranchType::Opto, "OPTO2A", "opto_sat", 3.0f },
    { BranchType::Vca, "VCA160", "vca_sat", 1.75f },
    { BranchType::VariMu, "VARIMU", "varimu_sat", 4.5f },
    { BranchType::Tube, "TUBE670", "tube_sat", 5.0f },
};

class BranchModels : public ::testing::Test
{
protected:
    Processor processor;
    BranchState state;
};

TEST_F (BranchModels, SilenceLeavesResetStateAtRest)
{
    for (const auto& model : models)
    {
        BranchState silent;
        const auto run = runBranch (processor, model.type, silent, 0.0f, 0.0f, 100);
        EXPECT_EQ (run.outL, 0.0f) << model.name;
        EXPECT_EQ (run.outR, 0.0f) << model.name;
        EXPECT_EQ (run.grDb, 0.0f) << model.name;
        EXPECT_EQ (silent.gainDb, 0.0f) << model.name;
    }
}

TEST_F (BranchModels, QuietSignalPassesWithTheClipperSlope)
{
    // No reduction, 0 dB make-up, no saturation: 1.5 x 0.01 - 0.5 x 0.01^3
    for (const auto& model : models)
    {
        BranchState fresh;
        const auto run = runBranch (processor, model.type, fresh, 0.01f, -0.01f, 1);
        EXPECT_FLOAT_EQ (run.outL, 0.0149995f) << model.name;
        EXPECT_FLOAT_EQ (run.outR, -0.0149995f) << model.name;
        EXPECT_EQ (run.grDb, 0.0f) << model.name;
    }
}

TEST_F (BranchModels, SaturationBoundsTheOutputAtOneOverDrive)
{
    for (const auto& model : models)
    {
        Processor saturated;
        setPlain (saturated, model.saturationId, 1.0f);
        BranchState loud;
        auto largest = 0.0f;

        for (int i = 0; i < 2000; ++i)
        {
            const auto run = runBranch (saturated, model.type, loud, 10.0f, -10.0f, 1);
            largest = std::max ({ largest, std::abs (run.outL), std::abs (run.outR) });
        }

        EXPECT_LE (largest, 1.0f / (1.0f + model.driveFactor)) << model.name;

        if (model.type == BranchType::Fet)
        {
            EXPECT_NEAR (largest, 0.1667f, 1.0e-4f);
        }
    }
}

TEST_F (BranchModels, ConstantInputSettlesOnTheStaticCurve)
{
    const struct
    {
        BranchType type;
        const char* name;
        std::function<void (Processor&)> setUp;
        float inputDb;
        float settledGainDb;
        float tolerance;
    } cases[] {
        // feedback: the detector sees the reduced signal, so 10 dB over settles at -70/15 dB
        { BranchType::Fet, "FET76", [] (Processor&) {}, -14.0f, -4.667f, 0.002f },
        { BranchType::Tube, "TUBE670", [] (Processor& p) { setPlain (p, "tube_threshold", -24.0f); }, -14.0f, -4.667f, 0.002f },
        // feed-forward RMS: 4:1 above the knee either way; the gain hovers within one recovery step
        { BranchType::Vca, "VCA160 OverEasy", [] (Processor&) {}, -10.0f, -7.5f, 0.003f },
        { BranchType::Vca, "VCA160 hard", [] (Processor& p) { setPlain (p, "vca_overeasy", 0.0f); }, -10.0f, -7.5f, 0.003f },
        { BranchType::VariMu, "VARIMU", [] (Processor& p) { setPlain (p, "varimu_threshold", -20.0f); }, -10.0f, -3.895f, 0.002f },
        // peak reduction 42: threshold -25.84 dB, COMP 3:1
        { BranchType::Opto, "OPTO2A", [] (Processor&) {}, -15.84f, -6.667f, 0.002f },
    };

    for (const auto& c : cases)
    {
        Processor settling;
        c.setUp (settling);
        BranchState branch;
        const auto level = decibelsToAmplitude (c.inputDb);
        const auto run = runBranch (settling, c.type, branch, level, level, 5 * 48000);

        EXPECT_NEAR (branch.gainDb, c.settledGainDb, c.tolerance) << c.name;
        EXPECT_EQ (run.grDb, -branch.gainDb) << c.name;
        EXPECT_NEAR (branch.grSmoothDb, -c.settledGainDb, 0.01f) << c.name;
    }
}

TEST_F (BranchModels, VcaRecoversAtAConstantRate)
{
    runBranch (processor, BranchType::Vca, state, 1.0f, 1.0f, 24000);
    runBranch (processor, BranchType::Vca, state, 0.0f, 0.0f, 2000);
    ASSERT_LT (state.gainDb, -1.0f);

    for (int i = 0; i < 100; ++i)
    {
        const auto before = state.gainDb;
        runBranch (processor, BranchType::Vca, state, 0.0f, 0.0f, 1);
        EXPECT_NEAR (state.gainDb - before, 120.0f / rate, 1.0e-6f); // 0.0025 dB per sample
    }

    runBranch (processor, BranchType::Vca, state, 0.0f, 0.0f, 48000);
    EXPECT_EQ (state.gainDb, 0.0f);
}

TEST_F (BranchModels, TubeReleaseMemoryRisesAndFalls)
{
    setPlain (processor, "tube_timeconstant", 5.0f); // position "6"
    setPlain (processor, "tube_threshold", 0.0f);

    runBranch (processor, BranchType::Tube, state, 0.9f, 0.9f, 499);
    EXPECT_NEAR (state.tubeMemory, 0.998f, 1.0e-4f);
    runBranch (processor, BranchType::Tube, state, 0.9f, 0.9f, 1);
    EXPECT_NEAR (state.tubeMemory, 1.0f, 1.0e-4f);
    runBranch (processor, BranchType::Tube, state, 0.9f, 0.9f, 100);
    EXPECT_EQ (state.tubeMemory, 1.0f);

    runBranch (processor, BranchType::Tube, state, 0.0f, 0.0f, 1000);
    EXPECT_NEAR (state.tubeMemory, 0.5f, 1.0e-3f);
    runBranch (processor, BranchType::Tube, state, 0.0f, 0.0f, 1000);
    EXPECT_NEAR (state.tubeMemory, 0.0f, 1.0e-3f);
    runBranch (processor, BranchType::Tube, state, 0.0f, 0.0f, 10);
    EXPECT_EQ (state.tubeMemory, 0.0f);
}

TEST_F (BranchModels, TubeReleaseMemoryOnlyAtTheLastTwoPositions)
{
    const struct { float position; bool remembers; } cases[] {
        { 0.0f, false }, { 1.0f, false }, { 2.0f, false }, { 3.0f, false }, { 4.0f, true }, { 5.0f, true },
    };

    for (const auto& c : cases)
    {
        Processor tube;
        setPlain (tube, "tube_timeconstant", c.position);
        setPlain (tube, "tube_threshold", 0.0f);
        BranchState branch;
        runBranch (tube, BranchType::Tube, branch, 0.9f, 0.9f, 100);
        EXPECT_EQ (branch.tubeMemory > 0.0f, c.remembers) << c.position;
    }
}

TEST_F (BranchModels, ChoicesOutsideTheirListsUseTheNearestEntry)
{
    // Values no parameter range produces, written straight into the value the models read.
    const struct { BranchType type; const char* id; float raw; float equivalent; } cases[] {
        { BranchType::Tube, "tube_timeconstant", 7.0f, 5.0f },  // position "6" and its memory
        { BranchType::Tube, "tube_timeconstant", -2.0f, 0.0f },
        { BranchType::Tube, "tube_timeconstant", 4.5f, 4.0f },  // halves round to even
        { BranchType::VariMu, "varimu_recovery", 9.0f, 4.0f },
        { BranchType::VariMu, "varimu_recovery", -1.0f, 0.0f },
        { BranchType::Opto, "opto_mode", 0.4f, 0.0f },
        { BranchType::Opto, "opto_mode", 0.6f, 1.0f },
        { BranchType::Opto, "opto_mode", 2.5f, 1.0f },
    };

    for (const auto& c : cases)
    {
        Processor forced, reference;
        forceRawValue (forced, c.id, c.raw);
        forceRawValue (reference, c.id, c.equivalent);
        BranchState forcedState, referenceState;

        for (int i = 0; i < 3000; ++i)
        {
            const auto input = i < 1500 ? 0.9f : 0.05f;
            const auto a = runBranch (forced, c.type, forcedState, input, -input, 1);
            const auto b = runBranch (reference, c.type, referenceState, input, -input, 1);
            ASSERT_EQ (a.outL, b.outL) << c.id << " " << c.raw << " at " << i;
            ASSERT_EQ (a.grDb, b.grDb) << c.id << " " << c.raw << " at " << i;
        }

        EXPECT_EQ (forcedState.tubeMemory, referenceState.tubeMemory) << c.id << " " << c.raw;
    }
}

// Coefficients and gains are remembered between calls; a processor that has never seen
// the current inputs must produce exactly the same samples and state.
TEST_F (BranchModels, RememberedCoefficientsMatchFreshOnes)
{
    const struct { const char* id; float value; } changes[] {
        { "fet_attack_us", 400.0f }, { "fet_release_ms", 90.0f }, { "fet_input", 6.0f }, { "fet_output", -3.0f },
        { "opto_peak_reduction", 80.0f }, { "opto_mode", 1.0f }, { "opto_makeup", 4.0f },
        { "vca_overeasy", 0.0f }, { "vca_makeup", -2.0f }, { "varimu_attack", 20.0f }, { "varimu_recovery", 3.0f },
        { "varimu_makeup", 5.0f }, { "tube_timeconstant", 5.0f }, { "tube_makeup", 2.0f },
    };

    auto warm = std::make_unique<Processor>();
    std::array<BranchState, 5> states {};
    int sample = 0;

    const auto compareWithFreshProcessors = [&] (float sampleRate)
    {
        for (size_t m = 0; m < std::size (models); ++m)
        {
            Processor cold;

            for (const auto& change : changes)
                forceRawValue (cold, change.id, warm->getFloat (change.id));

            for (int i = 0; i < 3; ++i, ++sample)
            {
                const auto input = 0.6f * std::sin (0.01f * static_cast<float> (sample));
                auto coldState = states[m];
                const auto fromCold = runBranch (cold, models[m].type, coldState, input, 0.5f * input, 1, sampleRate);
                const auto fromWarm = runBranch (*warm, models[m].type, states[m], input, 0.5f * input, 1, sampleRate);
                ASSERT_EQ (fromWarm.outL, fromCold.outL) << models[m].name;
                ASSERT_EQ (fromWarm.outR, fromCold.outR) << models[m].name;
                ASSERT_EQ (fromWarm.grDb, fromCold.grDb) << models[m].name;
                ASSERT_EQ (std::memcmp (&states[m], &coldState, sizeof (BranchState)), 0) << models[m].name;
            }

            for (int i = 0; i < 500; ++i)
                runBranch (*warm, models[m].type, states[m], 0.6f, -0.3f, 1, sampleRate);
        }
    };

    compareWithFreshProcessors (rate);

    for (const auto& change : changes)
    {
        setPlain (*warm, change.id, change.value);
        compareWithFreshProcessors (rate);
    }

    compareWithFreshProcessors (2.0f * rate);
}
} // namespace
