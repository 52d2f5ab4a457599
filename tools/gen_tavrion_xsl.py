#!/usr/bin/env python3
"""Writes the installation's layout stylesheet Tavrion.xsl and the control-name
tables the layout loaders look its elements up with (core/LayoutNames.cpp).

The sixteen forms, their control names in entry order, the captions the forms
show, the visibility tags and the record-XML paths each field is bound to all
live here, so the stylesheet and the loaders cannot drift apart.

    python3 tools/gen_tavrion_xsl.py            # rewrites both files
    python3 tools/gen_tavrion_xsl.py --check    # exit 1 when either is stale

Geometry: screen forms are in design units of the 1024 x 768 design screen,
relative to the form; print forms are in thousandths of the printable area,
one print line being 18.
"""

import os
import sys
from xml.sax.saxutils import escape, quoteattr

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
XSL_PATH = os.path.join(ROOT, "resources", "workdir", "Tavrion.xsl")
CPP_PATH = os.path.join(ROOT, "core", "LayoutNames.cpp")

# ---------------------------------------------------------------------------
# Control names, in entry order. A run "X_N_y" repeats for N = first..last.


def run(patterns, first, last):
    out = []
    for n in range(first, last + 1):
        out += [p.replace("_N_", "_%d_" % n) for p in patterns]
    return out


REQUEST_FULL = [
    "Interpre_medication1_stc", "Interpre_medication1_cmb", "Interpre_medication2_stc", "Interpre_medication2_cmb",
    "Interpre_symptom_stc", "Interpre_symptom_cmb", "Interpre_disease_stc", "Interpre_disease_cmb",
    "Interpre_department_stc", "Interpre_department_cmb", "Interpre_ward_stc ", "Interpre_ward_cmb",
    "Interpre_room_no_stc", "Interpre_room_no_edt", "Interpre_req_section_stc", "Interpre_req_section_cmb",
    "Interpre_req_doctor_stc", "Interpre_req_doctor_cmb", "Interpre_technician_stc", "Interpre_technician_cmb"]
REQUEST_SHORT = [n for n in REQUEST_FULL if "room_no" not in n and "req_section" not in n]
MEASURES = [
    "Interpre_hr_title_stc", "Interpre_hr_stc", "Interpre_pr_int_title_stc", "Interpre_pr_int_stc",
    "Interpre_qrs_int_title_stc", "Interpre_qrs_int_stc", "Interpre_qt_title_stc", "Interpre_qt_stc",
    "Interpre_pqrst_title_stc", "Interpre_pqrst_stc", "Interpre_rv5_sv1_title_stc", "Interpre_rv5_sv1_stc",
    "Interpre_rv5_sv1_plus_title_stc", "Interpre_rv5_sv1_plus_stc"]
INFO_EDITOR = ["Interpre_info_editor_title_stc", "Interpre_info_editor_stc", "Interpre_info_editor_date_stc"]
ADDITIONS_SCREEN = (["Interpre_addition_stc"]
                    + run(["Interpre_addition_title_N_edt", "Interpre_addition_del_N_btn",
                           "Interpre_addition_edit_N_btn", "Interpre_addition_content_N_edt"], 1, 3)
                    + ["Interpre_addition_other"])
ADDITIONS_PRINT = (["Interpre_addition_stc"]
                   + run(["Interpre_addition_title_N_edt", "Interpre_addition_content_N_edt"], 1, 3))
MINNE_SCREEN = (["Interpre_minne_title_stc"]
                + run(["Interpre_minne_num_N_edt", "Interpre_minne_mask_N_stc", "Interpre_minne_del_N_btn",
                       "Interpre_minne_edit_N_btn", "Interpre_minne_content_N_edt"], 1, 8))
IVREL_JUDGE = ["Interpre_ivrel_stc", "Interpre_ivrel_judge_stc", "Interpre_ivrel_judge_cmb"]
IVREL_SCREEN = (IVREL_JUDGE
                + run(["Interpre_ivrel_num_N_edt", "Interpre_ivrel_mask_N_stc", "Interpre_ivrel_del_N_btn",
                       "Interpre_ivrel_edit_N_btn", "Interpre_ivrel_content_N_edt"], 1, 11))
COMMENT_SCREEN = ["Interpre_comment_stc", "Interpre_comment_btn", "Interpre_comment_edt"]
COMMENT_EDITOR = ["Interpre_comment_title_stc", "Interpre_comment_editor_stc", "Interpre_comment_date_stc"]
CONFIRM_SCREEN = ["Interpre_confirmation_stc", "Interpre_confirm_date_title_stc", "Interpre_confirm_date_stc",
                  "Interpre_confirm_doctor_title_stc", "Interpre_confirm_doctor_stc"]
BIRTHDAY = ["Interpre_birthday_stc", "Interpre_year_edt", "Interpre_line_1_stc", "Interpre_month_edt",
            "Interpre_line_2_stc", "Interpre_day_edt"]
PATIENT_PRINT_HEAD = [
    "Patient_id_stc", "Patient_id_edt", "Patient_name_stc", "Patient_name_edt", "Patient_sex_stc", "Patient_sex_cmb",
    "Patient_age_birthday_stc", "Patient_age_birthday_edt", "Patient_height_edt", "Patient_height_stc",
    "Patient_weight_edt", "Patient_weight_stc", "Patient_bpl_edt", "Patient_bp1_stc", "Patient_bph_edt",
    "Patient_bp2_stc"]
SUB_KANA = ["Patient_sub_id_stc", "Patient_sub_id_edt", "Patient_kana_name_stc", "Patient_kana_name_edt"]
REQUEST_PRINT = ["Interpre_medication_stc", "Interpre_medication1_cmb", "Interpre_medication2_cmb"] + REQUEST_FULL[4:]
REQUEST_PRINT_SHORT = ["Interpre_medication_stc", "Interpre_medication1_cmb", "Interpre_medication2_cmb"] + \
    REQUEST_FULL[4:12]
EXER_LOAD = [
    "Interpre_load_stc", "Interpre_load_edt", "Interpre_load_time_stc", "Interpre_load_time_content_stc",
    "Interpre_stop_condition_stc", "Interpre_stop_condition_cmb", "Interpre_max_beat_stc", "Interpre_max_beat_edt",
    "Interpre_max_beat_unit_stc", "Interpre_max_beat_mhr_stc", "Interpre_target_beat_stc", "Interpre_target_beat_edt",
    "Interpre_target_beat_unit_stc", "Interpre_target_beat_mhr_stc", "Interpre_st_measure_point_stc",
    "Interpre_st_level_stc", "Interpre_st_level_content_stc", "Interpre_st_slope_stc", "Interpre_st_slope_content_stc"]

TABLES = [
    # (template name, print, names, C++ identifier)
    ("Patient_info", False, [
        "Patient_id_stc", "Patient_id_edt", "Patient_name_stc", "Patient_name_edt", "Patient_sub_id_stc",
        "Patient_sub_id_edt", "Patient_kana_name_stc", "Patient_kana_name_edt", "Patient_sex_stc", "Patient_sex_cmb",
        "Patient_age_stc", "Patient_age_edt", "Patient_age_unit_cmb", "Patient_sub_age_edt",
        "Patient_sub_age_unit_stc", "Patient_height_stc", "Patient_height_edt", "Patient_weight_stc",
        "Patient_weight_edt", "Patient_bp1_stc", "Patient_bph_edt", "Patient_bp2_stc", "Patient_bpl_edt",
        "Patient_Acqtime_title_stc", "Patient_Acqtime_stc", "Patient_confirmation_stc",
        "Patient_confirm_date_title_stc", "Patient_confirm_date_stc", "Patient_confirm_doctor_title_stc",
        "Patient_confirm_doctor_stc"], "PatInfo"),
    ("Interpre_rest", False,
     REQUEST_FULL + MEASURES + INFO_EDITOR + ADDITIONS_SCREEN + MINNE_SCREEN + IVREL_SCREEN
     + ["Interpre_recommend_title_stc", "Interpre_recommend_stc", "Interpre_ana_title_stc",
        "Interpre_ana_editor_stc", "Interpre_ana_date_stc"]
     + COMMENT_SCREEN + COMMENT_EDITOR + CONFIRM_SCREEN, "Rest"),
    ("Interpre_usa_rest", False,
     REQUEST_SHORT + MEASURES
     + ["Interpre_trip_count_stc", "Interpre_trip_count1_edt", "Interpre_trip_line_stc", "Interpre_trip_count2_edt"]
     + ADDITIONS_SCREEN + MINNE_SCREEN + IVREL_SCREEN
     + ["Interpre_recommend_title_stc", "Interpre_recommend_stc"] + CONFIRM_SCREEN + COMMENT_SCREEN, "UsaRest"),
    ("Interpre_rhythm", False,
     BIRTHDAY + REQUEST_FULL + INFO_EDITOR + ADDITIONS_SCREEN + COMMENT_SCREEN + COMMENT_EDITOR + CONFIRM_SCREEN,
     "Rhythm"),
    ("Interpre_rr", False,
     BIRTHDAY + REQUEST_FULL + INFO_EDITOR + ADDITIONS_SCREEN + COMMENT_SCREEN + COMMENT_EDITOR + CONFIRM_SCREEN,
     "RR"),
    ("Interpre_msfr", False,
     REQUEST_SHORT + ADDITIONS_SCREEN + IVREL_JUDGE + COMMENT_SCREEN + CONFIRM_SCREEN, "Final"),
    ("Interpre_extra", False,
     REQUEST_FULL + INFO_EDITOR + ADDITIONS_SCREEN + COMMENT_SCREEN + COMMENT_EDITOR + CONFIRM_SCREEN
     + ["Interpre_hr_title_stc", "Interpre_hr_stc", "Interpre_edit_lead_name_title_stc",
        "Interpre_edit_lead_name_stc", "Interpre_edit_lead_name_date_stc"], "Extra"),
    ("Interpre_exer", False,
     REQUEST_SHORT + EXER_LOAD + IVREL_JUDGE + COMMENT_SCREEN + CONFIRM_SCREEN, "Exer"),
    ("Patient_info_print", True, [
        "Patient_id_stc", "Patient_id_edt", "Patient_sex_stc", "Patient_sex_cmb", "Patient_height_edt",
        "Patient_height_stc", "Patient_weight_edt", "Patient_weight_stc", "Patient_name_stc", "Patient_name_edt",
        "Patient_age_birthday_stc", "Patient_age_birthday_edt", "Patient_bpl_edt", "Patient_bp1_stc",
        "Patient_bph_edt", "Patient_bp2_stc"], "PatInfoPrint"),
    ("Interpre_rest_print", True,
     PATIENT_PRINT_HEAD + SUB_KANA + REQUEST_PRINT + MEASURES + ADDITIONS_PRINT
     + ["Interpre_minne_title_stc"] + run(["Interpre_minne_num_N_edt", "Interpre_minne_content_N_edt"], 1, 5)
     + ["Interpre_minne_other_stc", "Interpre_minne_other_edt"] + IVREL_JUDGE
     + run(["Interpre_ivrel_num_N_edt", "Interpre_ivrel_content_N_edt"], 1, 7)
     + ["Interpre_ivrel_other_stc", "Interpre_ivrel_other_edt", "Interpre_recommend_title_stc",
        "Interpre_recommend_stc", "Interpre_comment_stc", "Interpre_comment_edt", "Interpre_confirm_stc"],
     "RestPrint"),
    ("Interpre_usa_rest_print", True,
     PATIENT_PRINT_HEAD + REQUEST_PRINT_SHORT + MEASURES + ADDITIONS_PRINT
     + ["Interpre_minne_title_stc"] + run(["Interpre_minne_num_N_edt", "Interpre_minne_content_N_edt"], 1, 5)
     + ["Interpre_minne_other_stc", "Interpre_minne_other_edt"] + IVREL_JUDGE
     + run(["Interpre_ivrel_num_N_edt", "Interpre_ivrel_content_N_edt"], 1, 6)
     + ["Interpre_ivrel_other_stc", "Interpre_ivrel_other_edt", "Interpre_recommend_title_stc",
        "Interpre_recommend_stc", "Interpre_comment_stc", "Interpre_comment_edt", "Interpre_confirm_stc"],
     "UsaRestPrint"),
    ("Interpre_rr_print", True,
     SUB_KANA + REQUEST_FULL[12:] + INFO_EDITOR + ADDITIONS_PRINT
     + ["Interpre_mt_title_stc", "Interpre_mt_stc", "Interpre_hr_title_stc", "Interpre_hr_stc",
        "Interpre_tb_title_stc", "Interpre_tb_stc", "Interpre_comment_stc", "Interpre_comment_edt"]
     + COMMENT_EDITOR
     + ["Patient_confirm_date_title_stc", "Patient_confirm_date_stc", "Patient_confirm_doctor_title_stc",
        "Patient_confirm_doctor_stc", "Interpre_cv_title_stc", "Interpre_cv_stc", "Interpre_maxd_title_stc",
        "Interpre_maxd_stc", "Interpre_sd_title_stc", "Interpre_sd_stc", "Interpre_mind_title_stc",
        "Interpre_mind_stc", "Interpre_meand_title_stc", "Interpre_meand_stc", "Interpre_maxmin_titile_stc",
        "Interpre_maxmin_stc", "Interpre_result_table", "Interpre_histogram", "Interpre_trend"], "RRPrint"),
    ("Interpre_rhy_print", True,
     SUB_KANA + REQUEST_FULL + INFO_EDITOR + ADDITIONS_PRINT
     + ["Interpre_comment_stc", "Interpre_comment_edt"] + COMMENT_EDITOR + ["Interpre_confirm_stc"],
     "RhythmPrint"),
    ("Interpre_final_print", True,
     ["Patient_id_stc", "Patient_id_edt", "Patient_name_stc", "Patient_name_edt", "Patient_sex_stc",
      "Patient_sex_cmb", "Patient_age_stc", "Patient_age_edt", "Patient_height_stc", "Patient_height_edt",
      "Patient_weight_stc", "Patient_weight_edt", "Patient_bp_stc", "Patient_bph_edt", "Patient_bp1_stc",
      "Patient_bpl_edt", "Patient_bp2_stc"]
     + REQUEST_SHORT[:12] + ["Interpre_req_doctor_stc", "Interpre_req_doctor_cmb", "Patient_Acqtime_title_stc",
                             "Patient_Acqtime_stc", "Interpre_technician_stc", "Interpre_technician_cmb",
                             "Interpre_confirm_stc", "Interpre_max_st_stc"]
     + ADDITIONS_PRINT
     + ["Interpre_ivrel_stc", "Interpre_ivrel_judge_stc", "Interpre_ivrel_judge_cmb", "Interpre_comment_stc",
        "Interpre_comment_edt", "Interpre_req_doctor_stc_2", "Interpre_req_doctor_cmb_2",
        "Interpre_technician_stc_2", "Interpre_technician_cmb_2", "Interpre_ward_stc_2", "Interpre_ward_cmb_2",
        "Interpre_department_stc_2", "Interpre_department_cmb_2", "Interpre_hos_stc", "Interpre_hos_edt"],
     "FinalPrint"),
    ("Interpre_extra_print", True,
     PATIENT_PRINT_HEAD + SUB_KANA + REQUEST_PRINT + INFO_EDITOR
     + ["Interpre_edit_lead_name_title_stc", "Interpre_edit_lead_name_stc", "Interpre_edit_lead_name_date_stc",
        "Interpre_hr_title_stc", "Interpre_hr_stc"]
     + ADDITIONS_PRINT + ["Interpre_comment_stc", "Interpre_comment_edt"] + COMMENT_EDITOR
     + ["Interpre_confirm_stc"], "ExtraPrint"),
    ("Interpre_exer_print", True,
     ["Patient_id_stc", "Patient_id_edt", "Patient_name_stc", "Patient_name_edt", "Patient_sex_stc",
      "Patient_sex_cmb", "Patient_age_stc", "Patient_age_edt", "Patient_height_stc", "Patient_height_edt",
      "Patient_height_unt", "Patient_weight_stc", "Patient_weight_edt", "Patient_weight_unt", "Patient_race_stc",
      "Patient_race_edt", "Patient_bp_stc", "Patient_bph_edt", "Patient_bp1_stc", "Patient_bpl_edt",
      "Patient_bp2_stc", "Patient_Acqtime_title_stc", "Patient_Acqtime_stc", "Interpre_technician_stc",
      "Interpre_technician_cmb"]
     + REQUEST_SHORT[:12] + ["Interpre_req_doctor_stc", "Interpre_req_doctor_cmb",
                             "Patient_confirm_date_title_stc", "Patient_confirm_date_stc",
                             "Patient_confirm_doctor_title_stc", "Patient_confirm_doctor_stc"]
     + EXER_LOAD + ["Interpre_vo2max_stc", "Interpre_vo2max_content_stc", "Interpre_pwc_stc",
                    "Interpre_pwc_content_stc"], "ExerPrint"),
]

EXPECTED_COUNTS = {
    "Patient_info": 30, "Interpre_rest": 166, "Interpre_usa_rest": 157, "Interpre_rhythm": 54, "Interpre_rr": 54,
    "Interpre_msfr": 41, "Interpre_extra": 53, "Interpre_exer": 46, "Patient_info_print": 16,
    "Interpre_rest_print": 97, "Interpre_usa_rest_print": 83, "Interpre_rr_print": 52, "Interpre_rhy_print": 40,
    "Interpre_final_print": 59, "Interpre_extra_print": 60, "Interpre_exer_print": 66}

# ---------------------------------------------------------------------------
# Record-XML paths bound to the fields: the same paths the savers write.

PS = "/Rawdata/Tavrion/Inspection/Patient_section"
PS2 = "/Rawdata/Tavrion/Inspection/Patient_section2"
VOK = "/Rawdata/Tavrion/Inspection/Voktext_section"
MEAS = "/Rawdata/Tavrion/Measurement/Measurement_section"
ADD = "/Rawdata/Tavrion/Addition/Patient_add_section"
ANA = "/Rawdata/Tavrion/Analysis/Analysis_section"
COMMENT = "/Rawdata/Tavrion/Comment/Voktext_section"
EXER = "/Rawdata/Tavrion/Report/Exercise_section"
RRT = "/Rawdata/Tavrion/Report/Rr_total"
TRIP = "/Rawdata/Tavrion/Record/Mstep_section/Trip_info"


def minnesota(n):
    return "%s/Minnesotas/Minnesota[@number='%d']" % (ANA, n)


def ivrel(n):
    return "%s/Ivreles/Ivrel[@number='%d']" % (ANA, n)


def medication(n):
    # alternative 0: the pick-list index, alternative 1: the text
    node = "%s/Medications/Medication[@number='%d']" % (PS, n)
    return [node + "/@index", node]


BINDINGS = {
    "Patient_id_edt": [PS + "/Patient_id"],
    "Patient_name_edt": [PS + "/Patient_name"],
    "Patient_sub_id_edt": [PS2 + "/Sub_id"],
    "Patient_kana_name_edt": [PS + "/Patient_kana_name"],
    "Patient_sex_cmb": [PS + "/Sex/@value"],
    "Patient_age_edt": [PS + "/Age"],
    "Patient_age_birthday_edt": [PS + "/Age", PS + "/Birthday"],
    "Patient_height_edt": [PS + "/Height_weight/Height", PS + "/Height_weight/Sub_height"],
    "Patient_weight_edt": [PS + "/Height_weight/Weight", PS + "/Height_weight/Sub_weight"],
    "Patient_height_unt": [PS + "/Height_weight/Height_unit"],
    "Patient_weight_unt": [PS + "/Height_weight/Weight_unit"],
    "Patient_bph_edt": [PS + "/Bp/Bp_sys"],
    "Patient_bpl_edt": [PS + "/Bp/Bp_dia"],
    "Patient_race_edt": [PS + "/Race"],
    "Patient_Acqtime_stc": [PS + "/Acquition_date"],
    # The confirmation date comes from alternative 2 (doctor from alternative
    # 0) or 4, else 1 (doctor from alternative 1); all six are the edit stamps
    # a confirmation is compared with.
    "Patient_confirm_date_stc": [PS + "/Edit_time", "/Rawdata/Tavrion/Analysis/Analysis_edit/Edit_date",
                                 VOK + "/Confirm_editor/Edit_date", COMMENT + "/Comment_editor/Edit_date",
                                 VOK + "/Analysis_editor/Edit_date", ADD + "/Addition_editor/Edit_date"],
    "Patient_confirm_doctor_stc": [VOK + "/Confirm_editor/Editor_name", PS + "/Doctor"],
    "Interpre_year_edt": [PS + "/Birthday/@year"],
    "Interpre_month_edt": [PS + "/Birthday/@month"],
    "Interpre_day_edt": [PS + "/Birthday/@day"],
    "Interpre_medication1_cmb": medication(1),
    "Interpre_medication2_cmb": medication(2),
    "Interpre_symptom_cmb": [PS + "/Symptom"],
    "Interpre_disease_cmb": [PS + "/Disease"],
    "Interpre_department_cmb": [PS + "/Department"],
    "Interpre_ward_cmb": [PS + "/Ward"],
    "Interpre_room_no_edt": [PS + "/Room_no"],
    "Interpre_req_section_cmb": [PS2 + "/Request_section"],
    "Interpre_req_doctor_cmb": [PS + "/Request_doctor"],
    "Interpre_technician_cmb": [PS + "/Technician"],
    "Interpre_department_cmb_2": [PS + "/Department"],
    "Interpre_ward_cmb_2": [PS + "/Ward"],
    "Interpre_req_doctor_cmb_2": [PS + "/Request_doctor"],
    "Interpre_technician_cmb_2": [PS + "/Technician"],
    "Interpre_hos_edt": [PS + "/Hosp_name"],
    "Interpre_info_editor_stc": [VOK + "/Patient_editor/Editor_name"],
    "Interpre_info_editor_date_stc": [VOK + "/Patient_editor/Edit_date"],
    "Interpre_hr_stc": [MEAS + "/Heart_rate"],
    "Interpre_pr_int_stc": [MEAS + "/Pr_int"],
    "Interpre_qrs_int_stc": [MEAS + "/Qrs_dur"],
    "Interpre_qt_stc": [MEAS + "/Qt_int", MEAS + "/Qtc_int"],
    "Interpre_pqrst_stc": [MEAS + "/P_axis", MEAS + "/Qrs_axis", MEAS + "/T_axis"],
    "Interpre_rv5_sv1_stc": [MEAS + "/Rv5", MEAS + "/Sv1"],
    "Interpre_rv5_sv1_plus_stc": [MEAS + "/Rv5", MEAS + "/Sv1"],
    "Interpre_trip_count1_edt": [TRIP + "/@trip"],
    "Interpre_trip_count2_edt": [TRIP + "/@total"],
    "Interpre_ivrel_judge_stc": [ANA + "/Judgement/@value"],
    "Interpre_ivrel_judge_cmb": [ANA + "/Judgement"],
    "Interpre_recommend_stc": [ANA + "/Recommendation"],
    "Interpre_ana_editor_stc": [VOK + "/Analysis_editor/Editor_name"],
    "Interpre_ana_date_stc": [VOK + "/Analysis_editor/Edit_date", "/Rawdata/Tavrion/Analysis/Analysis_edit/Edit_date"],
    "Interpre_comment_edt": [COMMENT + "/Comment_content"],
    "Interpre_comment_editor_stc": [COMMENT + "/Comment_editor/Editor_name"],
    "Interpre_comment_date_stc": [COMMENT + "/Comment_editor/Edit_date"],
    "Interpre_confirm_date_stc": [VOK + "/Confirm_editor/Edit_date"],
    "Interpre_confirm_doctor_stc": [VOK + "/Confirm_editor/Editor_name"],
    "Interpre_edit_lead_name_stc": [VOK + "/Analysis_editor/Editor_name"],
    "Interpre_edit_lead_name_date_stc": [VOK + "/Analysis_editor/Edit_date"],
    "Interpre_load_edt": [EXER + "/Load/Protocol"],
    # alternative 0 carries the load time as minute and second attributes,
    # alternative 1 the METs at the end of load in tenths
    "Interpre_load_time_content_stc": [EXER + "/Load/Load_time", EXER + "/Load/End_mets"],
    "Interpre_stop_condition_cmb": [EXER + "/Load/Stop_condition"],
    "Interpre_max_beat_edt": [EXER + "/Hr/Max_hr"],
    "Interpre_target_beat_edt": [EXER + "/Hr/Target_hr"],
    "Interpre_st_level_content_stc": [EXER + "/Test_point/St_level_point"],
    "Interpre_st_slope_content_stc": [EXER + "/Test_point/St_slope_point"],
    "Interpre_vo2max_content_stc": [EXER + "/Vo2_max"],
    "Interpre_mt_stc": [RRT + "/Measure_time"],
    "Interpre_tb_stc": [RRT + "/Total_beat"],
    "Interpre_cv_stc": [RRT + "/Cv"],
    "Interpre_maxd_stc": [RRT + "/Max_duration"],
    "Interpre_sd_stc": [RRT + "/Sd"],
    "Interpre_mind_stc": [RRT + "/Min_duration"],
    "Interpre_meand_stc": [RRT + "/Mean_duration"],
    "Interpre_maxmin_stc": [RRT + "/Max_min_duration"],
}
for _n in range(1, 4):
    BINDINGS["Interpre_addition_title_%d_edt" % _n] = ["%s/Addition_content[@number='%d']/@title" % (ADD, _n)]
    BINDINGS["Interpre_addition_content_%d_edt" % _n] = ["%s/Addition_content[@number='%d']" % (ADD, _n)]
# A code row: the code (alternative 0) and its marker (alternative 1), the
# attributes "title" and "mask" of the row's element; its text is the statement.
for _n in range(1, 9):
    BINDINGS["Interpre_minne_num_%d_edt" % _n] = [minnesota(_n) + "/@title", minnesota(_n) + "/@mask"]
    BINDINGS["Interpre_minne_mask_%d_stc" % _n] = [minnesota(_n) + "/@mask"]
    BINDINGS["Interpre_minne_content_%d_edt" % _n] = [minnesota(_n)]
for _n in range(1, 12):
    BINDINGS["Interpre_ivrel_num_%d_edt" % _n] = [ivrel(_n) + "/@title", ivrel(_n) + "/@mask"]
    BINDINGS["Interpre_ivrel_mask_%d_stc" % _n] = [ivrel(_n) + "/@mask"]
    BINDINGS["Interpre_ivrel_content_%d_edt" % _n] = [ivrel(_n)]

# Unit labels: "1" selects inches, pounds and kPa.
UNIT_BINDINGS = {
    "Patient_height_stc": [PS + "/Height_weight/Height_unit"],
    "Patient_weight_stc": [PS + "/Height_weight/Weight_unit"],
    "Patient_bp2_stc": [PS + "/Bp/Bp_unit"],
}

# Per-table exceptions: where a name means something else in one form.
TABLE_BINDINGS = {
    # the RR report prints the totals of the whole recording
    "Interpre_rr_print": {"Interpre_hr_stc": [RRT + "/Heart_rate"],
                          "Patient_confirm_date_stc": [VOK + "/Confirm_editor/Edit_date"]},
    "Interpre_exer_print": {"Patient_confirm_date_stc": [VOK + "/Confirm_editor/Edit_date"]},
    # the extra-lead block prints a row's first path as it stands: the
    # medication's name, not its pick-list index
    "Interpre_extra_print": {"Interpre_medication1_cmb": medication(1)[::-1],
                             "Interpre_medication2_cmb": medication(2)[::-1]},
}
# Forms where the height and weight labels are captions, not unit labels.
CAPTION_UNIT_TABLES = {"Interpre_final_print", "Interpre_exer_print"}


def bindings_for(table, name):
    name = name.strip()
    special = TABLE_BINDINGS.get(table, {})
    if name in special:
        return special[name]
    if name in UNIT_BINDINGS:
        return [] if table in CAPTION_UNIT_TABLES else UNIT_BINDINGS[name]
    return BINDINGS.get(name, [])


# ---------------------------------------------------------------------------
# Captions, as the forms show them.

CAPTIONS = {
    "Patient_id_stc": "ID",
    "Patient_name_stc": "氏名",
    "Patient_sub_id_stc": "サブＩＤ",
    "Patient_kana_name_stc": "カナ氏名",
    "Patient_sex_stc": "性別",
    "Patient_age_stc": "年齢",
    "Patient_age_birthday_stc": "年齢",
    "Patient_height_stc": "cm",
    "Patient_weight_stc": "kg",
    "Patient_height_unt": "cm",
    "Patient_weight_unt": "kg",
    "Patient_bp_stc": "血圧",
    "Patient_bp1_stc": "/",
    "Patient_bp2_stc": "mmHg",
    "Patient_race_stc": "人種",
    "Patient_Acqtime_title_stc": "検査日時",
    "Patient_confirm_date_title_stc": "判読日時",
    "Patient_confirm_doctor_title_stc": "判読医師",
    "Interpre_birthday_stc": "生年月日",
    "Interpre_line_1_stc": "/",
    "Interpre_line_2_stc": "/",
    "Interpre_medication_stc": "投薬情報",
    "Interpre_medication1_stc": "投薬情報1",
    "Interpre_medication2_stc": "投薬情報2",
    "Interpre_symptom_stc": "自覚症状",
    "Interpre_disease_stc": "既往症",
    "Interpre_department_stc": "所属科",
    "Interpre_ward_stc": "病棟",
    "Interpre_room_no_stc": "部屋番号",
    "Interpre_req_section_stc": "依頼科",
    "Interpre_req_doctor_stc": "依頼医師",
    "Interpre_technician_stc": "検査技師",
    "Interpre_department_stc_2": "所属科",
    "Interpre_ward_stc_2": "病棟",
    "Interpre_req_doctor_stc_2": "依頼医師",
    "Interpre_technician_stc_2": "検査技師",
    "Interpre_hos_stc": "施設名",
    "Interpre_info_editor_title_stc": "被検者情報編集",
    "Interpre_hr_title_stc": "心拍数(bpm)",
    "Interpre_pr_int_title_stc": "PR Int(ms)",
    "Interpre_qrs_int_title_stc": "QRS Int(ms)",
    "Interpre_qt_title_stc": "QT/QTc Int(ms)",
    "Interpre_pqrst_title_stc": "P/QRS/T Axis(deg.)",
    "Interpre_rv5_sv1_title_stc": "RV5/SV1 Value(mV)",
    "Interpre_rv5_sv1_plus_title_stc": "RV5+SV1 Value(mV)",
    "Interpre_trip_count_stc": "トリップ",
    "Interpre_trip_line_stc": "/",
    "Interpre_addition_stc": "付帯情報",
    "Interpre_addition_other": "......",
    "Interpre_minne_title_stc": "ﾐﾈｿﾀｺｰﾄﾞ",
    "Interpre_minne_other_stc": "その他",
    "Interpre_ivrel_stc": "IVRELｺｰﾄﾞ",
    "Interpre_ivrel_other_stc": "その他",
    "Interpre_recommend_title_stc": "ﾘｺﾒﾝﾃﾞｰｼｮﾝ",
    "Interpre_ana_title_stc": "解析情報編集",
    "Interpre_comment_stc": "コメント",
    "Interpre_comment_btn": "定型文入力",
    "Interpre_comment_title_stc": "コメント編集",
    "Interpre_confirm_date_title_stc": "判読日時",
    "Interpre_confirm_doctor_title_stc": "判読医師",
    "Interpre_edit_lead_name_title_stc": "誘導名称編集",
    "Interpre_load_stc": "ﾌﾟﾛﾄｺﾙ",
    "Interpre_load_time_stc": "負荷時間",
    "Interpre_stop_condition_stc": "終了条件",
    "Interpre_max_beat_stc": "最大心拍数",
    "Interpre_max_beat_unit_stc": "bpm",
    "Interpre_target_beat_stc": "目標心拍数",
    "Interpre_target_beat_unit_stc": "bpm",
    "Interpre_st_measure_point_stc": "ST 計測点",
    "Interpre_st_level_stc": "ST Level",
    "Interpre_st_slope_stc": "ST Slope",
    "Interpre_vo2max_stc": "VO2max",
    "Interpre_pwc_stc": "PWC",
    "Interpre_max_st_stc": "最大ST変化",
    "Interpre_mt_title_stc": "解析時間",
    "Interpre_tb_title_stc": "総心拍数",
    "Interpre_cv_title_stc": "CV(%)",
    "Interpre_maxd_title_stc": "最大RR(ms)",
    "Interpre_sd_title_stc": "SD(ms)",
    "Interpre_mind_title_stc": "最小RR(ms)",
    "Interpre_meand_title_stc": "平均RR(ms)",
    "Interpre_maxmin_titile_stc": "最大/最小",
}
PRINT_CAPTIONS = {
    "Patient_id_stc": "患者ID",
}
# Print forms whose height and weight labels are captions.
CAPTION_UNIT_CAPTIONS = {"Patient_height_stc": "身長", "Patient_weight_stc": "体重"}


def caption_for(table, name, is_print):
    name = name.strip()
    if bindings_for(table, name):
        return ""
    if table in CAPTION_UNIT_TABLES and name in CAPTION_UNIT_CAPTIONS:
        return CAPTION_UNIT_CAPTIONS[name]
    if is_print and name in PRINT_CAPTIONS:
        return PRINT_CAPTIONS[name]
    return CAPTIONS.get(name, "")


# ---------------------------------------------------------------------------
# Visibility tags. Tag 1 and 2 also rule the patient id and name of the
# printed title line; tag 2 carries the layout suffix.

TAGS = [
    (1, "patient id"), (2, "patient name"), (3, "sub id and kana name"), (4, "room and requesting section"),
    (5, "additions"), (6, "Minnesota codes"), (7, "IVREL codes"), (8, "recommendation"),
    (9, "editor stamps"), (10, "measurements"), (11, "confirmation"),
]
SUFFIX = "様"


def tag_for(name):
    n = name.strip()
    if n.startswith("Patient_id_"):
        return 1
    if n.startswith("Patient_name_"):
        return 2
    if n.startswith("Patient_sub_id_") or n.startswith("Patient_kana_name_"):
        return 3
    if n.startswith("Interpre_room_no_") or n.startswith("Interpre_req_section_"):
        return 4
    if n.startswith("Interpre_addition_"):
        return 5
    if n.startswith("Interpre_minne_"):
        return 6
    if n.startswith("Interpre_ivrel_"):
        return 7
    if n.startswith("Interpre_recommend_"):
        return 8
    if (n.startswith("Interpre_info_editor_") or n.startswith("Interpre_ana_")
            or n.startswith("Interpre_comment_title_") or n.startswith("Interpre_comment_editor_")
            or n.startswith("Interpre_comment_date_") or n.startswith("Interpre_edit_lead_name_")):
        return 9
    if n in MEASURES:
        return 10
    if "confirm" in n:
        return 11
    return 0


def is_editable(name):
    n = name.strip()
    return n.endswith("_edt") or n.endswith("_cmb") or n.endswith("_btn")


# ---------------------------------------------------------------------------
# Geometry.


class Layout:
    """Places controls in rows: each placed control gets (left, top, width,
    height, text height)."""

    def __init__(self, row_height, text_height):
        self.pos = {}
        self.row_height = row_height
        self.text_height = text_height

    def put(self, name, left, top, width, height=None, text_height=None):
        name = name.strip()
        assert name not in self.pos, name
        h = self.row_height if height is None else height
        th = self.text_height if text_height is None else text_height
        self.pos[name] = (left, top, width, h, th)

    def row(self, top, x, items, gap, height=None):
        """items: (name, width) pairs placed left to right."""
        for name, width in items:
            self.put(name, x, top, width, height)
            x += width + gap
        return x


# Screen forms: 20 units a row, 24 between request rows; the code rows of the
# additions, Minnesota and IVREL blocks are as high as their pitch, because
# the rest forms close up unused rows by that height.
S_H, S_PITCH, S_TEXT, S_CODE = 20, 24, 16, 22


def screen_request(lay, names, top, x_label=4, w_label=76, w_value=170):
    """Caption and value pairs, one pair a row."""
    for i in range(0, len(names), 2):
        lay.row(top, x_label, [(names[i], w_label), (names[i + 1], w_value)], 4)
        top += S_PITCH
    return top


def screen_editor(lay, names, top, x=4):
    lay.row(top, x, [(names[0], 110), (names[1], 150), (names[2], 130)], 4)
    return top + S_PITCH


def screen_additions(lay, top, x=4, content_width=360):
    lay.put("Interpre_addition_stc", x, top, 100)
    top += S_PITCH
    for n in range(1, 4):
        lay.row(top, x, [("Interpre_addition_title_%d_edt" % n, 100), ("Interpre_addition_del_%d_btn" % n, 20),
                         ("Interpre_addition_edit_%d_btn" % n, 20),
                         ("Interpre_addition_content_%d_edt" % n, content_width)], 4, S_CODE)
        top += S_CODE
    lay.put("Interpre_addition_other", x, top, 60)
    return top + S_PITCH


def screen_code_rows(lay, kind, count, top, x=4, content_width=382):
    for n in range(1, count + 1):
        lay.row(top, x, [("Interpre_%s_num_%d_edt" % (kind, n), 60), ("Interpre_%s_mask_%d_stc" % (kind, n), 14),
                         ("Interpre_%s_del_%d_btn" % (kind, n), 20), ("Interpre_%s_edit_%d_btn" % (kind, n), 20),
                         ("Interpre_%s_content_%d_edt" % (kind, n), content_width)], 4, S_CODE)
        top += S_CODE
    return top


def screen_ivrel_judge(lay, top, x=4, width=200):
    lay.row(top, x, [("Interpre_ivrel_stc", 100), ("Interpre_ivrel_judge_stc", 40),
                     ("Interpre_ivrel_judge_cmb", width)], 4)
    return top + S_PITCH


def screen_comment(lay, top, x=4, width=512, lines=4):
    lay.row(top, x, [("Interpre_comment_stc", 100), ("Interpre_comment_btn", 80)], 4)
    top += S_PITCH
    lay.put("Interpre_comment_edt", x, top, width, lines * 18)
    return top + lines * 18 + 4


def screen_confirm(lay, top, x=4, width=512):
    lay.put("Interpre_confirmation_stc", x, top, width)
    top += S_PITCH
    lay.row(top, x, [("Interpre_confirm_date_title_stc", 80), ("Interpre_confirm_date_stc", 130),
                     ("Interpre_confirm_doctor_title_stc", 80), ("Interpre_confirm_doctor_stc", 150)], 4)
    return top + S_PITCH


def layout_patient_info():
    # The strip runs across the 1020-unit page, 50 units high, in two lines.
    # The confirmation text and the confirmation stamps share one place: a
    # record shows one or the other.
    lay = Layout(S_H, S_TEXT)
    y1, y2 = 3, 27
    lay.row(y1, 4, [("Patient_id_stc", 40), ("Patient_id_edt", 120), ("Patient_name_stc", 40),
                    ("Patient_name_edt", 150), ("Patient_sex_stc", 40), ("Patient_sex_cmb", 50),
                    ("Patient_age_stc", 40), ("Patient_age_edt", 36), ("Patient_age_unit_cmb", 50),
                    ("Patient_sub_age_edt", 30), ("Patient_sub_age_unit_stc", 40)], 4)
    lay.row(y2, 4, [("Patient_sub_id_stc", 60), ("Patient_sub_id_edt", 100), ("Patient_kana_name_stc", 60),
                    ("Patient_kana_name_edt", 130), ("Patient_height_edt", 44), ("Patient_height_stc", 24),
                    ("Patient_weight_edt", 44), ("Patient_weight_stc", 24), ("Patient_bph_edt", 36),
                    ("Patient_bp1_stc", 8), ("Patient_bpl_edt", 36), ("Patient_bp2_stc", 40)], 4)
    lay.put("Patient_confirmation_stc", 690, y1, 326)
    lay.row(y1, 690, [("Patient_confirm_date_title_stc", 60), ("Patient_confirm_date_stc", 120),
                      ("Patient_confirm_doctor_title_stc", 50), ("Patient_confirm_doctor_stc", 84)], 4)
    lay.row(y2, 690, [("Patient_Acqtime_title_stc", 60), ("Patient_Acqtime_stc", 130)], 4)
    return lay


def layout_rest():
    # Two columns: the request data on the left, the measurements beside it;
    # then one column for everything below.
    lay = Layout(S_H, S_TEXT)
    bottom = screen_request(lay, REQUEST_FULL, 4)
    top = 4
    for i in range(0, len(MEASURES), 2):
        lay.row(top, 270, [(MEASURES[i], 130), (MEASURES[i + 1], 110)], 4)
        top += S_PITCH
    top = screen_editor(lay, INFO_EDITOR, bottom)
    top = screen_additions(lay, top)
    lay.put("Interpre_minne_title_stc", 4, top, 100)
    top = screen_code_rows(lay, "minne", 8, top + S_PITCH)
    top = screen_ivrel_judge(lay, top + 2)
    top = screen_code_rows(lay, "ivrel", 11, top)
    lay.row(top + 2, 4, [("Interpre_recommend_title_stc", 100), ("Interpre_recommend_stc", 408)], 4)
    top += 2 + S_PITCH
    top = screen_editor(lay, ["Interpre_ana_title_stc", "Interpre_ana_editor_stc", "Interpre_ana_date_stc"], top)
    top = screen_comment(lay, top)
    top = screen_editor(lay, COMMENT_EDITOR, top)
    screen_confirm(lay, top)
    return lay


def layout_usa_rest():
    # Landscape: three columns of 330 units.
    lay = Layout(S_H, S_TEXT)
    top = screen_request(lay, REQUEST_SHORT, 4)
    lay.row(top, 4, [("Interpre_trip_count_stc", 76), ("Interpre_trip_count1_edt", 50),
                     ("Interpre_trip_line_stc", 10), ("Interpre_trip_count2_edt", 50)], 4)
    top += S_PITCH
    top = screen_comment(lay, top + 4, width=320)
    screen_confirm(lay, top, width=320)
    top = 4
    for i in range(0, len(MEASURES), 2):
        lay.row(top, 340, [(MEASURES[i], 140), (MEASURES[i + 1], 170)], 4)
        top += S_PITCH
    top = screen_additions(lay, top + 4, x=340, content_width=160)
    lay.row(top, 340, [("Interpre_recommend_title_stc", 100), ("Interpre_recommend_stc", 210)], 4)
    lay.put("Interpre_minne_title_stc", 680, 4, 100)
    top = screen_code_rows(lay, "minne", 8, 4 + S_PITCH, x=680, content_width=206)
    top = screen_ivrel_judge(lay, top + 2, x=680, width=180)
    screen_code_rows(lay, "ivrel", 11, top, x=680, content_width=206)
    return lay


def layout_rhythm_rr():
    lay = Layout(S_H, S_TEXT)
    lay.row(4, 4, [("Interpre_birthday_stc", 76), ("Interpre_year_edt", 44), ("Interpre_line_1_stc", 8),
                   ("Interpre_month_edt", 28), ("Interpre_line_2_stc", 8), ("Interpre_day_edt", 28)], 4)
    top = screen_request(lay, REQUEST_FULL, 4 + S_PITCH)
    top = screen_editor(lay, INFO_EDITOR, top)
    top = screen_additions(lay, top, content_width=220)
    top = screen_comment(lay, top, width=372)
    top = screen_editor(lay, COMMENT_EDITOR, top)
    screen_confirm(lay, top, width=372)
    return lay


def layout_msfr():
    lay = Layout(S_H, S_TEXT)
    top = screen_request(lay, REQUEST_SHORT, 4)
    top = screen_additions(lay, top, content_width=220)
    top = screen_ivrel_judge(lay, top)
    top = screen_comment(lay, top, width=372)
    screen_confirm(lay, top, width=372)
    return lay


def layout_extra():
    lay = Layout(S_H, S_TEXT)
    top = screen_request(lay, REQUEST_FULL, 4)
    lay.row(4, 270, [("Interpre_hr_title_stc", 90), ("Interpre_hr_stc", 60)], 4)
    top = screen_editor(lay, INFO_EDITOR, top)
    top = screen_editor(lay, ["Interpre_edit_lead_name_title_stc", "Interpre_edit_lead_name_stc",
                              "Interpre_edit_lead_name_date_stc"], top)
    top = screen_additions(lay, top, content_width=220)
    top = screen_comment(lay, top, width=372)
    top = screen_editor(lay, COMMENT_EDITOR, top)
    screen_confirm(lay, top, width=372)
    return lay


def layout_exer():
    # Three columns, as the exercise summary pane gives the form a band of
    # about 173 units: the request data, the load data, and the judgement
    # with the comment and the confirmation. Rows are 21 apart so the eight
    # request rows fit the band.
    lay = Layout(S_H, S_TEXT)
    pitch = 21
    for i in range(0, len(REQUEST_SHORT), 2):
        lay.row(3 + pitch * (i // 2), 4, [(REQUEST_SHORT[i], 76), (REQUEST_SHORT[i + 1], 170)], 4)
    x, t = 262, 3
    lay.row(t, x, [("Interpre_load_stc", 76), ("Interpre_load_edt", 150)], 4)
    t += pitch
    lay.row(t, x, [("Interpre_load_time_stc", 76), ("Interpre_load_time_content_stc", 150)], 4)
    t += pitch
    lay.row(t, x, [("Interpre_stop_condition_stc", 76), ("Interpre_stop_condition_cmb", 150)], 4)
    t += pitch
    lay.row(t, x, [("Interpre_max_beat_stc", 76), ("Interpre_max_beat_edt", 40), ("Interpre_max_beat_unit_stc", 30),
                   ("Interpre_max_beat_mhr_stc", 150)], 4)
    t += pitch
    lay.row(t, x, [("Interpre_target_beat_stc", 76), ("Interpre_target_beat_edt", 40),
                   ("Interpre_target_beat_unit_stc", 30), ("Interpre_target_beat_mhr_stc", 150)], 4)
    t += pitch
    lay.row(t, x, [("Interpre_st_measure_point_stc", 76), ("Interpre_st_level_stc", 52),
                   ("Interpre_st_level_content_stc", 56), ("Interpre_st_slope_stc", 52),
                   ("Interpre_st_slope_content_stc", 56)], 4)
    x, t = 590, 3
    lay.row(t, x, [("Interpre_ivrel_stc", 80), ("Interpre_ivrel_judge_stc", 40), ("Interpre_ivrel_judge_cmb", 200)], 4)
    t += pitch
    lay.row(t, x, [("Interpre_comment_stc", 80), ("Interpre_comment_btn", 80)], 4)
    t += pitch
    lay.put("Interpre_comment_edt", x, t, 400, 4 * 18)
    t += 4 * 18 + 3
    lay.put("Interpre_confirmation_stc", x, t, 400)
    t += pitch
    lay.row(t, x, [("Interpre_confirm_date_title_stc", 64), ("Interpre_confirm_date_stc", 120),
                   ("Interpre_confirm_doctor_title_stc", 64), ("Interpre_confirm_doctor_stc", 140)], 4)
    return lay


# Print forms: thousandths; one print line is 18, a text 16 high. A row's
# left and top are thousandths of the printable width and height, its width
# thousandths of the printable height (the blocks cross them, as the patient
# block does): span() turns a stretch across the page into such a width. The
# pages give each interpretation block a rectangle of its own (the left half,
# or a band above the waves), and every row stays inside it: the waves take
# the rest of the page.
P_LINE, P_H, P_TEXT = 18, 16, 16
# Printable width over height of an A4 landscape page with 10 mm margins
# (277 x 190 mm), a little less so that a wrapped text ends before the edge
# on any page of that shape.
P_ASPECT = 277.0 / 190.0 * 0.97
# The blocks' rectangles across and down, in thousandths of the page.
HALF = 490            # the left half, less a gap before the waves
REST_LINES = 27       # 500/1000 of the height on the interpretation page
USA_LINES = 16        # 290/1000 above the US-style page's waves
# Caption and value columns of a half-page block: two pairs a line.
PAIR_X = (0, 200)
VALUE_DX = 60


def span(width):
    return int(width * P_ASPECT)


def print_row(lay, line, items, x=0, gap=6):
    lay.row(line * P_LINE, x, items, gap)


def print_at(lay, line, placed):
    """placed: (name, left, right) with left and right across the page."""
    for name, left, right in placed:
        lay.put(name, left, line * P_LINE, span(right - left))


def print_pair(lay, line, label, value, x=0, right=None, dx=VALUE_DX):
    right = x + PAIR_X[1] - 10 if right is None else right
    print_at(lay, line, [(label, x, x + dx), (value, x + dx, right)])


def print_pair_lines(lay, line, names, x=0):
    """Caption and value pairs, two a line, in the two columns of a half."""
    for i in range(0, len(names), 2):
        k = i // 2
        column = k % 2
        print_pair(lay, line + k // 2, names[i], names[i + 1], x + PAIR_X[column],
                   x + (PAIR_X[1] - 10 if column == 0 else HALF))
    return line + (len(names) // 2 + 1) // 2


def print_patient_lines(lay, line, x=0, second=PAIR_X[1], right=HALF):
    """ID and name, sex and age, then height, weight and blood pressure."""
    print_pair(lay, line, "Patient_id_stc", "Patient_id_edt", x, x + second - 10)
    print_pair(lay, line, "Patient_name_stc", "Patient_name_edt", x + second, right)
    print_pair(lay, line + 1, "Patient_sex_stc", "Patient_sex_cmb", x, x + second - 10)
    print_pair(lay, line + 1, "Patient_age_birthday_stc", "Patient_age_birthday_edt", x + second, right)
    print_row(lay, line + 2, [("Patient_height_edt", 50), ("Patient_height_stc", 30), ("Patient_weight_edt", 50),
                              ("Patient_weight_stc", 30), ("Patient_bph_edt", 40), ("Patient_bp1_stc", 10),
                              ("Patient_bpl_edt", 40), ("Patient_bp2_stc", 50)], x)
    return line + 3


def print_sub_kana(lay, line, x=0):
    return print_pair_lines(lay, line, SUB_KANA, x)


def print_medication(lay, line, x=0):
    # the medication caption heads two values
    print_at(lay, line, [("Interpre_medication_stc", x, x + VALUE_DX),
                         ("Interpre_medication1_cmb", x + VALUE_DX, x + PAIR_X[1] + VALUE_DX - 10),
                         ("Interpre_medication2_cmb", x + PAIR_X[1] + VALUE_DX, x + HALF)])
    return line + 1


def print_measures(lay, line, x=0, per_column=4, columns=(0, 245), value_dx=110, right=HALF):
    """The measurements down two columns (one when per_column holds them all)."""
    for i in range(0, len(MEASURES), 2):
        k = i // 2
        column = columns[k // per_column]
        nxt = columns[k // per_column + 1] if k // per_column + 1 < len(columns) else right
        print_pair(lay, line + k % per_column, MEASURES[i], MEASURES[i + 1], x + column, x + nxt - 10, value_dx)
    return line + min(per_column, len(MEASURES) // 2)


def print_editor(lay, line, names, x=0, right=HALF):
    print_at(lay, line, [(names[0], x, x + 90), (names[1], x + 90, x + 250), (names[2], x + 260, right)])
    return line + 1


def print_additions(lay, line, x=0, right=HALF):
    """Caption, then three title and content lines."""
    print_at(lay, line, [("Interpre_addition_stc", x, x + 120)])
    for n in range(1, 4):
        print_at(lay, line + n, [("Interpre_addition_title_%d_edt" % n, x + 20, x + 120),
                                 ("Interpre_addition_content_%d_edt" % n, x + 130, right)])
    return line + 4


def print_comment(lay, line, lines=3, x=0, right=HALF):
    print_at(lay, line, [("Interpre_comment_stc", x, x + 120)])
    lay.put("Interpre_comment_edt", x + 20, (line + 1) * P_LINE, span(right - x - 20), lines * P_LINE)
    return line + 1 + lines


# The Minnesota and IVREL section is laid out for the lines its print block
# hands out: the block moves each section down by the lines the one before
# really used, so the rows stand where a section of the fewest lines would
# put them (two Minnesota code lines, a judgement line, one statement, one
# comment line) and the table's other code rows lie under the ones that
# print. Additions, Minnesota codes, IVREL statements and comment share
# eight lines; with their six fixed lines the section takes fourteen.
MINNESOTA_LINES = 14


def print_minnesota(lay, line, ivrel_pairs, x=0, right=HALF):
    code, text = x + 20, x + 90
    print_at(lay, line, [("Interpre_minne_title_stc", x, x + 90)])
    for n in range(1, 6):
        print_at(lay, line + n, [("Interpre_minne_num_%d_edt" % n, code, text),
                                 ("Interpre_minne_content_%d_edt" % n, text, right)])
    print_at(lay, line + 2, [("Interpre_minne_other_stc", code, text), ("Interpre_minne_other_edt", text, right)])
    print_at(lay, line + 3, [("Interpre_ivrel_stc", x, x + 90)])
    # the judgement has a line of its own: without one, the statements take it
    print_at(lay, line + 4, [("Interpre_ivrel_judge_stc", code, text), ("Interpre_ivrel_judge_cmb", text, right)])
    for n in range(1, ivrel_pairs + 1):
        print_at(lay, line + 4 + n, [("Interpre_ivrel_num_%d_edt" % n, code, text),
                                     ("Interpre_ivrel_content_%d_edt" % n, text, right)])
    print_at(lay, line + 6, [("Interpre_ivrel_other_stc", code, text), ("Interpre_ivrel_other_edt", text, right)])
    print_at(lay, line + 6, [("Interpre_recommend_title_stc", x, x + 90), ("Interpre_recommend_stc", text, right)])
    print_comment(lay, line + 7, x=x, right=right)
    print_at(lay, line + 9, [("Interpre_confirm_stc", x, right)])
    return line + MINNESOTA_LINES


def layout_pat_info_print():
    lay = Layout(P_H, P_TEXT)
    print_row(lay, 0, [("Patient_id_stc", 50), ("Patient_id_edt", 140), ("Patient_name_stc", 40),
                       ("Patient_name_edt", 200), ("Patient_sex_stc", 40), ("Patient_sex_cmb", 50),
                       ("Patient_age_birthday_stc", 40), ("Patient_age_birthday_edt", 210)])
    print_row(lay, 1, [("Patient_height_edt", 50), ("Patient_height_stc", 30), ("Patient_weight_edt", 50),
                       ("Patient_weight_stc", 30), ("Patient_bph_edt", 40), ("Patient_bp1_stc", 10),
                       ("Patient_bpl_edt", 40), ("Patient_bp2_stc", 50)])
    return lay


def layout_rest_print():
    """The left half of the interpretation page, beside the average beats."""
    lay = Layout(P_H, P_TEXT)
    line = print_patient_lines(lay, 0)
    line = print_sub_kana(lay, line)
    line = print_medication(lay, line)
    line = print_pair_lines(lay, line, REQUEST_FULL[4:])
    line = print_measures(lay, line)
    line = print_additions(lay, line)
    print_minnesota(lay, line - 4, 7)
    assert line - 4 + MINNESOTA_LINES <= REST_LINES
    return lay


def layout_usa_rest_print():
    """A band across the page above the waves: the patient, request and
    measurement lines on the left, the codes and the comment on the right."""
    lay = Layout(P_H, P_TEXT)
    line = print_patient_lines(lay, 0, second=150, right=335)
    print_at(lay, line, [("Interpre_medication_stc", 0, VALUE_DX), ("Interpre_medication1_cmb", VALUE_DX, 140),
                         ("Interpre_medication2_cmb", 150, 335)])
    line += 1
    for i in range(4, 12, 4):
        print_pair(lay, line, REQUEST_SHORT[i], REQUEST_SHORT[i + 1], 0, 140)
        print_pair(lay, line, REQUEST_SHORT[i + 2], REQUEST_SHORT[i + 3], 150, 335, 50)
        line += 1
    line = print_measures(lay, line, per_column=7, columns=(0,), value_dx=115, right=335)
    assert line <= USA_LINES
    x = 350
    print_additions(lay, 0, x, 1000)
    print_minnesota(lay, 0, 6, x, 1000)
    assert MINNESOTA_LINES <= USA_LINES
    return lay


def layout_rr_print():
    """The left half of the RR result page, above the histogram."""
    lay = Layout(P_H, P_TEXT)
    line = print_sub_kana(lay, 0)
    line = print_pair_lines(lay, line, REQUEST_FULL[12:])
    line = print_editor(lay, line, INFO_EDITOR)
    print_additions(lay, line)
    # Rows from here to the confirmation move down by the lines the
    # additions print, up to four.
    print_at(lay, line, [("Interpre_mt_title_stc", 0, 60), ("Interpre_mt_stc", 60, 120),
                         ("Interpre_hr_title_stc", 140, 210), ("Interpre_hr_stc", 210, 250),
                         ("Interpre_tb_title_stc", 270, 320), ("Interpre_tb_stc", 320, 360)])
    line = print_comment(lay, line + 1, lines=7)
    line = print_editor(lay, line, COMMENT_EDITOR)
    print_pair(lay, line, "Patient_confirm_date_title_stc", "Patient_confirm_date_stc", 0, 190)
    print_pair(lay, line, "Patient_confirm_doctor_title_stc", "Patient_confirm_doctor_stc", 200, HALF)
    stats = ["Interpre_cv_title_stc", "Interpre_cv_stc", "Interpre_maxd_title_stc", "Interpre_maxd_stc",
             "Interpre_sd_title_stc", "Interpre_sd_stc", "Interpre_mind_title_stc", "Interpre_mind_stc",
             "Interpre_meand_title_stc", "Interpre_meand_stc", "Interpre_maxmin_titile_stc", "Interpre_maxmin_stc"]
    line = line + 1 + 4
    for i in range(0, len(stats), 2):
        k = i // 2
        print_pair(lay, line + k // 2, stats[i], stats[i + 1], PAIR_X[k % 2], PAIR_X[k % 2] + 190, 90)
    # the block ends where the histogram and the trend begin, 435/1000 down
    assert (line + 3) * P_LINE <= 435
    # The result table, histogram and trend are placed from origins of
    # their own (the table at 300/1000 across and 150/1000 down, the
    # histogram and trend at 515/1000 down, on the left and right halves):
    # these rows are offsets from those origins, not places on the page.
    lay.put("Interpre_result_table", 220, 0, 470, 330)
    lay.put("Interpre_histogram", 0, 0, 480, 440)
    lay.put("Interpre_trend", 10, 0, 480, 440)
    return lay


# The rhythm block's confirmation line moves up 80/1000 for a 12- or 15-lead
# record and down 50/1000 on later parts, and does not follow the additions:
# it stands that far below the lowest place the comment editor line reaches.
RHY_CONFIRM = 450


def layout_rhy_print():
    """The left half of the rhythm comment page, beside the waves."""
    lay = Layout(P_H, P_TEXT)
    line = print_sub_kana(lay, 0)
    line = print_pair_lines(lay, line, REQUEST_FULL)
    line = print_editor(lay, line, INFO_EDITOR)
    print_additions(lay, line)
    line = print_comment(lay, line, lines=7)
    line = print_editor(lay, line, COMMENT_EDITOR)
    assert line * P_LINE + 4 * P_LINE <= RHY_CONFIRM - 80
    lay.put("Interpre_confirm_stc", 0, RHY_CONFIRM, span(HALF))
    return lay


# The forms printed across the whole page (the master-step and exercise
# pages): pairs three a line, additions and comment across the page.
def print_pairs(lay, line, names, x=0, w_label=80, w_value=150, per_line=3):
    for i in range(0, len(names), 2):
        k = i // 2
        print_row(lay, line + k // per_line,
                  [(names[i], w_label), (names[i + 1], w_value)], x + (k % per_line) * (w_label + w_value + 12))
    return line + (len(names) // 2 + per_line - 1) // per_line


def print_additions_across(lay, line):
    print_row(lay, line, [("Interpre_addition_stc", 120)])
    for n in range(1, 4):
        print_row(lay, line + n, [("Interpre_addition_title_%d_edt" % n, 200),
                                  ("Interpre_addition_content_%d_edt" % n, 780)])
    return line + 4


def print_comment_across(lay, line, lines=3):
    print_row(lay, line, [("Interpre_comment_stc", 120)])
    lay.put("Interpre_comment_edt", 20, (line + 1) * P_LINE, 960, lines * P_LINE)
    return line + 1 + lines


def layout_final_print():
    lay = Layout(P_H, P_TEXT)
    print_row(lay, 0, [("Patient_id_stc", 50), ("Patient_id_edt", 140), ("Patient_name_stc", 40),
                       ("Patient_name_edt", 180), ("Patient_sex_stc", 40), ("Patient_sex_cmb", 50),
                       ("Patient_age_stc", 40), ("Patient_age_edt", 80)])
    print_row(lay, 1, [("Patient_height_stc", 40), ("Patient_height_edt", 60), ("Patient_weight_stc", 40),
                       ("Patient_weight_edt", 60), ("Patient_bp_stc", 40), ("Patient_bph_edt", 40),
                       ("Patient_bp1_stc", 10), ("Patient_bpl_edt", 40), ("Patient_bp2_stc", 50),
                       ("Patient_Acqtime_title_stc", 80), ("Patient_Acqtime_stc", 180)])
    print_row(lay, 2, [("Interpre_medication1_stc", 80), ("Interpre_medication1_cmb", 150),
                       ("Interpre_medication2_stc", 80), ("Interpre_medication2_cmb", 150)])
    print_pairs(lay, 3, REQUEST_SHORT[4:12] + ["Interpre_req_doctor_stc", "Interpre_req_doctor_cmb",
                                               "Interpre_technician_stc", "Interpre_technician_cmb"])
    print_row(lay, 5, [("Interpre_confirm_stc", 600), ("Interpre_max_st_stc", 300)])
    line = print_additions_across(lay, 6)
    print_row(lay, line, [("Interpre_ivrel_stc", 160), ("Interpre_ivrel_judge_stc", 60),
                          ("Interpre_ivrel_judge_cmb", 400)])
    line = print_comment_across(lay, line + 1)
    print_pairs(lay, line, ["Interpre_req_doctor_stc_2", "Interpre_req_doctor_cmb_2", "Interpre_technician_stc_2",
                            "Interpre_technician_cmb_2", "Interpre_ward_stc_2", "Interpre_ward_cmb_2",
                            "Interpre_department_stc_2", "Interpre_department_cmb_2", "Interpre_hos_stc",
                            "Interpre_hos_edt"], w_label=80, w_value=104, per_line=5)
    return lay


def layout_extra_print():
    """The left half of the extra-lead comment page, beside the waves."""
    lay = Layout(P_H, P_TEXT)
    line = print_patient_lines(lay, 0)
    line = print_sub_kana(lay, line)
    line = print_medication(lay, line)
    line = print_pair_lines(lay, line, REQUEST_FULL[4:])
    line = print_editor(lay, line, INFO_EDITOR)
    line = print_editor(lay, line, ["Interpre_edit_lead_name_title_stc", "Interpre_edit_lead_name_stc",
                                    "Interpre_edit_lead_name_date_stc"])
    print_pair(lay, line, "Interpre_hr_title_stc", "Interpre_hr_stc", 0, 190, 110)
    line = print_additions(lay, line + 1) - 4
    line = print_comment(lay, line, lines=7)
    line = print_editor(lay, line, COMMENT_EDITOR)
    print_at(lay, line, [("Interpre_confirm_stc", 0, HALF)])
    return lay


def layout_exer_print():
    lay = Layout(P_H, P_TEXT)
    print_row(lay, 0, [("Patient_id_stc", 50), ("Patient_id_edt", 140), ("Patient_name_stc", 40),
                       ("Patient_name_edt", 180), ("Patient_sex_stc", 40), ("Patient_sex_cmb", 50),
                       ("Patient_age_stc", 40), ("Patient_age_edt", 80), ("Patient_race_stc", 40),
                       ("Patient_race_edt", 100)])
    print_row(lay, 1, [("Patient_height_stc", 40), ("Patient_height_edt", 50), ("Patient_height_unt", 30),
                       ("Patient_weight_stc", 40), ("Patient_weight_edt", 50), ("Patient_weight_unt", 30),
                       ("Patient_bp_stc", 40), ("Patient_bph_edt", 40), ("Patient_bp1_stc", 10),
                       ("Patient_bpl_edt", 40), ("Patient_bp2_stc", 50), ("Patient_Acqtime_title_stc", 80),
                       ("Patient_Acqtime_stc", 180)])
    print_row(lay, 2, [("Interpre_medication1_stc", 80), ("Interpre_medication1_cmb", 150),
                       ("Interpre_medication2_stc", 80), ("Interpre_medication2_cmb", 150)])
    print_pairs(lay, 3, REQUEST_SHORT[4:12] + ["Interpre_req_doctor_stc", "Interpre_req_doctor_cmb",
                                               "Interpre_technician_stc", "Interpre_technician_cmb"])
    print_row(lay, 5, [("Patient_confirm_date_title_stc", 90), ("Patient_confirm_date_stc", 200),
                       ("Patient_confirm_doctor_title_stc", 90), ("Patient_confirm_doctor_stc", 200)])
    print_row(lay, 6, [("Interpre_load_stc", 100), ("Interpre_load_edt", 240), ("Interpre_load_time_stc", 100),
                       ("Interpre_load_time_content_stc", 240)])
    print_row(lay, 7, [("Interpre_stop_condition_stc", 100), ("Interpre_stop_condition_cmb", 240)])
    print_row(lay, 8, [("Interpre_max_beat_stc", 100), ("Interpre_max_beat_edt", 50),
                       ("Interpre_max_beat_unit_stc", 40), ("Interpre_max_beat_mhr_stc", 220)])
    print_row(lay, 9, [("Interpre_target_beat_stc", 100), ("Interpre_target_beat_edt", 50),
                       ("Interpre_target_beat_unit_stc", 40), ("Interpre_target_beat_mhr_stc", 220)])
    print_row(lay, 10, [("Interpre_st_measure_point_stc", 100), ("Interpre_st_level_stc", 70),
                        ("Interpre_st_level_content_stc", 80), ("Interpre_st_slope_stc", 70),
                        ("Interpre_st_slope_content_stc", 80)])
    print_row(lay, 11, [("Interpre_vo2max_stc", 100), ("Interpre_vo2max_content_stc", 340),
                        ("Interpre_pwc_stc", 60), ("Interpre_pwc_content_stc", 300)])
    return lay


LAYOUTS = {
    "Patient_info": layout_patient_info,
    "Interpre_rest": layout_rest,
    "Interpre_usa_rest": layout_usa_rest,
    "Interpre_rhythm": layout_rhythm_rr,
    "Interpre_rr": layout_rhythm_rr,
    "Interpre_msfr": layout_msfr,
    "Interpre_extra": layout_extra,
    "Interpre_exer": layout_exer,
    "Patient_info_print": layout_pat_info_print,
    "Interpre_rest_print": layout_rest_print,
    "Interpre_usa_rest_print": layout_usa_rest_print,
    "Interpre_rr_print": layout_rr_print,
    "Interpre_rhy_print": layout_rhy_print,
    "Interpre_final_print": layout_final_print,
    "Interpre_extra_print": layout_extra_print,
    "Interpre_exer_print": layout_exer_print,
}

# ---------------------------------------------------------------------------
# Output.


def element(table, name, pos, is_print):
    tag = name.strip()   # XML names hold no blanks; the lookup drops the ward label's
    left, top, width, height, text_height = pos
    attrs = [("left", left), ("top", top), ("width", width), ("height", height)]
    # Only a combo box draws its face at a text height of its own; for any
    # other control the rest forms take a text height as the row's bottom.
    if tag.endswith("_cmb"):
        attrs.append(("textheight", text_height))
    if is_editable(name):
        attrs.append(("enable", "true"))
    visible = tag_for(name)
    if visible:
        attrs.append(("visible", visible))
    attr_text = "".join(" %s=%s" % (k, quoteattr(str(v))) for k, v in attrs)
    paths = bindings_for(table, name)
    caption = caption_for(table, name, is_print)
    # One line per control: a bound control carries no text of its own, so no
    # blank text between its paths could become a caption.
    if paths:
        inner = "".join("<Xml_path>%s</Xml_path>" % escape(p) for p in paths)
        return "<%s%s>%s</%s>" % (tag, attr_text, inner, tag)
    if caption:
        return "<%s%s>%s</%s>" % (tag, attr_text, escape(caption), tag)
    return "<%s%s/>" % (tag, attr_text)


def build_xsl():
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           "<!-- The layout of the forms and reports: where each field stands, its caption,",
           "     whether it is enabled and shown, and the record-XML paths it shows.",
           "     Written by tools/gen_tavrion_xsl.py. -->",
           '<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">',
           "  <xsl:Layout>"]
    for template, is_print, names, _ in TABLES:
        lay = LAYOUTS[template]()
        missing = [n for n in names if n.strip() not in lay.pos]
        extra = set(lay.pos) - set(n.strip() for n in names)
        assert not missing and not extra, (template, missing, extra)
        out.append('    <xsl:template name="%s">' % template)
        for name in names:
            out.append("      " + element(template, name, lay.pos[name.strip()], is_print))
        out.append("    </xsl:template>")
    out.append("  </xsl:Layout>")
    out.append("  <xsl:Visible_info>")
    for tag_id, what in TAGS:
        suffix = ' suffix="%s"' % SUFFIX if tag_id == 2 else ""
        out.append('    <Tag id="%d" display_visible="true" print_visible="true"%s/><!-- %s -->'
                   % (tag_id, suffix, what))
    out.append("  </xsl:Visible_info>")
    out.append("</xsl:stylesheet>")
    return "\n".join(out) + "\n"


# The order of LayoutTable (core/PositionCtrl.h): the order of the loaded flags.
ENUM_ORDER = ["PatInfo", "Rest", "UsaRest", "Rhythm", "RR", "Final", "Extra", "Exer", "PatInfoPrint", "RestPrint",
              "UsaRestPrint", "RhythmPrint", "RRPrint", "FinalPrint", "ExtraPrint", "ExerPrint"]
COUNT_MACROS = {
    "PatInfo": "POS_PATINFO_COUNT", "Rest": "POS_REST_COUNT", "UsaRest": "POS_USA_REST_COUNT",
    "Rhythm": "POS_RHYTHM_COUNT", "RR": "POS_RR_COUNT", "Final": "POS_FINAL_COUNT", "Extra": "POS_EXTRA_COUNT",
    "Exer": "POS_EXER_COUNT", "PatInfoPrint": "POS_PATINFO_PRINT_COUNT", "RestPrint": "POS_REST_PRINT_COUNT",
    "UsaRestPrint": "POS_USA_REST_PRINT_COUNT", "RRPrint": "POS_RR_PRINT_COUNT",
    "RhythmPrint": "POS_RHYTHM_PRINT_COUNT", "FinalPrint": "POS_FINAL_PRINT_COUNT",
    "ExtraPrint": "POS_EXTRA_PRINT_COUNT", "ExerPrint": "POS_EXER_PRINT_COUNT",
}


def build_cpp():
    out = ["// The control names of the sixteen layout tables, in entry order, and the",
           "// templates of the layout stylesheet they are read from. Written by",
           "// tools/gen_tavrion_xsl.py together with resources/workdir/Tavrion.xsl;",
           "// change the generator, not this file.",
           '#include "core/LayoutNames.h"', ""]
    for template, _, names, ident in TABLES:
        out.append("static const wchar_t* const s_sz%sNames[] = {" % ident)
        for name in names:
            out.append('    L"%s",' % name)
        out.append("};")
        out.append("static_assert(sizeof(s_sz%sNames) / sizeof(s_sz%sNames[0]) == %s, \"%s\");"
                   % (ident, ident, COUNT_MACROS[ident], template))
        out.append("")
    out.append("// In the order of LayoutTable.")
    out.append("static const _LAYOUT_TABLE_NAMES s_tables[] = {")
    by_ident = dict((t[3], t) for t in TABLES)
    for ident in ENUM_ORDER:
        template, is_print, names, _ = by_ident[ident]
        out.append('    {L"%s", s_sz%sNames, %s, %d},' % (template, ident, COUNT_MACROS[ident], 1 if is_print else 0))
    out.append("};")
    out.append("static_assert(sizeof(s_tables) / sizeof(s_tables[0]) == static_cast<size_t>(LayoutTable::Count), "
               "\"one entry per table\");")
    out.append("")
    out.append("const _LAYOUT_TABLE_NAMES* GetLayoutTableNames(LayoutTable table)")
    out.append("{")
    out.append("    const int index = static_cast<int>(table);")
    out.append("    if (index < 0 || index >= static_cast<int>(LayoutTable::Count)) return nullptr;")
    out.append("    return &s_tables[index];")
    out.append("}")
    return "\n".join(out) + "\n"


def main():
    for template, _, names, _ in TABLES:
        assert len(names) == EXPECTED_COUNTS[template], (template, len(names))
        assert len(set(n.strip() for n in names)) == len(names), template
    outputs = [(XSL_PATH, build_xsl()), (CPP_PATH, build_cpp())]
    if "--check" in sys.argv[1:]:
        stale = [p for p, text in outputs if not os.path.exists(p) or open(p, encoding="utf-8").read() != text]
        for p in stale:
            print("stale: %s" % p)
        return 1 if stale else 0
    for path, text in outputs:
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
