#include "editor/KelvarnAudioProcessorEditor.h"

using Editor = KelvarnAudioProcessorEditor;

std::vector<Editor::Row> Editor::makeRowTable()
{
    // The arrow keys walk this order, and row hit regions refer to these indices: the two
    // level meters come last although GLOBAL lists them.
    return {
        { Row::continuous, "DRY/WET", "global_drywet", 0.0025f, 0.02f },
        { Row::continuous, "OUTPUT", "global_output", 0.0025f, 0.01f },
        { Row::toggle, "SAFETY", "global_safety", 0.0f, 1.0f },
        { Row::choice, "OVERSAMPLING", "global_os", 0.0f, 0.33f },
        { Row::preset, "PRESET", "macro_preset", 0.0f, 1.0f },
        { Row::tweak, "TWEAK", "macro_tweak", 0.0f, 1.0f },

        { Row::toggle, "ENABLE", "fet_enable", 0.0f, 1.0f },
        { Row::continuous, "INPUT", "fet_input", 0.0025f, 0.01f },
        { Row::continuous, "OUTPUT", "fet_output", 0.0025f, 0.01f },
        { Row::continuous, "ATTACK US", "fet_attack_us", 0.0015f, 0.01f },
        { Row::continuous, "RELEASE MS", "fet_release_ms", 0.0015f, 0.01f },
        { Row::continuous, "THRESHOLD", "fet_threshold", 0.0025f, 0.01f },
        { Row::continuous, "SAT", "fet_sat", 0.0025f, 0.02f },
        { Row::meter, "GR", "meter_fet_gr", 0.0025f, 0.02f },

        { Row::toggle, "ENABLE", "opto_enable", 0.0f, 1.0f },
        { Row::continuous, "PEAK RED", "opto_peak_reduction", 0.0018f, 0.01f },
        { Row::choice, "MODE", "opto_mode", 0.0f, 0.5f },
        { Row::continuous, "MAKEUP", "opto_makeup", 0.0025f, 0.01f },
        { Row::continuous, "HF EMP", "opto_hf_emphasis", 0.0025f, 0.02f },
        { Row::continuous, "SAT", "opto_sat", 0.0025f, 0.02f },
        { Row::meter, "GR", "meter_opto_gr", 0.0025f, 0.02f },

        { Row::toggle, "ENABLE", "vca_enable", 0.0f, 1.0f },
        { Row::continuous, "THRESHOLD", "vca_threshold", 0.0025f, 0.01f },
        { Row::toggle, "OVEREASY", "vca_overeasy", 0.0f, 1.0f },
        { Row::continuous, "MAKEUP", "vca_makeup", 0.0025f, 0.01f },
        { Row::continuous, "SAT", "vca_sat", 0.0025f, 0.02f },
        { Row::meter, "GR", "meter_vca_gr", 0.0025f, 0.02f },

        { Row::toggle, "ENABLE", "varimu_enable", 0.0f, 1.0f },
        { Row::continuous, "THRESHOLD", "varimu_threshold", 0.0025f, 0.01f },
        { Row::continuous, "ATTACK", "varimu_attack", 0.0018f, 0.01f },
        { Row::choice, "RECOVERY", "varimu_recovery", 0.0f, 0.2f },
        { Row::continuous, "MAKEUP", "varimu_makeup", 0.0025f, 0.01f },
        { Row::continuous, "SAT", "varimu_sat", 0.0025f, 0.02f },
        { Row::meter, "GR", "meter_varimu_gr", 0.0025f, 0.02f },

        { Row::toggle, "ENABLE", "tube_enable", 0.0f, 1.0f },
        { Row::continuous, "THRESHOLD", "tube_threshold", 0.0025f, 0.01f },
        { Row::choice, "TIME CONST", "tube_timeconstant", 0.0f, 0.2f },
        { Row::choice, "MODE", "tube_mode", 0.0f, 0.5f },
        { Row::continuous, "MAKEUP", "tube_makeup", 0.0025f, 0.01f },
        { Row::continuous, "SAT", "tube_sat", 0.0025f, 0.02f },
        { Row::meter, "GR", "meter_tube_gr", 0.0025f, 0.02f },

        { Row::meter, "INPUT", "meter_input", 0.0025f, 0.02f },
        { Row::meter, "OUTPUT", "meter_output", 0.0025f, 0.02f },
    };
}

std::vector<Editor::ModuleDef> Editor::makeModuleTable()
{
    return {
        { "GLOBAL", {}, { "global_drywet", "global_output", "global_safety", "global_os",
                          "macro_preset", "macro_tweak", "meter_input", "meter_output" } },
        { "FET76", "fet_enable", { "fet_enable", "fet_input", "fet_output", "fet_attack_us",
                                   "fet_release_ms", "fet_threshold", "fet_sat", "meter_fet_gr" } },
        { "OPTO2A", "opto_enable", { "opto_enable", "opto_peak_reduction", "opto_mode", "opto_makeup",
                                     "opto_hf_emphasis", "opto_sat", "meter_opto_gr" } },
        { "VCA160", "vca_enable", { "vca_enable", "vca_threshold", "vca_overeasy", "vca_makeup",
                                    "vca_sat", "meter_vca_gr" } },
        { "VARIMU", "varimu_enable", { "varimu_enable", "varimu_threshold", "varimu_attack",
                                       "varimu_recovery", "varimu_makeup", "varimu_sat", "meter_varimu_gr" } },
        { "TUBE670", "tube_enable", { "tube_enable", "tube_threshold", "tube_timeconstant", "tube_mode",
                                      "tube_makeup", "tube_sat", "meter_tube_gr" } },
    };
}

int Editor::findRowById (const juce::String& id) const
{
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].paramId == id)
            return static_cast<int> (i);

    return -1;
}

void Editor::selectModule (int moduleIndex)
{
    if (modules.empty())
        return;

    selectedModule = juce::jlimit (0, static_cast<int> (modules.size()) - 1, moduleIndex);
    selectedParam = 0;

    const auto& rowIds = modules[static_cast<size_t> (selectedModule)].rowIds;

    if (! rowIds.empty())
        selectedRow = findRowById (rowIds.front());
}
