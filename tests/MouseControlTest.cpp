#include "EditorInputSupport.h"

namespace
{
using MouseControl = EditorInputFixture;

constexpr int dryWetRow = 0;
constexpr int oversamplingRow = 3;
constexpr int presetRow = 4;
constexpr int fetEnableRow = 6;
constexpr int fetThresholdRow = 11;
constexpr int safetyRow = 2;
constexpr int vcaMeterRow = 26;

const char* const saturations[] { "fet_sat", "opto_sat", "vca_sat", "varimu_sat", "tube_sat" };
const char* const thresholds[] { "fet_threshold", "vca_threshold", "varimu_threshold", "tube_threshold" };

TEST_F (MouseControl, RowDragFollowsTheMouseDownPositionAsOneGesture)
{
    paintEditor();
    const auto start = centreOf (HitRegion::row, dryWetRow);
    GestureLog log (processor);

    editor.mouseDown (mouseAt (editor, start));
    editor.mouseDrag (mouseAt (editor, start + juce::Point<int> (40, 0)));
    EXPECT_NEAR (normalised ("global_drywet"), 0.6f, 1.0e-6f);
    editor.mouseDrag (mouseAt (editor, start + juce::Point<int> (-40, 3)));
    EXPECT_NEAR (normalised ("global_drywet"), 0.4f, 1.0e-6f);
    editor.mouseUp (mouseAt (editor, start));

    EXPECT_EQ (log.entries, (std::vector<std::string> { "begin global_drywet", "set global_drywet",
                                                        "set global_drywet", "end global_drywet" }));
    EXPECT_EQ (editor.dragRow, -1);
    EXPECT_EQ (editor.selectedRow, dryWetRow);
}

TEST_F (MouseControl, ARowDragClampsAtTheEndsOfTheRange)
{
    paintEditor();
    const auto start = centreOf (HitRegion::row, dryWetRow);

    drag (start, { start + juce::Point<int> (500, 0) });
    EXPECT_EQ (normalised ("global_drywet"), 1.0f);
    drag (start, { start - juce::Point<int> (500, 0) });
    EXPECT_EQ (normalised ("global_drywet"), 0.0f);
}

TEST_F (MouseControl, OversamplingIgnoresDragsAndTheWheelStepsItsChoices)
{
    paintEditor();
    const auto start = centreOf (HitRegion::row, oversamplingRow);

    drag (start, { start + juce::Point<int> (300, 0) });
    EXPECT_EQ (plain ("global_os"), 0.0f);

    const std::pair<float, float> notches[] { { 1.0f, 1.0f }, { 0.5f, 2.0f }, { 0.0f, 1.0f }, { -1.0f, 0.0f } };

    for (const auto& [deltaY, choice] : notches)
    {
        editor.mouseWheelMove (mouseAt (editor, {}), wheelNotch (deltaY));
        EXPECT_EQ (plain ("global_os"), choice) << "after a notch of " << deltaY;
    }
}

TEST_F (MouseControl, TheWheelStepsTheCursorRowWhereverThePointerIs)
{
    editor.selectedRow = dryWetRow;
    editor.mouseWheelMove (mouseAt (editor, { 900, 600 }), wheelNotch (0.1f));
    EXPECT_NEAR (normalised ("global_drywet"), 0.52f, 1.0e-6f);

    editor.selectedRow = -1;
    editor.mouseWheelMove (mouseAt (editor, {}), wheelNotch (1.0f));
    EXPECT_NEAR (normalised ("global_drywet"), 0.52f, 1.0e-6f);
}

TEST_F (MouseControl, DoubleClickOnAFetRowFocusesFet)
{
    editor.selectModule (0);
    paintEditor();
    GestureLog log (processor);

    click (centreOf (HitRegion::row, fetThresholdRow), 2);

    EXPECT_EQ (editor.focusModule, 1);
    EXPECT_EQ (editor.selectedModule, 1);
    EXPECT_EQ (editor.selectedParam, 5);
    EXPECT_TRUE (log.entries.empty());
}

TEST_F (MouseControl, DoubleClickOnAToggleFlipsOnceThenFocuses)
{
    paintEditor();
    const auto toggle = centreOf (HitRegion::row, fetEnableRow);

    click (toggle, 1);
    click (toggle, 2);

    EXPECT_EQ (normalised ("fet_enable"), 1.0f);
    EXPECT_EQ (editor.focusModule, 1);
}

TEST_F (MouseControl, DoubleClickOnAGlobalToggleFlipsItWithoutFocus)
{
    paintEditor();
    click (centreOf (HitRegion::row, safetyRow), 2);

    EXPECT_EQ (normalised ("global_safety"), 0.0f);
    EXPECT_EQ (editor.focusModule, -1);
}

TEST_F (MouseControl, ClicksOnMeterAndPresetRowsOnlyMoveTheCursor)
{
    paintEditor();
    GestureLog log (processor);

    click (centreOf (HitRegion::row, vcaMeterRow));
    EXPECT_EQ (editor.selectedRow, vcaMeterRow);
    EXPECT_EQ (editor.selectedModule, 3);
    EXPECT_EQ (editor.selectedParam, 5);

    click (centreOf (HitRegion::row, presetRow));
    EXPECT_EQ (editor.selectedRow, presetRow);
    EXPECT_EQ (editor.selectedModule, 0);
    EXPECT_EQ (editor.selectedParam, 4);

    EXPECT_TRUE (log.entries.empty());
}

TEST_F (MouseControl, TheUiButtonSwitchesViewsAndOnlyTheLastPaintedViewIsHit)
{
    paintEditor();
    const auto button = centreOf (HitRegion::viewToggle);

    click (button);
    EXPECT_EQ (editor.viewMode, 1);

    // The text view's rows are gone once the hybrid view has painted.
    paintEditor();
    click (centreOf (HitRegion::moduleToggle, 0));
    EXPECT_EQ (normalised ("fet_enable"), 1.0f);

    click (button);
    EXPECT_EQ (editor.viewMode, 0);
}

TEST_F (MouseControl, KnobAndToggleRegionsAreIgnoredInTheTextView)
{
    const juce::Rectangle<int> anywhere { 0, 0, 10, 10 };
    const auto e = mouseAt (editor, { 5, 5 });

    for (const auto kind : { HitRegion::driveKnob, HitRegion::compKnob, HitRegion::mixKnob, HitRegion::moduleToggle })
        EXPECT_FALSE (editor.handleHit ({ kind, anywhere, 0 }, e, false)) << static_cast<int> (kind);

    EXPECT_EQ (editor.activeKnob, 0);
    EXPECT_EQ (normalised ("fet_enable"), 0.0f);
}

TEST_F (MouseControl, ModuleToggleClickFlipsItsModuleAsOneGesture)
{
    editor.viewMode = 1;
    paintEditor();
    GestureLog log (processor);

    click (centreOf (HitRegion::moduleToggle, 3));

    EXPECT_EQ (normalised ("varimu_enable"), 1.0f);
    EXPECT_EQ (log.entries, singleWrites ({ "varimu_enable" }));
}

TEST_F (MouseControl, DriveKnobDraggedUpWritesAllTenTargets)
{
    for (const auto* id : thresholds)
        setNormalised (id, 0.5f);

    editor.updateHybridFromParams();
    editor.viewMode = 1;
    paintEditor();
    editor.macroDrive = 0.2f;
    const auto knob = centreOf (HitRegion::driveKnob);
    GestureLog log (processor);

    editor.mouseDown (mouseAt (editor, knob));
    EXPECT_EQ (editor.activeKnob, 1);
    editor.mouseDrag (mouseAt (editor, knob - juce::Point<int> (0, 100)));

    EXPECT_NEAR (editor.macroDrive, 0.5f, 1.0e-6f);
    EXPECT_NEAR (plain ("global_drywet"), editor.macroMix, 1.0e-6f);

    for (const auto* id : saturations)
        EXPECT_NEAR (plain (id), 0.5f, 1.0e-6f) << id;

    // COMP read 0.5 back from thresholds of -30 dB and writes -35 x 0.5 - 10.
    for (const auto* id : thresholds)
        EXPECT_NEAR (plain (id), -27.5f, 1.0e-4f) << id;

    EXPECT_EQ (log.entries, singleWrites ({ "global_drywet", "fet_sat", "opto_sat", "vca_sat", "varimu_sat",
                                            "tube_sat", "fet_threshold", "vca_threshold", "varimu_threshold",
                                            "tube_threshold" }));

    // Each write was its own gesture, so mouse-up has none to end.
    log.entries.clear();
    editor.mouseUp (mouseAt (editor, knob));
    EXPECT_TRUE (log.entries.empty());
    EXPECT_EQ (editor.activeKnob, 0);
}

TEST_F (MouseControl, KnobsDraggedFarPastTheEndsHoldAtOneAndZero)
{
    editor.viewMode = 1;
    paintEditor();

    const std::tuple<HitRegion::Kind, int, float*, float> drags[] {
        { HitRegion::compKnob, -2000, &editor.macroComp, 1.0f },
        { HitRegion::compKnob, 2000, &editor.macroComp, 0.0f },
        { HitRegion::mixKnob, -2000, &editor.macroMix, 1.0f },
        { HitRegion::mixKnob, 2000, &editor.macroMix, 0.0f },
    };

    for (const auto& [kind, dy, value, expected] : drags)
    {
        const auto knob = centreOf (kind);
        drag (knob, { knob + juce::Point<int> (0, dy / 2), knob + juce::Point<int> (0, dy) });
        EXPECT_EQ (*value, expected) << static_cast<int> (kind) << " by " << dy;
    }

    EXPECT_NEAR (plain ("global_drywet"), 0.0f, 1.0e-6f);
    EXPECT_NEAR (plain ("fet_threshold"), -10.0f, 1.0e-4f);
}

TEST_F (MouseControl, TheWheelDoesNothingInTheHybridView)
{
    editor.viewMode = 1;
    editor.selectedRow = dryWetRow;
    GestureLog log (processor);

    editor.mouseWheelMove (mouseAt (editor, {}), wheelNotch (1.0f));

    EXPECT_TRUE (log.entries.empty());
}

TEST_F (MouseControl, KnobsReadTheParametersBack)
{
    setNormalised ("global_drywet", 0.25f);
    setNormalised ("fet_sat", 0.5f);
    setNormalised ("tube_sat", 1.0f);

    editor.updateHybridFromParams();

    EXPECT_NEAR (editor.macroMix, 0.25f, 1.0e-6f);
    EXPECT_NEAR (editor.macroDrive, 0.3f, 1.0e-6f);
    // Not the inverse of the drag mapping: the mean normalised default threshold.
    EXPECT_NEAR (editor.macroComp, 0.65f, 1.0e-6f);
}

/** A host closes the window while the user still holds a row. */
class ClosedMidDrag : public ::testing::Test
{
protected:
    KelvarnAudioProcessor processor;
    std::unique_ptr<KelvarnAudioProcessorEditor> editor = std::make_unique<KelvarnAudioProcessorEditor> (processor);
};

TEST_F (ClosedMidDrag, TheEditorEndsTheOpenGestureWhenItCloses)
{
    juce::Image image (juce::Image::ARGB, editor->getWidth(), editor->getHeight(), true);
    {
        juce::Graphics g (image);
        editor->paint (g);
    }

    const auto region = std::find_if (editor->hitRegions.begin(), editor->hitRegions.end(),
                                      [] (const auto& r) { return r.index == fetThresholdRow; });
    ASSERT_NE (region, editor->hitRegions.end());
    const auto threshold = region->bounds.getCentre();

    GestureLog log (processor);
    editor->mouseDown (mouseAt (*editor, threshold));
    editor->mouseDrag (mouseAt (*editor, threshold + juce::Point<int> (20, 0)));
    ASSERT_EQ (editor->dragRow, fetThresholdRow);

    editor.reset();

    EXPECT_EQ (log.entries, (std::vector<std::string> { "begin fet_threshold", "set fet_threshold",
                                                        "end fet_threshold" }));
}
} // namespace
