// The document of a rhythm examination: long multi-lead strips recorded by a
// rhythm recorder, paged through by the multi-lead view, with a one-lead
// overview strip, the record's events and the rhythm interpretation form. It
// opens the records the host listed, serves filtered strips from a per-lead
// cache, keeps the rhythm screens' display settings in the record XML and
// binds the rhythm/RR comment form.
#pragma once

#include "core/TavrionDoc.h"
#include "documents/RhythmDataItem.h"

// The page style of a rhythm record: 20 to 22 and 26 to 28 for one-lead
// records, 23 to 28 for three-lead records, 1 to 30 for the others.
typedef int _RHYTHM_PAGE_STYLE;

class CRhythmViewDoc : public CTavrionDoc {
    DECLARE_DYNCREATE(CRhythmViewDoc)

public:
    CRhythmViewDoc();
    ~CRhythmViewDoc() override;

    // ---- opening and the strips ------------------------------------------------
    // 0 when opened, 1 when the list has no item for the paths, 255 on failure.
    int OpenFile(CString& strXMLPath, CString& strFilePath) override;
    // The item whose id is the current item id; null when there is none.
    _RHYTHMDATAITEM* GetCurrentDataItem() const;
    // The current item's layout type; 0 without a current item.
    int GetCurrentTypeValue() const;
    CDataManager<_RHYTHMDATAITEM>* GetRhythmDataManager() { return &m_RhythmDataManager; }
    // A null buffer asks for the lead's size in bytes; otherwise the filtered
    // samples (the caller sized the buffer from that query) and the bytes
    // written. A negative cutoff: the document's filter. 0 on failure.
    int GetRhythmWaveData(int lead, short* buffer, int filter) override;
    SharedSamples ShareRhythmWaveData(int lead) override;
    // Up to `count` filtered samples of the lead from sample `first` on, for a
    // page: the strip is read and filtered once into the cache, so that a page
    // costs its own length whatever the record's. The samples copied; 0 on
    // failure or past the end.
    int GetRhythmWaveRange(int lead, int first, int count, short* buffer, int filter);
    // The index of the last page of rows `width` mm wide in the layout (1 and
    // 10 one row, 2 three rows, others one row per lead); -1 for an empty
    // strip, 0 without a record.
    int GetRhythmWaveTotalPage(int width, int layout) override;
    int GetDocType() const override { return DOC_TYPE_RHYTHM; }
    int GetCurItemLeadCount() override;

    // ---- display state ----------------------------------------------------------
    _RHYTHM_PAGE_STYLE GetPageStyle();
    void SetPageStyle(_RHYTHM_PAGE_STYLE style);
    // The lead of the one-lead strip (the base's copy is kept in step).
    int GetRhythm1LeadID();
    BOOL SetRhythm1LeadID(int lead);
    float GetSpeed() override;
    void SetSpeed(float fSpeed) override;
    int GetFilter() override;
    void SetFilter(int nFilter) override;
    // The rhythm filter setting itself (0: the record's own filter applies).
    int GetRhythmFilter() const { return m_nRhythmFilter; }
    float GetSense(UINT kind, int set) override;
    UINT GetSenseMode() override;
    void SetSense(UINT kind, float fSense, int bModeChange) override;
    void SetSenseMode(UINT mode) override;
    int GetRhythmSenseChangeState() override;
    // Back to the stored mode and the stored chest, limb and else sensitivities.
    void InitialSense();
    int IsDoctorConfirm() override;

    // ---- record XML -------------------------------------------------------------
    // 0; 255 for a null item.
    int GetDataInfoFromXMLFile(_RHYTHMDATAITEM* pItem);
    // 0, or 255 when no item has the id or its record XML path is empty.
    int SaveDataToXML(int id) override;
    int SaveAnnotationToXML(int id);

    // ---- display settings ---------------------------------------------------------
    void SetReferenceIntoXML(int id, int arg) override;
    void UpDateReferenceInfo(const CString& strXMLPath) override;
    CString GetCurItemXMLPath() override;

    // ---- control fields ------------------------------------------------------------
    void InitCheckArray() override;
    void UpdateCtrlStatus() override;
    void SetCtrlContent(_PATIENT_INFO* pPatient) override;
    using CTavrionDoc::UpDateCurItemContent;
    virtual void UpDateCurItemContent();
    int IsEidtChange();
    int IsInfoEditChange(_RHYTHMDATAITEM* pItem);
    int IsAdditionEditChange(_RHYTHMDATAITEM* pItem);
    int IsCommentEditChange(_RHYTHMDATAITEM* pItem);

    // The rhythm family of a system code, by its low byte.
    enum class RhythmFamily { Standard, Extended, None };
    static RhythmFamily FamilyOf(unsigned int uSystemCode);

protected:
    DECLARE_MESSAGE_MAP()

    // The kind and system code of a freshly read image.
    void ReadRecordKeys(_RHYTHMDATAITEM* pItem);
    int GetDataInfoFromECGFile(_RHYTHMDATAITEM* pItem);
    int GetEventInfoFromECGFile(_RHYTHMDATAITEM* pItem);
    // Reads and filters a whole lead into the item's cache (unless cached with
    // these settings); the cached strip, or null on failure.
    const short* LoadWaveCache(_RHYTHMDATAITEM* pItem, int lead, int filter);
    // The cutoff a request with `filter` is served with.
    int EffectiveFilter(const _RHYTHMDATAITEM* pItem, int filter) const;
    static UINT WaveTag(unsigned int uSystemCode);
    // The loading and saving steps of the record XML.
    void ReadWaveInfo(_RHYTHMDATAITEM* pItem, CECGXMLParser& xml);
    void ReadInterpretation(_RHYTHMDATAITEM* pItem, CECGXMLParser& xml);
    void ReadEditors(_RHYTHMDATAITEM* pItem, CECGXMLParser& xml);
    void SaveInterpretation(_RHYTHMDATAITEM* pItem, CECGXMLParser& xml);
    void SaveEditors(_RHYTHMDATAITEM* pItem, CECGXMLParser& xml);
    // The settings steps of UpDateReferenceInfo.
    void ReadSenseSettings(const _RHYTHMDATAITEM* pItem, CECGXMLParser& xml);
    void ReadLeadSettings(const _RHYTHMDATAITEM* pItem, CECGXMLParser& xml);
    // A medication as the form shows it: the list entry for a valid index
    // with an empty text, else the text.
    CString GetMedicationText(_EDITABLE_PARAM_INDEX list, const CString& strText, int nSel);
    // The stored page style slot of a lead count.
    _RHYTHM_PAGE_STYLE& PageStyleSlot(int nLeadCount);

    CDataManager<_RHYTHMDATAITEM> m_RhythmDataManager;
    _RHYTHM_PAGE_STYLE m_nPageStyle;      // the current page style
    _RHYTHM_PAGE_STYLE m_nPageStyle1Lead; // stored styles of 1-lead, 3-lead and other items
    _RHYTHM_PAGE_STYLE m_nPageStyle3Lead;
    _RHYTHM_PAGE_STYLE m_nPageStyleOther;
    int m_nRhythmFilter;        // Hz; 0: the record's own filter
    float m_fRhythmSpeed;       // mm/s
    UINT m_uRefSenseMode;       // the stored sensitivity mode
    float m_fRefSense[7];       // mm/mV; stored copies of kinds 0, 1 and 6, and [2] the stored rhythm sensitivity
    int m_n1Lead12;             // one-lead strip lead of 12- and 15-lead items, 0 to 11
    int m_n1Lead3;              // of 3-lead items, 0 to 2
    int m_n1Lead15Offset;       // lead - 11 for leads 12 to 14 of 15-lead items; 0 for none
};
