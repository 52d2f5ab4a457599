// The document of the master-step test: a rest recording, a step-exercise
// load and a series of post-load recordings compared with the rest one. It
// serves the master-step views, forms, panes and reports the rest and
// post-load average beats, the comparison table, the summary trend and the
// step-test section, and writes the interpretation edits and the display
// settings back into each record's XML.
#pragma once

#include "core/DataManager.h"
#include "core/TavrionDoc.h"
#include "documents/FinalDataItem.h"

class CFinalViewDoc : public CTavrionDoc {
    DECLARE_DYNCREATE(CFinalViewDoc)

public:
    CFinalViewDoc();
    ~CFinalViewDoc() override;

    // ---- the item list -----------------------------------------------------------
    _FINALDATAITEM* GetCurrentDataItem() const { return m_FinalDataManager.GetItem(m_nCurDataIndex); }
    CDataManager<_FINALDATAITEM>& GetFinalDataManager() { return m_FinalDataManager; }
    _FINALDATAITEM* GetFinalListHeader() const { return m_FinalDataManager.GetListHeader(); }
    int GetDocType() const override { return DOC_TYPE_FINAL; }

    _FINAL_PAGE_STYLE GetPageStyle() const;
    void SetPageStyle(_FINAL_PAGE_STYLE style);

    // ---- opening -----------------------------------------------------------------
    // 0 on success, 1 when the list has no item for the file, 255 on failure
    // (the item is then deleted).
    int OpenFile(CString& strXMLPath, CString& strFilePath) override;
    // 0, or 255 when the item, its image or its XML path is missing.
    int GetDataInfoFromXMLFile(_FINALDATAITEM* pItem);

    // ---- average beats -------------------------------------------------------------
    // Fits a display window into a 600-sample average beat; 0 when the
    // window holds no sample (start may then lie after end), else 1.
    static int AdjustWaveDataStartEnd(int& nStart, int& nEnd);
    // The same for the views that pass the window by address; 0 for null.
    static int AdjustWaveDataStartEnd(int* pStart, int* pEnd);
    // Copies one lead's window of a 12 x 600 average-beat block; the window's
    // length (nothing is copied when it is below 1).
    int GetWaveData(short* pAverage, UINT uLead, short* pOut, int nSystemCode, int nStart, int nEnd);
    // index -1 the rest block, -2 the block of the current post-load
    // comparison (the item's nCurLoadIndex), k >= 0 post-load comparison k; with a null buffer the size in bytes, else the
    // bytes read, filtered and shifted to the base line; 0 on any failure.
    int GetAverageWaveData(int index, short* buffer, int filter) override;
    // The current post-load comparison (0-based, -1 none) of the current
    // item; setting it takes only an index inside the item's comparisons
    // (FALSE, nothing changed, otherwise or without an item).
    int GetCurLoadIndex() const;
    BOOL SetCurLoadIndex(int index);
    // The label of a step count (-2 to 2).
    CString GetStepMode(short step, int flag);
    // The post-load time of the current item in minutes and seconds; FALSE,
    // leaving both unchanged, without an item.
    BOOL GetPostLoadTime(int& nMinute, int& nSecond) const;

    // ---- display settings ----------------------------------------------------------
    int GetFilter() override;
    void SetFilter(int nFilter) override;
    float GetCommonSense(int set) override;
    void SetSense(UINT kind, float fSense, int bModeChange) override;
    UINT GetSenseMode() override;
    void SetSenseMode(UINT mode) override;
    void InitialSense();
    int IsDoctorConfirm() override;
    void SetReferenceIntoXML(int id, int arg) override;
    // The current item's record XML, where the base writes its drawing settings.
    CString GetCurItemXMLPath() override;
    void UpDateReferenceInfo(const CString& strXMLPath) override;

    // ---- controls and saving ---------------------------------------------------------
    void InitCheckArray() override;
    void SetCtrlContent(_PATIENT_INFO* pPatient) override;
    void UpdateCtrlStatus() override;
    using CTavrionDoc::UpDateCurItemContent;
    // Copies the store back into the current item.
    virtual void UpDateCurItemContent();
    int IsInfoEditChange(_FINALDATAITEM* pItem);
    int IsCommentEditChange(_FINALDATAITEM* pItem);
    int IsAdditionEditChange(_FINALDATAITEM* pItem);
    int IsAnalysisEditChange(_FINALDATAITEM* pItem);
    using CTavrionDoc::IsEidtChange;
    int IsEidtChange();
    // 0, or 255 when there is no item with the id or its XML path is empty.
    int SaveDataToXML(int nID) override;
    int SaveAnnotationToXML(int nID);

protected:
    // Steps of GetDataInfoFromXMLFile.
    void ReadInterpretation(_FINALDATAITEM* pItem, CECGXMLParser* xml);
    // The judgement's code and text; both empty unless the master knows the
    // code and the text, when stored, is the master's.
    void ReadIvrelJudgement(CECGXMLParser* xml, CString& code, CString& text);
    void ReadBirthday(_FINALDATAITEM* pItem, CECGXMLParser* xml);
    void ReadEditors(_FINALDATAITEM* pItem, CECGXMLParser* xml);
    void ReadRestComparison(_FINALDATAITEM* pItem, CECGXMLParser* xml);
    void ReadLoadComparisons(_FINALDATAITEM* pItem, CECGXMLParser* xml);
    void ReadSummaryTrend(_FINALDATAITEM* pItem, CECGXMLParser* xml);
    void ReadStepSection(_FINALDATAITEM* pItem, CECGXMLParser* xml);
    // The XPath of a control of the master-step screen layout.
    CString MsfrPath(int nEntry, int nAlt = 0);
    // The medication text a combo shows: the typed text, or the chosen entry
    // of the pick list when nothing was typed.
    CString MedicationText(int nList, const CString& strText, int nSel);

    CDataManager<_FINALDATAITEM> m_FinalDataManager;
    _FINAL_PAGE_STYLE m_nPageStyle;   // copy of the reference page style, 1 to 4

    DECLARE_MESSAGE_MAP()
};
