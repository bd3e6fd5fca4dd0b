#include "editor/KelvarnAudioProcessorEditor.h"

#include <array>

using Editor = KelvarnAudioProcessorEditor;

namespace
{
// About 333 pixels of vertical drag span a knob's whole range.
constexpr float knobValuePerPixel = 0.003f;

const std::array<const char*, 5> saturationIds { "fet_sat", "opto_sat", "vca_sat", "varimu_sat", "tube_sat" };

// OPTO2A has no threshold, so COMP leaves its peak reduction alone.
const std::array<const char*, 4> thresholdIds { "fet_threshold", "vca_threshold", "varimu_threshold",
                                                "tube_threshold" };

const std::array<const char*, 5> moduleEnableIds { "fet_enable", "opto_enable", "vca_enable", "varimu_enable",
                                                   "tube_enable" };

/** COMP at 0 gives -10 dB, at 1 gives -45 dB. */
float thresholdForComp (float comp)
{
    return -35.0f * comp - 10.0f;
}

const Editor::Row* validRow (const Editor& editor, int rowIndex)
{
    if (rowIndex < 0 || rowIndex >= static_cast<int> (editor.rows.size()))
        return nullptr;

    return &editor.rows[static_cast<size_t> (rowIndex)];
}

juce::RangedAudioParameter* rowParameter (const Editor& editor, int rowIndex)
{
    const auto* row = validRow (editor, rowIndex);
    return row != nullptr ? editor.processorRef.apvts.getParameter (row->paramId) : nullptr;
}

/** The mean normalised value of the parameters that exist, or the fallback when none does. */
template <size_t n>
float meanNormalisedValue (const Editor& editor, const std::array<const char*, n>& ids, float fallback)
{
    auto sum = 0.0f;
    auto count = 0;

    for (const auto* id : ids)
    {
        if (const auto* parameter = editor.processorRef.apvts.getParameter (id))
        {
            sum += parameter->getValue();
            ++count;
        }
    }

    return count > 0 ? sum / static_cast<float> (count) : fallback;
}

float* knobValue (Editor& editor, int knob)
{
    switch (knob)
    {
        case 1: return &editor.macroDrive;
        case 2: return &editor.macroComp;
        case 3: return &editor.macroMix;
        default: return nullptr;
    }
}

/** Every knob event writes all ten targets, whichever knob moved. */
void writeMacroKnobs (Editor& editor)
{
    editor.setParamValue ("global_drywet", editor.macroMix);

    for (const auto* id : saturationIds)
        editor.setParamValue (id, editor.macroDrive);

    for (const auto* id : thresholdIds)
        editor.setParamValue (id, thresholdForComp (editor.macroComp));
}

/** Moves the cursor to a clicked row and selects the module it belongs to. */
void moveCursorToRow (Editor& editor, int rowIndex)
{
    editor.selectedRow = rowIndex;

    for (size_t module = 0; module < editor.modules.size(); ++module)
    {
        const auto& rowIds = editor.modules[module].rowIds;

        for (size_t position = 0; position < rowIds.size(); ++position)
        {
            if (editor.findRowById (rowIds[position]) == rowIndex)
            {
                editor.selectedModule = static_cast<int> (module);
                editor.selectedParam = static_cast<int> (position);
            }
        }
    }
}

/** Opens the gesture that lasts until mouse-up; false when the row has no parameter. */
bool startRowDrag (Editor& editor, int rowIndex, const juce::MouseEvent& e)
{
    auto* parameter = rowParameter (editor, rowIndex);

    if (parameter == nullptr)
        return false;

    editor.dragRow = rowIndex;
    editor.dragStartValue = parameter->getValue();
    editor.dragStartX = e.getPosition().x;
    parameter->beginChangeGesture();
    return true;
}

bool handleRowHit (Editor& editor, int rowIndex, const juce::MouseEvent& e, bool isDoubleClick)
{
    const auto* row = validRow (editor, rowIndex);

    if (row == nullptr)
        return false;

    moveCursorToRow (editor, rowIndex);

    // GLOBAL cannot be focused, so a double click there acts as a single one.
    if (isDoubleClick && editor.selectedModule > 0)
    {
        editor.focusModule = editor.selectedModule;
        return true;
    }

    switch (row->kind)
    {
        case Editor::Row::toggle:
            editor.nudgeRow (rowIndex, 1.0f);
            return true;

        case Editor::Row::continuous:
        case Editor::Row::choice:
            return startRowDrag (editor, rowIndex, e);

        case Editor::Row::preset:
        case Editor::Row::tweak:
            return true; // stepping them applies a preset, which a click should not

        case Editor::Row::meter:
            return false;
    }

    return false;
}

void handleKnobHit (Editor& editor, int knob, const juce::MouseEvent& e)
{
    editor.activeKnob = knob;
    editor.knobDragStartY = e.getPosition().y;
    editor.knobDragStartValue = *knobValue (editor, knob);
}

void flipModule (Editor& editor, int module)
{
    const auto* id = moduleEnableIds[static_cast<size_t> (juce::jlimit (0, 4, module))];

    if (auto* parameter = editor.processorRef.apvts.getParameter (id))
    {
        parameter->beginChangeGesture();
        parameter->setValueNotifyingHost (parameter->getValue() < 0.5f ? 1.0f : 0.0f);
        parameter->endChangeGesture();
    }
}

void continueRowDrag (Editor& editor, const juce::MouseEvent& e)
{
    auto* parameter = rowParameter (editor, editor.dragRow);

    if (parameter == nullptr)
        return;

    // From the mouse-down position, so that rounding never accumulates over many events.
    const auto pixels = static_cast<float> (e.getPosition().x - editor.dragStartX);
    const auto& row = editor.rows[static_cast<size_t> (editor.dragRow)];
    parameter->setValueNotifyingHost (juce::jlimit (0.0f, 1.0f, editor.dragStartValue + pixels * row.dragStep));
}

void continueKnobDrag (Editor& editor, const juce::MouseEvent& e)
{
    auto* value = knobValue (editor, editor.activeKnob);

    if (value == nullptr)
        return;

    const auto delta = static_cast<float> (editor.knobDragStartY - e.getPosition().y) * knobValuePerPixel;
    *value = juce::jlimit (0.0f, 1.0f, editor.knobDragStartValue + delta);
    writeMacroKnobs (editor);
}
} // namespace

void Editor::mouseDown (const juce::MouseEvent& e)
{
    const auto position = e.getPosition();
    const auto isDoubleClick = e.getNumberOfClicks() > 1;

    // By index and by value: a paint inside a handler would rebuild the list.
    for (size_t i = 0; i < hitRegions.size(); ++i)
    {
        const auto region = hitRegions[i];

        if (region.bounds.contains (position) && handleHit (region, e, isDoubleClick))
            return;
    }
}

bool Editor::handleHit (const HitRegion& region, const juce::MouseEvent& e, bool isDoubleClick)
{
    const auto inHybridView = viewMode != 0;

    switch (region.kind)
    {
        case HitRegion::viewToggle:
            viewMode = viewMode == 0 ? 1 : 0;
            repaint();
            return true;

        case HitRegion::driveKnob:
        case HitRegion::compKnob:
        case HitRegion::mixKnob:
            if (inHybridView)
                handleKnobHit (*this, region.kind - HitRegion::driveKnob + 1, e);
            return inHybridView;

        case HitRegion::moduleToggle:
            if (inHybridView)
                flipModule (*this, region.index);
            return inHybridView;

        case HitRegion::row:
            return handleRowHit (*this, region.index, e, isDoubleClick);
    }

    return false;
}

void Editor::mouseDrag (const juce::MouseEvent& e)
{
    if (activeKnob == 0)
        continueRowDrag (*this, e);
    else
        continueKnobDrag (*this, e);
}

void Editor::mouseUp (const juce::MouseEvent&)
{
    endRowDrag();
    activeKnob = 0;
}

void Editor::endRowDrag()
{
    if (auto* parameter = rowParameter (*this, dragRow))
        parameter->endChangeGesture();

    dragRow = -1;
}

void Editor::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    if (viewMode != 0)
        return;

    // The wheel steps the cursor row wherever the pointer is.
    if (const auto* row = validRow (*this, selectedRow))
        nudgeRow (selectedRow, wheel.deltaY > 0.0f ? row->wheelStep : -row->wheelStep);
}

void Editor::updateHybridFromParams()
{
    const auto* dryWet = processorRef.apvts.getParameter ("global_drywet");
    macroMix = dryWet != nullptr ? dryWet->getValue() : 0.5f;
    macroDrive = meanNormalisedValue (*this, saturationIds, 0.0f);
    macroComp = meanNormalisedValue (*this, thresholdIds, 0.5f);
}
