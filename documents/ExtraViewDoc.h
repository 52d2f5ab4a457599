// The document of extra-lead examinations: records of three or six extra
// leads, with or without a one-lead rhythm strip, and freeze records of up
// to six leads. It keeps one _EXTRADATAITEM per opened record file, gives the
// extra-lead panes their waves, speed, filter, sensitivities and page style,
// keeps those display settings in the record XML, and reads and writes the
// comment form's values there.
#pragma once

#include "core/DataManager.h"
#include "core/TavrionDoc.h"
#include "documents/ExtraDataItem.h"

class CExtraViewDoc : public CTavrionDoc {
    DECLARE_DYNCREATE(CExtraViewDoc)

public:
    CExtraViewDoc();
    ~CExtraViewDoc() override;

    // Fields of the settings record (_DEFAULT_REF) this document gives a meaning.
    enum ExtraRefField {
        REF_EXTRA_STYLE_3 = 77,         // page style of lead-count type 3
        REF_EXTRA_STYLE_4 = 78,
        REF_EXTRA_STYLE_6 = 79,
        REF_EXTRA_STYLE_7 = 80,
        REF_EXTRA_STYLE_FREEZE = 81,
        REF_EXTRA_FILTER = 98,          // Hz; 0 = the record's own
        REF_EXTRA_SPEED = 107,          // float mm/s; 0 = the record's own
        REF_EXTRA_SENSE_1 = 151,        // float mm/mV: stored Extra1 sensitivity
        REF_EXTRA_SENSE_2 = 152,        // stored Extra2 sensitivity
        REF_EXTRA_SENSE_RHYTHM = 153,   // stored rhythm-strip sensitivity
        REF_EXTRA_SENSE_MODE = 154,     // stored sensitivity mode, 1 to 5
    };
    // Sensitivity kinds of the extra-lead panes.
    enum ExtraSenseKind { SENSE_RHYTHM = 2, SENSE_EXTRA1 = 4, SENSE_EXTRA2 = 5, SENSE_STORED_RHYTHM = 9 };

    // ---- the interface of the examination documents ---------------------------
    // 0 on success, 1 when the list has no item for the keys, 255 on failure.
    int OpenFile(CString& strXMLPath, CString& strFilePath) override;
    void InitCheckArray() override;
    // Bytes of the lead's samples (a null buffer asks for the size only); 0
    // when there is no record or the lead cannot be read or filtered. A
    // negative filter stands for the document's own.
    int GetRhythmWaveData(int lead, short* buffer, int filter) override;
    void UpdateCtrlStatus() override;
    void SetCtrlContent(_PATIENT_INFO* pPatient) override;
    // Writes the item with that id; 0, or 255.
    int SaveDataToXML(int id) override;
    float GetSpeed() override;
    void SetSpeed(float fSpeed) override;
    int GetFilter() override;
    void SetFilter(int nFilter) override;
    UINT GetSenseMode() override;
    void SetSense(UINT kind, float fSense, int bModeChange) override;
    void SetReferenceIntoXML(int id, int arg) override;
    void UpDateReferenceInfo(const CString& strXMLPath) override;
    CString GetCurItemXMLPath() override;
    void SaveWaveInfoToXML(int nSystemCode, _LEAD_NAME_INFO& info, CECGXMLParser* xml) override;
    int IsDoctorConfirm() override;
    void SetSenseMode(UINT mode) override;
    int GetRhythmSenseChangeState() override;
    using CTavrionDoc::UpDateCurItemContent;
    // Copies the control-data store into the current item.
    virtual void UpDateCurItemContent();
    int GetDocType() const override { return DOC_TYPE_EXTRA; }
    int GetCurItemLeadCount() override;

    // ---- items -------------------------------------------------------------------
    _EXTRADATAITEM* GetCurrentDataItem();
    CDataManager<_EXTRADATAITEM>* GetExtraDataManager() { return &m_ExtraDataManager; }
    _EXTRADATAITEM* GetExtraListHeader() { return m_ExtraDataManager.GetListHeader(); }
    void GetExtraInfo(_EXTRADATAITEM* item, _EXTRAINFO& info);
    // 0, or 255 for a null item.
    int GetDataInfoFromECGFile(_EXTRADATAITEM* item);
    int GetDataInfoFromXMLFile(_EXTRADATAITEM* item);
    // Writes the item's annotations; 0, or 255.
    int SaveAnnotationToXML(int id);

    // ---- display ------------------------------------------------------------------
    _EXTRA_PAGE_STYLE GetPageStyle();
    void SetPageStyle(_EXTRA_PAGE_STYLE style);
    // Sensitivity kind 2 (rhythm strip), 4 (Extra1), 5 (Extra2) of the first
    // (set 0) or second set, 9 the stored rhythm-strip value; 0.0 for any
    // other kind. In sense modes 3 and 4 the record's own sensitivity is
    // taken first, so every view, pane and report asking through the base
    // document gets the record's gain too.
    float GetSense(UINT kind, int set) override;
    void InitialSense();
    // The lead of the one-lead rhythm strip for the current record (3 or 6,
    // 0 when it has none); stored as the document's strip lead.
    int GetRhythm1LeadID();
    // Whether a page style is one the record shows.
    static bool IsPageStyleAccepted(const _EXTRADATAITEM* item, _EXTRA_PAGE_STYLE style);

    // ---- change tests ---------------------------------------------------------------
    int IsEidtChange();
    int IsInfoEditChange(_EXTRADATAITEM* item);
    int IsCommentEditChange(_EXTRADATAITEM* item);
    int IsAdditionEditChange(_EXTRADATAITEM* item);

protected:
    // The settings field holding the page style of the item's kind; 0 for
    // an item of no known kind.
    static int PageStyleField(const _EXTRADATAITEM* item);
    // Opening: the stored sensitivities follow the record's lead sets, and
    // the rhythm strip's sensitivity its length.
    void AlignStoredSense(const _EXTRADATAITEM* item);
    void SetStripSense(_EXTRADATAITEM* item);
    // A 16-bit signed data tag; false when it cannot be read.
    bool ReadShortTag(_ECGDATA* image, UINT tag, UINT index, short& value);
    // The shown sensitivities written as they are, before a mode change.
    void WriteShownSense(const _EXTRADATAITEM* item);
    // The medication text the form shows for a stored text and list code.
    CString MedicationText(int list, const CString& stored, int code);
    void FillFormStore(_EXTRADATAITEM* item);

    CDataManager<_EXTRADATAITEM> m_ExtraDataManager;
    DWORD m_dwReserved;
    _EXTRA_PAGE_STYLE m_nPageStyle;   // the page style shown; 1 at construction

    DECLARE_MESSAGE_MAP()
};
