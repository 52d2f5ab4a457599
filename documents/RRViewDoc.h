// The document of an RR-interval examination: a long one- or three-lead strip
// recorded by the device, with the device's RR statistics, RR50 table and
// interval list from the record XML. It opens the records the host listed,
// serves the filtered strip to the multi-lead view, keeps the RR screens'
// display settings in the record XML and binds the RR comment form.
#pragma once

#include "core/TavrionDoc.h"
#include "documents/RRDataItem.h"

// The page style of an RR record: 3 to 5 the wave pages, 6 to 9 the comment
// pages; 1 when the record XML has none.
typedef int _RR_PAGE_STYLE;

class CRRViewDoc : public CTavrionDoc {
    DECLARE_DYNCREATE(CRRViewDoc)

public:
    CRRViewDoc();
    ~CRRViewDoc() override;

    // ---- opening and the strip -----------------------------------------------
    // 0 when opened, 1 when the list has no item for the paths, 255 on failure.
    int OpenFile(CString& strXMLPath, CString& strFilePath) override;
    _RRDATAITEM* GetCurrentDataItem();
    CDataManager<_RRDATAITEM>* GetRRDataManager() { return &m_RRDataManager; }
    // A null buffer asks for the lead's size in bytes; otherwise the filtered
    // samples and the bytes written. A negative cutoff: the document's filter.
    int GetRhythmWaveData(int lead, short* buffer, int filter) override;
    // The index of the strip's last page for rows `width` mm wide; -1 for an
    // empty strip, 0 without a record or lead count.
    int GetRhythmWaveTotalPage(int width, int unused) override;
    int GetDocType() const override { return DOC_TYPE_RR; }
    int GetCurItemLeadCount() override;

    // ---- display state ----------------------------------------------------------
    _RR_PAGE_STYLE GetPageStyle() const { return m_nPageStyle; }
    void SetPageStyle(_RR_PAGE_STYLE style) { m_nPageStyle = style; }
    float GetSpeed() override;
    void SetSpeed(float fSpeed) override;
    int GetFilter() override;
    void SetFilter(int nFilter) override;
    float GetCommonSense(int set) override;
    UINT GetSenseMode() override;
    void SetSense(UINT kind, float fSense, int bModeChange) override;
    void SetSenseMode(UINT mode) override;
    // Back to what the record XML or the last accepted change set.
    void InitialSense();
    int IsDoctorConfirm() override;

    // Texts for the host: equal values drop the parenthesised part.
    CString FormatString(CString strText, int nFirst, int nSecond);
    CString FormatString(CString strText, CString strFirst, CString strSecond);

    // ---- record XML -----------------------------------------------------------------
    int GetDataInfoFromXMLFile(_RRDATAITEM* pItem);
    int SaveDataToXML(int id) override;
    int SaveAnnotationToXML(int id);

    // ---- display settings -------------------------------------------------------------
    void SetReferenceIntoXML(int id, int arg) override;
    void UpDateReferenceInfo(const CString& strXMLPath) override;
    CString GetCurItemXMLPath() override;

    // ---- control fields ------------------------------------------------------------------
    void InitCheckArray() override;
    void SetCtrlContent(_PATIENT_INFO* pPatient) override;
    using CTavrionDoc::UpDateCurItemContent;
    virtual void UpDateCurItemContent();
    void UpdateCtrlStatus() override;
    using CTavrionDoc::IsEidtChange;
    int IsEidtChange();
    int IsInfoEditChange(_RRDATAITEM* pItem);
    int IsCommentEditChange(_RRDATAITEM* pItem);
    int IsAdditionEditChange(_RRDATAITEM* pItem);

protected:
    // The item with the id; null when the list has none.
    _RRDATAITEM* FindItem(int id) const { return m_RRDataManager.GetItem(id); }
    // Opening steps past the common recipe.
    void ReadRecordKeys(_RRDATAITEM* pItem);
    // 0 when the blob cannot be had or read (memory short for it is told in a message).
    int ReadStripBlob(_RRDATAITEM* pItem);
    // The loading steps of the record XML.
    void ReadInterpretation(_RRDATAITEM* pItem, CECGXMLParser& xml);
    void ReadEditors(_RRDATAITEM* pItem, CECGXMLParser& xml);
    void ReadRRReport(_RRDATAITEM* pItem, CECGXMLParser& xml);
    void ReadRRList(_RRDATAITEM* pItem, CECGXMLParser& xml);
    // The saving steps.
    void SaveInterpretation(_RRDATAITEM* pItem, CECGXMLParser& xml);
    void SaveEditors(_RRDATAITEM* pItem, CECGXMLParser& xml);
    // A medication's text as the form shows it.
    CString GetMedicationText(int list, const CString& strText, int nSel);

    CDataManager<_RRDATAITEM> m_RRDataManager;
    _RR_PAGE_STYLE m_nPageStyle;
    UINT m_uRefSenseMode;       // the sense mode the record XML or the last accepted change set
    float m_fRefElseSense;      // mm/mV; the same for the else sensitivity
};
