// The document of a resting examination (12 or 15 leads). It keeps one item
// per opened record, opens the record file with its record XML, serves the
// filtered waves and average beats of the leads to the views, keeps the
// resting screens' display settings in the record XML, binds the resting
// form's fields to the control-data store and writes edits back.
#pragma once

#include <vector>

#include "core/DataManager.h"
#include "core/TavrionDoc.h"
#include "documents/RestDataItem.h"

class CECGXMLParser;

// The page layouts of the resting screens, 1 to 44.
typedef int _REST_PAGE_STYLE;

#define REST_MEASURE_KEYS 23

class CRestViewDoc : public CTavrionDoc {
    DECLARE_DYNCREATE(CRestViewDoc)

public:
    CRestViewDoc();
    ~CRestViewDoc() override;

    // ---- items -----------------------------------------------------------------
    CDataManager<_RESTDATAITEM>& GetRestDataManager() { return m_RestDataManager; }
    _RESTDATAITEM* GetRestListHeader() const { return m_RestDataManager.GetListHeader(); }
    _RESTDATAITEM* GetCurrentDataItem() const { return m_RestDataManager.GetItem(GetCurDataIndex()); }
    int GetDocType() const override { return DOC_TYPE_REST; }
    int GetCurItemLeadCount() override;
    CString GetCurItemXMLPath() override;

    // 0 opened, 1 no item of the list has these paths, 255 the record cannot be used.
    int OpenFile(CString& strXMLPath, CString& strFilePath) override;

    // ---- waves -----------------------------------------------------------------
    // Byte size of the lead's samples; with a buffer, the filtered samples
    // written (a negative filter: the document's). 0 when there is nothing.
    int GetRhythmWaveData(int lead, short* buffer, int filter) override;
    int GetAverageWaveData(int lead, short* buffer, int filter) override;
    int Get8000SpikeInfo(_RESTDATAITEM* item);
    int IfPaceMakerON();
    int GetPaceMakerWaveMaxMin(int lead, short* first, short* second);

    // ---- drawing settings ------------------------------------------------------
    using CTavrionDoc::Is8000File;
    int Is8000File() override;
    int IsDoctorConfirm() override;
    void SetChestHalf(int bHalf) override;
    float GetSpeed() override;
    void SetSpeed(float fSpeed) override;
    int GetFilter() override;
    void SetFilter(int nFilter) override;
    float GetSense(UINT id, int which) override;
    UINT GetSenseMode() override;
    void SetSense(UINT id, float fSense, int adjustMode) override;
    void SetSenseMode(UINT mode) override;
    int GetRhythmSenseChangeState() override;
    void InitialSense();
    _REST_PAGE_STYLE GetPageStyle() const { return m_RestPageStyle; }
    void SetPageStyle(_REST_PAGE_STYLE style) { m_RestPageStyle = style; }
    // The lead of the one-lead rhythm strip (0 to 14); 1 when the lead was taken.
    int GetRhythm1LeadID();
    int SetRhythm1LeadID(int lead);
    void SetReferenceIntoXML(int id, int arg) override;
    void UpDateReferenceInfo(const CString& strXMLPath) override;

    // ---- record XML --------------------------------------------------------------
    // 255 without an item or a record XML path, else 0.
    int GetDataInfoFromXMLFile(_RESTDATAITEM* item);
    int SaveDataToXML(int itemId) override;
    int SaveInfoToXML(int itemId);
    int SaveAnnotationToXML(int itemId);
    // lead -1 all twelve leads, 0 to 11 one lead, anything else none.
    int SaveMsuDataToXML(_RESTDATAITEM* item, int lead, int withGlobals);
    const CString& GetMeasureKey(int index) const;

    // ---- form fields -------------------------------------------------------------
    void InitCheckArray() override;
    void SetCtrlContent(_PATIENT_INFO* pPatient) override;
    void SetAnyCtrlContent(int flag);
    void SetConfirmContent();
    using CTavrionDoc::UpDateCurItemContent;
    virtual void UpDateCurItemContent();
    void UpdateCtrlStatus() override;
    using CTavrionDoc::IsEidtChange;
    int IsEidtChange();
    int IsInfoEidtChange(_RESTDATAITEM* item);
    int IsAnayEidtChange(_RESTDATAITEM* item);
    int IsCommentEditChange(_RESTDATAITEM* item);
    int IsAdditionEditChange(_RESTDATAITEM* item);

protected:
    _RESTDATAITEM* GetItemByID(int itemId) const { return m_RestDataManager.GetItem(itemId); }
    // The record-XML path bound to a control of the resting form.
    CString RestPath(LPCWSTR control, int alt = 0);
    // The record's kind and system code into the item.
    void ReadRecordKeys(_RESTDATAITEM* item);
    // The second blob of a 15-lead record; FALSE when it is missing or unreadable.
    BOOL ReadSecondBlob(_ECGDATA* image);
    // The filter the wave getters use for a requested one.
    int ChooseFilter(const _RESTDATAITEM* item, int filter) const;
    // The record's data tag and index of a display lead.
    void LeadTag(const _RESTDATAITEM* item, int lead, UINT& tag, UINT& index) const;
    // The reading steps of the record XML.
    void ReadLeadNames(_RESTDATAITEM* item, CECGXMLParser& xml);
    void ReadInterpretation(_RESTDATAITEM* item, CECGXMLParser& xml);
    // The code rows and the judgement; `shown`, when given, gets the number
    // of every stored row taken (the others were refused).
    void ReadMinnesota(_INTERPRE_INFO_REST& info, CECGXMLParser& xml, std::vector<int>* shown = nullptr);
    void ReadIvrel(_INTERPRE_INFO_REST& info, CECGXMLParser& xml, int b8000File, std::vector<int>* shown = nullptr);
    void ReadEditorsAndComment(_RESTDATAITEM* item, CECGXMLParser& xml);
    void ReadBirthday(_RESTDATAITEM* item, CECGXMLParser& xml);
    void ReadMeasurements(_RESTDATAITEM* item, CECGXMLParser& xml);
    void ReadTripInfo(_RESTDATAITEM* item, CECGXMLParser& xml);
    // The writing steps.
    void SaveInterpretation(_RESTDATAITEM* item, CECGXMLParser& xml);
    void SaveCodeRows(_RESTDATAITEM* item, CECGXMLParser& xml);
    void SaveEditorsAndComment(_RESTDATAITEM* item, CECGXMLParser& xml);
    void SaveGlobalMeasures(_RESTDATAITEM* item, CECGXMLParser& xml);
    void SaveAnalysisEditor(_RESTDATAITEM* item, CECGXMLParser& xml, int bEmptyFirstDate);
    // A setting of the record XML, stored in the document (UpDateReferenceInfo).
    void ReadSettingSenses(CECGXMLParser& xml);
    void ReadSettingLeads(const _RESTDATAITEM* item, CECGXMLParser& xml);
    void WriteSetting(_RESTDATAITEM* item, CECGXMLParser& xml, int id, int arg);
    // Form fields.
    CString LabelText(LPCWSTR control, LPCWSTR defaultText) const;
    CString MedicationText(const _RESTDATAITEM* item, int which) const;
    void CopyBackCodeRows(_RESTDATAITEM* item);
    void CopyBackTrip(_RESTDATAITEM* item);

    CDataManager<_RESTDATAITEM> m_RestDataManager;
    _REST_PAGE_STYLE m_RestPageStyle;       // 1 to 44
    CString m_strMeasureKey[REST_MEASURE_KEYS];   // element names of the per-lead measurements
    // The one-lead strip's lead as two numbers: 0 to 11, kept while a lead
    // 12 to 14 of a 15-lead record is shown, and that lead minus 11 (0 none).
    // The base's strip lead is a copy of what GetRhythm1LeadID answers.
    int m_nRhythm1Lead12;
    int m_nRhythm1LeadEx;
    float m_fWorkSense[TAVRION_SENSE_KINDS];   // mm/mV, working values by sense id (the reference copies are m_fSense[0])
    UINT m_uRefSenseMode;                   // reference copy of the sense mode
    int m_nRefChestHalf;                    // reference copy of the chest-half flag
};
