<?xml version="1.0" encoding="UTF-8"?>
<!-- The layout of the forms and reports: where each field stands, its caption,
     whether it is enabled and shown, and the record-XML paths it shows.
     Written by tools/gen_tavrion_xsl.py. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:Layout>
    <xsl:template name="Patient_info">
      <Patient_id_stc left="4" top="3" width="40" height="20" visible="1">ID</Patient_id_stc>
      <Patient_id_edt left="48" top="3" width="120" height="20" enable="true" visible="1"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_id</Xml_path></Patient_id_edt>
      <Patient_name_stc left="172" top="3" width="40" height="20" visible="2">氏名</Patient_name_stc>
      <Patient_name_edt left="216" top="3" width="150" height="20" enable="true" visible="2"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_name</Xml_path></Patient_name_edt>
      <Patient_sub_id_stc left="4" top="27" width="60" height="20" visible="3">サブＩＤ</Patient_sub_id_stc>
      <Patient_sub_id_edt left="68" top="27" width="100" height="20" enable="true" visible="3"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section2/Sub_id</Xml_path></Patient_sub_id_edt>
      <Patient_kana_name_stc left="172" top="27" width="60" height="20" visible="3">カナ氏名</Patient_kana_name_stc>
      <Patient_kana_name_edt left="236" top="27" width="130" height="20" enable="true" visible="3"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_kana_name</Xml_path></Patient_kana_name_edt>
      <Patient_sex_stc left="370" top="3" width="40" height="20">性別</Patient_sex_stc>
      <Patient_sex_cmb left="414" top="3" width="50" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Sex/@value</Xml_path></Patient_sex_cmb>
      <Patient_age_stc left="468" top="3" width="40" height="20">年齢</Patient_age_stc>
      <Patient_age_edt left="512" top="3" width="36" height="20" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Age</Xml_path></Patient_age_edt>
      <Patient_age_unit_cmb left="552" top="3" width="50" height="20" textheight="16" enable="true"/>
      <Patient_sub_age_edt left="606" top="3" width="30" height="20" enable="true"/>
      <Patient_sub_age_unit_stc left="640" top="3" width="40" height="20"/>
      <Patient_height_stc left="418" top="27" width="24" height="20"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Height_unit</Xml_path></Patient_height_stc>
      <Patient_height_edt left="370" top="27" width="44" height="20" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Height</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Sub_height</Xml_path></Patient_height_edt>
      <Patient_weight_stc left="494" top="27" width="24" height="20"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Weight_unit</Xml_path></Patient_weight_stc>
      <Patient_weight_edt left="446" top="27" width="44" height="20" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Weight</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Sub_weight</Xml_path></Patient_weight_edt>
      <Patient_bp1_stc left="562" top="27" width="8" height="20">/</Patient_bp1_stc>
      <Patient_bph_edt left="522" top="27" width="36" height="20" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_sys</Xml_path></Patient_bph_edt>
      <Patient_bp2_stc left="614" top="27" width="40" height="20"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_unit</Xml_path></Patient_bp2_stc>
      <Patient_bpl_edt left="574" top="27" width="36" height="20" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_dia</Xml_path></Patient_bpl_edt>
      <Patient_Acqtime_title_stc left="690" top="27" width="60" height="20">検査日時</Patient_Acqtime_title_stc>
      <Patient_Acqtime_stc left="754" top="27" width="130" height="20"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Acquition_date</Xml_path></Patient_Acqtime_stc>
      <Patient_confirmation_stc left="690" top="3" width="326" height="20" visible="11"/>
      <Patient_confirm_date_title_stc left="690" top="3" width="60" height="20" visible="11">判読日時</Patient_confirm_date_title_stc>
      <Patient_confirm_date_stc left="754" top="3" width="120" height="20" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Edit_time</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_edit/Edit_date</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Edit_date</Xml_path><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Edit_date</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Edit_date</Xml_path><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_editor/Edit_date</Xml_path></Patient_confirm_date_stc>
      <Patient_confirm_doctor_title_stc left="878" top="3" width="50" height="20" visible="11">判読医師</Patient_confirm_doctor_title_stc>
      <Patient_confirm_doctor_stc left="932" top="3" width="84" height="20" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Editor_name</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Doctor</Xml_path></Patient_confirm_doctor_stc>
    </xsl:template>
    <xsl:template name="Interpre_rest">
      <Interpre_medication1_stc left="4" top="4" width="76" height="20">投薬情報1</Interpre_medication1_stc>
      <Interpre_medication1_cmb left="84" top="4" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']</Xml_path></Interpre_medication1_cmb>
      <Interpre_medication2_stc left="4" top="28" width="76" height="20">投薬情報2</Interpre_medication2_stc>
      <Interpre_medication2_cmb left="84" top="28" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']</Xml_path></Interpre_medication2_cmb>
      <Interpre_symptom_stc left="4" top="52" width="76" height="20">自覚症状</Interpre_symptom_stc>
      <Interpre_symptom_cmb left="84" top="52" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Symptom</Xml_path></Interpre_symptom_cmb>
      <Interpre_disease_stc left="4" top="76" width="76" height="20">既往症</Interpre_disease_stc>
      <Interpre_disease_cmb left="84" top="76" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Disease</Xml_path></Interpre_disease_cmb>
      <Interpre_department_stc left="4" top="100" width="76" height="20">所属科</Interpre_department_stc>
      <Interpre_department_cmb left="84" top="100" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Department</Xml_path></Interpre_department_cmb>
      <Interpre_ward_stc left="4" top="124" width="76" height="20">病棟</Interpre_ward_stc>
      <Interpre_ward_cmb left="84" top="124" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Ward</Xml_path></Interpre_ward_cmb>
      <Interpre_room_no_stc left="4" top="148" width="76" height="20" visible="4">部屋番号</Interpre_room_no_stc>
      <Interpre_room_no_edt left="84" top="148" width="170" height="20" enable="true" visible="4"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Room_no</Xml_path></Interpre_room_no_edt>
      <Interpre_req_section_stc left="4" top="172" width="76" height="20" visible="4">依頼科</Interpre_req_section_stc>
      <Interpre_req_section_cmb left="84" top="172" width="170" height="20" textheight="16" enable="true" visible="4"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section2/Request_section</Xml_path></Interpre_req_section_cmb>
      <Interpre_req_doctor_stc left="4" top="196" width="76" height="20">依頼医師</Interpre_req_doctor_stc>
      <Interpre_req_doctor_cmb left="84" top="196" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Request_doctor</Xml_path></Interpre_req_doctor_cmb>
      <Interpre_technician_stc left="4" top="220" width="76" height="20">検査技師</Interpre_technician_stc>
      <Interpre_technician_cmb left="84" top="220" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Technician</Xml_path></Interpre_technician_cmb>
      <Interpre_hr_title_stc left="270" top="4" width="130" height="20" visible="10">心拍数(bpm)</Interpre_hr_title_stc>
      <Interpre_hr_stc left="404" top="4" width="110" height="20" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Heart_rate</Xml_path></Interpre_hr_stc>
      <Interpre_pr_int_title_stc left="270" top="28" width="130" height="20" visible="10">PR Int(ms)</Interpre_pr_int_title_stc>
      <Interpre_pr_int_stc left="404" top="28" width="110" height="20" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Pr_int</Xml_path></Interpre_pr_int_stc>
      <Interpre_qrs_int_title_stc left="270" top="52" width="130" height="20" visible="10">QRS Int(ms)</Interpre_qrs_int_title_stc>
      <Interpre_qrs_int_stc left="404" top="52" width="110" height="20" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Qrs_dur</Xml_path></Interpre_qrs_int_stc>
      <Interpre_qt_title_stc left="270" top="76" width="130" height="20" visible="10">QT/QTc Int(ms)</Interpre_qt_title_stc>
      <Interpre_qt_stc left="404" top="76" width="110" height="20" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Qt_int</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Qtc_int</Xml_path></Interpre_qt_stc>
      <Interpre_pqrst_title_stc left="270" top="100" width="130" height="20" visible="10">P/QRS/T Axis(deg.)</Interpre_pqrst_title_stc>
      <Interpre_pqrst_stc left="404" top="100" width="110" height="20" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/P_axis</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Qrs_axis</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/T_axis</Xml_path></Interpre_pqrst_stc>
      <Interpre_rv5_sv1_title_stc left="270" top="124" width="130" height="20" visible="10">RV5/SV1 Value(mV)</Interpre_rv5_sv1_title_stc>
      <Interpre_rv5_sv1_stc left="404" top="124" width="110" height="20" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Rv5</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Sv1</Xml_path></Interpre_rv5_sv1_stc>
      <Interpre_rv5_sv1_plus_title_stc left="270" top="148" width="130" height="20" visible="10">RV5+SV1 Value(mV)</Interpre_rv5_sv1_plus_title_stc>
      <Interpre_rv5_sv1_plus_stc left="404" top="148" width="110" height="20" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Rv5</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Sv1</Xml_path></Interpre_rv5_sv1_plus_stc>
      <Interpre_info_editor_title_stc left="4" top="244" width="110" height="20" visible="9">被検者情報編集</Interpre_info_editor_title_stc>
      <Interpre_info_editor_stc left="118" top="244" width="150" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Patient_editor/Editor_name</Xml_path></Interpre_info_editor_stc>
      <Interpre_info_editor_date_stc left="272" top="244" width="130" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Patient_editor/Edit_date</Xml_path></Interpre_info_editor_date_stc>
      <Interpre_addition_stc left="4" top="268" width="100" height="20" visible="5">付帯情報</Interpre_addition_stc>
      <Interpre_addition_title_1_edt left="4" top="292" width="100" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']/@title</Xml_path></Interpre_addition_title_1_edt>
      <Interpre_addition_del_1_btn left="108" top="292" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_edit_1_btn left="132" top="292" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_content_1_edt left="156" top="292" width="360" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']</Xml_path></Interpre_addition_content_1_edt>
      <Interpre_addition_title_2_edt left="4" top="314" width="100" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']/@title</Xml_path></Interpre_addition_title_2_edt>
      <Interpre_addition_del_2_btn left="108" top="314" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_edit_2_btn left="132" top="314" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_content_2_edt left="156" top="314" width="360" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']</Xml_path></Interpre_addition_content_2_edt>
      <Interpre_addition_title_3_edt left="4" top="336" width="100" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']/@title</Xml_path></Interpre_addition_title_3_edt>
      <Interpre_addition_del_3_btn left="108" top="336" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_edit_3_btn left="132" top="336" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_content_3_edt left="156" top="336" width="360" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']</Xml_path></Interpre_addition_content_3_edt>
      <Interpre_addition_other left="4" top="358" width="60" height="20" visible="5">......</Interpre_addition_other>
      <Interpre_minne_title_stc left="4" top="382" width="100" height="20" visible="6">ﾐﾈｿﾀｺｰﾄﾞ</Interpre_minne_title_stc>
      <Interpre_minne_num_1_edt left="4" top="406" width="60" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='1']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='1']/@mask</Xml_path></Interpre_minne_num_1_edt>
      <Interpre_minne_mask_1_stc left="68" top="406" width="14" height="22" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='1']/@mask</Xml_path></Interpre_minne_mask_1_stc>
      <Interpre_minne_del_1_btn left="86" top="406" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_edit_1_btn left="110" top="406" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_content_1_edt left="134" top="406" width="382" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='1']</Xml_path></Interpre_minne_content_1_edt>
      <Interpre_minne_num_2_edt left="4" top="428" width="60" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='2']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='2']/@mask</Xml_path></Interpre_minne_num_2_edt>
      <Interpre_minne_mask_2_stc left="68" top="428" width="14" height="22" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='2']/@mask</Xml_path></Interpre_minne_mask_2_stc>
      <Interpre_minne_del_2_btn left="86" top="428" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_edit_2_btn left="110" top="428" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_content_2_edt left="134" top="428" width="382" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='2']</Xml_path></Interpre_minne_content_2_edt>
      <Interpre_minne_num_3_edt left="4" top="450" width="60" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='3']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='3']/@mask</Xml_path></Interpre_minne_num_3_edt>
      <Interpre_minne_mask_3_stc left="68" top="450" width="14" height="22" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='3']/@mask</Xml_path></Interpre_minne_mask_3_stc>
      <Interpre_minne_del_3_btn left="86" top="450" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_edit_3_btn left="110" top="450" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_content_3_edt left="134" top="450" width="382" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='3']</Xml_path></Interpre_minne_content_3_edt>
      <Interpre_minne_num_4_edt left="4" top="472" width="60" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='4']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='4']/@mask</Xml_path></Interpre_minne_num_4_edt>
      <Interpre_minne_mask_4_stc left="68" top="472" width="14" height="22" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='4']/@mask</Xml_path></Interpre_minne_mask_4_stc>
      <Interpre_minne_del_4_btn left="86" top="472" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_edit_4_btn left="110" top="472" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_content_4_edt left="134" top="472" width="382" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='4']</Xml_path></Interpre_minne_content_4_edt>
      <Interpre_minne_num_5_edt left="4" top="494" width="60" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='5']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='5']/@mask</Xml_path></Interpre_minne_num_5_edt>
      <Interpre_minne_mask_5_stc left="68" top="494" width="14" height="22" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='5']/@mask</Xml_path></Interpre_minne_mask_5_stc>
      <Interpre_minne_del_5_btn left="86" top="494" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_edit_5_btn left="110" top="494" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_content_5_edt left="134" top="494" width="382" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='5']</Xml_path></Interpre_minne_content_5_edt>
      <Interpre_minne_num_6_edt left="4" top="516" width="60" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='6']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='6']/@mask</Xml_path></Interpre_minne_num_6_edt>
      <Interpre_minne_mask_6_stc left="68" top="516" width="14" height="22" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='6']/@mask</Xml_path></Interpre_minne_mask_6_stc>
      <Interpre_minne_del_6_btn left="86" top="516" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_edit_6_btn left="110" top="516" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_content_6_edt left="134" top="516" width="382" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='6']</Xml_path></Interpre_minne_content_6_edt>
      <Interpre_minne_num_7_edt left="4" top="538" width="60" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='7']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='7']/@mask</Xml_path></Interpre_minne_num_7_edt>
      <Interpre_minne_mask_7_stc left="68" top="538" width="14" height="22" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='7']/@mask</Xml_path></Interpre_minne_mask_7_stc>
      <Interpre_minne_del_7_btn left="86" top="538" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_edit_7_btn left="110" top="538" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_content_7_edt left="134" top="538" width="382" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='7']</Xml_path></Interpre_minne_content_7_edt>
      <Interpre_minne_num_8_edt left="4" top="560" width="60" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='8']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='8']/@mask</Xml_path></Interpre_minne_num_8_edt>
      <Interpre_minne_mask_8_stc left="68" top="560" width="14" height="22" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='8']/@mask</Xml_path></Interpre_minne_mask_8_stc>
      <Interpre_minne_del_8_btn left="86" top="560" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_edit_8_btn left="110" top="560" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_content_8_edt left="134" top="560" width="382" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='8']</Xml_path></Interpre_minne_content_8_edt>
      <Interpre_ivrel_stc left="4" top="584" width="100" height="20" visible="7">IVRELｺｰﾄﾞ</Interpre_ivrel_stc>
      <Interpre_ivrel_judge_stc left="108" top="584" width="40" height="20" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Judgement/@value</Xml_path></Interpre_ivrel_judge_stc>
      <Interpre_ivrel_judge_cmb left="152" top="584" width="200" height="20" textheight="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Judgement</Xml_path></Interpre_ivrel_judge_cmb>
      <Interpre_ivrel_num_1_edt left="4" top="608" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='1']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='1']/@mask</Xml_path></Interpre_ivrel_num_1_edt>
      <Interpre_ivrel_mask_1_stc left="68" top="608" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='1']/@mask</Xml_path></Interpre_ivrel_mask_1_stc>
      <Interpre_ivrel_del_1_btn left="86" top="608" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_1_btn left="110" top="608" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_1_edt left="134" top="608" width="382" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='1']</Xml_path></Interpre_ivrel_content_1_edt>
      <Interpre_ivrel_num_2_edt left="4" top="630" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='2']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='2']/@mask</Xml_path></Interpre_ivrel_num_2_edt>
      <Interpre_ivrel_mask_2_stc left="68" top="630" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='2']/@mask</Xml_path></Interpre_ivrel_mask_2_stc>
      <Interpre_ivrel_del_2_btn left="86" top="630" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_2_btn left="110" top="630" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_2_edt left="134" top="630" width="382" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='2']</Xml_path></Interpre_ivrel_content_2_edt>
      <Interpre_ivrel_num_3_edt left="4" top="652" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='3']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='3']/@mask</Xml_path></Interpre_ivrel_num_3_edt>
      <Interpre_ivrel_mask_3_stc left="68" top="652" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='3']/@mask</Xml_path></Interpre_ivrel_mask_3_stc>
      <Interpre_ivrel_del_3_btn left="86" top="652" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_3_btn left="110" top="652" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_3_edt left="134" top="652" width="382" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='3']</Xml_path></Interpre_ivrel_content_3_edt>
      <Interpre_ivrel_num_4_edt left="4" top="674" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='4']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='4']/@mask</Xml_path></Interpre_ivrel_num_4_edt>
      <Interpre_ivrel_mask_4_stc left="68" top="674" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='4']/@mask</Xml_path></Interpre_ivrel_mask_4_stc>
      <Interpre_ivrel_del_4_btn left="86" top="674" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_4_btn left="110" top="674" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_4_edt left="134" top="674" width="382" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='4']</Xml_path></Interpre_ivrel_content_4_edt>
      <Interpre_ivrel_num_5_edt left="4" top="696" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='5']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='5']/@mask</Xml_path></Interpre_ivrel_num_5_edt>
      <Interpre_ivrel_mask_5_stc left="68" top="696" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='5']/@mask</Xml_path></Interpre_ivrel_mask_5_stc>
      <Interpre_ivrel_del_5_btn left="86" top="696" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_5_btn left="110" top="696" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_5_edt left="134" top="696" width="382" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='5']</Xml_path></Interpre_ivrel_content_5_edt>
      <Interpre_ivrel_num_6_edt left="4" top="718" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='6']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='6']/@mask</Xml_path></Interpre_ivrel_num_6_edt>
      <Interpre_ivrel_mask_6_stc left="68" top="718" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='6']/@mask</Xml_path></Interpre_ivrel_mask_6_stc>
      <Interpre_ivrel_del_6_btn left="86" top="718" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_6_btn left="110" top="718" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_6_edt left="134" top="718" width="382" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='6']</Xml_path></Interpre_ivrel_content_6_edt>
      <Interpre_ivrel_num_7_edt left="4" top="740" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='7']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='7']/@mask</Xml_path></Interpre_ivrel_num_7_edt>
      <Interpre_ivrel_mask_7_stc left="68" top="740" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='7']/@mask</Xml_path></Interpre_ivrel_mask_7_stc>
      <Interpre_ivrel_del_7_btn left="86" top="740" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_7_btn left="110" top="740" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_7_edt left="134" top="740" width="382" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='7']</Xml_path></Interpre_ivrel_content_7_edt>
      <Interpre_ivrel_num_8_edt left="4" top="762" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='8']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='8']/@mask</Xml_path></Interpre_ivrel_num_8_edt>
      <Interpre_ivrel_mask_8_stc left="68" top="762" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='8']/@mask</Xml_path></Interpre_ivrel_mask_8_stc>
      <Interpre_ivrel_del_8_btn left="86" top="762" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_8_btn left="110" top="762" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_8_edt left="134" top="762" width="382" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='8']</Xml_path></Interpre_ivrel_content_8_edt>
      <Interpre_ivrel_num_9_edt left="4" top="784" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='9']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='9']/@mask</Xml_path></Interpre_ivrel_num_9_edt>
      <Interpre_ivrel_mask_9_stc left="68" top="784" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='9']/@mask</Xml_path></Interpre_ivrel_mask_9_stc>
      <Interpre_ivrel_del_9_btn left="86" top="784" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_9_btn left="110" top="784" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_9_edt left="134" top="784" width="382" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='9']</Xml_path></Interpre_ivrel_content_9_edt>
      <Interpre_ivrel_num_10_edt left="4" top="806" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='10']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='10']/@mask</Xml_path></Interpre_ivrel_num_10_edt>
      <Interpre_ivrel_mask_10_stc left="68" top="806" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='10']/@mask</Xml_path></Interpre_ivrel_mask_10_stc>
      <Interpre_ivrel_del_10_btn left="86" top="806" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_10_btn left="110" top="806" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_10_edt left="134" top="806" width="382" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='10']</Xml_path></Interpre_ivrel_content_10_edt>
      <Interpre_ivrel_num_11_edt left="4" top="828" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='11']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='11']/@mask</Xml_path></Interpre_ivrel_num_11_edt>
      <Interpre_ivrel_mask_11_stc left="68" top="828" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='11']/@mask</Xml_path></Interpre_ivrel_mask_11_stc>
      <Interpre_ivrel_del_11_btn left="86" top="828" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_11_btn left="110" top="828" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_11_edt left="134" top="828" width="382" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='11']</Xml_path></Interpre_ivrel_content_11_edt>
      <Interpre_recommend_title_stc left="4" top="852" width="100" height="20" visible="8">ﾘｺﾒﾝﾃﾞｰｼｮﾝ</Interpre_recommend_title_stc>
      <Interpre_recommend_stc left="108" top="852" width="408" height="20" visible="8"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Recommendation</Xml_path></Interpre_recommend_stc>
      <Interpre_ana_title_stc left="4" top="876" width="110" height="20" visible="9">解析情報編集</Interpre_ana_title_stc>
      <Interpre_ana_editor_stc left="118" top="876" width="150" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Editor_name</Xml_path></Interpre_ana_editor_stc>
      <Interpre_ana_date_stc left="272" top="876" width="130" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Edit_date</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_edit/Edit_date</Xml_path></Interpre_ana_date_stc>
      <Interpre_comment_stc left="4" top="900" width="100" height="20">コメント</Interpre_comment_stc>
      <Interpre_comment_btn left="108" top="900" width="80" height="20" enable="true">定型文入力</Interpre_comment_btn>
      <Interpre_comment_edt left="4" top="924" width="512" height="72" enable="true"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_content</Xml_path></Interpre_comment_edt>
      <Interpre_comment_title_stc left="4" top="1000" width="110" height="20" visible="9">コメント編集</Interpre_comment_title_stc>
      <Interpre_comment_editor_stc left="118" top="1000" width="150" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Editor_name</Xml_path></Interpre_comment_editor_stc>
      <Interpre_comment_date_stc left="272" top="1000" width="130" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Edit_date</Xml_path></Interpre_comment_date_stc>
      <Interpre_confirmation_stc left="4" top="1024" width="512" height="20" visible="11"/>
      <Interpre_confirm_date_title_stc left="4" top="1048" width="80" height="20" visible="11">判読日時</Interpre_confirm_date_title_stc>
      <Interpre_confirm_date_stc left="88" top="1048" width="130" height="20" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Edit_date</Xml_path></Interpre_confirm_date_stc>
      <Interpre_confirm_doctor_title_stc left="222" top="1048" width="80" height="20" visible="11">判読医師</Interpre_confirm_doctor_title_stc>
      <Interpre_confirm_doctor_stc left="306" top="1048" width="150" height="20" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Editor_name</Xml_path></Interpre_confirm_doctor_stc>
    </xsl:template>
    <xsl:template name="Interpre_usa_rest">
      <Interpre_medication1_stc left="4" top="4" width="76" height="20">投薬情報1</Interpre_medication1_stc>
      <Interpre_medication1_cmb left="84" top="4" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']</Xml_path></Interpre_medication1_cmb>
      <Interpre_medication2_stc left="4" top="28" width="76" height="20">投薬情報2</Interpre_medication2_stc>
      <Interpre_medication2_cmb left="84" top="28" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']</Xml_path></Interpre_medication2_cmb>
      <Interpre_symptom_stc left="4" top="52" width="76" height="20">自覚症状</Interpre_symptom_stc>
      <Interpre_symptom_cmb left="84" top="52" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Symptom</Xml_path></Interpre_symptom_cmb>
      <Interpre_disease_stc left="4" top="76" width="76" height="20">既往症</Interpre_disease_stc>
      <Interpre_disease_cmb left="84" top="76" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Disease</Xml_path></Interpre_disease_cmb>
      <Interpre_department_stc left="4" top="100" width="76" height="20">所属科</Interpre_department_stc>
      <Interpre_department_cmb left="84" top="100" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Department</Xml_path></Interpre_department_cmb>
      <Interpre_ward_stc left="4" top="124" width="76" height="20">病棟</Interpre_ward_stc>
      <Interpre_ward_cmb left="84" top="124" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Ward</Xml_path></Interpre_ward_cmb>
      <Interpre_req_doctor_stc left="4" top="148" width="76" height="20">依頼医師</Interpre_req_doctor_stc>
      <Interpre_req_doctor_cmb left="84" top="148" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Request_doctor</Xml_path></Interpre_req_doctor_cmb>
      <Interpre_technician_stc left="4" top="172" width="76" height="20">検査技師</Interpre_technician_stc>
      <Interpre_technician_cmb left="84" top="172" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Technician</Xml_path></Interpre_technician_cmb>
      <Interpre_hr_title_stc left="340" top="4" width="140" height="20" visible="10">心拍数(bpm)</Interpre_hr_title_stc>
      <Interpre_hr_stc left="484" top="4" width="170" height="20" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Heart_rate</Xml_path></Interpre_hr_stc>
      <Interpre_pr_int_title_stc left="340" top="28" width="140" height="20" visible="10">PR Int(ms)</Interpre_pr_int_title_stc>
      <Interpre_pr_int_stc left="484" top="28" width="170" height="20" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Pr_int</Xml_path></Interpre_pr_int_stc>
      <Interpre_qrs_int_title_stc left="340" top="52" width="140" height="20" visible="10">QRS Int(ms)</Interpre_qrs_int_title_stc>
      <Interpre_qrs_int_stc left="484" top="52" width="170" height="20" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Qrs_dur</Xml_path></Interpre_qrs_int_stc>
      <Interpre_qt_title_stc left="340" top="76" width="140" height="20" visible="10">QT/QTc Int(ms)</Interpre_qt_title_stc>
      <Interpre_qt_stc left="484" top="76" width="170" height="20" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Qt_int</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Qtc_int</Xml_path></Interpre_qt_stc>
      <Interpre_pqrst_title_stc left="340" top="100" width="140" height="20" visible="10">P/QRS/T Axis(deg.)</Interpre_pqrst_title_stc>
      <Interpre_pqrst_stc left="484" top="100" width="170" height="20" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/P_axis</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Qrs_axis</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/T_axis</Xml_path></Interpre_pqrst_stc>
      <Interpre_rv5_sv1_title_stc left="340" top="124" width="140" height="20" visible="10">RV5/SV1 Value(mV)</Interpre_rv5_sv1_title_stc>
      <Interpre_rv5_sv1_stc left="484" top="124" width="170" height="20" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Rv5</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Sv1</Xml_path></Interpre_rv5_sv1_stc>
      <Interpre_rv5_sv1_plus_title_stc left="340" top="148" width="140" height="20" visible="10">RV5+SV1 Value(mV)</Interpre_rv5_sv1_plus_title_stc>
      <Interpre_rv5_sv1_plus_stc left="484" top="148" width="170" height="20" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Rv5</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Sv1</Xml_path></Interpre_rv5_sv1_plus_stc>
      <Interpre_trip_count_stc left="4" top="196" width="76" height="20">トリップ</Interpre_trip_count_stc>
      <Interpre_trip_count1_edt left="84" top="196" width="50" height="20" enable="true"><Xml_path>/Rawdata/Tavrion/Record/Mstep_section/Trip_info/@trip</Xml_path></Interpre_trip_count1_edt>
      <Interpre_trip_line_stc left="138" top="196" width="10" height="20">/</Interpre_trip_line_stc>
      <Interpre_trip_count2_edt left="152" top="196" width="50" height="20" enable="true"><Xml_path>/Rawdata/Tavrion/Record/Mstep_section/Trip_info/@total</Xml_path></Interpre_trip_count2_edt>
      <Interpre_addition_stc left="340" top="176" width="100" height="20" visible="5">付帯情報</Interpre_addition_stc>
      <Interpre_addition_title_1_edt left="340" top="200" width="100" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']/@title</Xml_path></Interpre_addition_title_1_edt>
      <Interpre_addition_del_1_btn left="444" top="200" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_edit_1_btn left="468" top="200" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_content_1_edt left="492" top="200" width="160" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']</Xml_path></Interpre_addition_content_1_edt>
      <Interpre_addition_title_2_edt left="340" top="222" width="100" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']/@title</Xml_path></Interpre_addition_title_2_edt>
      <Interpre_addition_del_2_btn left="444" top="222" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_edit_2_btn left="468" top="222" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_content_2_edt left="492" top="222" width="160" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']</Xml_path></Interpre_addition_content_2_edt>
      <Interpre_addition_title_3_edt left="340" top="244" width="100" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']/@title</Xml_path></Interpre_addition_title_3_edt>
      <Interpre_addition_del_3_btn left="444" top="244" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_edit_3_btn left="468" top="244" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_content_3_edt left="492" top="244" width="160" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']</Xml_path></Interpre_addition_content_3_edt>
      <Interpre_addition_other left="340" top="266" width="60" height="20" visible="5">......</Interpre_addition_other>
      <Interpre_minne_title_stc left="680" top="4" width="100" height="20" visible="6">ﾐﾈｿﾀｺｰﾄﾞ</Interpre_minne_title_stc>
      <Interpre_minne_num_1_edt left="680" top="28" width="60" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='1']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='1']/@mask</Xml_path></Interpre_minne_num_1_edt>
      <Interpre_minne_mask_1_stc left="744" top="28" width="14" height="22" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='1']/@mask</Xml_path></Interpre_minne_mask_1_stc>
      <Interpre_minne_del_1_btn left="762" top="28" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_edit_1_btn left="786" top="28" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_content_1_edt left="810" top="28" width="206" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='1']</Xml_path></Interpre_minne_content_1_edt>
      <Interpre_minne_num_2_edt left="680" top="50" width="60" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='2']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='2']/@mask</Xml_path></Interpre_minne_num_2_edt>
      <Interpre_minne_mask_2_stc left="744" top="50" width="14" height="22" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='2']/@mask</Xml_path></Interpre_minne_mask_2_stc>
      <Interpre_minne_del_2_btn left="762" top="50" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_edit_2_btn left="786" top="50" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_content_2_edt left="810" top="50" width="206" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='2']</Xml_path></Interpre_minne_content_2_edt>
      <Interpre_minne_num_3_edt left="680" top="72" width="60" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='3']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='3']/@mask</Xml_path></Interpre_minne_num_3_edt>
      <Interpre_minne_mask_3_stc left="744" top="72" width="14" height="22" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='3']/@mask</Xml_path></Interpre_minne_mask_3_stc>
      <Interpre_minne_del_3_btn left="762" top="72" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_edit_3_btn left="786" top="72" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_content_3_edt left="810" top="72" width="206" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='3']</Xml_path></Interpre_minne_content_3_edt>
      <Interpre_minne_num_4_edt left="680" top="94" width="60" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='4']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='4']/@mask</Xml_path></Interpre_minne_num_4_edt>
      <Interpre_minne_mask_4_stc left="744" top="94" width="14" height="22" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='4']/@mask</Xml_path></Interpre_minne_mask_4_stc>
      <Interpre_minne_del_4_btn left="762" top="94" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_edit_4_btn left="786" top="94" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_content_4_edt left="810" top="94" width="206" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='4']</Xml_path></Interpre_minne_content_4_edt>
      <Interpre_minne_num_5_edt left="680" top="116" width="60" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='5']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='5']/@mask</Xml_path></Interpre_minne_num_5_edt>
      <Interpre_minne_mask_5_stc left="744" top="116" width="14" height="22" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='5']/@mask</Xml_path></Interpre_minne_mask_5_stc>
      <Interpre_minne_del_5_btn left="762" top="116" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_edit_5_btn left="786" top="116" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_content_5_edt left="810" top="116" width="206" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='5']</Xml_path></Interpre_minne_content_5_edt>
      <Interpre_minne_num_6_edt left="680" top="138" width="60" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='6']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='6']/@mask</Xml_path></Interpre_minne_num_6_edt>
      <Interpre_minne_mask_6_stc left="744" top="138" width="14" height="22" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='6']/@mask</Xml_path></Interpre_minne_mask_6_stc>
      <Interpre_minne_del_6_btn left="762" top="138" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_edit_6_btn left="786" top="138" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_content_6_edt left="810" top="138" width="206" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='6']</Xml_path></Interpre_minne_content_6_edt>
      <Interpre_minne_num_7_edt left="680" top="160" width="60" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='7']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='7']/@mask</Xml_path></Interpre_minne_num_7_edt>
      <Interpre_minne_mask_7_stc left="744" top="160" width="14" height="22" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='7']/@mask</Xml_path></Interpre_minne_mask_7_stc>
      <Interpre_minne_del_7_btn left="762" top="160" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_edit_7_btn left="786" top="160" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_content_7_edt left="810" top="160" width="206" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='7']</Xml_path></Interpre_minne_content_7_edt>
      <Interpre_minne_num_8_edt left="680" top="182" width="60" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='8']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='8']/@mask</Xml_path></Interpre_minne_num_8_edt>
      <Interpre_minne_mask_8_stc left="744" top="182" width="14" height="22" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='8']/@mask</Xml_path></Interpre_minne_mask_8_stc>
      <Interpre_minne_del_8_btn left="762" top="182" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_edit_8_btn left="786" top="182" width="20" height="22" enable="true" visible="6"/>
      <Interpre_minne_content_8_edt left="810" top="182" width="206" height="22" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='8']</Xml_path></Interpre_minne_content_8_edt>
      <Interpre_ivrel_stc left="680" top="206" width="100" height="20" visible="7">IVRELｺｰﾄﾞ</Interpre_ivrel_stc>
      <Interpre_ivrel_judge_stc left="784" top="206" width="40" height="20" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Judgement/@value</Xml_path></Interpre_ivrel_judge_stc>
      <Interpre_ivrel_judge_cmb left="828" top="206" width="180" height="20" textheight="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Judgement</Xml_path></Interpre_ivrel_judge_cmb>
      <Interpre_ivrel_num_1_edt left="680" top="230" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='1']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='1']/@mask</Xml_path></Interpre_ivrel_num_1_edt>
      <Interpre_ivrel_mask_1_stc left="744" top="230" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='1']/@mask</Xml_path></Interpre_ivrel_mask_1_stc>
      <Interpre_ivrel_del_1_btn left="762" top="230" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_1_btn left="786" top="230" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_1_edt left="810" top="230" width="206" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='1']</Xml_path></Interpre_ivrel_content_1_edt>
      <Interpre_ivrel_num_2_edt left="680" top="252" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='2']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='2']/@mask</Xml_path></Interpre_ivrel_num_2_edt>
      <Interpre_ivrel_mask_2_stc left="744" top="252" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='2']/@mask</Xml_path></Interpre_ivrel_mask_2_stc>
      <Interpre_ivrel_del_2_btn left="762" top="252" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_2_btn left="786" top="252" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_2_edt left="810" top="252" width="206" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='2']</Xml_path></Interpre_ivrel_content_2_edt>
      <Interpre_ivrel_num_3_edt left="680" top="274" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='3']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='3']/@mask</Xml_path></Interpre_ivrel_num_3_edt>
      <Interpre_ivrel_mask_3_stc left="744" top="274" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='3']/@mask</Xml_path></Interpre_ivrel_mask_3_stc>
      <Interpre_ivrel_del_3_btn left="762" top="274" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_3_btn left="786" top="274" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_3_edt left="810" top="274" width="206" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='3']</Xml_path></Interpre_ivrel_content_3_edt>
      <Interpre_ivrel_num_4_edt left="680" top="296" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='4']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='4']/@mask</Xml_path></Interpre_ivrel_num_4_edt>
      <Interpre_ivrel_mask_4_stc left="744" top="296" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='4']/@mask</Xml_path></Interpre_ivrel_mask_4_stc>
      <Interpre_ivrel_del_4_btn left="762" top="296" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_4_btn left="786" top="296" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_4_edt left="810" top="296" width="206" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='4']</Xml_path></Interpre_ivrel_content_4_edt>
      <Interpre_ivrel_num_5_edt left="680" top="318" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='5']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='5']/@mask</Xml_path></Interpre_ivrel_num_5_edt>
      <Interpre_ivrel_mask_5_stc left="744" top="318" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='5']/@mask</Xml_path></Interpre_ivrel_mask_5_stc>
      <Interpre_ivrel_del_5_btn left="762" top="318" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_5_btn left="786" top="318" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_5_edt left="810" top="318" width="206" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='5']</Xml_path></Interpre_ivrel_content_5_edt>
      <Interpre_ivrel_num_6_edt left="680" top="340" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='6']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='6']/@mask</Xml_path></Interpre_ivrel_num_6_edt>
      <Interpre_ivrel_mask_6_stc left="744" top="340" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='6']/@mask</Xml_path></Interpre_ivrel_mask_6_stc>
      <Interpre_ivrel_del_6_btn left="762" top="340" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_6_btn left="786" top="340" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_6_edt left="810" top="340" width="206" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='6']</Xml_path></Interpre_ivrel_content_6_edt>
      <Interpre_ivrel_num_7_edt left="680" top="362" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='7']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='7']/@mask</Xml_path></Interpre_ivrel_num_7_edt>
      <Interpre_ivrel_mask_7_stc left="744" top="362" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='7']/@mask</Xml_path></Interpre_ivrel_mask_7_stc>
      <Interpre_ivrel_del_7_btn left="762" top="362" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_7_btn left="786" top="362" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_7_edt left="810" top="362" width="206" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='7']</Xml_path></Interpre_ivrel_content_7_edt>
      <Interpre_ivrel_num_8_edt left="680" top="384" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='8']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='8']/@mask</Xml_path></Interpre_ivrel_num_8_edt>
      <Interpre_ivrel_mask_8_stc left="744" top="384" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='8']/@mask</Xml_path></Interpre_ivrel_mask_8_stc>
      <Interpre_ivrel_del_8_btn left="762" top="384" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_8_btn left="786" top="384" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_8_edt left="810" top="384" width="206" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='8']</Xml_path></Interpre_ivrel_content_8_edt>
      <Interpre_ivrel_num_9_edt left="680" top="406" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='9']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='9']/@mask</Xml_path></Interpre_ivrel_num_9_edt>
      <Interpre_ivrel_mask_9_stc left="744" top="406" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='9']/@mask</Xml_path></Interpre_ivrel_mask_9_stc>
      <Interpre_ivrel_del_9_btn left="762" top="406" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_9_btn left="786" top="406" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_9_edt left="810" top="406" width="206" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='9']</Xml_path></Interpre_ivrel_content_9_edt>
      <Interpre_ivrel_num_10_edt left="680" top="428" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='10']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='10']/@mask</Xml_path></Interpre_ivrel_num_10_edt>
      <Interpre_ivrel_mask_10_stc left="744" top="428" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='10']/@mask</Xml_path></Interpre_ivrel_mask_10_stc>
      <Interpre_ivrel_del_10_btn left="762" top="428" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_10_btn left="786" top="428" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_10_edt left="810" top="428" width="206" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='10']</Xml_path></Interpre_ivrel_content_10_edt>
      <Interpre_ivrel_num_11_edt left="680" top="450" width="60" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='11']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='11']/@mask</Xml_path></Interpre_ivrel_num_11_edt>
      <Interpre_ivrel_mask_11_stc left="744" top="450" width="14" height="22" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='11']/@mask</Xml_path></Interpre_ivrel_mask_11_stc>
      <Interpre_ivrel_del_11_btn left="762" top="450" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_edit_11_btn left="786" top="450" width="20" height="22" enable="true" visible="7"/>
      <Interpre_ivrel_content_11_edt left="810" top="450" width="206" height="22" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='11']</Xml_path></Interpre_ivrel_content_11_edt>
      <Interpre_recommend_title_stc left="340" top="290" width="100" height="20" visible="8">ﾘｺﾒﾝﾃﾞｰｼｮﾝ</Interpre_recommend_title_stc>
      <Interpre_recommend_stc left="444" top="290" width="210" height="20" visible="8"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Recommendation</Xml_path></Interpre_recommend_stc>
      <Interpre_confirmation_stc left="4" top="324" width="320" height="20" visible="11"/>
      <Interpre_confirm_date_title_stc left="4" top="348" width="80" height="20" visible="11">判読日時</Interpre_confirm_date_title_stc>
      <Interpre_confirm_date_stc left="88" top="348" width="130" height="20" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Edit_date</Xml_path></Interpre_confirm_date_stc>
      <Interpre_confirm_doctor_title_stc left="222" top="348" width="80" height="20" visible="11">判読医師</Interpre_confirm_doctor_title_stc>
      <Interpre_confirm_doctor_stc left="306" top="348" width="150" height="20" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Editor_name</Xml_path></Interpre_confirm_doctor_stc>
      <Interpre_comment_stc left="4" top="224" width="100" height="20">コメント</Interpre_comment_stc>
      <Interpre_comment_btn left="108" top="224" width="80" height="20" enable="true">定型文入力</Interpre_comment_btn>
      <Interpre_comment_edt left="4" top="248" width="320" height="72" enable="true"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_content</Xml_path></Interpre_comment_edt>
    </xsl:template>
    <xsl:template name="Interpre_rhythm">
      <Interpre_birthday_stc left="4" top="4" width="76" height="20">生年月日</Interpre_birthday_stc>
      <Interpre_year_edt left="84" top="4" width="44" height="20" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Birthday/@year</Xml_path></Interpre_year_edt>
      <Interpre_line_1_stc left="132" top="4" width="8" height="20">/</Interpre_line_1_stc>
      <Interpre_month_edt left="144" top="4" width="28" height="20" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Birthday/@month</Xml_path></Interpre_month_edt>
      <Interpre_line_2_stc left="176" top="4" width="8" height="20">/</Interpre_line_2_stc>
      <Interpre_day_edt left="188" top="4" width="28" height="20" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Birthday/@day</Xml_path></Interpre_day_edt>
      <Interpre_medication1_stc left="4" top="28" width="76" height="20">投薬情報1</Interpre_medication1_stc>
      <Interpre_medication1_cmb left="84" top="28" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']</Xml_path></Interpre_medication1_cmb>
      <Interpre_medication2_stc left="4" top="52" width="76" height="20">投薬情報2</Interpre_medication2_stc>
      <Interpre_medication2_cmb left="84" top="52" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']</Xml_path></Interpre_medication2_cmb>
      <Interpre_symptom_stc left="4" top="76" width="76" height="20">自覚症状</Interpre_symptom_stc>
      <Interpre_symptom_cmb left="84" top="76" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Symptom</Xml_path></Interpre_symptom_cmb>
      <Interpre_disease_stc left="4" top="100" width="76" height="20">既往症</Interpre_disease_stc>
      <Interpre_disease_cmb left="84" top="100" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Disease</Xml_path></Interpre_disease_cmb>
      <Interpre_department_stc left="4" top="124" width="76" height="20">所属科</Interpre_department_stc>
      <Interpre_department_cmb left="84" top="124" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Department</Xml_path></Interpre_department_cmb>
      <Interpre_ward_stc left="4" top="148" width="76" height="20">病棟</Interpre_ward_stc>
      <Interpre_ward_cmb left="84" top="148" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Ward</Xml_path></Interpre_ward_cmb>
      <Interpre_room_no_stc left="4" top="172" width="76" height="20" visible="4">部屋番号</Interpre_room_no_stc>
      <Interpre_room_no_edt left="84" top="172" width="170" height="20" enable="true" visible="4"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Room_no</Xml_path></Interpre_room_no_edt>
      <Interpre_req_section_stc left="4" top="196" width="76" height="20" visible="4">依頼科</Interpre_req_section_stc>
      <Interpre_req_section_cmb left="84" top="196" width="170" height="20" textheight="16" enable="true" visible="4"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section2/Request_section</Xml_path></Interpre_req_section_cmb>
      <Interpre_req_doctor_stc left="4" top="220" width="76" height="20">依頼医師</Interpre_req_doctor_stc>
      <Interpre_req_doctor_cmb left="84" top="220" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Request_doctor</Xml_path></Interpre_req_doctor_cmb>
      <Interpre_technician_stc left="4" top="244" width="76" height="20">検査技師</Interpre_technician_stc>
      <Interpre_technician_cmb left="84" top="244" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Technician</Xml_path></Interpre_technician_cmb>
      <Interpre_info_editor_title_stc left="4" top="268" width="110" height="20" visible="9">被検者情報編集</Interpre_info_editor_title_stc>
      <Interpre_info_editor_stc left="118" top="268" width="150" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Patient_editor/Editor_name</Xml_path></Interpre_info_editor_stc>
      <Interpre_info_editor_date_stc left="272" top="268" width="130" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Patient_editor/Edit_date</Xml_path></Interpre_info_editor_date_stc>
      <Interpre_addition_stc left="4" top="292" width="100" height="20" visible="5">付帯情報</Interpre_addition_stc>
      <Interpre_addition_title_1_edt left="4" top="316" width="100" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']/@title</Xml_path></Interpre_addition_title_1_edt>
      <Interpre_addition_del_1_btn left="108" top="316" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_edit_1_btn left="132" top="316" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_content_1_edt left="156" top="316" width="220" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']</Xml_path></Interpre_addition_content_1_edt>
      <Interpre_addition_title_2_edt left="4" top="338" width="100" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']/@title</Xml_path></Interpre_addition_title_2_edt>
      <Interpre_addition_del_2_btn left="108" top="338" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_edit_2_btn left="132" top="338" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_content_2_edt left="156" top="338" width="220" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']</Xml_path></Interpre_addition_content_2_edt>
      <Interpre_addition_title_3_edt left="4" top="360" width="100" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']/@title</Xml_path></Interpre_addition_title_3_edt>
      <Interpre_addition_del_3_btn left="108" top="360" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_edit_3_btn left="132" top="360" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_content_3_edt left="156" top="360" width="220" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']</Xml_path></Interpre_addition_content_3_edt>
      <Interpre_addition_other left="4" top="382" width="60" height="20" visible="5">......</Interpre_addition_other>
      <Interpre_comment_stc left="4" top="406" width="100" height="20">コメント</Interpre_comment_stc>
      <Interpre_comment_btn left="108" top="406" width="80" height="20" enable="true">定型文入力</Interpre_comment_btn>
      <Interpre_comment_edt left="4" top="430" width="372" height="72" enable="true"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_content</Xml_path></Interpre_comment_edt>
      <Interpre_comment_title_stc left="4" top="506" width="110" height="20" visible="9">コメント編集</Interpre_comment_title_stc>
      <Interpre_comment_editor_stc left="118" top="506" width="150" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Editor_name</Xml_path></Interpre_comment_editor_stc>
      <Interpre_comment_date_stc left="272" top="506" width="130" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Edit_date</Xml_path></Interpre_comment_date_stc>
      <Interpre_confirmation_stc left="4" top="530" width="372" height="20" visible="11"/>
      <Interpre_confirm_date_title_stc left="4" top="554" width="80" height="20" visible="11">判読日時</Interpre_confirm_date_title_stc>
      <Interpre_confirm_date_stc left="88" top="554" width="130" height="20" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Edit_date</Xml_path></Interpre_confirm_date_stc>
      <Interpre_confirm_doctor_title_stc left="222" top="554" width="80" height="20" visible="11">判読医師</Interpre_confirm_doctor_title_stc>
      <Interpre_confirm_doctor_stc left="306" top="554" width="150" height="20" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Editor_name</Xml_path></Interpre_confirm_doctor_stc>
    </xsl:template>
    <xsl:template name="Interpre_rr">
      <Interpre_birthday_stc left="4" top="4" width="76" height="20">生年月日</Interpre_birthday_stc>
      <Interpre_year_edt left="84" top="4" width="44" height="20" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Birthday/@year</Xml_path></Interpre_year_edt>
      <Interpre_line_1_stc left="132" top="4" width="8" height="20">/</Interpre_line_1_stc>
      <Interpre_month_edt left="144" top="4" width="28" height="20" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Birthday/@month</Xml_path></Interpre_month_edt>
      <Interpre_line_2_stc left="176" top="4" width="8" height="20">/</Interpre_line_2_stc>
      <Interpre_day_edt left="188" top="4" width="28" height="20" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Birthday/@day</Xml_path></Interpre_day_edt>
      <Interpre_medication1_stc left="4" top="28" width="76" height="20">投薬情報1</Interpre_medication1_stc>
      <Interpre_medication1_cmb left="84" top="28" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']</Xml_path></Interpre_medication1_cmb>
      <Interpre_medication2_stc left="4" top="52" width="76" height="20">投薬情報2</Interpre_medication2_stc>
      <Interpre_medication2_cmb left="84" top="52" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']</Xml_path></Interpre_medication2_cmb>
      <Interpre_symptom_stc left="4" top="76" width="76" height="20">自覚症状</Interpre_symptom_stc>
      <Interpre_symptom_cmb left="84" top="76" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Symptom</Xml_path></Interpre_symptom_cmb>
      <Interpre_disease_stc left="4" top="100" width="76" height="20">既往症</Interpre_disease_stc>
      <Interpre_disease_cmb left="84" top="100" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Disease</Xml_path></Interpre_disease_cmb>
      <Interpre_department_stc left="4" top="124" width="76" height="20">所属科</Interpre_department_stc>
      <Interpre_department_cmb left="84" top="124" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Department</Xml_path></Interpre_department_cmb>
      <Interpre_ward_stc left="4" top="148" width="76" height="20">病棟</Interpre_ward_stc>
      <Interpre_ward_cmb left="84" top="148" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Ward</Xml_path></Interpre_ward_cmb>
      <Interpre_room_no_stc left="4" top="172" width="76" height="20" visible="4">部屋番号</Interpre_room_no_stc>
      <Interpre_room_no_edt left="84" top="172" width="170" height="20" enable="true" visible="4"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Room_no</Xml_path></Interpre_room_no_edt>
      <Interpre_req_section_stc left="4" top="196" width="76" height="20" visible="4">依頼科</Interpre_req_section_stc>
      <Interpre_req_section_cmb left="84" top="196" width="170" height="20" textheight="16" enable="true" visible="4"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section2/Request_section</Xml_path></Interpre_req_section_cmb>
      <Interpre_req_doctor_stc left="4" top="220" width="76" height="20">依頼医師</Interpre_req_doctor_stc>
      <Interpre_req_doctor_cmb left="84" top="220" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Request_doctor</Xml_path></Interpre_req_doctor_cmb>
      <Interpre_technician_stc left="4" top="244" width="76" height="20">検査技師</Interpre_technician_stc>
      <Interpre_technician_cmb left="84" top="244" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Technician</Xml_path></Interpre_technician_cmb>
      <Interpre_info_editor_title_stc left="4" top="268" width="110" height="20" visible="9">被検者情報編集</Interpre_info_editor_title_stc>
      <Interpre_info_editor_stc left="118" top="268" width="150" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Patient_editor/Editor_name</Xml_path></Interpre_info_editor_stc>
      <Interpre_info_editor_date_stc left="272" top="268" width="130" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Patient_editor/Edit_date</Xml_path></Interpre_info_editor_date_stc>
      <Interpre_addition_stc left="4" top="292" width="100" height="20" visible="5">付帯情報</Interpre_addition_stc>
      <Interpre_addition_title_1_edt left="4" top="316" width="100" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']/@title</Xml_path></Interpre_addition_title_1_edt>
      <Interpre_addition_del_1_btn left="108" top="316" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_edit_1_btn left="132" top="316" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_content_1_edt left="156" top="316" width="220" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']</Xml_path></Interpre_addition_content_1_edt>
      <Interpre_addition_title_2_edt left="4" top="338" width="100" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']/@title</Xml_path></Interpre_addition_title_2_edt>
      <Interpre_addition_del_2_btn left="108" top="338" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_edit_2_btn left="132" top="338" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_content_2_edt left="156" top="338" width="220" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']</Xml_path></Interpre_addition_content_2_edt>
      <Interpre_addition_title_3_edt left="4" top="360" width="100" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']/@title</Xml_path></Interpre_addition_title_3_edt>
      <Interpre_addition_del_3_btn left="108" top="360" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_edit_3_btn left="132" top="360" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_content_3_edt left="156" top="360" width="220" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']</Xml_path></Interpre_addition_content_3_edt>
      <Interpre_addition_other left="4" top="382" width="60" height="20" visible="5">......</Interpre_addition_other>
      <Interpre_comment_stc left="4" top="406" width="100" height="20">コメント</Interpre_comment_stc>
      <Interpre_comment_btn left="108" top="406" width="80" height="20" enable="true">定型文入力</Interpre_comment_btn>
      <Interpre_comment_edt left="4" top="430" width="372" height="72" enable="true"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_content</Xml_path></Interpre_comment_edt>
      <Interpre_comment_title_stc left="4" top="506" width="110" height="20" visible="9">コメント編集</Interpre_comment_title_stc>
      <Interpre_comment_editor_stc left="118" top="506" width="150" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Editor_name</Xml_path></Interpre_comment_editor_stc>
      <Interpre_comment_date_stc left="272" top="506" width="130" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Edit_date</Xml_path></Interpre_comment_date_stc>
      <Interpre_confirmation_stc left="4" top="530" width="372" height="20" visible="11"/>
      <Interpre_confirm_date_title_stc left="4" top="554" width="80" height="20" visible="11">判読日時</Interpre_confirm_date_title_stc>
      <Interpre_confirm_date_stc left="88" top="554" width="130" height="20" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Edit_date</Xml_path></Interpre_confirm_date_stc>
      <Interpre_confirm_doctor_title_stc left="222" top="554" width="80" height="20" visible="11">判読医師</Interpre_confirm_doctor_title_stc>
      <Interpre_confirm_doctor_stc left="306" top="554" width="150" height="20" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Editor_name</Xml_path></Interpre_confirm_doctor_stc>
    </xsl:template>
    <xsl:template name="Interpre_msfr">
      <Interpre_medication1_stc left="4" top="4" width="76" height="20">投薬情報1</Interpre_medication1_stc>
      <Interpre_medication1_cmb left="84" top="4" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']</Xml_path></Interpre_medication1_cmb>
      <Interpre_medication2_stc left="4" top="28" width="76" height="20">投薬情報2</Interpre_medication2_stc>
      <Interpre_medication2_cmb left="84" top="28" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']</Xml_path></Interpre_medication2_cmb>
      <Interpre_symptom_stc left="4" top="52" width="76" height="20">自覚症状</Interpre_symptom_stc>
      <Interpre_symptom_cmb left="84" top="52" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Symptom</Xml_path></Interpre_symptom_cmb>
      <Interpre_disease_stc left="4" top="76" width="76" height="20">既往症</Interpre_disease_stc>
      <Interpre_disease_cmb left="84" top="76" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Disease</Xml_path></Interpre_disease_cmb>
      <Interpre_department_stc left="4" top="100" width="76" height="20">所属科</Interpre_department_stc>
      <Interpre_department_cmb left="84" top="100" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Department</Xml_path></Interpre_department_cmb>
      <Interpre_ward_stc left="4" top="124" width="76" height="20">病棟</Interpre_ward_stc>
      <Interpre_ward_cmb left="84" top="124" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Ward</Xml_path></Interpre_ward_cmb>
      <Interpre_req_doctor_stc left="4" top="148" width="76" height="20">依頼医師</Interpre_req_doctor_stc>
      <Interpre_req_doctor_cmb left="84" top="148" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Request_doctor</Xml_path></Interpre_req_doctor_cmb>
      <Interpre_technician_stc left="4" top="172" width="76" height="20">検査技師</Interpre_technician_stc>
      <Interpre_technician_cmb left="84" top="172" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Technician</Xml_path></Interpre_technician_cmb>
      <Interpre_addition_stc left="4" top="196" width="100" height="20" visible="5">付帯情報</Interpre_addition_stc>
      <Interpre_addition_title_1_edt left="4" top="220" width="100" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']/@title</Xml_path></Interpre_addition_title_1_edt>
      <Interpre_addition_del_1_btn left="108" top="220" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_edit_1_btn left="132" top="220" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_content_1_edt left="156" top="220" width="220" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']</Xml_path></Interpre_addition_content_1_edt>
      <Interpre_addition_title_2_edt left="4" top="242" width="100" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']/@title</Xml_path></Interpre_addition_title_2_edt>
      <Interpre_addition_del_2_btn left="108" top="242" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_edit_2_btn left="132" top="242" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_content_2_edt left="156" top="242" width="220" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']</Xml_path></Interpre_addition_content_2_edt>
      <Interpre_addition_title_3_edt left="4" top="264" width="100" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']/@title</Xml_path></Interpre_addition_title_3_edt>
      <Interpre_addition_del_3_btn left="108" top="264" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_edit_3_btn left="132" top="264" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_content_3_edt left="156" top="264" width="220" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']</Xml_path></Interpre_addition_content_3_edt>
      <Interpre_addition_other left="4" top="286" width="60" height="20" visible="5">......</Interpre_addition_other>
      <Interpre_ivrel_stc left="4" top="310" width="100" height="20" visible="7">IVRELｺｰﾄﾞ</Interpre_ivrel_stc>
      <Interpre_ivrel_judge_stc left="108" top="310" width="40" height="20" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Judgement/@value</Xml_path></Interpre_ivrel_judge_stc>
      <Interpre_ivrel_judge_cmb left="152" top="310" width="200" height="20" textheight="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Judgement</Xml_path></Interpre_ivrel_judge_cmb>
      <Interpre_comment_stc left="4" top="334" width="100" height="20">コメント</Interpre_comment_stc>
      <Interpre_comment_btn left="108" top="334" width="80" height="20" enable="true">定型文入力</Interpre_comment_btn>
      <Interpre_comment_edt left="4" top="358" width="372" height="72" enable="true"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_content</Xml_path></Interpre_comment_edt>
      <Interpre_confirmation_stc left="4" top="434" width="372" height="20" visible="11"/>
      <Interpre_confirm_date_title_stc left="4" top="458" width="80" height="20" visible="11">判読日時</Interpre_confirm_date_title_stc>
      <Interpre_confirm_date_stc left="88" top="458" width="130" height="20" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Edit_date</Xml_path></Interpre_confirm_date_stc>
      <Interpre_confirm_doctor_title_stc left="222" top="458" width="80" height="20" visible="11">判読医師</Interpre_confirm_doctor_title_stc>
      <Interpre_confirm_doctor_stc left="306" top="458" width="150" height="20" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Editor_name</Xml_path></Interpre_confirm_doctor_stc>
    </xsl:template>
    <xsl:template name="Interpre_extra">
      <Interpre_medication1_stc left="4" top="4" width="76" height="20">投薬情報1</Interpre_medication1_stc>
      <Interpre_medication1_cmb left="84" top="4" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']</Xml_path></Interpre_medication1_cmb>
      <Interpre_medication2_stc left="4" top="28" width="76" height="20">投薬情報2</Interpre_medication2_stc>
      <Interpre_medication2_cmb left="84" top="28" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']</Xml_path></Interpre_medication2_cmb>
      <Interpre_symptom_stc left="4" top="52" width="76" height="20">自覚症状</Interpre_symptom_stc>
      <Interpre_symptom_cmb left="84" top="52" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Symptom</Xml_path></Interpre_symptom_cmb>
      <Interpre_disease_stc left="4" top="76" width="76" height="20">既往症</Interpre_disease_stc>
      <Interpre_disease_cmb left="84" top="76" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Disease</Xml_path></Interpre_disease_cmb>
      <Interpre_department_stc left="4" top="100" width="76" height="20">所属科</Interpre_department_stc>
      <Interpre_department_cmb left="84" top="100" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Department</Xml_path></Interpre_department_cmb>
      <Interpre_ward_stc left="4" top="124" width="76" height="20">病棟</Interpre_ward_stc>
      <Interpre_ward_cmb left="84" top="124" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Ward</Xml_path></Interpre_ward_cmb>
      <Interpre_room_no_stc left="4" top="148" width="76" height="20" visible="4">部屋番号</Interpre_room_no_stc>
      <Interpre_room_no_edt left="84" top="148" width="170" height="20" enable="true" visible="4"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Room_no</Xml_path></Interpre_room_no_edt>
      <Interpre_req_section_stc left="4" top="172" width="76" height="20" visible="4">依頼科</Interpre_req_section_stc>
      <Interpre_req_section_cmb left="84" top="172" width="170" height="20" textheight="16" enable="true" visible="4"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section2/Request_section</Xml_path></Interpre_req_section_cmb>
      <Interpre_req_doctor_stc left="4" top="196" width="76" height="20">依頼医師</Interpre_req_doctor_stc>
      <Interpre_req_doctor_cmb left="84" top="196" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Request_doctor</Xml_path></Interpre_req_doctor_cmb>
      <Interpre_technician_stc left="4" top="220" width="76" height="20">検査技師</Interpre_technician_stc>
      <Interpre_technician_cmb left="84" top="220" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Technician</Xml_path></Interpre_technician_cmb>
      <Interpre_info_editor_title_stc left="4" top="244" width="110" height="20" visible="9">被検者情報編集</Interpre_info_editor_title_stc>
      <Interpre_info_editor_stc left="118" top="244" width="150" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Patient_editor/Editor_name</Xml_path></Interpre_info_editor_stc>
      <Interpre_info_editor_date_stc left="272" top="244" width="130" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Patient_editor/Edit_date</Xml_path></Interpre_info_editor_date_stc>
      <Interpre_addition_stc left="4" top="292" width="100" height="20" visible="5">付帯情報</Interpre_addition_stc>
      <Interpre_addition_title_1_edt left="4" top="316" width="100" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']/@title</Xml_path></Interpre_addition_title_1_edt>
      <Interpre_addition_del_1_btn left="108" top="316" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_edit_1_btn left="132" top="316" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_content_1_edt left="156" top="316" width="220" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']</Xml_path></Interpre_addition_content_1_edt>
      <Interpre_addition_title_2_edt left="4" top="338" width="100" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']/@title</Xml_path></Interpre_addition_title_2_edt>
      <Interpre_addition_del_2_btn left="108" top="338" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_edit_2_btn left="132" top="338" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_content_2_edt left="156" top="338" width="220" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']</Xml_path></Interpre_addition_content_2_edt>
      <Interpre_addition_title_3_edt left="4" top="360" width="100" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']/@title</Xml_path></Interpre_addition_title_3_edt>
      <Interpre_addition_del_3_btn left="108" top="360" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_edit_3_btn left="132" top="360" width="20" height="22" enable="true" visible="5"/>
      <Interpre_addition_content_3_edt left="156" top="360" width="220" height="22" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']</Xml_path></Interpre_addition_content_3_edt>
      <Interpre_addition_other left="4" top="382" width="60" height="20" visible="5">......</Interpre_addition_other>
      <Interpre_comment_stc left="4" top="406" width="100" height="20">コメント</Interpre_comment_stc>
      <Interpre_comment_btn left="108" top="406" width="80" height="20" enable="true">定型文入力</Interpre_comment_btn>
      <Interpre_comment_edt left="4" top="430" width="372" height="72" enable="true"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_content</Xml_path></Interpre_comment_edt>
      <Interpre_comment_title_stc left="4" top="506" width="110" height="20" visible="9">コメント編集</Interpre_comment_title_stc>
      <Interpre_comment_editor_stc left="118" top="506" width="150" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Editor_name</Xml_path></Interpre_comment_editor_stc>
      <Interpre_comment_date_stc left="272" top="506" width="130" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Edit_date</Xml_path></Interpre_comment_date_stc>
      <Interpre_confirmation_stc left="4" top="530" width="372" height="20" visible="11"/>
      <Interpre_confirm_date_title_stc left="4" top="554" width="80" height="20" visible="11">判読日時</Interpre_confirm_date_title_stc>
      <Interpre_confirm_date_stc left="88" top="554" width="130" height="20" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Edit_date</Xml_path></Interpre_confirm_date_stc>
      <Interpre_confirm_doctor_title_stc left="222" top="554" width="80" height="20" visible="11">判読医師</Interpre_confirm_doctor_title_stc>
      <Interpre_confirm_doctor_stc left="306" top="554" width="150" height="20" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Editor_name</Xml_path></Interpre_confirm_doctor_stc>
      <Interpre_hr_title_stc left="270" top="4" width="90" height="20" visible="10">心拍数(bpm)</Interpre_hr_title_stc>
      <Interpre_hr_stc left="364" top="4" width="60" height="20" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Heart_rate</Xml_path></Interpre_hr_stc>
      <Interpre_edit_lead_name_title_stc left="4" top="268" width="110" height="20" visible="9">誘導名称編集</Interpre_edit_lead_name_title_stc>
      <Interpre_edit_lead_name_stc left="118" top="268" width="150" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Editor_name</Xml_path></Interpre_edit_lead_name_stc>
      <Interpre_edit_lead_name_date_stc left="272" top="268" width="130" height="20" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Edit_date</Xml_path></Interpre_edit_lead_name_date_stc>
    </xsl:template>
    <xsl:template name="Interpre_exer">
      <Interpre_medication1_stc left="4" top="3" width="76" height="20">投薬情報1</Interpre_medication1_stc>
      <Interpre_medication1_cmb left="84" top="3" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']</Xml_path></Interpre_medication1_cmb>
      <Interpre_medication2_stc left="4" top="24" width="76" height="20">投薬情報2</Interpre_medication2_stc>
      <Interpre_medication2_cmb left="84" top="24" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']</Xml_path></Interpre_medication2_cmb>
      <Interpre_symptom_stc left="4" top="45" width="76" height="20">自覚症状</Interpre_symptom_stc>
      <Interpre_symptom_cmb left="84" top="45" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Symptom</Xml_path></Interpre_symptom_cmb>
      <Interpre_disease_stc left="4" top="66" width="76" height="20">既往症</Interpre_disease_stc>
      <Interpre_disease_cmb left="84" top="66" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Disease</Xml_path></Interpre_disease_cmb>
      <Interpre_department_stc left="4" top="87" width="76" height="20">所属科</Interpre_department_stc>
      <Interpre_department_cmb left="84" top="87" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Department</Xml_path></Interpre_department_cmb>
      <Interpre_ward_stc left="4" top="108" width="76" height="20">病棟</Interpre_ward_stc>
      <Interpre_ward_cmb left="84" top="108" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Ward</Xml_path></Interpre_ward_cmb>
      <Interpre_req_doctor_stc left="4" top="129" width="76" height="20">依頼医師</Interpre_req_doctor_stc>
      <Interpre_req_doctor_cmb left="84" top="129" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Request_doctor</Xml_path></Interpre_req_doctor_cmb>
      <Interpre_technician_stc left="4" top="150" width="76" height="20">検査技師</Interpre_technician_stc>
      <Interpre_technician_cmb left="84" top="150" width="170" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Technician</Xml_path></Interpre_technician_cmb>
      <Interpre_load_stc left="262" top="3" width="76" height="20">ﾌﾟﾛﾄｺﾙ</Interpre_load_stc>
      <Interpre_load_edt left="342" top="3" width="150" height="20" enable="true"><Xml_path>/Rawdata/Tavrion/Report/Exercise_section/Load/Protocol</Xml_path></Interpre_load_edt>
      <Interpre_load_time_stc left="262" top="24" width="76" height="20">負荷時間</Interpre_load_time_stc>
      <Interpre_load_time_content_stc left="342" top="24" width="150" height="20"><Xml_path>/Rawdata/Tavrion/Report/Exercise_section/Load/Load_time</Xml_path><Xml_path>/Rawdata/Tavrion/Report/Exercise_section/Load/End_mets</Xml_path></Interpre_load_time_content_stc>
      <Interpre_stop_condition_stc left="262" top="45" width="76" height="20">終了条件</Interpre_stop_condition_stc>
      <Interpre_stop_condition_cmb left="342" top="45" width="150" height="20" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Report/Exercise_section/Load/Stop_condition</Xml_path></Interpre_stop_condition_cmb>
      <Interpre_max_beat_stc left="262" top="66" width="76" height="20">最大心拍数</Interpre_max_beat_stc>
      <Interpre_max_beat_edt left="342" top="66" width="40" height="20" enable="true"><Xml_path>/Rawdata/Tavrion/Report/Exercise_section/Hr/Max_hr</Xml_path></Interpre_max_beat_edt>
      <Interpre_max_beat_unit_stc left="386" top="66" width="30" height="20">bpm</Interpre_max_beat_unit_stc>
      <Interpre_max_beat_mhr_stc left="420" top="66" width="150" height="20"/>
      <Interpre_target_beat_stc left="262" top="87" width="76" height="20">目標心拍数</Interpre_target_beat_stc>
      <Interpre_target_beat_edt left="342" top="87" width="40" height="20" enable="true"><Xml_path>/Rawdata/Tavrion/Report/Exercise_section/Hr/Target_hr</Xml_path></Interpre_target_beat_edt>
      <Interpre_target_beat_unit_stc left="386" top="87" width="30" height="20">bpm</Interpre_target_beat_unit_stc>
      <Interpre_target_beat_mhr_stc left="420" top="87" width="150" height="20"/>
      <Interpre_st_measure_point_stc left="262" top="108" width="76" height="20">ST 計測点</Interpre_st_measure_point_stc>
      <Interpre_st_level_stc left="342" top="108" width="52" height="20">ST Level</Interpre_st_level_stc>
      <Interpre_st_level_content_stc left="398" top="108" width="56" height="20"><Xml_path>/Rawdata/Tavrion/Report/Exercise_section/Test_point/St_level_point</Xml_path></Interpre_st_level_content_stc>
      <Interpre_st_slope_stc left="458" top="108" width="52" height="20">ST Slope</Interpre_st_slope_stc>
      <Interpre_st_slope_content_stc left="514" top="108" width="56" height="20"><Xml_path>/Rawdata/Tavrion/Report/Exercise_section/Test_point/St_slope_point</Xml_path></Interpre_st_slope_content_stc>
      <Interpre_ivrel_stc left="590" top="3" width="80" height="20" visible="7">IVRELｺｰﾄﾞ</Interpre_ivrel_stc>
      <Interpre_ivrel_judge_stc left="674" top="3" width="40" height="20" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Judgement/@value</Xml_path></Interpre_ivrel_judge_stc>
      <Interpre_ivrel_judge_cmb left="718" top="3" width="200" height="20" textheight="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Judgement</Xml_path></Interpre_ivrel_judge_cmb>
      <Interpre_comment_stc left="590" top="24" width="80" height="20">コメント</Interpre_comment_stc>
      <Interpre_comment_btn left="674" top="24" width="80" height="20" enable="true">定型文入力</Interpre_comment_btn>
      <Interpre_comment_edt left="590" top="45" width="400" height="72" enable="true"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_content</Xml_path></Interpre_comment_edt>
      <Interpre_confirmation_stc left="590" top="120" width="400" height="20" visible="11"/>
      <Interpre_confirm_date_title_stc left="590" top="141" width="64" height="20" visible="11">判読日時</Interpre_confirm_date_title_stc>
      <Interpre_confirm_date_stc left="658" top="141" width="120" height="20" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Edit_date</Xml_path></Interpre_confirm_date_stc>
      <Interpre_confirm_doctor_title_stc left="782" top="141" width="64" height="20" visible="11">判読医師</Interpre_confirm_doctor_title_stc>
      <Interpre_confirm_doctor_stc left="850" top="141" width="140" height="20" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Editor_name</Xml_path></Interpre_confirm_doctor_stc>
    </xsl:template>
    <xsl:template name="Patient_info_print">
      <Patient_id_stc left="0" top="0" width="50" height="16" visible="1">患者ID</Patient_id_stc>
      <Patient_id_edt left="56" top="0" width="140" height="16" enable="true" visible="1"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_id</Xml_path></Patient_id_edt>
      <Patient_sex_stc left="454" top="0" width="40" height="16">性別</Patient_sex_stc>
      <Patient_sex_cmb left="500" top="0" width="50" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Sex/@value</Xml_path></Patient_sex_cmb>
      <Patient_height_edt left="0" top="18" width="50" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Height</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Sub_height</Xml_path></Patient_height_edt>
      <Patient_height_stc left="56" top="18" width="30" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Height_unit</Xml_path></Patient_height_stc>
      <Patient_weight_edt left="92" top="18" width="50" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Weight</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Sub_weight</Xml_path></Patient_weight_edt>
      <Patient_weight_stc left="148" top="18" width="30" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Weight_unit</Xml_path></Patient_weight_stc>
      <Patient_name_stc left="202" top="0" width="40" height="16" visible="2">氏名</Patient_name_stc>
      <Patient_name_edt left="248" top="0" width="200" height="16" enable="true" visible="2"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_name</Xml_path></Patient_name_edt>
      <Patient_age_birthday_stc left="556" top="0" width="40" height="16">年齢</Patient_age_birthday_stc>
      <Patient_age_birthday_edt left="602" top="0" width="210" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Age</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Birthday</Xml_path></Patient_age_birthday_edt>
      <Patient_bpl_edt left="246" top="18" width="40" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_dia</Xml_path></Patient_bpl_edt>
      <Patient_bp1_stc left="230" top="18" width="10" height="16">/</Patient_bp1_stc>
      <Patient_bph_edt left="184" top="18" width="40" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_sys</Xml_path></Patient_bph_edt>
      <Patient_bp2_stc left="292" top="18" width="50" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_unit</Xml_path></Patient_bp2_stc>
    </xsl:template>
    <xsl:template name="Interpre_rest_print">
      <Patient_id_stc left="0" top="0" width="84" height="16" visible="1">患者ID</Patient_id_stc>
      <Patient_id_edt left="60" top="0" width="183" height="16" enable="true" visible="1"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_id</Xml_path></Patient_id_edt>
      <Patient_name_stc left="200" top="0" width="84" height="16" visible="2">氏名</Patient_name_stc>
      <Patient_name_edt left="260" top="0" width="325" height="16" enable="true" visible="2"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_name</Xml_path></Patient_name_edt>
      <Patient_sex_stc left="0" top="18" width="84" height="16">性別</Patient_sex_stc>
      <Patient_sex_cmb left="60" top="18" width="183" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Sex/@value</Xml_path></Patient_sex_cmb>
      <Patient_age_birthday_stc left="200" top="18" width="84" height="16">年齢</Patient_age_birthday_stc>
      <Patient_age_birthday_edt left="260" top="18" width="325" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Age</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Birthday</Xml_path></Patient_age_birthday_edt>
      <Patient_height_edt left="0" top="36" width="50" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Height</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Sub_height</Xml_path></Patient_height_edt>
      <Patient_height_stc left="56" top="36" width="30" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Height_unit</Xml_path></Patient_height_stc>
      <Patient_weight_edt left="92" top="36" width="50" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Weight</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Sub_weight</Xml_path></Patient_weight_edt>
      <Patient_weight_stc left="148" top="36" width="30" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Weight_unit</Xml_path></Patient_weight_stc>
      <Patient_bpl_edt left="246" top="36" width="40" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_dia</Xml_path></Patient_bpl_edt>
      <Patient_bp1_stc left="230" top="36" width="10" height="16">/</Patient_bp1_stc>
      <Patient_bph_edt left="184" top="36" width="40" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_sys</Xml_path></Patient_bph_edt>
      <Patient_bp2_stc left="292" top="36" width="50" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_unit</Xml_path></Patient_bp2_stc>
      <Patient_sub_id_stc left="0" top="54" width="84" height="16" visible="3">サブＩＤ</Patient_sub_id_stc>
      <Patient_sub_id_edt left="60" top="54" width="183" height="16" enable="true" visible="3"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section2/Sub_id</Xml_path></Patient_sub_id_edt>
      <Patient_kana_name_stc left="200" top="54" width="84" height="16" visible="3">カナ氏名</Patient_kana_name_stc>
      <Patient_kana_name_edt left="260" top="54" width="325" height="16" enable="true" visible="3"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_kana_name</Xml_path></Patient_kana_name_edt>
      <Interpre_medication_stc left="0" top="72" width="84" height="16">投薬情報</Interpre_medication_stc>
      <Interpre_medication1_cmb left="60" top="72" width="268" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']</Xml_path></Interpre_medication1_cmb>
      <Interpre_medication2_cmb left="260" top="72" width="325" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']</Xml_path></Interpre_medication2_cmb>
      <Interpre_symptom_stc left="0" top="90" width="84" height="16">自覚症状</Interpre_symptom_stc>
      <Interpre_symptom_cmb left="60" top="90" width="183" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Symptom</Xml_path></Interpre_symptom_cmb>
      <Interpre_disease_stc left="200" top="90" width="84" height="16">既往症</Interpre_disease_stc>
      <Interpre_disease_cmb left="260" top="90" width="325" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Disease</Xml_path></Interpre_disease_cmb>
      <Interpre_department_stc left="0" top="108" width="84" height="16">所属科</Interpre_department_stc>
      <Interpre_department_cmb left="60" top="108" width="183" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Department</Xml_path></Interpre_department_cmb>
      <Interpre_ward_stc left="200" top="108" width="84" height="16">病棟</Interpre_ward_stc>
      <Interpre_ward_cmb left="260" top="108" width="325" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Ward</Xml_path></Interpre_ward_cmb>
      <Interpre_room_no_stc left="0" top="126" width="84" height="16" visible="4">部屋番号</Interpre_room_no_stc>
      <Interpre_room_no_edt left="60" top="126" width="183" height="16" enable="true" visible="4"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Room_no</Xml_path></Interpre_room_no_edt>
      <Interpre_req_section_stc left="200" top="126" width="84" height="16" visible="4">依頼科</Interpre_req_section_stc>
      <Interpre_req_section_cmb left="260" top="126" width="325" height="16" textheight="16" enable="true" visible="4"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section2/Request_section</Xml_path></Interpre_req_section_cmb>
      <Interpre_req_doctor_stc left="0" top="144" width="84" height="16">依頼医師</Interpre_req_doctor_stc>
      <Interpre_req_doctor_cmb left="60" top="144" width="183" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Request_doctor</Xml_path></Interpre_req_doctor_cmb>
      <Interpre_technician_stc left="200" top="144" width="84" height="16">検査技師</Interpre_technician_stc>
      <Interpre_technician_cmb left="260" top="144" width="325" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Technician</Xml_path></Interpre_technician_cmb>
      <Interpre_hr_title_stc left="0" top="162" width="155" height="16" visible="10">心拍数(bpm)</Interpre_hr_title_stc>
      <Interpre_hr_stc left="110" top="162" width="176" height="16" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Heart_rate</Xml_path></Interpre_hr_stc>
      <Interpre_pr_int_title_stc left="0" top="180" width="155" height="16" visible="10">PR Int(ms)</Interpre_pr_int_title_stc>
      <Interpre_pr_int_stc left="110" top="180" width="176" height="16" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Pr_int</Xml_path></Interpre_pr_int_stc>
      <Interpre_qrs_int_title_stc left="0" top="198" width="155" height="16" visible="10">QRS Int(ms)</Interpre_qrs_int_title_stc>
      <Interpre_qrs_int_stc left="110" top="198" width="176" height="16" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Qrs_dur</Xml_path></Interpre_qrs_int_stc>
      <Interpre_qt_title_stc left="0" top="216" width="155" height="16" visible="10">QT/QTc Int(ms)</Interpre_qt_title_stc>
      <Interpre_qt_stc left="110" top="216" width="176" height="16" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Qt_int</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Qtc_int</Xml_path></Interpre_qt_stc>
      <Interpre_pqrst_title_stc left="245" top="162" width="155" height="16" visible="10">P/QRS/T Axis(deg.)</Interpre_pqrst_title_stc>
      <Interpre_pqrst_stc left="355" top="162" width="176" height="16" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/P_axis</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Qrs_axis</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/T_axis</Xml_path></Interpre_pqrst_stc>
      <Interpre_rv5_sv1_title_stc left="245" top="180" width="155" height="16" visible="10">RV5/SV1 Value(mV)</Interpre_rv5_sv1_title_stc>
      <Interpre_rv5_sv1_stc left="355" top="180" width="176" height="16" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Rv5</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Sv1</Xml_path></Interpre_rv5_sv1_stc>
      <Interpre_rv5_sv1_plus_title_stc left="245" top="198" width="155" height="16" visible="10">RV5+SV1 Value(mV)</Interpre_rv5_sv1_plus_title_stc>
      <Interpre_rv5_sv1_plus_stc left="355" top="198" width="176" height="16" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Rv5</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Sv1</Xml_path></Interpre_rv5_sv1_plus_stc>
      <Interpre_addition_stc left="0" top="234" width="169" height="16" visible="5">付帯情報</Interpre_addition_stc>
      <Interpre_addition_title_1_edt left="20" top="252" width="141" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']/@title</Xml_path></Interpre_addition_title_1_edt>
      <Interpre_addition_content_1_edt left="130" top="252" width="509" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']</Xml_path></Interpre_addition_content_1_edt>
      <Interpre_addition_title_2_edt left="20" top="270" width="141" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']/@title</Xml_path></Interpre_addition_title_2_edt>
      <Interpre_addition_content_2_edt left="130" top="270" width="509" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']</Xml_path></Interpre_addition_content_2_edt>
      <Interpre_addition_title_3_edt left="20" top="288" width="141" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']/@title</Xml_path></Interpre_addition_title_3_edt>
      <Interpre_addition_content_3_edt left="130" top="288" width="509" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']</Xml_path></Interpre_addition_content_3_edt>
      <Interpre_minne_title_stc left="0" top="234" width="127" height="16" visible="6">ﾐﾈｿﾀｺｰﾄﾞ</Interpre_minne_title_stc>
      <Interpre_minne_num_1_edt left="20" top="252" width="98" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='1']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='1']/@mask</Xml_path></Interpre_minne_num_1_edt>
      <Interpre_minne_content_1_edt left="90" top="252" width="565" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='1']</Xml_path></Interpre_minne_content_1_edt>
      <Interpre_minne_num_2_edt left="20" top="270" width="98" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='2']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='2']/@mask</Xml_path></Interpre_minne_num_2_edt>
      <Interpre_minne_content_2_edt left="90" top="270" width="565" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='2']</Xml_path></Interpre_minne_content_2_edt>
      <Interpre_minne_num_3_edt left="20" top="288" width="98" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='3']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='3']/@mask</Xml_path></Interpre_minne_num_3_edt>
      <Interpre_minne_content_3_edt left="90" top="288" width="565" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='3']</Xml_path></Interpre_minne_content_3_edt>
      <Interpre_minne_num_4_edt left="20" top="306" width="98" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='4']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='4']/@mask</Xml_path></Interpre_minne_num_4_edt>
      <Interpre_minne_content_4_edt left="90" top="306" width="565" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='4']</Xml_path></Interpre_minne_content_4_edt>
      <Interpre_minne_num_5_edt left="20" top="324" width="98" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='5']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='5']/@mask</Xml_path></Interpre_minne_num_5_edt>
      <Interpre_minne_content_5_edt left="90" top="324" width="565" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='5']</Xml_path></Interpre_minne_content_5_edt>
      <Interpre_minne_other_stc left="20" top="270" width="98" height="16" visible="6">その他</Interpre_minne_other_stc>
      <Interpre_minne_other_edt left="90" top="270" width="565" height="16" enable="true" visible="6"/>
      <Interpre_ivrel_stc left="0" top="288" width="127" height="16" visible="7">IVRELｺｰﾄﾞ</Interpre_ivrel_stc>
      <Interpre_ivrel_judge_stc left="20" top="306" width="98" height="16" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Judgement/@value</Xml_path></Interpre_ivrel_judge_stc>
      <Interpre_ivrel_judge_cmb left="90" top="306" width="565" height="16" textheight="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Judgement</Xml_path></Interpre_ivrel_judge_cmb>
      <Interpre_ivrel_num_1_edt left="20" top="324" width="98" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='1']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='1']/@mask</Xml_path></Interpre_ivrel_num_1_edt>
      <Interpre_ivrel_content_1_edt left="90" top="324" width="565" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='1']</Xml_path></Interpre_ivrel_content_1_edt>
      <Interpre_ivrel_num_2_edt left="20" top="342" width="98" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='2']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='2']/@mask</Xml_path></Interpre_ivrel_num_2_edt>
      <Interpre_ivrel_content_2_edt left="90" top="342" width="565" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='2']</Xml_path></Interpre_ivrel_content_2_edt>
      <Interpre_ivrel_num_3_edt left="20" top="360" width="98" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='3']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='3']/@mask</Xml_path></Interpre_ivrel_num_3_edt>
      <Interpre_ivrel_content_3_edt left="90" top="360" width="565" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='3']</Xml_path></Interpre_ivrel_content_3_edt>
      <Interpre_ivrel_num_4_edt left="20" top="378" width="98" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='4']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='4']/@mask</Xml_path></Interpre_ivrel_num_4_edt>
      <Interpre_ivrel_content_4_edt left="90" top="378" width="565" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='4']</Xml_path></Interpre_ivrel_content_4_edt>
      <Interpre_ivrel_num_5_edt left="20" top="396" width="98" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='5']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='5']/@mask</Xml_path></Interpre_ivrel_num_5_edt>
      <Interpre_ivrel_content_5_edt left="90" top="396" width="565" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='5']</Xml_path></Interpre_ivrel_content_5_edt>
      <Interpre_ivrel_num_6_edt left="20" top="414" width="98" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='6']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='6']/@mask</Xml_path></Interpre_ivrel_num_6_edt>
      <Interpre_ivrel_content_6_edt left="90" top="414" width="565" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='6']</Xml_path></Interpre_ivrel_content_6_edt>
      <Interpre_ivrel_num_7_edt left="20" top="432" width="98" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='7']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='7']/@mask</Xml_path></Interpre_ivrel_num_7_edt>
      <Interpre_ivrel_content_7_edt left="90" top="432" width="565" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='7']</Xml_path></Interpre_ivrel_content_7_edt>
      <Interpre_ivrel_other_stc left="20" top="342" width="98" height="16" visible="7">その他</Interpre_ivrel_other_stc>
      <Interpre_ivrel_other_edt left="90" top="342" width="565" height="16" enable="true" visible="7"/>
      <Interpre_recommend_title_stc left="0" top="342" width="127" height="16" visible="8">ﾘｺﾒﾝﾃﾞｰｼｮﾝ</Interpre_recommend_title_stc>
      <Interpre_recommend_stc left="90" top="342" width="565" height="16" visible="8"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Recommendation</Xml_path></Interpre_recommend_stc>
      <Interpre_comment_stc left="0" top="360" width="169" height="16">コメント</Interpre_comment_stc>
      <Interpre_comment_edt left="20" top="378" width="664" height="54" enable="true"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_content</Xml_path></Interpre_comment_edt>
      <Interpre_confirm_stc left="0" top="396" width="692" height="16" visible="11"/>
    </xsl:template>
    <xsl:template name="Interpre_usa_rest_print">
      <Patient_id_stc left="0" top="0" width="84" height="16" visible="1">患者ID</Patient_id_stc>
      <Patient_id_edt left="60" top="0" width="113" height="16" enable="true" visible="1"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_id</Xml_path></Patient_id_edt>
      <Patient_name_stc left="150" top="0" width="84" height="16" visible="2">氏名</Patient_name_stc>
      <Patient_name_edt left="210" top="0" width="176" height="16" enable="true" visible="2"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_name</Xml_path></Patient_name_edt>
      <Patient_sex_stc left="0" top="18" width="84" height="16">性別</Patient_sex_stc>
      <Patient_sex_cmb left="60" top="18" width="113" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Sex/@value</Xml_path></Patient_sex_cmb>
      <Patient_age_birthday_stc left="150" top="18" width="84" height="16">年齢</Patient_age_birthday_stc>
      <Patient_age_birthday_edt left="210" top="18" width="176" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Age</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Birthday</Xml_path></Patient_age_birthday_edt>
      <Patient_height_edt left="0" top="36" width="50" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Height</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Sub_height</Xml_path></Patient_height_edt>
      <Patient_height_stc left="56" top="36" width="30" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Height_unit</Xml_path></Patient_height_stc>
      <Patient_weight_edt left="92" top="36" width="50" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Weight</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Sub_weight</Xml_path></Patient_weight_edt>
      <Patient_weight_stc left="148" top="36" width="30" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Weight_unit</Xml_path></Patient_weight_stc>
      <Patient_bpl_edt left="246" top="36" width="40" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_dia</Xml_path></Patient_bpl_edt>
      <Patient_bp1_stc left="230" top="36" width="10" height="16">/</Patient_bp1_stc>
      <Patient_bph_edt left="184" top="36" width="40" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_sys</Xml_path></Patient_bph_edt>
      <Patient_bp2_stc left="292" top="36" width="50" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_unit</Xml_path></Patient_bp2_stc>
      <Interpre_medication_stc left="0" top="54" width="84" height="16">投薬情報</Interpre_medication_stc>
      <Interpre_medication1_cmb left="60" top="54" width="113" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']</Xml_path></Interpre_medication1_cmb>
      <Interpre_medication2_cmb left="150" top="54" width="261" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']</Xml_path></Interpre_medication2_cmb>
      <Interpre_symptom_stc left="0" top="72" width="84" height="16">自覚症状</Interpre_symptom_stc>
      <Interpre_symptom_cmb left="60" top="72" width="113" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Symptom</Xml_path></Interpre_symptom_cmb>
      <Interpre_disease_stc left="150" top="72" width="70" height="16">既往症</Interpre_disease_stc>
      <Interpre_disease_cmb left="200" top="72" width="190" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Disease</Xml_path></Interpre_disease_cmb>
      <Interpre_department_stc left="0" top="90" width="84" height="16">所属科</Interpre_department_stc>
      <Interpre_department_cmb left="60" top="90" width="113" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Department</Xml_path></Interpre_department_cmb>
      <Interpre_ward_stc left="150" top="90" width="70" height="16">病棟</Interpre_ward_stc>
      <Interpre_ward_cmb left="200" top="90" width="190" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Ward</Xml_path></Interpre_ward_cmb>
      <Interpre_hr_title_stc left="0" top="108" width="162" height="16" visible="10">心拍数(bpm)</Interpre_hr_title_stc>
      <Interpre_hr_stc left="115" top="108" width="296" height="16" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Heart_rate</Xml_path></Interpre_hr_stc>
      <Interpre_pr_int_title_stc left="0" top="126" width="162" height="16" visible="10">PR Int(ms)</Interpre_pr_int_title_stc>
      <Interpre_pr_int_stc left="115" top="126" width="296" height="16" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Pr_int</Xml_path></Interpre_pr_int_stc>
      <Interpre_qrs_int_title_stc left="0" top="144" width="162" height="16" visible="10">QRS Int(ms)</Interpre_qrs_int_title_stc>
      <Interpre_qrs_int_stc left="115" top="144" width="296" height="16" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Qrs_dur</Xml_path></Interpre_qrs_int_stc>
      <Interpre_qt_title_stc left="0" top="162" width="162" height="16" visible="10">QT/QTc Int(ms)</Interpre_qt_title_stc>
      <Interpre_qt_stc left="115" top="162" width="296" height="16" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Qt_int</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Qtc_int</Xml_path></Interpre_qt_stc>
      <Interpre_pqrst_title_stc left="0" top="180" width="162" height="16" visible="10">P/QRS/T Axis(deg.)</Interpre_pqrst_title_stc>
      <Interpre_pqrst_stc left="115" top="180" width="296" height="16" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/P_axis</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Qrs_axis</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/T_axis</Xml_path></Interpre_pqrst_stc>
      <Interpre_rv5_sv1_title_stc left="0" top="198" width="162" height="16" visible="10">RV5/SV1 Value(mV)</Interpre_rv5_sv1_title_stc>
      <Interpre_rv5_sv1_stc left="115" top="198" width="296" height="16" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Rv5</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Sv1</Xml_path></Interpre_rv5_sv1_stc>
      <Interpre_rv5_sv1_plus_title_stc left="0" top="216" width="162" height="16" visible="10">RV5+SV1 Value(mV)</Interpre_rv5_sv1_plus_title_stc>
      <Interpre_rv5_sv1_plus_stc left="115" top="216" width="296" height="16" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Rv5</Xml_path><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Sv1</Xml_path></Interpre_rv5_sv1_plus_stc>
      <Interpre_addition_stc left="350" top="0" width="169" height="16" visible="5">付帯情報</Interpre_addition_stc>
      <Interpre_addition_title_1_edt left="370" top="18" width="141" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']/@title</Xml_path></Interpre_addition_title_1_edt>
      <Interpre_addition_content_1_edt left="480" top="18" width="735" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']</Xml_path></Interpre_addition_content_1_edt>
      <Interpre_addition_title_2_edt left="370" top="36" width="141" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']/@title</Xml_path></Interpre_addition_title_2_edt>
      <Interpre_addition_content_2_edt left="480" top="36" width="735" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']</Xml_path></Interpre_addition_content_2_edt>
      <Interpre_addition_title_3_edt left="370" top="54" width="141" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']/@title</Xml_path></Interpre_addition_title_3_edt>
      <Interpre_addition_content_3_edt left="480" top="54" width="735" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']</Xml_path></Interpre_addition_content_3_edt>
      <Interpre_minne_title_stc left="350" top="0" width="127" height="16" visible="6">ﾐﾈｿﾀｺｰﾄﾞ</Interpre_minne_title_stc>
      <Interpre_minne_num_1_edt left="370" top="18" width="98" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='1']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='1']/@mask</Xml_path></Interpre_minne_num_1_edt>
      <Interpre_minne_content_1_edt left="440" top="18" width="791" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='1']</Xml_path></Interpre_minne_content_1_edt>
      <Interpre_minne_num_2_edt left="370" top="36" width="98" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='2']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='2']/@mask</Xml_path></Interpre_minne_num_2_edt>
      <Interpre_minne_content_2_edt left="440" top="36" width="791" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='2']</Xml_path></Interpre_minne_content_2_edt>
      <Interpre_minne_num_3_edt left="370" top="54" width="98" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='3']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='3']/@mask</Xml_path></Interpre_minne_num_3_edt>
      <Interpre_minne_content_3_edt left="440" top="54" width="791" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='3']</Xml_path></Interpre_minne_content_3_edt>
      <Interpre_minne_num_4_edt left="370" top="72" width="98" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='4']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='4']/@mask</Xml_path></Interpre_minne_num_4_edt>
      <Interpre_minne_content_4_edt left="440" top="72" width="791" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='4']</Xml_path></Interpre_minne_content_4_edt>
      <Interpre_minne_num_5_edt left="370" top="90" width="98" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='5']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='5']/@mask</Xml_path></Interpre_minne_num_5_edt>
      <Interpre_minne_content_5_edt left="440" top="90" width="791" height="16" enable="true" visible="6"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota[@number='5']</Xml_path></Interpre_minne_content_5_edt>
      <Interpre_minne_other_stc left="370" top="36" width="98" height="16" visible="6">その他</Interpre_minne_other_stc>
      <Interpre_minne_other_edt left="440" top="36" width="791" height="16" enable="true" visible="6"/>
      <Interpre_ivrel_stc left="350" top="54" width="127" height="16" visible="7">IVRELｺｰﾄﾞ</Interpre_ivrel_stc>
      <Interpre_ivrel_judge_stc left="370" top="72" width="98" height="16" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Judgement/@value</Xml_path></Interpre_ivrel_judge_stc>
      <Interpre_ivrel_judge_cmb left="440" top="72" width="791" height="16" textheight="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Judgement</Xml_path></Interpre_ivrel_judge_cmb>
      <Interpre_ivrel_num_1_edt left="370" top="90" width="98" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='1']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='1']/@mask</Xml_path></Interpre_ivrel_num_1_edt>
      <Interpre_ivrel_content_1_edt left="440" top="90" width="791" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='1']</Xml_path></Interpre_ivrel_content_1_edt>
      <Interpre_ivrel_num_2_edt left="370" top="108" width="98" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='2']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='2']/@mask</Xml_path></Interpre_ivrel_num_2_edt>
      <Interpre_ivrel_content_2_edt left="440" top="108" width="791" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='2']</Xml_path></Interpre_ivrel_content_2_edt>
      <Interpre_ivrel_num_3_edt left="370" top="126" width="98" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='3']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='3']/@mask</Xml_path></Interpre_ivrel_num_3_edt>
      <Interpre_ivrel_content_3_edt left="440" top="126" width="791" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='3']</Xml_path></Interpre_ivrel_content_3_edt>
      <Interpre_ivrel_num_4_edt left="370" top="144" width="98" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='4']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='4']/@mask</Xml_path></Interpre_ivrel_num_4_edt>
      <Interpre_ivrel_content_4_edt left="440" top="144" width="791" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='4']</Xml_path></Interpre_ivrel_content_4_edt>
      <Interpre_ivrel_num_5_edt left="370" top="162" width="98" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='5']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='5']/@mask</Xml_path></Interpre_ivrel_num_5_edt>
      <Interpre_ivrel_content_5_edt left="440" top="162" width="791" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='5']</Xml_path></Interpre_ivrel_content_5_edt>
      <Interpre_ivrel_num_6_edt left="370" top="180" width="98" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='6']/@title</Xml_path><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='6']/@mask</Xml_path></Interpre_ivrel_num_6_edt>
      <Interpre_ivrel_content_6_edt left="440" top="180" width="791" height="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel[@number='6']</Xml_path></Interpre_ivrel_content_6_edt>
      <Interpre_ivrel_other_stc left="370" top="108" width="98" height="16" visible="7">その他</Interpre_ivrel_other_stc>
      <Interpre_ivrel_other_edt left="440" top="108" width="791" height="16" enable="true" visible="7"/>
      <Interpre_recommend_title_stc left="350" top="108" width="127" height="16" visible="8">ﾘｺﾒﾝﾃﾞｰｼｮﾝ</Interpre_recommend_title_stc>
      <Interpre_recommend_stc left="440" top="108" width="791" height="16" visible="8"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Recommendation</Xml_path></Interpre_recommend_stc>
      <Interpre_comment_stc left="350" top="126" width="169" height="16">コメント</Interpre_comment_stc>
      <Interpre_comment_edt left="370" top="144" width="890" height="54" enable="true"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_content</Xml_path></Interpre_comment_edt>
      <Interpre_confirm_stc left="350" top="162" width="919" height="16" visible="11"/>
    </xsl:template>
    <xsl:template name="Interpre_rr_print">
      <Patient_sub_id_stc left="0" top="0" width="84" height="16" visible="3">サブＩＤ</Patient_sub_id_stc>
      <Patient_sub_id_edt left="60" top="0" width="183" height="16" enable="true" visible="3"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section2/Sub_id</Xml_path></Patient_sub_id_edt>
      <Patient_kana_name_stc left="200" top="0" width="84" height="16" visible="3">カナ氏名</Patient_kana_name_stc>
      <Patient_kana_name_edt left="260" top="0" width="325" height="16" enable="true" visible="3"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_kana_name</Xml_path></Patient_kana_name_edt>
      <Interpre_room_no_stc left="0" top="18" width="84" height="16" visible="4">部屋番号</Interpre_room_no_stc>
      <Interpre_room_no_edt left="60" top="18" width="183" height="16" enable="true" visible="4"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Room_no</Xml_path></Interpre_room_no_edt>
      <Interpre_req_section_stc left="200" top="18" width="84" height="16" visible="4">依頼科</Interpre_req_section_stc>
      <Interpre_req_section_cmb left="260" top="18" width="325" height="16" textheight="16" enable="true" visible="4"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section2/Request_section</Xml_path></Interpre_req_section_cmb>
      <Interpre_req_doctor_stc left="0" top="36" width="84" height="16">依頼医師</Interpre_req_doctor_stc>
      <Interpre_req_doctor_cmb left="60" top="36" width="183" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Request_doctor</Xml_path></Interpre_req_doctor_cmb>
      <Interpre_technician_stc left="200" top="36" width="84" height="16">検査技師</Interpre_technician_stc>
      <Interpre_technician_cmb left="260" top="36" width="325" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Technician</Xml_path></Interpre_technician_cmb>
      <Interpre_info_editor_title_stc left="0" top="54" width="127" height="16" visible="9">被検者情報編集</Interpre_info_editor_title_stc>
      <Interpre_info_editor_stc left="90" top="54" width="226" height="16" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Patient_editor/Editor_name</Xml_path></Interpre_info_editor_stc>
      <Interpre_info_editor_date_stc left="260" top="54" width="325" height="16" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Patient_editor/Edit_date</Xml_path></Interpre_info_editor_date_stc>
      <Interpre_addition_stc left="0" top="72" width="169" height="16" visible="5">付帯情報</Interpre_addition_stc>
      <Interpre_addition_title_1_edt left="20" top="90" width="141" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']/@title</Xml_path></Interpre_addition_title_1_edt>
      <Interpre_addition_content_1_edt left="130" top="90" width="509" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']</Xml_path></Interpre_addition_content_1_edt>
      <Interpre_addition_title_2_edt left="20" top="108" width="141" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']/@title</Xml_path></Interpre_addition_title_2_edt>
      <Interpre_addition_content_2_edt left="130" top="108" width="509" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']</Xml_path></Interpre_addition_content_2_edt>
      <Interpre_addition_title_3_edt left="20" top="126" width="141" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']/@title</Xml_path></Interpre_addition_title_3_edt>
      <Interpre_addition_content_3_edt left="130" top="126" width="509" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']</Xml_path></Interpre_addition_content_3_edt>
      <Interpre_mt_title_stc left="0" top="72" width="84" height="16">解析時間</Interpre_mt_title_stc>
      <Interpre_mt_stc left="60" top="72" width="84" height="16"><Xml_path>/Rawdata/Tavrion/Report/Rr_total/Measure_time</Xml_path></Interpre_mt_stc>
      <Interpre_hr_title_stc left="140" top="72" width="98" height="16" visible="10">心拍数(bpm)</Interpre_hr_title_stc>
      <Interpre_hr_stc left="210" top="72" width="56" height="16" visible="10"><Xml_path>/Rawdata/Tavrion/Report/Rr_total/Heart_rate</Xml_path></Interpre_hr_stc>
      <Interpre_tb_title_stc left="270" top="72" width="70" height="16">総心拍数</Interpre_tb_title_stc>
      <Interpre_tb_stc left="320" top="72" width="56" height="16"><Xml_path>/Rawdata/Tavrion/Report/Rr_total/Total_beat</Xml_path></Interpre_tb_stc>
      <Interpre_comment_stc left="0" top="90" width="169" height="16">コメント</Interpre_comment_stc>
      <Interpre_comment_edt left="20" top="108" width="664" height="126" enable="true"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_content</Xml_path></Interpre_comment_edt>
      <Interpre_comment_title_stc left="0" top="234" width="127" height="16" visible="9">コメント編集</Interpre_comment_title_stc>
      <Interpre_comment_editor_stc left="90" top="234" width="226" height="16" visible="9"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Editor_name</Xml_path></Interpre_comment_editor_stc>
      <Interpre_comment_date_stc left="260" top="234" width="325" height="16" visible="9"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Edit_date</Xml_path></Interpre_comment_date_stc>
      <Patient_confirm_date_title_stc left="0" top="252" width="84" height="16" visible="11">判読日時</Patient_confirm_date_title_stc>
      <Patient_confirm_date_stc left="60" top="252" width="183" height="16" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Edit_date</Xml_path></Patient_confirm_date_stc>
      <Patient_confirm_doctor_title_stc left="200" top="252" width="84" height="16" visible="11">判読医師</Patient_confirm_doctor_title_stc>
      <Patient_confirm_doctor_stc left="260" top="252" width="325" height="16" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Editor_name</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Doctor</Xml_path></Patient_confirm_doctor_stc>
      <Interpre_cv_title_stc left="0" top="342" width="127" height="16">CV(%)</Interpre_cv_title_stc>
      <Interpre_cv_stc left="90" top="342" width="141" height="16"><Xml_path>/Rawdata/Tavrion/Report/Rr_total/Cv</Xml_path></Interpre_cv_stc>
      <Interpre_maxd_title_stc left="200" top="342" width="127" height="16">最大RR(ms)</Interpre_maxd_title_stc>
      <Interpre_maxd_stc left="290" top="342" width="141" height="16"><Xml_path>/Rawdata/Tavrion/Report/Rr_total/Max_duration</Xml_path></Interpre_maxd_stc>
      <Interpre_sd_title_stc left="0" top="360" width="127" height="16">SD(ms)</Interpre_sd_title_stc>
      <Interpre_sd_stc left="90" top="360" width="141" height="16"><Xml_path>/Rawdata/Tavrion/Report/Rr_total/Sd</Xml_path></Interpre_sd_stc>
      <Interpre_mind_title_stc left="200" top="360" width="127" height="16">最小RR(ms)</Interpre_mind_title_stc>
      <Interpre_mind_stc left="290" top="360" width="141" height="16"><Xml_path>/Rawdata/Tavrion/Report/Rr_total/Min_duration</Xml_path></Interpre_mind_stc>
      <Interpre_meand_title_stc left="0" top="378" width="127" height="16">平均RR(ms)</Interpre_meand_title_stc>
      <Interpre_meand_stc left="90" top="378" width="141" height="16"><Xml_path>/Rawdata/Tavrion/Report/Rr_total/Mean_duration</Xml_path></Interpre_meand_stc>
      <Interpre_maxmin_titile_stc left="200" top="378" width="127" height="16">最大/最小</Interpre_maxmin_titile_stc>
      <Interpre_maxmin_stc left="290" top="378" width="141" height="16"><Xml_path>/Rawdata/Tavrion/Report/Rr_total/Max_min_duration</Xml_path></Interpre_maxmin_stc>
      <Interpre_result_table left="220" top="0" width="470" height="330"/>
      <Interpre_histogram left="0" top="0" width="480" height="440"/>
      <Interpre_trend left="10" top="0" width="480" height="440"/>
    </xsl:template>
    <xsl:template name="Interpre_rhy_print">
      <Patient_sub_id_stc left="0" top="0" width="84" height="16" visible="3">サブＩＤ</Patient_sub_id_stc>
      <Patient_sub_id_edt left="60" top="0" width="183" height="16" enable="true" visible="3"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section2/Sub_id</Xml_path></Patient_sub_id_edt>
      <Patient_kana_name_stc left="200" top="0" width="84" height="16" visible="3">カナ氏名</Patient_kana_name_stc>
      <Patient_kana_name_edt left="260" top="0" width="325" height="16" enable="true" visible="3"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_kana_name</Xml_path></Patient_kana_name_edt>
      <Interpre_medication1_stc left="0" top="18" width="84" height="16">投薬情報1</Interpre_medication1_stc>
      <Interpre_medication1_cmb left="60" top="18" width="183" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']</Xml_path></Interpre_medication1_cmb>
      <Interpre_medication2_stc left="200" top="18" width="84" height="16">投薬情報2</Interpre_medication2_stc>
      <Interpre_medication2_cmb left="260" top="18" width="325" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']</Xml_path></Interpre_medication2_cmb>
      <Interpre_symptom_stc left="0" top="36" width="84" height="16">自覚症状</Interpre_symptom_stc>
      <Interpre_symptom_cmb left="60" top="36" width="183" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Symptom</Xml_path></Interpre_symptom_cmb>
      <Interpre_disease_stc left="200" top="36" width="84" height="16">既往症</Interpre_disease_stc>
      <Interpre_disease_cmb left="260" top="36" width="325" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Disease</Xml_path></Interpre_disease_cmb>
      <Interpre_department_stc left="0" top="54" width="84" height="16">所属科</Interpre_department_stc>
      <Interpre_department_cmb left="60" top="54" width="183" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Department</Xml_path></Interpre_department_cmb>
      <Interpre_ward_stc left="200" top="54" width="84" height="16">病棟</Interpre_ward_stc>
      <Interpre_ward_cmb left="260" top="54" width="325" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Ward</Xml_path></Interpre_ward_cmb>
      <Interpre_room_no_stc left="0" top="72" width="84" height="16" visible="4">部屋番号</Interpre_room_no_stc>
      <Interpre_room_no_edt left="60" top="72" width="183" height="16" enable="true" visible="4"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Room_no</Xml_path></Interpre_room_no_edt>
      <Interpre_req_section_stc left="200" top="72" width="84" height="16" visible="4">依頼科</Interpre_req_section_stc>
      <Interpre_req_section_cmb left="260" top="72" width="325" height="16" textheight="16" enable="true" visible="4"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section2/Request_section</Xml_path></Interpre_req_section_cmb>
      <Interpre_req_doctor_stc left="0" top="90" width="84" height="16">依頼医師</Interpre_req_doctor_stc>
      <Interpre_req_doctor_cmb left="60" top="90" width="183" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Request_doctor</Xml_path></Interpre_req_doctor_cmb>
      <Interpre_technician_stc left="200" top="90" width="84" height="16">検査技師</Interpre_technician_stc>
      <Interpre_technician_cmb left="260" top="90" width="325" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Technician</Xml_path></Interpre_technician_cmb>
      <Interpre_info_editor_title_stc left="0" top="108" width="127" height="16" visible="9">被検者情報編集</Interpre_info_editor_title_stc>
      <Interpre_info_editor_stc left="90" top="108" width="226" height="16" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Patient_editor/Editor_name</Xml_path></Interpre_info_editor_stc>
      <Interpre_info_editor_date_stc left="260" top="108" width="325" height="16" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Patient_editor/Edit_date</Xml_path></Interpre_info_editor_date_stc>
      <Interpre_addition_stc left="0" top="126" width="169" height="16" visible="5">付帯情報</Interpre_addition_stc>
      <Interpre_addition_title_1_edt left="20" top="144" width="141" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']/@title</Xml_path></Interpre_addition_title_1_edt>
      <Interpre_addition_content_1_edt left="130" top="144" width="509" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']</Xml_path></Interpre_addition_content_1_edt>
      <Interpre_addition_title_2_edt left="20" top="162" width="141" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']/@title</Xml_path></Interpre_addition_title_2_edt>
      <Interpre_addition_content_2_edt left="130" top="162" width="509" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']</Xml_path></Interpre_addition_content_2_edt>
      <Interpre_addition_title_3_edt left="20" top="180" width="141" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']/@title</Xml_path></Interpre_addition_title_3_edt>
      <Interpre_addition_content_3_edt left="130" top="180" width="509" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']</Xml_path></Interpre_addition_content_3_edt>
      <Interpre_comment_stc left="0" top="126" width="169" height="16">コメント</Interpre_comment_stc>
      <Interpre_comment_edt left="20" top="144" width="664" height="126" enable="true"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_content</Xml_path></Interpre_comment_edt>
      <Interpre_comment_title_stc left="0" top="270" width="127" height="16" visible="9">コメント編集</Interpre_comment_title_stc>
      <Interpre_comment_editor_stc left="90" top="270" width="226" height="16" visible="9"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Editor_name</Xml_path></Interpre_comment_editor_stc>
      <Interpre_comment_date_stc left="260" top="270" width="325" height="16" visible="9"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Edit_date</Xml_path></Interpre_comment_date_stc>
      <Interpre_confirm_stc left="0" top="450" width="692" height="16" visible="11"/>
    </xsl:template>
    <xsl:template name="Interpre_final_print">
      <Patient_id_stc left="0" top="0" width="50" height="16" visible="1">患者ID</Patient_id_stc>
      <Patient_id_edt left="56" top="0" width="140" height="16" enable="true" visible="1"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_id</Xml_path></Patient_id_edt>
      <Patient_name_stc left="202" top="0" width="40" height="16" visible="2">氏名</Patient_name_stc>
      <Patient_name_edt left="248" top="0" width="180" height="16" enable="true" visible="2"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_name</Xml_path></Patient_name_edt>
      <Patient_sex_stc left="434" top="0" width="40" height="16">性別</Patient_sex_stc>
      <Patient_sex_cmb left="480" top="0" width="50" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Sex/@value</Xml_path></Patient_sex_cmb>
      <Patient_age_stc left="536" top="0" width="40" height="16">年齢</Patient_age_stc>
      <Patient_age_edt left="582" top="0" width="80" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Age</Xml_path></Patient_age_edt>
      <Patient_height_stc left="0" top="18" width="40" height="16">身長</Patient_height_stc>
      <Patient_height_edt left="46" top="18" width="60" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Height</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Sub_height</Xml_path></Patient_height_edt>
      <Patient_weight_stc left="112" top="18" width="40" height="16">体重</Patient_weight_stc>
      <Patient_weight_edt left="158" top="18" width="60" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Weight</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Sub_weight</Xml_path></Patient_weight_edt>
      <Patient_bp_stc left="224" top="18" width="40" height="16">血圧</Patient_bp_stc>
      <Patient_bph_edt left="270" top="18" width="40" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_sys</Xml_path></Patient_bph_edt>
      <Patient_bp1_stc left="316" top="18" width="10" height="16">/</Patient_bp1_stc>
      <Patient_bpl_edt left="332" top="18" width="40" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_dia</Xml_path></Patient_bpl_edt>
      <Patient_bp2_stc left="378" top="18" width="50" height="16">mmHg</Patient_bp2_stc>
      <Interpre_medication1_stc left="0" top="36" width="80" height="16">投薬情報1</Interpre_medication1_stc>
      <Interpre_medication1_cmb left="86" top="36" width="150" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']</Xml_path></Interpre_medication1_cmb>
      <Interpre_medication2_stc left="242" top="36" width="80" height="16">投薬情報2</Interpre_medication2_stc>
      <Interpre_medication2_cmb left="328" top="36" width="150" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']</Xml_path></Interpre_medication2_cmb>
      <Interpre_symptom_stc left="0" top="54" width="80" height="16">自覚症状</Interpre_symptom_stc>
      <Interpre_symptom_cmb left="86" top="54" width="150" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Symptom</Xml_path></Interpre_symptom_cmb>
      <Interpre_disease_stc left="242" top="54" width="80" height="16">既往症</Interpre_disease_stc>
      <Interpre_disease_cmb left="328" top="54" width="150" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Disease</Xml_path></Interpre_disease_cmb>
      <Interpre_department_stc left="484" top="54" width="80" height="16">所属科</Interpre_department_stc>
      <Interpre_department_cmb left="570" top="54" width="150" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Department</Xml_path></Interpre_department_cmb>
      <Interpre_ward_stc left="0" top="72" width="80" height="16">病棟</Interpre_ward_stc>
      <Interpre_ward_cmb left="86" top="72" width="150" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Ward</Xml_path></Interpre_ward_cmb>
      <Interpre_req_doctor_stc left="242" top="72" width="80" height="16">依頼医師</Interpre_req_doctor_stc>
      <Interpre_req_doctor_cmb left="328" top="72" width="150" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Request_doctor</Xml_path></Interpre_req_doctor_cmb>
      <Patient_Acqtime_title_stc left="434" top="18" width="80" height="16">検査日時</Patient_Acqtime_title_stc>
      <Patient_Acqtime_stc left="520" top="18" width="180" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Acquition_date</Xml_path></Patient_Acqtime_stc>
      <Interpre_technician_stc left="484" top="72" width="80" height="16">検査技師</Interpre_technician_stc>
      <Interpre_technician_cmb left="570" top="72" width="150" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Technician</Xml_path></Interpre_technician_cmb>
      <Interpre_confirm_stc left="0" top="90" width="600" height="16" visible="11"/>
      <Interpre_max_st_stc left="606" top="90" width="300" height="16">最大ST変化</Interpre_max_st_stc>
      <Interpre_addition_stc left="0" top="108" width="120" height="16" visible="5">付帯情報</Interpre_addition_stc>
      <Interpre_addition_title_1_edt left="0" top="126" width="200" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']/@title</Xml_path></Interpre_addition_title_1_edt>
      <Interpre_addition_content_1_edt left="206" top="126" width="780" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']</Xml_path></Interpre_addition_content_1_edt>
      <Interpre_addition_title_2_edt left="0" top="144" width="200" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']/@title</Xml_path></Interpre_addition_title_2_edt>
      <Interpre_addition_content_2_edt left="206" top="144" width="780" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']</Xml_path></Interpre_addition_content_2_edt>
      <Interpre_addition_title_3_edt left="0" top="162" width="200" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']/@title</Xml_path></Interpre_addition_title_3_edt>
      <Interpre_addition_content_3_edt left="206" top="162" width="780" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']</Xml_path></Interpre_addition_content_3_edt>
      <Interpre_ivrel_stc left="0" top="180" width="160" height="16" visible="7">IVRELｺｰﾄﾞ</Interpre_ivrel_stc>
      <Interpre_ivrel_judge_stc left="166" top="180" width="60" height="16" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Judgement/@value</Xml_path></Interpre_ivrel_judge_stc>
      <Interpre_ivrel_judge_cmb left="232" top="180" width="400" height="16" textheight="16" enable="true" visible="7"><Xml_path>/Rawdata/Tavrion/Analysis/Analysis_section/Judgement</Xml_path></Interpre_ivrel_judge_cmb>
      <Interpre_comment_stc left="0" top="198" width="120" height="16">コメント</Interpre_comment_stc>
      <Interpre_comment_edt left="20" top="216" width="960" height="54" enable="true"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_content</Xml_path></Interpre_comment_edt>
      <Interpre_req_doctor_stc_2 left="0" top="270" width="80" height="16">依頼医師</Interpre_req_doctor_stc_2>
      <Interpre_req_doctor_cmb_2 left="86" top="270" width="104" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Request_doctor</Xml_path></Interpre_req_doctor_cmb_2>
      <Interpre_technician_stc_2 left="196" top="270" width="80" height="16">検査技師</Interpre_technician_stc_2>
      <Interpre_technician_cmb_2 left="282" top="270" width="104" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Technician</Xml_path></Interpre_technician_cmb_2>
      <Interpre_ward_stc_2 left="392" top="270" width="80" height="16">病棟</Interpre_ward_stc_2>
      <Interpre_ward_cmb_2 left="478" top="270" width="104" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Ward</Xml_path></Interpre_ward_cmb_2>
      <Interpre_department_stc_2 left="588" top="270" width="80" height="16">所属科</Interpre_department_stc_2>
      <Interpre_department_cmb_2 left="674" top="270" width="104" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Department</Xml_path></Interpre_department_cmb_2>
      <Interpre_hos_stc left="784" top="270" width="80" height="16">施設名</Interpre_hos_stc>
      <Interpre_hos_edt left="870" top="270" width="104" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Hosp_name</Xml_path></Interpre_hos_edt>
    </xsl:template>
    <xsl:template name="Interpre_extra_print">
      <Patient_id_stc left="0" top="0" width="84" height="16" visible="1">患者ID</Patient_id_stc>
      <Patient_id_edt left="60" top="0" width="183" height="16" enable="true" visible="1"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_id</Xml_path></Patient_id_edt>
      <Patient_name_stc left="200" top="0" width="84" height="16" visible="2">氏名</Patient_name_stc>
      <Patient_name_edt left="260" top="0" width="325" height="16" enable="true" visible="2"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_name</Xml_path></Patient_name_edt>
      <Patient_sex_stc left="0" top="18" width="84" height="16">性別</Patient_sex_stc>
      <Patient_sex_cmb left="60" top="18" width="183" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Sex/@value</Xml_path></Patient_sex_cmb>
      <Patient_age_birthday_stc left="200" top="18" width="84" height="16">年齢</Patient_age_birthday_stc>
      <Patient_age_birthday_edt left="260" top="18" width="325" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Age</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Birthday</Xml_path></Patient_age_birthday_edt>
      <Patient_height_edt left="0" top="36" width="50" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Height</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Sub_height</Xml_path></Patient_height_edt>
      <Patient_height_stc left="56" top="36" width="30" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Height_unit</Xml_path></Patient_height_stc>
      <Patient_weight_edt left="92" top="36" width="50" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Weight</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Sub_weight</Xml_path></Patient_weight_edt>
      <Patient_weight_stc left="148" top="36" width="30" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Weight_unit</Xml_path></Patient_weight_stc>
      <Patient_bpl_edt left="246" top="36" width="40" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_dia</Xml_path></Patient_bpl_edt>
      <Patient_bp1_stc left="230" top="36" width="10" height="16">/</Patient_bp1_stc>
      <Patient_bph_edt left="184" top="36" width="40" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_sys</Xml_path></Patient_bph_edt>
      <Patient_bp2_stc left="292" top="36" width="50" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_unit</Xml_path></Patient_bp2_stc>
      <Patient_sub_id_stc left="0" top="54" width="84" height="16" visible="3">サブＩＤ</Patient_sub_id_stc>
      <Patient_sub_id_edt left="60" top="54" width="183" height="16" enable="true" visible="3"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section2/Sub_id</Xml_path></Patient_sub_id_edt>
      <Patient_kana_name_stc left="200" top="54" width="84" height="16" visible="3">カナ氏名</Patient_kana_name_stc>
      <Patient_kana_name_edt left="260" top="54" width="325" height="16" enable="true" visible="3"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_kana_name</Xml_path></Patient_kana_name_edt>
      <Interpre_medication_stc left="0" top="72" width="84" height="16">投薬情報</Interpre_medication_stc>
      <Interpre_medication1_cmb left="60" top="72" width="268" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']/@index</Xml_path></Interpre_medication1_cmb>
      <Interpre_medication2_cmb left="260" top="72" width="325" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']/@index</Xml_path></Interpre_medication2_cmb>
      <Interpre_symptom_stc left="0" top="90" width="84" height="16">自覚症状</Interpre_symptom_stc>
      <Interpre_symptom_cmb left="60" top="90" width="183" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Symptom</Xml_path></Interpre_symptom_cmb>
      <Interpre_disease_stc left="200" top="90" width="84" height="16">既往症</Interpre_disease_stc>
      <Interpre_disease_cmb left="260" top="90" width="325" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Disease</Xml_path></Interpre_disease_cmb>
      <Interpre_department_stc left="0" top="108" width="84" height="16">所属科</Interpre_department_stc>
      <Interpre_department_cmb left="60" top="108" width="183" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Department</Xml_path></Interpre_department_cmb>
      <Interpre_ward_stc left="200" top="108" width="84" height="16">病棟</Interpre_ward_stc>
      <Interpre_ward_cmb left="260" top="108" width="325" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Ward</Xml_path></Interpre_ward_cmb>
      <Interpre_room_no_stc left="0" top="126" width="84" height="16" visible="4">部屋番号</Interpre_room_no_stc>
      <Interpre_room_no_edt left="60" top="126" width="183" height="16" enable="true" visible="4"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Room_no</Xml_path></Interpre_room_no_edt>
      <Interpre_req_section_stc left="200" top="126" width="84" height="16" visible="4">依頼科</Interpre_req_section_stc>
      <Interpre_req_section_cmb left="260" top="126" width="325" height="16" textheight="16" enable="true" visible="4"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section2/Request_section</Xml_path></Interpre_req_section_cmb>
      <Interpre_req_doctor_stc left="0" top="144" width="84" height="16">依頼医師</Interpre_req_doctor_stc>
      <Interpre_req_doctor_cmb left="60" top="144" width="183" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Request_doctor</Xml_path></Interpre_req_doctor_cmb>
      <Interpre_technician_stc left="200" top="144" width="84" height="16">検査技師</Interpre_technician_stc>
      <Interpre_technician_cmb left="260" top="144" width="325" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Technician</Xml_path></Interpre_technician_cmb>
      <Interpre_info_editor_title_stc left="0" top="162" width="127" height="16" visible="9">被検者情報編集</Interpre_info_editor_title_stc>
      <Interpre_info_editor_stc left="90" top="162" width="226" height="16" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Patient_editor/Editor_name</Xml_path></Interpre_info_editor_stc>
      <Interpre_info_editor_date_stc left="260" top="162" width="325" height="16" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Patient_editor/Edit_date</Xml_path></Interpre_info_editor_date_stc>
      <Interpre_edit_lead_name_title_stc left="0" top="180" width="127" height="16" visible="9">誘導名称編集</Interpre_edit_lead_name_title_stc>
      <Interpre_edit_lead_name_stc left="90" top="180" width="226" height="16" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Editor_name</Xml_path></Interpre_edit_lead_name_stc>
      <Interpre_edit_lead_name_date_stc left="260" top="180" width="325" height="16" visible="9"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Edit_date</Xml_path></Interpre_edit_lead_name_date_stc>
      <Interpre_hr_title_stc left="0" top="198" width="155" height="16" visible="10">心拍数(bpm)</Interpre_hr_title_stc>
      <Interpre_hr_stc left="110" top="198" width="113" height="16" visible="10"><Xml_path>/Rawdata/Tavrion/Measurement/Measurement_section/Heart_rate</Xml_path></Interpre_hr_stc>
      <Interpre_addition_stc left="0" top="216" width="169" height="16" visible="5">付帯情報</Interpre_addition_stc>
      <Interpre_addition_title_1_edt left="20" top="234" width="141" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']/@title</Xml_path></Interpre_addition_title_1_edt>
      <Interpre_addition_content_1_edt left="130" top="234" width="509" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']</Xml_path></Interpre_addition_content_1_edt>
      <Interpre_addition_title_2_edt left="20" top="252" width="141" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']/@title</Xml_path></Interpre_addition_title_2_edt>
      <Interpre_addition_content_2_edt left="130" top="252" width="509" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']</Xml_path></Interpre_addition_content_2_edt>
      <Interpre_addition_title_3_edt left="20" top="270" width="141" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']/@title</Xml_path></Interpre_addition_title_3_edt>
      <Interpre_addition_content_3_edt left="130" top="270" width="509" height="16" enable="true" visible="5"><Xml_path>/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']</Xml_path></Interpre_addition_content_3_edt>
      <Interpre_comment_stc left="0" top="216" width="169" height="16">コメント</Interpre_comment_stc>
      <Interpre_comment_edt left="20" top="234" width="664" height="126" enable="true"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_content</Xml_path></Interpre_comment_edt>
      <Interpre_comment_title_stc left="0" top="360" width="127" height="16" visible="9">コメント編集</Interpre_comment_title_stc>
      <Interpre_comment_editor_stc left="90" top="360" width="226" height="16" visible="9"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Editor_name</Xml_path></Interpre_comment_editor_stc>
      <Interpre_comment_date_stc left="260" top="360" width="325" height="16" visible="9"><Xml_path>/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor/Edit_date</Xml_path></Interpre_comment_date_stc>
      <Interpre_confirm_stc left="0" top="378" width="692" height="16" visible="11"/>
    </xsl:template>
    <xsl:template name="Interpre_exer_print">
      <Patient_id_stc left="0" top="0" width="50" height="16" visible="1">患者ID</Patient_id_stc>
      <Patient_id_edt left="56" top="0" width="140" height="16" enable="true" visible="1"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_id</Xml_path></Patient_id_edt>
      <Patient_name_stc left="202" top="0" width="40" height="16" visible="2">氏名</Patient_name_stc>
      <Patient_name_edt left="248" top="0" width="180" height="16" enable="true" visible="2"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_name</Xml_path></Patient_name_edt>
      <Patient_sex_stc left="434" top="0" width="40" height="16">性別</Patient_sex_stc>
      <Patient_sex_cmb left="480" top="0" width="50" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Sex/@value</Xml_path></Patient_sex_cmb>
      <Patient_age_stc left="536" top="0" width="40" height="16">年齢</Patient_age_stc>
      <Patient_age_edt left="582" top="0" width="80" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Age</Xml_path></Patient_age_edt>
      <Patient_height_stc left="0" top="18" width="40" height="16">身長</Patient_height_stc>
      <Patient_height_edt left="46" top="18" width="50" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Height</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Sub_height</Xml_path></Patient_height_edt>
      <Patient_height_unt left="102" top="18" width="30" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Height_unit</Xml_path></Patient_height_unt>
      <Patient_weight_stc left="138" top="18" width="40" height="16">体重</Patient_weight_stc>
      <Patient_weight_edt left="184" top="18" width="50" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Weight</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Sub_weight</Xml_path></Patient_weight_edt>
      <Patient_weight_unt left="240" top="18" width="30" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Height_weight/Weight_unit</Xml_path></Patient_weight_unt>
      <Patient_race_stc left="668" top="0" width="40" height="16">人種</Patient_race_stc>
      <Patient_race_edt left="714" top="0" width="100" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Race</Xml_path></Patient_race_edt>
      <Patient_bp_stc left="276" top="18" width="40" height="16">血圧</Patient_bp_stc>
      <Patient_bph_edt left="322" top="18" width="40" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_sys</Xml_path></Patient_bph_edt>
      <Patient_bp1_stc left="368" top="18" width="10" height="16">/</Patient_bp1_stc>
      <Patient_bpl_edt left="384" top="18" width="40" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_dia</Xml_path></Patient_bpl_edt>
      <Patient_bp2_stc left="430" top="18" width="50" height="16">mmHg</Patient_bp2_stc>
      <Patient_Acqtime_title_stc left="486" top="18" width="80" height="16">検査日時</Patient_Acqtime_title_stc>
      <Patient_Acqtime_stc left="572" top="18" width="180" height="16"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Acquition_date</Xml_path></Patient_Acqtime_stc>
      <Interpre_technician_stc left="484" top="72" width="80" height="16">検査技師</Interpre_technician_stc>
      <Interpre_technician_cmb left="570" top="72" width="150" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Technician</Xml_path></Interpre_technician_cmb>
      <Interpre_medication1_stc left="0" top="36" width="80" height="16">投薬情報1</Interpre_medication1_stc>
      <Interpre_medication1_cmb left="86" top="36" width="150" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='1']</Xml_path></Interpre_medication1_cmb>
      <Interpre_medication2_stc left="242" top="36" width="80" height="16">投薬情報2</Interpre_medication2_stc>
      <Interpre_medication2_cmb left="328" top="36" width="150" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']/@index</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[@number='2']</Xml_path></Interpre_medication2_cmb>
      <Interpre_symptom_stc left="0" top="54" width="80" height="16">自覚症状</Interpre_symptom_stc>
      <Interpre_symptom_cmb left="86" top="54" width="150" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Symptom</Xml_path></Interpre_symptom_cmb>
      <Interpre_disease_stc left="242" top="54" width="80" height="16">既往症</Interpre_disease_stc>
      <Interpre_disease_cmb left="328" top="54" width="150" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Disease</Xml_path></Interpre_disease_cmb>
      <Interpre_department_stc left="484" top="54" width="80" height="16">所属科</Interpre_department_stc>
      <Interpre_department_cmb left="570" top="54" width="150" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Department</Xml_path></Interpre_department_cmb>
      <Interpre_ward_stc left="0" top="72" width="80" height="16">病棟</Interpre_ward_stc>
      <Interpre_ward_cmb left="86" top="72" width="150" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Ward</Xml_path></Interpre_ward_cmb>
      <Interpre_req_doctor_stc left="242" top="72" width="80" height="16">依頼医師</Interpre_req_doctor_stc>
      <Interpre_req_doctor_cmb left="328" top="72" width="150" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Request_doctor</Xml_path></Interpre_req_doctor_cmb>
      <Patient_confirm_date_title_stc left="0" top="90" width="90" height="16" visible="11">判読日時</Patient_confirm_date_title_stc>
      <Patient_confirm_date_stc left="96" top="90" width="200" height="16" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Edit_date</Xml_path></Patient_confirm_date_stc>
      <Patient_confirm_doctor_title_stc left="302" top="90" width="90" height="16" visible="11">判読医師</Patient_confirm_doctor_title_stc>
      <Patient_confirm_doctor_stc left="398" top="90" width="200" height="16" visible="11"><Xml_path>/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Editor_name</Xml_path><Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Doctor</Xml_path></Patient_confirm_doctor_stc>
      <Interpre_load_stc left="0" top="108" width="100" height="16">ﾌﾟﾛﾄｺﾙ</Interpre_load_stc>
      <Interpre_load_edt left="106" top="108" width="240" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Report/Exercise_section/Load/Protocol</Xml_path></Interpre_load_edt>
      <Interpre_load_time_stc left="352" top="108" width="100" height="16">負荷時間</Interpre_load_time_stc>
      <Interpre_load_time_content_stc left="458" top="108" width="240" height="16"><Xml_path>/Rawdata/Tavrion/Report/Exercise_section/Load/Load_time</Xml_path><Xml_path>/Rawdata/Tavrion/Report/Exercise_section/Load/End_mets</Xml_path></Interpre_load_time_content_stc>
      <Interpre_stop_condition_stc left="0" top="126" width="100" height="16">終了条件</Interpre_stop_condition_stc>
      <Interpre_stop_condition_cmb left="106" top="126" width="240" height="16" textheight="16" enable="true"><Xml_path>/Rawdata/Tavrion/Report/Exercise_section/Load/Stop_condition</Xml_path></Interpre_stop_condition_cmb>
      <Interpre_max_beat_stc left="0" top="144" width="100" height="16">最大心拍数</Interpre_max_beat_stc>
      <Interpre_max_beat_edt left="106" top="144" width="50" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Report/Exercise_section/Hr/Max_hr</Xml_path></Interpre_max_beat_edt>
      <Interpre_max_beat_unit_stc left="162" top="144" width="40" height="16">bpm</Interpre_max_beat_unit_stc>
      <Interpre_max_beat_mhr_stc left="208" top="144" width="220" height="16"/>
      <Interpre_target_beat_stc left="0" top="162" width="100" height="16">目標心拍数</Interpre_target_beat_stc>
      <Interpre_target_beat_edt left="106" top="162" width="50" height="16" enable="true"><Xml_path>/Rawdata/Tavrion/Report/Exercise_section/Hr/Target_hr</Xml_path></Interpre_target_beat_edt>
      <Interpre_target_beat_unit_stc left="162" top="162" width="40" height="16">bpm</Interpre_target_beat_unit_stc>
      <Interpre_target_beat_mhr_stc left="208" top="162" width="220" height="16"/>
      <Interpre_st_measure_point_stc left="0" top="180" width="100" height="16">ST 計測点</Interpre_st_measure_point_stc>
      <Interpre_st_level_stc left="106" top="180" width="70" height="16">ST Level</Interpre_st_level_stc>
      <Interpre_st_level_content_stc left="182" top="180" width="80" height="16"><Xml_path>/Rawdata/Tavrion/Report/Exercise_section/Test_point/St_level_point</Xml_path></Interpre_st_level_content_stc>
      <Interpre_st_slope_stc left="268" top="180" width="70" height="16">ST Slope</Interpre_st_slope_stc>
      <Interpre_st_slope_content_stc left="344" top="180" width="80" height="16"><Xml_path>/Rawdata/Tavrion/Report/Exercise_section/Test_point/St_slope_point</Xml_path></Interpre_st_slope_content_stc>
      <Interpre_vo2max_stc left="0" top="198" width="100" height="16">VO2max</Interpre_vo2max_stc>
      <Interpre_vo2max_content_stc left="106" top="198" width="340" height="16"><Xml_path>/Rawdata/Tavrion/Report/Exercise_section/Vo2_max</Xml_path></Interpre_vo2max_content_stc>
      <Interpre_pwc_stc left="452" top="198" width="60" height="16">PWC</Interpre_pwc_stc>
      <Interpre_pwc_content_stc left="518" top="198" width="300" height="16"/>
    </xsl:template>
  </xsl:Layout>
  <xsl:Visible_info>
    <Tag id="1" display_visible="true" print_visible="true"/><!-- patient id -->
    <Tag id="2" display_visible="true" print_visible="true" suffix="様"/><!-- patient name -->
    <Tag id="3" display_visible="true" print_visible="true"/><!-- sub id and kana name -->
    <Tag id="4" display_visible="true" print_visible="true"/><!-- room and requesting section -->
    <Tag id="5" display_visible="true" print_visible="true"/><!-- additions -->
    <Tag id="6" display_visible="true" print_visible="true"/><!-- Minnesota codes -->
    <Tag id="7" display_visible="true" print_visible="true"/><!-- IVREL codes -->
    <Tag id="8" display_visible="true" print_visible="true"/><!-- recommendation -->
    <Tag id="9" display_visible="true" print_visible="true"/><!-- editor stamps -->
    <Tag id="10" display_visible="true" print_visible="true"/><!-- measurements -->
    <Tag id="11" display_visible="true" print_visible="true"/><!-- confirmation -->
  </xsl:Visible_info>
</xsl:stylesheet>
