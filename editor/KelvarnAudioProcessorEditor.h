#pragma once

#include "processor/KelvarnAudioProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <vector>

/** kelvarn's editor window: a character-terminal style text view and a hybrid view with
    three macro knobs.

    It has no child components. Both views are painted directly, and every paint records
    the clickable areas it drew as HitRegions, which the mouse handlers test on the next
    click. The interaction state below lives only here: it is not saved with the plug-in
    state, and every new editor starts from the same initial values.

    Everything runs on the message thread. The editor shares with the audio thread only
    the parameters and the processor's atomic meter record.
*/
class KelvarnAudioProcessorEditor : public juce::AudioProcessorEditor,
                                    public juce::Timer
{
public:
    /** One line of the text view: a parameter, a meter or a macro selector. */
    struct Row
    {
        enum Kind : int
        {
            continuous = 0, // stepped and dragged in normalised units
            toggle = 1,     // every step, click or wheel notch flips it
            choice = 2,     // stepped like continuous; the parameter snaps to a choice
            meter = 3,      // shows a meter value, no reaction
            preset = 4,     // steps presetIndex and applies the macro preset
            tweak = 5       // steps tweakIndex and applies the macro preset
        };

        Kind kind = continuous;
        juce::String label;
        juce::String paramId;  // parameter ID, meter ID or macro pseudo-ID
        float dragStep = 0.0f; // normalised change per pixel of horizontal drag
        float wheelStep = 0.0f; // normalised change per wheel notch
    };

    /** One module box: a named group of rows. */
    struct ModuleDef
    {
        juce::String name;
        juce::String enableId; // empty for GLOBAL
        std::vector<juce::String> rowIds;
    };

    /** A clickable rectangle recorded by the renderer that drew it. */
    struct HitRegion
    {
        enum Kind : int
        {
            row = 0,         // index: index into rows
            viewToggle = 1,  // the "UI" button of both views
            driveKnob = 2,
            compKnob = 3,
            mixKnob = 4,
            moduleToggle = 5 // index: 0..4 for FET76, OPTO2A, VCA160, VARIMU, TUBE670
        };

        Kind kind = row;
        juce::Rectangle<int> bounds;
        int index = -1;
    };

    static constexpr int editorWidth = 1120;
    static constexpr int editorHeight = 720;
    static constexpr int timerPeriodMs = 33;
    static constexpr int numGainReductionMeters = 5;

    explicit KelvarnAudioProcessorEditor (KelvarnAudioProcessor& processorToEdit);
    ~KelvarnAudioProcessorEditor() override;

    //==============================================================================
    // Mouse control and macro knobs (MouseControl.cpp)
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;

    /** Acts on one clicked region; true when it consumed the click. */
    bool handleHit (const HitRegion& region, const juce::MouseEvent& e, bool isDoubleClick);

    /** Reads the DRIVE, COMP and MIX knob values back from the parameters. */
    void updateHybridFromParams();

    //==============================================================================
    // Painting: the text view (TuiRenderer.cpp) or the hybrid view (HybridRenderer.cpp)
    void paint (juce::Graphics& g) override;
    void resized() override;

    void drawTui (juce::Graphics& g);
    void drawHybrid (juce::Graphics& g);

    /** One box of the text view with its rows; records one row region per drawn row. */
    void drawBox (juce::Graphics& g, juce::Rectangle<int> bounds, const juce::String& title,
                  const std::vector<juce::String>& rowIds, bool selected);

    /** One macro knob of the hybrid view. */
    void drawKnob (juce::Graphics& g, juce::Rectangle<int> bounds, const juce::String& label,
                   float value, bool active);

    /** The "UI" button that both views share, with its hit region. */
    void drawViewToggleButton (juce::Graphics& g);

    //==============================================================================
    // Keyboard control (KeyboardControl.cpp)
    bool keyPressed (const juce::KeyPress& key) override;

    /** Steps a row by a signed amount in normalised units (preset and tweak rows: by one entry). */
    void nudgeRow (int rowIndex, float amount);

    /** Writes a plain value to a parameter as one complete host gesture. */
    void setParamValue (const juce::String& paramId, float plainValue);

    //==============================================================================
    // Macro presets (MacroPresets.cpp)
    void applyMacroPreset();

    /** "VOICE RADIO", "LOFI CRUSH", "DRUM SMASH", "WARM TAPE", in presetIndex order. */
    static const juce::StringArray& presetNames();

    /** "SOFT", "HARD", "AGGRESSIVE", in tweakIndex order. */
    static const juce::StringArray& tweakNames();

    //==============================================================================
    // Meter display timing (MeterTiming.cpp)
    void timerCallback() override;

    /** Moves the held meter values towards the current meter record. */
    void updatePeakHold();

    //==============================================================================
    // Row formatting (RowFormatting.cpp)

    /** One row as a line of monospace text; sets colour to the colour to draw it in. */
    juce::String rowToString (const Row& row, int barWidth, juce::Colour& colour) const;

    /** A text gauge of exactly width cells: '#' filled, '|' marker, '.' empty. */
    juce::String makeBar (float value, float marker, int width, bool reversed) const;

    //==============================================================================
    // Editor model (EditorModel.cpp)

    /** Index in rows of the first row with exactly this ID, or -1. */
    int findRowById (const juce::String& id) const;

    /** Selects a module (clamped, no wrap) and puts the cursor on its first row. */
    void selectModule (int moduleIndex);

    static std::vector<Row> makeRowTable();
    static std::vector<ModuleDef> makeModuleTable();

    //==============================================================================
    // State, in the order the editor model describes it. Public so that the handlers'
    // and renderers' tests can set up and inspect a situation directly.
    KelvarnAudioProcessor& processorRef;

    std::vector<Row> rows;
    std::vector<ModuleDef> modules;
    std::vector<HitRegion> hitRegions;

    int viewMode = 0;       // 0 text view, 1 hybrid view
    int selectedModule = 0; // index into modules; 0 is GLOBAL
    int selectedParam = 0;  // cursor position inside the selected module's rowIds
    int focusModule = -1;   // module shown alone in the text view; -1 none, never 0
    int presetIndex = 0;
    int tweakIndex = 1;

    float holdIn = 0.0f;  // linear level
    float holdOut = 0.0f; // linear level
    std::array<float, numGainReductionMeters> holdGr {}; // fraction of 18 dB: FET, OPTO, VCA, VARIMU, TUBE

    float macroDrive = 0.0f;
    float macroComp = 0.5f;
    float macroMix = 0.5f;
    int activeKnob = 0; // 0 none, 1 DRIVE, 2 COMP, 3 MIX

    int selectedRow = -1; // index into rows of the cursor row
    int dragRow = -1;     // index into rows of the row being dragged
    float dragStartValue = 0.0f;
    int dragStartX = 0;
    int knobDragStartY = 0;
    float knobDragStartValue = 0.0f;

    juce::String typedKeys; // last typed characters, upper case, at most 32
    int colourScheme = 0;   // 0 green, 1 amber, 2 green over scan lines

private:
    /** Ends the host gesture of an open row drag: at mouse-up, and when the window closes
        in the middle of a drag, so that the host never keeps a gesture that never ends. */
    void endRowDrag();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KelvarnAudioProcessorEditor)
};
