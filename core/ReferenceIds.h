// The setting numbers through which the host and the documents name one
// display setting at a time (CTavrionDoc::SetReferenceIntoXML). The base
// document handles 0 to 6 and 16; each examination document handles those of
// its own numbers that it uses, with the one meaning every document shares.
// The settings lie in the record XML under REFERENCE_SETTING_PATH.
#pragma once

#include "platform/base/WinTypes.h"

#define REFERENCE_SETTING_PATH L"/Rawdata/Assist_info/Reference/Setting"
#define REFERENCE_DRAW_SETTING_PATH L"/Rawdata/Assist_info/Reference/Setting/Draw_setting"
#define REFERENCE_COLOR_SETTING_PATH L"/Rawdata/Assist_info/Reference/Setting/Draw_setting/Color_setting"

enum _REFERENCE_ID {
    // ---- the base document: Draw_setting -------------------------------------
    REFERENCE_SMOOTH_FILTER_MODE = 0,   // Smooth_filter_mode
    REFERENCE_SMOOTH_FILTER_TYPE = 1,   // Smooth_filter_type
    REFERENCE_DEL_BIT_NOISE = 2,        // Del_bit_noise
    REFERENCE_BASE_LINE_WIDTH = 3,      // Base_line_width
    REFERENCE_DENSITY = 4,              // Brightness_density/Density_value; arg: density mode 1 or 2
    REFERENCE_GRID_TYPE = 5,            // Grid_type
    REFERENCE_COLOR = 6,                // a colour slot's element; arg: the slot, 0 to 28 but 4
    // ---- the examination documents: Setting ----------------------------------
    REFERENCE_PAGE_STYLE = 7,           // Page_style
    REFERENCE_RHYTHM_1LEAD = 8,         // Rhythm_1lead
    REFERENCE_FILTER = 9,               // Filter
    REFERENCE_SPEED = 10,               // Speed ("%.1f")
    REFERENCE_SENSITIVITY = 11,         // Sensitivity, or an element below it chosen by arg
    REFERENCE_SERIAL_OVERLAP = 12,      // Serial_overlap
    REFERENCE_CHEST_HALF = 13,          // Sensitivity/Serial, attribute chest_half
    REFERENCE_LEAD_SELECTION = 14,      // an element below Lead_selection
    REFERENCE_SENSE_MODE = 15,          // Sensitivity, attribute mode
    // ---- the base document again ---------------------------------------------
    REFERENCE_STRANDEL = 16,            // Xwidth_value, Ywidth_value, Power_value, Gamma_value
    // ---- the examination documents -------------------------------------------
    REFERENCE_MEASURE_POINT = 17,       // Measure_point
    REFERENCE_SHOW_COMMENT = 18,        // Show_comment
    REFERENCE_SHOW_ST = 19,             // Show_ST
    REFERENCE_CHECK_ID = 20,            // Check_ID
};

// The element of a colour slot below Color_setting ("Wave_color/Grid"); null
// for slot 4, which is never stored, and for any number outside 0 to 28.
inline LPCWSTR GetColorSlotElement(int slot)
{
    static const LPCWSTR kElements[29] = {
        L"Wave_color/Wave",
        L"Wave_color/Grid",
        L"Wave_color/Back_ground",
        L"Wave_color/Wave_info",
        nullptr,
        L"Wave_color/Wave_comp1",
        L"Wave_color/Wave_comp2",
        L"Wave_color/Wave_comp3",
        L"Wave_color/Wave_comp4",
        L"Wave_color/Wave_comp5",
        L"Wave_color/Wave_comp6",
        L"Wave_color/Wave_comp7",
        L"Wave_color/Wave_comp8",
        L"Wave_color/Wave_comp9",
        L"Wave_color/Wave_comp10",
        L"Wave_color/Rest_wave",
        L"Wave_color/Wave_non_choice",
        L"Wave_color/Grid_non_choice",
        L"Wave_color/Bkg_non_choice",
        L"Wave_color/Wave_info_non_choice",
        L"Text_color/Back_ground",
        L"Text_color/Text_input",
        L"Text_color/Text_non_input",
        L"Text_color/Text_confirm_info",
        L"Text_color/Text_after_confirm_info",
        L"Text_color/Text_others",
        L"Text_color/Frame",
        L"Text_color/Frame_text",
        L"Text_color/Back_ground_blank",
    };
    if (slot < 0 || slot >= 29) return nullptr;
    return kElements[slot];
}
