// The document of an exercise (stress) test record: the resting beat, the
// average beats computed at a fixed interval during the test, the stored
// rhythm strips with their own average beats, the clock that ties both
// series together, the derived limb leads, the target heart-rate tables and
// the exercise interpretation form with its record-XML sections.
#pragma once

#include "core/TavrionDoc.h"
#include "documents/ExerDataItem.h"

class CECGXMLParser;

// 1 twelve leads, 2 six leads, 3 one lead.
typedef int _EXER_AVERAGE_DISPLAY_MODE;
// The exercise page style, valid 1 to 6.
typedef int _EXER_PAGE_STYLE;

// Fields of the settings record that keep the exercise settings for saving.
enum _EXER_REF_FIELD {
    REF_EXER_PAGE_STYLE = 82,
    REF_EXER_MEASURE_POINT = 83,
    REF_EXER_COMMON_SENSE = 155,   // float, mm/mV
    REF_EXER_SENSE_MODE = 156,
};

class CExerViewDoc : public CTavrionDoc {
    DECLARE_DYNCREATE(CExerViewDoc)

public:
    CExerViewDoc();
    ~CExerViewDoc() override;

    CDataManager<_EXERDATAITEM>& GetExerDataManager() { return m_ExerDataManager; }
    _EXERDATAITEM* GetCurrentDataItem() const { return m_ExerDataManager.GetItem(m_nCurDataIndex); }
    void Serialize() {}   // records are kept in their own files, never archived
    int GetDocType() const override { return DOC_TYPE_EXER; }
    CString GetCurItemXMLPath() override;

    // ---- opening ---------------------------------------------------------------
    // 0 on success, 1 when the list has no item for the keys, 255 on failure.
    int OpenFile(CString& strXMLPath, CString& strFilePath) override;
    // 255 when the item, its image or its record XML path is missing, else 0.
    int GetWaveInfoFromECGFile(_EXERDATAITEM* pItem);

    // ---- block time (a null item stands for the current one) -------------------
    void SetCurAveBlockNo(int block, _EXERDATAITEM* pItem = nullptr);
    // The panes' form: the second argument is not used, the item is the current one.
    void SetCurAveBlockNo(int block, int /*unused*/) { SetCurAveBlockNo(block, static_cast<_EXERDATAITEM*>(nullptr)); }
    int GetCurAveBlockNo();
    void SetCurMemBlockNo(int block, _EXERDATAITEM* pItem = nullptr);
    void SetCurMemBlockNo(int block, int /*unused*/) { SetCurMemBlockNo(block, static_cast<_EXERDATAITEM*>(nullptr)); }
    int GetCurMemBlockNo();
    int IsPostMemBlock();
    int GetNearestMemTime(int time);

    // ---- waves: a null buffer asks for the size in bytes; 0 on failure ----------
    int GetRestWave(int lead, short* buffer, int position);
    int GetAverageWave(int lead, short* buffer, int position);
    int GetCurrentAveWave(int lead, short* buffer, int position);
    int GetRhythmWave(int lead, short* buffer);
    int GetAverageShowWave(UINT tagBase, int lead, short* buffer, int position);
    // A derived limb lead (8 III, 9 aVR, 10 aVL, 11 aVF) from leads I and II
    // stored under tagBase and tagBase + 1.
    int CalculateWave(UINT tagBase, int lead, int index, short* buffer);

    // ---- leads, sensitivity, settings ------------------------------------------
    UINT GetDataLeadIDInverse(UINT lead);
    void SetExerLeadSelection(int mask, _EXER_AVERAGE_DISPLAY_MODE mode);
    short GetExerLeadSelection(_EXER_AVERAGE_DISPLAY_MODE mode);
    float GetCommonSense(int other) override;
    void SetSense(UINT kind, float fSense, int bModeChange) override;
    UINT GetSenseMode() override;
    void SetSenseMode(UINT mode) override;
    void InitialSense();
    _EXER_PAGE_STYLE GetPageStyle() const;
    void SetPageStyle(_EXER_PAGE_STYLE style);
    int GetMeasurePoint() const { return m_nMeasurePoint; }
    void SetMeasurePoint(int point);
    void SetReferenceIntoXML(int id, int arg) override;
    void UpDateReferenceInfo(const CString& strXMLPath) override;
    int SaveAnnotationToXML(int nItemID);
    // Target heart rate (bpm) for a share of the predicted maximum; table 0
    // is table A, any other table B; 0 for a share not in the tables.
    static int LookupHr(int percent, double age, int table);

    // ---- record XML --------------------------------------------------------------
    int GetDataInfoFromXMLFile(_EXERDATAITEM* pItem);
    int GetSummaryInfoFromXMLFile(_EXERDATAITEM* pItem);
    int GetAveRhyInfoFromXMLFile(_EXERDATAITEM* pItem);
    int GetResultInfoFromXMLFile(_EXERDATAITEM* pItem);

    // ---- controls and saving -----------------------------------------------------
    void InitCheckArray() override;
    void SetCtrlContent(_PATIENT_INFO* pPatient) override;
    void UpdateCtrlStatus() override;
    void UpDateCurItemContent();
    int IsDoctorConfirm() override;
    // 255, with nothing written, for an unknown item or one without record XML.
    int SaveDataToXML(int nItemID) override;
    int IsInfoEditChange(_EXERDATAITEM* pItem);
    int IsCommentEditChange(_EXERDATAITEM* pItem);
    int IsAnalysisEditChange(_EXERDATAITEM* pItem);
    int IsEidtChange();

    // The comment as the form keeps it: at most three lines of at most 60
    // characters (and 60 columns, GetTextColumns), joined by CR LF.
    static CString WrapComment(const CString& text);
    // The longest leading part of a typed comment that WrapComment keeps
    // whole: three lines of at most 60 columns (180 in all), the line breaks
    // between them not counted. What the comment fields cut typing to, so
    // that what they show is what is saved.
    static CString FitComment(const CString& text);
    // The characters the comment fields let be typed (EM_LIMITTEXT): the
    // three lines' 180 and the two CR LFs between them. FitComment cuts the
    // rest, so a stored comment of three full lines can be edited in place.
    static constexpr int kCommentTypedChars = 180 + 2 * 2;
    // "%3d %% of MHR (%3d bpm)" for a heart rate (its text), or the asterisk
    // form; empties a negative heart rate.
    static CString PercentText(CString& strHr, int nMode, int nRestHr, int nHr100);

protected:
    using CTavrionDoc::UpDateCurItemContent;

private:
    void AdjustWaveBaseLine(short* buffer, int bytes, int position);
    int ReadStoredWave(UINT tagBase, int lead, UINT index, short* buffer);
    int GetParameterFromXMLFile(_EXERDATAITEM* pItem);
    // Whether a reader may run for the item: it, its image and its record XML.
    static bool IsReadable(const _EXERDATAITEM* pItem);
    // The series (0 exercise, 1 recovery) and the index within it of a strip.
    static void MemBlockSeries(const _EXERDATAITEM* pItem, int block, int& series, int& index);
    // The time of a strip in seconds; false when its tag does not read.
    bool ReadMemTime(_EXERDATAITEM* pItem, int block, int& time);
    void CopySummaryTexts(_EXERDATAITEM* pItem);
    void WriteIvrel(_EXERDATAITEM* pItem, CECGXMLParser& xml);

    CDataManager<_EXERDATAITEM> m_ExerDataManager;
    _EXER_PAGE_STYLE m_nPageStyle;   // working page style, 1 to 6
    int m_nMeasurePoint;             // working measure-point switch; 0 draws no measuring ticks
};
