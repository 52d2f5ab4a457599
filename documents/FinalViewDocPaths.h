// What the master-step document's source files share: the record-XML paths
// of the master-step sections, the entries of the master-step screen layout,
// and the display-settings fields.
#pragma once

#include "core/ECGXMLParser.h"
#include "core/ReferenceIds.h"
#include "documents/RecordPaths.h"
#include "platform/base/Strings.h"

// Fields of _DEFAULT_REF (counted from 1) that hold the master-step settings.
enum {
    REF_FINAL_PAGE_STYLE = 76,   // 1 to 4
    REF_FINAL_FILTER = 97,       // Hz; 0: no override, the item's filter applies
    REF_FINAL_SENSE = 149,       // float, mm/mV
    REF_FINAL_SENSE_MODE = 150,  // 1 to 4
};

// Entries of the master-step screen layout table (Interpre_msfr) that the
// document reads or writes through.
enum _MSFR_ENTRY {
    MSFR_MEDICATION1_STC = 0,
    MSFR_MEDICATION1_CMB = 1,    // alternative 0 the list selection, 1 the text
    MSFR_MEDICATION2_STC = 2,
    MSFR_MEDICATION2_CMB = 3,
    MSFR_SYMPTOM_STC = 4,
    MSFR_SYMPTOM_CMB = 5,
    MSFR_DISEASE_STC = 6,
    MSFR_DISEASE_CMB = 7,
    MSFR_DEPARTMENT_STC = 8,
    MSFR_DEPARTMENT_CMB = 9,
    MSFR_WARD_STC = 10,
    MSFR_WARD_CMB = 11,
    MSFR_REQ_DOCTOR_STC = 12,
    MSFR_REQ_DOCTOR_CMB = 13,
    MSFR_TECHNICIAN_STC = 14,
    MSFR_TECHNICIAN_CMB = 15,
    MSFR_ADDITION_STC = 16,
    MSFR_ADDITION_OTHER = 29,
    MSFR_IVREL_STC = 30,
    MSFR_IVREL_JUDGE_STC = 31,
    MSFR_IVREL_JUDGE_CMB = 32,
    MSFR_COMMENT_STC = 33,
    MSFR_COMMENT_BTN = 34,
    MSFR_COMMENT_EDT = 35,
    MSFR_CONFIRM_DATE_TITLE_STC = 37,
    MSFR_CONFIRM_DOCTOR_TITLE_STC = 39,
};

namespace finalpaths {

using namespace recordpath;

// GetDefXMLPath's kind of the master-step screen table.
const int kFinalLayoutKind = 2;


const wchar_t kCmpRest[] = L"/Rawdata/Tavrion/Report/Cmp_rest";
const wchar_t kCmpRestStmFormat[] = L"/Rawdata/Tavrion/Report/Cmp_rest/Stm/Stm_element[%d]";
const wchar_t kCmpLoad[] = L"/Rawdata/Tavrion/Report/Cmp_load";
const wchar_t kCmpLoadElementFormat[] = L"/Rawdata/Tavrion/Report/Cmp_load/Cmp_load_element[%d]";
const wchar_t kCmpLoadStmFormat[] = L"/Rawdata/Tavrion/Report/Cmp_load/Cmp_load_element[%d]/Stm/Stm_element[%d]";
const wchar_t kSummaryTrend[] = L"/Rawdata/Tavrion/Report/Summary_trend";
const wchar_t kTrendStatusFormat[] = L"/Rawdata/Tavrion/Report/Summary_trend/Status/Status_element[%d]";
const wchar_t kTrendTimeFormat[] = L"/Rawdata/Tavrion/Report/Summary_trend/Trend_time/Trend_time_element[%d]";
const wchar_t kTrendHrFormat[] = L"/Rawdata/Tavrion/Report/Summary_trend/Trend_hr/Trend_hr_element[%d]";
const wchar_t kTrendValueFormat[] = L"/Rawdata/Tavrion/Report/Summary_trend/Trend/Trend_element[%d]/Trend_value[%d]";
const wchar_t kLoadTime[] = L"/Rawdata/Tavrion/Record/Mstep_section/Load_time";
const wchar_t kMasterStepMode[] = L"/Rawdata/Tavrion/Record/Mstep_section/Master_step_mode";
const wchar_t kAcqFilter[] = L"/Rawdata/Tavrion/Record/Extended_section/Acq_filter";

const wchar_t kSettingPageStyle[] = L"/Rawdata/Assist_info/Reference/Setting/Page_style";
const wchar_t kSettingFilter[] = L"/Rawdata/Assist_info/Reference/Setting/Filter";
const wchar_t kSettingSensitivity[] = L"/Rawdata/Assist_info/Reference/Setting/Sensitivity";

}  // namespace finalpaths
