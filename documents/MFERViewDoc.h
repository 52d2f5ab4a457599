// The examination document of MFER waveform files. The file itself is only
// read (through the MFER reader); everything the user edits about a record
// lives in the record XML that goes with it. One document serves the 12- and
// 15-lead records, the 1- and 3-lead strips and the extra-lead and freeze
// records, told apart by the item's kind code.
#pragma once

#include <vector>

#include "core/TavrionDoc.h"
#include "documents/FilteredLeads.h"
#include "documents/MFERDataItem.h"

// The page layouts of MFER records; each family accepts its own range.
typedef int _MFER_PAGE_STYLE;

#define MFER_MEASURE_KEYS 23

class CMFERViewDoc : public CTavrionDoc {
    DECLARE_DYNCREATE(CMFERViewDoc)

public:
    CMFERViewDoc();
    ~CMFERViewDoc() override;

    // The interpretation form an item is edited on.
    enum class MferForm { None, Rest, Rhythm, Extra };

    // ---- opening and reading ------------------------------------------------------
    // Fills the item whose keys match from the MFER file and the record XML:
    // 0 on success, 1 when no item matches, 255 when the file cannot be read
    // or its kind is not recognised.
    int OpenMFERFile(CString& strMFERPath, CString& strXMLPath, CString& strThirdKey) override;
    // 0; 255 for a null item or an empty record XML path.
    int GetDataInfoFromXMLFile(_MFERDATAITEM* pItem);
    void GetLeadName(int nKind, _LEAD_NAME_INFO& names, CMFERParser* pReader);
    _MFERDATAITEM* GetCurrentDataItem();
    _MFERDATAITEM* GetMFERListHeader();
    CDataManager<_MFERDATAITEM>* GetMFERDataManager();
    // With a null buffer the byte size of one lead; with a buffer the lead's
    // recorded samples, cleaned of bit noise when that is on and otherwise
    // unfiltered (size is not used). The buffer must hold the byte size; 0
    // without a current item or for a lead the file does not have.
    int GetRhythmWaveData(int lead, short* buffer, int size) override;
    // The same into a buffer of nBufferBytes, never written past its end.
    int GetRhythmWaveData(int lead, short* buffer, int size, int nBufferBytes);
    SharedSamples ShareRhythmWaveData(int lead) override;
    CString GetMFERFilter();
    int GetDocType() const override { return DOC_TYPE_MFER; }
    int GetCurItemLeadCount() override;
    // Samples per second of the current record; 500 when the file does not say.
    double GetSampleRate();
    // The lead layout the host gives a new item of a kind (0 for an unknown kind).
    static int GetLeadLayoutBySystemCode(int nKind);

    static bool IsNamedExtraKind(unsigned kind) { return kind >= 0x7003 && kind <= 0x7007 && kind != 0x7005; }
    static bool IsFreezeKind(unsigned kind) { return kind >= MFER_KIND_FREEZE1 && kind <= MFER_KIND_FREEZE6; }
    static bool IsExtraFamily(unsigned kind) { return IsNamedExtraKind(kind) || IsFreezeKind(kind); }
    static bool IsStripKind(unsigned kind) { return kind == MFER_KIND_1LEAD || kind == MFER_KIND_3LEAD; }
    static bool IsFullLeadKind(unsigned kind) { return kind == MFER_KIND_12LEAD || kind == MFER_KIND_15LEAD; }

    // ---- display settings ------------------------------------------------------------
    _MFER_PAGE_STYLE GetPageStyle();
    void SetPageStyle(_MFER_PAGE_STYLE style);
    int GetRhythm1LeadID();
    // 1 when stored, 0 for a lead out of range.
    int SetRhythm1LeadID(int lead);
    // Pages of a strip `width` millimetres wide in a wave style; 0 without a
    // record or a speed.
    int GetRhythmWaveTotalPage(int width, int waveStyle) override;
    float GetSpeed() override;
    void SetSpeed(float fSpeed) override;
    float GetSense(UINT kind, int which) override;
    void SetSense(UINT kind, float fSense, int bModeChange) override;
    UINT GetSenseMode() override;
    void SetSenseMode(UINT mode) override;
    void SetChestHalf(int bHalf) override;
    void InitialSense();
    void SetReferenceIntoXML(int id, int arg) override;
    void UpDateReferenceInfo(const CString& strXMLPath) override;
    // The current MFER item's record XML, where the base writes its drawing settings.
    CString GetCurItemXMLPath() override;

    // ---- controls and change tests ------------------------------------------------------
    using CTavrionDoc::IsEidtChange;
    using CTavrionDoc::UpDateCurItemContent;
    void InitCheckArray() override;
    void SetCtrlContent(_PATIENT_INFO* pPatient) override;
    void SetAnyCtrlContent(int bInit);
    void SetRelevantCtrlContent(int bToRest);
    void UpdateCtrlStatus() override;
    virtual void UpDateCurItemContent();
    int IsInfoEidtChange(_MFERDATAITEM* pItem);
    int IsAnayEidtChange(_MFERDATAITEM* pItem);
    int IsCommentEditChange(_MFERDATAITEM* pItem);
    int IsAdditionEditChange(_MFERDATAITEM* pItem);
    int IsEidtChange();
    int IsDoctorConfirm() override;
    int GetRhythmSenseChangeState() override;
    MferForm GetItemForm(const _MFERDATAITEM* pItem) const;

    // ---- saving ---------------------------------------------------------------------
    // 0 done, 255 refused (no such item, no record XML path).
    int SaveDataToXML(int id) override;
    // 0 done; 255 for a null item, no record XML path or a kind other than 12/15-lead.
    int SaveMsuDataToXML(_MFERDATAITEM* pItem);
    int SaveAnnotationToXML(int id);

protected:
    void SetRestCtrlContent();
    void LoadInfoBlock(MferForm form, const _INTERPRE_INFO_REST& info, bool panel);
    void SetRhythmCtrlContent();
    void SetExtraCtrlContent();
    // The bound record path of a control of a form's screen table; empty when
    // the form or the control has none.
    CString FormPath(MferForm form, const wchar_t* pszControl, int alt);
    CString FormCaption(MferForm form, const wchar_t* pszControl, const wchar_t* pszDefault);
    // A medication as the form shows it: the picked list entry when the item
    // has no text of its own (never the list's last entry).
    CString MedicationText(int list, const CString& strText, int nSel);

    void ReadInterpretation(_MFERDATAITEM& item, CECGXMLParser& xml, MferForm form);
    // A medication's list index: the whole number, -1 where none is stored.
    static int ReadListIndexOf(CECGXMLParser& xml, const CString& path);
    // The code rows and the judgement; `shown`, when given, gets the number
    // of every stored row taken (the others were refused).
    void ReadMinnesota(_INTERPRE_INFO_REST& info, CECGXMLParser& xml, std::vector<int>* shown = nullptr);
    void ReadIvrel(_INTERPRE_INFO_REST& info, CECGXMLParser& xml, std::vector<int>* shown = nullptr);
    // The birthday as the form shows it (checked).
    _BIRTHDAY ReadBirthday(const _MFERDATAITEM& item, CECGXMLParser& xml);
    void ReadAnalysisEditor(_MFERDATAITEM& item, CECGXMLParser& xml);
    void ReadMeasurements(_MFERDATAITEM& item, CECGXMLParser& xml);

    void SaveBoundInterpretation(_MFERDATAITEM& item, CECGXMLParser& xml, MferForm form);
    void SaveCodeRows(_MFERDATAITEM& item, CECGXMLParser& xml);
    void SaveBirthday(_MFERDATAITEM& item, CECGXMLParser& xml, MferForm form);
    void SaveMeasureTexts(_MFERDATAITEM& item, CECGXMLParser& xml);

    void CopyStoreToRest(_MFERDATAITEM& item);
    void CopyStoreToPanel(_MFERDATAITEM& item, MferForm form);
    int IsPanelInfoChange(_MFERDATAITEM& item, int bBirthday);
    int IsRestInfoChange(_MFERDATAITEM& item);
    // The form whose entries hold the edits of the current item.
    MferForm EditedForm(_MFERDATAITEM& item);

    // The record XML's display settings of the current item, read by UpDateReferenceInfo.
    void ReadSettingPageStyle(_MFERDATAITEM& item, CECGXMLParser& xml);
    void ReadSettingSenses(_MFERDATAITEM& item, CECGXMLParser& xml);

    // Stored display settings by their position among the examination fields.
    int& RefPos(int position) { return m_stDefaultRef.RefInt(position + 70); }
    float& RefPosF(int position) { return m_stDefaultRef.RefFloat(position + 70); }
    int* StoredStyleOf(_MFERDATAITEM* pItem);

    CDataManager<_MFERDATAITEM> m_MFERDataManager;
    _MFER_PAGE_STYLE m_nRestPageStyle;     // current style of 12/15-lead records
    _MFER_PAGE_STYLE m_nRhythmPageStyle;   // current style of 1/3-lead records
    _MFER_PAGE_STYLE m_nExtraPageStyle;    // current style of extra-lead and freeze records
    CString m_strMeasureKey[MFER_MEASURE_KEYS];   // the measurement items' element names
    CFilteredLeads m_filteredLeads;               // leads given to the views, by reader; dropped on every opening
};
