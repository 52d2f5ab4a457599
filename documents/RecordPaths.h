// Record-XML paths that several examination documents read or write: the
// patient section's dates and birthday, the editor blocks, the lead-name
// list, the master-step section and the heart rate.
#pragma once

namespace recordpath {

inline constexpr wchar_t kPatientEditTime[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Edit_time";
inline constexpr wchar_t kBirthday[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Birthday";
inline constexpr wchar_t kPatientAge[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Age";
inline constexpr wchar_t kRoomNumber[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Room_no";
inline constexpr wchar_t kRequestSection[] = L"/Rawdata/Tavrion/Inspection/Patient_section2/Request_section";
inline constexpr wchar_t kPatientEditorName[] =
    L"/Rawdata/Tavrion/Inspection/Voktext_section/Patient_editor/Editor_name";
inline constexpr wchar_t kPatientEditDate[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Patient_editor/Edit_date";
inline constexpr wchar_t kConfirmEditor[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Editor_name";
inline constexpr wchar_t kConfirmDate[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Edit_date";
inline constexpr wchar_t kAnalysisEditor[] =
    L"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Editor_name";
// The analysis editor's date; the older records keep it under Analysis_edit.
inline constexpr wchar_t kAnalysisDate[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Edit_date";
inline constexpr wchar_t kAnalysisEditDate[] = L"/Rawdata/Tavrion/Analysis/Analysis_edit/Edit_date";
inline constexpr wchar_t kCommentEditor[] = L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Editor_name";
inline constexpr wchar_t kCommentDate[] = L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Edit_date";
inline constexpr wchar_t kLeadNameElement[] = L"/Rawdata/Tavrion/Wave/Wave_add_section/Lead_name/Lead_name_element";
inline constexpr wchar_t kHeartRate[] = L"/Rawdata/Tavrion/Measurement/Measurement_section/Heart_rate";
inline constexpr wchar_t kMasterStepInfo[] = L"/Rawdata/Tavrion/Record/Mstep_section/Master_step_info";
inline constexpr wchar_t kTripInfo[] = L"/Rawdata/Tavrion/Record/Mstep_section/Trip_info";

}  // namespace recordpath
