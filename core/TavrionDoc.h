// The base document of every examination. It holds what the examinations
// share: the item list of opened records and the current record, the display
// settings record, the drawing state of the screens, the document's fonts,
// the lead selection and the change and save flags; and the record access
// through the run-time loaded device-file reader. Its virtual operations are
// the interface that the examination documents override and that views,
// forms, panes and reports call without knowing the examination kind.
#pragma once

#include "core/AdditionalInfo.h"
#include "core/AnnotationInfo.h"
#include "core/CheckValue.h"
#include "core/DataItem.h"
#include "core/DataManager.h"
#include "core/DefaultRef.h"
#include "core/LeadNameInfo.h"
#include "core/PatientInfo.h"
#include "core/ECGData.h"
#include "core/MemoryHelpers.h"
#include "core/PositionCtrl.h"
#include "core/SampleVector.h"
#include "platform/base/DateTime.h"
#include "platform/base/Geometry.h"
#include "platform/base/Strings.h"
#include "platform/ui/framework/Document.h"

#include <functional>
#include <map>
#include <vector>
#include <memory>
#include <string>
#include <initializer_list>

class CDC;
class CFont;
class CECGXMLParser;
class CEnlargedPreviewWindow;
class CWnd;
class CMFERParser;
struct MFER_ROOT;
struct _FILEITEM_INFO;
struct _XML_ATTRIB_DATE;
struct _XML_ATTRIB_AGE;

// The numbered lead layouts of the multi-lead view.
typedef int _RHYTHM_WAVE_STYLE;

#define TAVRION_DOC_FONTS 5
#define TAVRION_SENSE_KINDS 7
#define TAVRION_LEAD_SELECTION 28

// The examination kinds (_DOC_TYPE) that GetDocType answers.
enum {
    DOC_TYPE_REST = 0,
    DOC_TYPE_FINAL = 1,
    DOC_TYPE_RHYTHM = 2,
    DOC_TYPE_RR = 3,
    DOC_TYPE_EXTRA = 4,
    DOC_TYPE_EXER = 5,
    DOC_TYPE_MFER = 6,
};

class CTavrionDoc : public CDocument {
    DECLARE_DYNCREATE(CTavrionDoc)

public:
    CTavrionDoc();
    ~CTavrionDoc() override;

    // ---- the interface of the examination documents -------------------------
    // Probe opening of a device record: the record's system code, or 1.
    virtual int OpenFile(CString& strXMLPath, CString& strFilePath);
    // Probe opening of an MFER file: its system code, or 1. An empty record
    // XML path receives the new "Raw_" name.
    virtual int OpenMFERFile(CString& strMFERPath, CString& strXMLPath, CString& strThirdKey);
    virtual long GetCtrlStatusForType(UINT type);
    virtual int GetRhythmWaveData(int lead, short* buffer, int filter);
    virtual int GetAverageWaveData(int lead, short* buffer, int filter);
    virtual int GetRhythmWaveTotalPage(int style, int lead);
    virtual void UpdateCtrlStatus();
    virtual int SaveDataToXML(int flag);
    virtual int Is8000File();
    virtual int IsChestHalf();
    virtual void SetChestHalf(int bHalf);
    virtual float GetSpeed();
    virtual void SetSpeed(float fSpeed);
    virtual int GetFilter();
    virtual void SetFilter(int nFilter);
    virtual float GetCommonSense(int set);
    virtual float GetSense(UINT kind, int set);
    virtual UINT GetSenseMode();
    virtual void SetSense(UINT kind, float fSense, int bModeChange);
    virtual int IsDoctorConfirm();
    virtual void SetSenseMode(UINT mode);
    virtual int GetRhythmSenseChangeState();
    // Writes one display setting of the current record into its record XML
    // and saves it; reads every setting back from a record XML.
    virtual void SetReferenceIntoXML(int id, int arg);
    // Non-zero when a save of the last setting written did not reach the
    // record XML (the file stayed as it was): the base writer's own save or
    // the examination document's after it. The patient and annotation
    // writers, whose callers may hold no parser of their own, record theirs
    // here too.
    int IsSettingSaveFailed() const { return m_bSettingSaveFailed; }
    virtual void UpDateReferenceInfo(const CString& strXMLPath);
    // The record XML of the current item of the document's own list, which
    // the base settings writer works on; empty without one. The base answers
    // from its own list, which the examination documents do not use.
    virtual CString GetCurItemXMLPath();
    virtual void InitCheckArray();
    virtual void SetCtrlContent(_PATIENT_INFO* pPatient);
    virtual void UpDateCurItemContent(_PATIENT_INFO& patient);
    // The examination kind (_DOC_TYPE: 0 rest ... 6 MFER); the base document
    // is none of them and answers -1. Code that treats a document as one kind
    // asks this first, since the kinds are separate classes of other modules.
    virtual int GetDocType() const;
    // The lead count of the current item of the document's own kind; 255
    // without a current item (the base document never has one).
    virtual int GetCurItemLeadCount();
    virtual void SaveWaveInfoToXML(int nSystemCode, _LEAD_NAME_INFO& info, CECGXMLParser* xml);
    // The whole lead GetRhythmWaveData(lead, buffer, -1) gives, held by the
    // document and shared rather than copied: a view of a long record needs
    // no copy of its own of every lead. Null where the document does not
    // keep the lead so (the base, and every kind but MFER): the caller copies.
    virtual SharedSamples ShareRhythmWaveData(int lead);
    // The whole lead as a view holds it: shared where the document keeps it,
    // otherwise read into a copy. Empty without samples, when a second read
    // does not fill what the first sized, or without memory for the copy.
    SharedSamples GetWholeRhythmWave(int lead);

    // ---- layout tables -------------------------------------------------------
    // Loads the tables the type names (once per process) and the layout
    // suffix (once per document); returns 0.
    int GetCtrlPosFromXSL(_LOAD_POSITION_TYPE type);
    // The record-XML path bound to entry `index` of the table of `kind` (0 to
    // 14), alternative `alt`; empty outside the bounds.
    CString GetDefXMLPath(int kind, int index, int alt);
    CString GetSuffix() const;
    _DEFAULT_POSITION_CTRL* GetDefCtrlPos() const;

    // ---- annotations -----------------------------------------------------------
    void GetAnnoInfoFromXML(_ANNOTATION_INFO* head, CECGXMLParser* xml);
    void SaveAnnoInfoToXML(_ANNOTATION_INFO* head, CECGXMLParser* xml);

    // ---- control-data store -----------------------------------------------------
    // Loads (bInit non-zero) or edits the value of the first entry with the id.
    void SetCtrlData(UINT uID, const CString& strText, int bInit, int nSel);
    void GetCtrlData(UINT uID, CString& strText);
    void GetCtrlData(UINT uID, int& nSel);
    int GetCtrlModifyFlag(UINT uID);
    // Bit 0 shown, bit 1 enabled; 0 for an unknown id or a non-zero nReserved.
    long CheckCtrlStatus(UINT uID, int nReserved);
    int IsEidtChange(_PATIENT_INFO* pPatient);
    // 1 when the text is empty, unchecked, or a number within the limits.
    int CheckDataRange(CString strText, float fMax, float fMin, int bCheck, int bPoint);
    // A bound control's change: stores it as an edit, and marks the patient
    // data edited when the field is one of the patient strip. Returns the
    // entry's modified flag (0 for an id the store does not hold).
    int PushCtrlEdit(UINT uID, const CString& strText, int nSel);
    // The patient strip's fields (3000 to 3029). The interpretation fields
    // of the resting forms share the id range above them and are no patient
    // data.
    static int IsPatientFieldID(UINT uID);
    INT_PTR GetCheckCount() const { return m_CheckArray.GetSize(); }
    UINT GetCheckID(INT_PTR index) const { return m_CheckArray.GetAt(index).GetID(); }

    // ---- lead names, lead counts and lead selection ------------------------------
    int IsMasterStepInforSystemCode(int nSystemCode);
    int IsTripInforSystemCode(int nSystemCode);
    CString GetLeadNameString(int index);
    CString FromIDtoName(int nCode, int nSystemCode, CECGXMLParser* xml, int index);
    void GetLeadNameFromXML(int nSystemCode, _LEAD_NAME_INFO& info, CECGXMLParser* xml);
    // style 0 stands for the document's current style; 1 when stored.
    int SetLeadSelection(short sMask, int nSystemCode, _RHYTHM_WAVE_STYLE style);
    short GetLeadSelection(int nSystemCode, _RHYTHM_WAVE_STYLE style);
    int GetAcquisitionFilter(CECGXMLParser* xml, int bDefault);   // Hz
    float GetAcquisitionSense(CECGXMLParser* xml, int bDefault);  // mm/mV

    // ---- editable parameters and interpretation codes ------------------------------
    int InsertEditableParam(_EDITABLE_PARAM_INDEX index, const CString& text);
    CStringArray* GetEditableParam(_EDITABLE_PARAM_INDEX index);   // null outside 0 to 11
    int ClearEditableParam(_EDITABLE_PARAM_INDEX index);
    // The text of a pick-list field: the chosen list item when the stored
    // text is empty and the selection lies in the list, else the stored text.
    static CString GetListedText(const CStringArray* list, int nSel, const CString& strStored);
    void SetSubstituteParam(_SUBSTITUTE_SELECT_OR_EDITMODE mode, int value);
    int GetSubstituteParam(_SUBSTITUTE_SELECT_OR_EDITMODE mode);
    int IsMinnesotaValid(CString strCode, CString strText);
    int IsMinnesotaNotMatchingValid(CString strCode, CString strMarker);
    int IsIvrelValid(CString strCode, CString strText);
    CString GetVersionText(const wchar_t* pszXMLPath);

    // ---- file list ---------------------------------------------------------------------
    // Fills the host's list record of one record file; the companions may be
    // empty. The record's system code, 1 when the file cannot be read, 255 for
    // an MFER file without root; a file of another kind is left alone. It
    // shows nothing: why a record was not read is left in the record's failure.
    int ReadFile(const wchar_t* pszPath, const wchar_t* pszXML, const wchar_t* pszHL7, _FILEITEM_INFO* info);
    // A record whose record XML does not exist yet starts from what its file
    // carries, read as the file list reads it (patient id, name, acquisition
    // time), so that the forms show them and the first save writes them
    // rather than empty fields. Nothing is taken when the record XML exists
    // (what it stores stays as it is) or the path is empty. TRUE when the
    // fields were taken. The device record from its image, the MFER file
    // from its reader's root, or from its HL7 aECG header when one is named
    // and gives a patient id.
    // The record file's path names the record XML's owner (SeedRecordXML).
    BOOL GetPatInfoFromRecordFile(const CString& strXMLPath, _ECGDATA* image, _PATIENT_INFO& patient,
                                  const CString& strRecordPath);
    BOOL GetPatInfoFromMFERFile(const CString& strXMLPath, CMFERParser* reader, const CString& strHL7Path,
                                _PATIENT_INFO& patient, const CString& strRecordPath);
    // TRUE when a record XML path is named but nothing is on disk there yet.
    static BOOL IsRecordXMLToBeMade(const CString& strXMLPath);
    // Whatever writes that record XML first writes with it the patient id,
    // name and acquisition time taken from the file, and the name of the
    // record file it belongs to, for as long as this document lives
    // (CECGXMLParser::SeedNewFile).
    void SeedRecordXML(const CString& strXMLPath, const _PATIENT_INFO& patient,
                       const CString& strRecordPath = CString());
    // The record file a record XML names as its own: its name without the
    // folder (two record files of one stem, s.ecg and s.dat, have record XMLs
    // of one form of name, told apart only by it). Empty for a record XML
    // made before it was written, or one that cannot be read.
    static CString GetRecordFileOfXML(const CString& strXMLPath);
    static const wchar_t* const kRecordFileXPath;
    // Its attributes: the patient id and acquisition time ("YYYY/MM/DD
    // hh:mm:ss", empty when the file gave none) the record file gave when
    // the record XML was made.
    static const wchar_t* const kRecordPatientIdAttribute;
    static const wchar_t* const kRecordAcquiredAttribute;
    // The name a record XML takes when `taken`, which it was given, is
    // another record's file: its stem with the first later second whose
    // name is neither on disk, nor waiting for its first write, nor given
    // to another record (as CreateRawFileName names it). Empty when none of
    // the next hour is free.
    static CString NextRecordXMLName(const CString& taken);
    // Gives the name to the record's record XML to be made, for as long as
    // this process runs: a record XML another process made under it
    // meanwhile for another record is left to that one, and this record's
    // goes on under the next name (CECGXMLParser::NameNewFile).
    static void NameRecordXML(const CString& strXMLPath, const CString& strRecordPath);

    // ---- patient record ----------------------------------------------------------
    void GetPatInfoFromXML(int nSystemCode, _PATIENT_INFO& patient, CECGXMLParser* xml);
    void SavePatInfoToXML(_PATIENT_INFO& patient, CECGXMLParser* xml);
    // SavePatInfoToXML without the save, for a caller that saves the whole record XML once afterwards.
    void WritePatInfoToXML(_PATIENT_INFO& patient, CECGXMLParser* xml);
    // Whether the item's confirmation (doctor and date) is the one the record
    // XML reads as: a save that is no new confirmation leaves the stored one,
    // wherever the reader took it from, as it stands.
    bool IsConfirmationAsStored(const _PATIENT_INFO& patient, CECGXMLParser* xml);
    // Called by a save once its stamps are in the record XML, before the file
    // is written: a confirmation that would now read otherwise than the
    // person saw it (taken from the patient's doctor and an analysis date the
    // save renewed) is written into the confirming editor's own elements; one
    // shown awaiting its doctor names the doctor there without a date, so it
    // still awaits. One that reads as shown leaves the XML as it is.
    void KeepShownConfirmation(const _PATIENT_INFO& patient, CECGXMLParser* xml);
    // The patient's acquisition time into a record XML that has none yet.
    void WriteFirstAcqTime(const _PATIENT_INFO& patient, CECGXMLParser* xml);
    void UpdateRhyRRCurItem(int nSystemCode, _INTERPRE_INFO_GENERAL& info);
    _BIRTHDAY CheckBirthday(_BIRTHDAY birthday);

    // ---- settings -------------------------------------------------------------
    _DEFAULT_REF& GetDefaultReference() { return m_stDefaultRef; }
    void InitialSetting(const _DEFAULT_REF* pRef);
    COLORREF GetWaveColor(int slot, int nUnused = 0) const;
    void SetWaveColor(int slot, unsigned long color);
    int GetSmoothFilterMode() const { return m_stDefaultRef.nSmoothFilterMode; }
    void SetSmoothFilterMode(int mode) { m_stDefaultRef.nSmoothFilterMode = mode; }
    int GetSmoothFilterType() const { return m_stDefaultRef.nSmoothFilterType; }
    void SetSmoothFilterType(int type) { m_stDefaultRef.nSmoothFilterType = type; }
    int IsDelBitNoise() const { return m_stDefaultRef.nDelBitNoise; }
    void SetDelBitNoise(int on) { m_stDefaultRef.nDelBitNoise = on; }
    int GetBaseLineWidth() const { return m_stDefaultRef.nBaseLineWidth; }
    void SetBaseLineWidth(int width) { m_stDefaultRef.nBaseLineWidth = width; }
    int GetGridType() const { return m_stDefaultRef.nGridType; }
    void SetGridType(int type) { m_stDefaultRef.nGridType = type; }
    int GetDensity(int mode) const;
    void SetDensity(int mode, int value);
    void GetStrandelValue(float& xWidth, float& yWidth, int& power, float& gamma) const;
    void SetStrandelValue(float xWidth, float yWidth, int power, float gamma);
    int GetFilterStatus(short kind) const;
    int GetSpeedStatus(short kind) const;
    void SetRhythmSense(float fSense) { m_fSense[0][2] = fSense; }

    int IsSerialOverlap() const { return m_stDefaultRef.RefInt(REF_SERIAL_OVERLAP) ? 1 : 0; }
    void SetSerialOverlap(int on) { m_stDefaultRef.RefInt(REF_SERIAL_OVERLAP) = on ? 1 : 0; }
    int IsShowComment() const { return m_stDefaultRef.RefInt(REF_SHOW_COMMENT) ? 1 : 0; }
    void SetShowComment(int on) { m_stDefaultRef.RefInt(REF_SHOW_COMMENT) = on; }
    int IsShowST() const { return m_stDefaultRef.RefInt(REF_SHOW_ST) ? 1 : 0; }
    void SetShowST(int on) { m_stDefaultRef.RefInt(REF_SHOW_ST) = on; }
    int IsCheckID() const { return m_stDefaultRef.RefInt(REF_CHECK_ID) ? 1 : 0; }
    void SetCheckID(int on) { m_stDefaultRef.RefInt(REF_CHECK_ID) = on; }
    int IsPopupMode() const { return m_stDefaultRef.RefInt(REF_POPUP_MODE) ? 1 : 0; }
    void SetPopupMode(int on) { m_stDefaultRef.RefInt(REF_POPUP_MODE) = on; }

    double GetDisplayRatio() const { return m_dDisplayRatio; }
    void SetDisplayRatio(double ratio) { m_dDisplayRatio = ratio; }
    double GetXScale() const { return m_dXScale; }
    double GetYScale() const { return m_dYScale; }
    UINT GetDisplaySizeMode() const { return m_uDisplaySizeMode; }
    void SetDisplaySizeMode(UINT mode) { m_uDisplaySizeMode = mode; }
    int GetDividerState() const { return m_nDividerState; }
    void SetDividerState(int state) { m_nDividerState = state; }
    int IsTurnedScreen() const { return m_bTurnedScreen; }
    void SetTurnedScreen(int turned) { m_bTurnedScreen = turned; }
    CSize GetBaseScreenSize() const { return CSize(m_nBaseScreenWidth, m_nBaseScreenHeight); }
    int GetCurDataIndex() const { return m_nCurDataIndex; }
    void SetCurDataIndex(int index) { m_nCurDataIndex = index; }
    // The lead of the one-lead strip. The examination documents that choose
    // it themselves (own GetRhythm1LeadID) keep this copy of their answer for
    // the current record whenever the choice or the record XML changes it.
    int GetRhythm1LeadID() const { return m_nRhythm1LeadID; }
    void SetRhythm1LeadID(int lead) { m_nRhythm1LeadID = lead; }
    int GetDividerCheck() const { return m_nDividerCheck; }
    void SetDividerCheck(int check) { m_nDividerCheck = check; }
    int GetScaleShow() const { return m_bScaleShow; }
    void SetScaleShow(int show) { m_bScaleShow = show; }
    int IsEditChanged() const { return m_bEditChanged; }
    void SetEditChanged(int changed) { m_bEditChanged = changed; }
    int GetEditCommentFlag() const { return m_bEditComment; }
    void SetEditCommentFlag(int edited) { m_bEditComment = edited; }
    int GetEditPatientFlag() const { return m_bEditPatient; }
    void SetEditPatientFlag(int edited) { m_bEditPatient = edited; }
    int GetSubAgeFlag() const { return m_bSubAge; }
    void SetSubAgeFlag(int on) { m_bSubAge = on; }
    int GetShadeGrid() const { return m_bShadeGrid; }
    void SetShadeGrid(int on) { m_bShadeGrid = on; }
    _RHYTHM_WAVE_STYLE GetRhythmWaveStyle() const { return m_nRhythmWaveStyle; }
    void SetRhythmWaveStyle(_RHYTHM_WAVE_STYLE style) { m_nRhythmWaveStyle = style; }
    int IsInformationChange() const { return m_bInformationChange; }
    int IsAdditionChange() const { return m_bAdditionChange; }
    int IsCommentChange() const { return m_bCommentChange; }
    int IsAnalysisChange() const { return m_bAnalysisChange; }
    int IsSaveDoctor() const { return m_bSaveDoctor; }
    int IsSaveEditor() const { return m_bSaveEditor; }
    void SetDoctorAndEditorStatus(int doctor, int editor)
    {
        m_bSaveDoctor = doctor;
        m_bSaveEditor = editor;
    }
    // The print status dialog sets the print-cancel flag on Cancel and clears it
    // when a job starts; raw print writes and CECGDC::EndDoc stop once it is set.
    // 1: the record may be viewed but not edited (set by the host).
    int IsReadOnly() const { return m_bReadOnly; }
    void SetReadOnly(int readOnly) { m_bReadOnly = readOnly ? 1 : 0; }
    int IsPrintCancel() const { return m_bPrintCancel; }
    void SetPrintCancel(int cancel) { m_bPrintCancel = cancel; }
    const CString& GetTempStorePath() const { return m_strTempStorePath; }
    void SetTempStorePath(const CString& path) { m_strTempStorePath = path; }
    int* GetLeadSelectionArray() { return m_nLeadSelection; }
    CFont* GetDocFont(int index) const;   // 0 to 4; the first is the form font

    // ---- view state the waveform views, forms and dialogs read ---------------
    // Mouse mode: 1 measure (the views' own clicks), 2 draw annotations,
    // 3 select annotations. The annotation lock is the one flag the views
    // call "annotation-block" and the panes "annotation-edit": non-zero
    // blocks annotation input, and 1 also cancels a sketch in progress at the
    // next update. The playback flag is set while a pane pages through the
    // record on a timer; the annotation flag makes a view's page change delete
    // its annotations. The shape the next annotation takes (type 1..11, line
    // width, colour, font) is the document's own _SKETCH_INFO. The
    // notification window is the owner window the host sets: it receives
    // WM_USER+0xF and WM_USER+0x16 and takes the focus first on an annotation
    // click; null when the host gives none. The magnifier dialog and the
    // page-text font belong to whoever sets them (null until then). In
    // display-size mode 5 the two stored pixels-per-millimetre values replace
    // a view's own.
    int GetMouseMode() const { return m_nMouseMode; }
    void SetMouseMode(int mode) { m_nMouseMode = mode; }
    int GetAnnotationLock() const { return m_nAnnotationLock; }
    void SetAnnotationLock(int lock) { m_nAnnotationLock = lock; }
    int IsPlayback() const { return m_bPlayback; }
    void SetPlayback(int playing) { m_bPlayback = playing; }
    int GetAnnotationFlag() const { return m_bAnnotationFlag; }
    void SetAnnotationFlag(int on) { m_bAnnotationFlag = on; }
    int GetAnnotationType() const { return m_stSketchInfo.nType; }
    void SetAnnotationType(int type) { m_stSketchInfo.nType = type; }
    int GetAnnotationWidth() const { return m_stSketchInfo.nLineWidth; }
    void SetAnnotationWidth(int width) { m_stSketchInfo.nLineWidth = width; }
    COLORREF GetAnnotationColor() const { return m_stSketchInfo.crColor; }
    void SetAnnotationColor(COLORREF color) { m_stSketchInfo.crColor = color; }
    const LOGFONTW& GetAnnotationFont() const { return m_stSketchInfo.lfFont; }
    void SetAnnotationFont(const LOGFONTW& font) { m_stSketchInfo.lfFont = font; }
    CEnlargedPreviewWindow* GetEnlargedPreview() const { return m_pEnlargedPreview; }
    void SetEnlargedPreview(CEnlargedPreviewWindow* window) { m_pEnlargedPreview = window; }
    CWnd* GetNotifyWnd() const { return m_pNotifyWnd; }
    void SetNotifyWnd(CWnd* wnd) { m_pNotifyWnd = wnd; }
    // Sends a message to the notification window when there is one; 0 without.
    LRESULT SendToNotifyWnd(UINT message, WPARAM wParam, LPARAM lParam) const;
    int GetScaleMarkSize() const { return m_nScaleMarkSize; }   // pixels at ratio 1
    void SetScaleMarkSize(int size) { m_nScaleMarkSize = size; }
    CFont* GetPageTextFont() const { return m_pPageTextFont; }
    void SetPageTextFont(CFont* font) { m_pPageTextFont = font; }
    // The colour of the texts a pane paints itself (the exercise result's
    // equation); set by the host, black until then.
    COLORREF GetTextColor() const { return m_crTextColor; }
    void SetTextColor(COLORREF color) { m_crTextColor = color; }
    double GetPixelPerMMX() const { return m_dPixelPerMM[0]; }
    double GetPixelPerMMY() const { return m_dPixelPerMM[1]; }
    void SetPixelPerMM(double x, double y)
    {
        m_dPixelPerMM[0] = x;
        m_dPixelPerMM[1] = y;
    }

    // Maps the display position of a lead to its lead number in the record.
    static UINT GetDataLeadID(UINT index, int systemCode);
    // The 8000-device flag of the item whose record XML is the given path.
    int Is8000File(const CString& strXMLPath);

    // Module-wide values reached through the document.
    CString GetLocalPath() const;
    double GetXUnit() const;
    double GetYUnit() const;
    int IsSizing() const;
    void SetDisplaySizing(int sizing);

    void InitGlobalData();
    void ResetGlobalData();

    // ---- the item list ---------------------------------------------------------
    CDataManager<_DATAITEM>& GetDataManager() { return m_DataManager; }
    _DATAITEM* GetListHeader() const { return m_DataManager.GetListHeader(); }
    _DATAITEM* GetCurDataItem() const { return m_DataManager.GetItem(m_nCurDataIndex); }

    // ---- record access ---------------------------------------------------------
    long ecgGetData(_ECGDATA* image, UINT tag, UINT index, void* buffer, long length, _ECG_DATA_TYPE type);
    long ecgSetData(_ECGDATA* image, UINT tag, UINT index, void* data, long length, _ECG_DATA_TYPE type);
    // An item of 16-bit samples in whole samples. Without a buffer: the bytes
    // the copy then delivers (a trailing odd byte is no sample and is left
    // out, so a caller that sizes its buffer in samples gets exactly that);
    // with one: copies exactly those bytes. 0 when the item is absent, holds
    // no whole sample or cannot be read.
    long GetSampleItem(_ECGDATA* image, UINT tag, UINT index, short* buffer);
    // Converts text in place and returns its new byte length; type 1 returns
    // -1 unchanged. euc2sjis grows the text by one byte per bare LF: the
    // buffer must hold twice the text's length plus one.
    int euc2sjis(int type, char* text);
    int sjis2euc(int type, char* text);
    // The system code of an MFER file from its description (trimmed) and its lead count; 1 when none fits.
    static int MFERSystemCode(const CString& description, int leadCount);
    // Decodes a code page 932 text of an MFER file into out, terminator included.
    static void MFERGetData(wchar_t* out, const char* in);

    // Image openings for the caller: 0 on success, 255 on failure.
    int XMLTransOpenFile(const CString& strFilePath, _ECGDATA*& pImage, int& nKind);
    int MFERTransOpenFile(const CString& strFilePath, _ECGDATA*& pImage, int& nKind, int& bOldReader);
    int MFERTransOpenFile(const CString& strFilePath, _ECGDATA*& pImage, int& nKind);

    // ---- signal and text helpers that use no document state --------------------
    void AdjustRestAveWaveBaseLine(_ECGDATA* image, short* samples, int lengthBytes);
    int GetWaveMaxMin(const short* samples, int count, short* pMax, short* pMin);
    BOOL DrawTextEndEllipsis(CDC* pDC, const CString& text, int left, int top, int right, int bottom);
    BOOL DrawTextEndEllipsis(CDC* pDC, const CString& text, const CRect& rect)
    {
        return DrawTextEndEllipsis(pDC, text, rect.left, rect.top, rect.right, rect.bottom);
    }

protected:
    // Saves a record XML that a document's settings writer changed, its
    // failure recorded beside the base writer's (IsSettingSaveFailed).
    void SaveSettingXML(CECGXMLParser& xml);
    // The loaders of the sixteen layout tables: 255 without a stylesheet, else 0.
    int LoadPatInfoPos(CECGXMLParser* xsl, int bVisibleOnly);
    int LoadRestInterprePos(CECGXMLParser* xsl, int bVisibleOnly);
    int LoadUsaRestInterprePos(CECGXMLParser* xsl, int bVisibleOnly);
    int LoadRhyInterprePos(CECGXMLParser* xsl, int bVisibleOnly);
    int LoadRRInterprePos(CECGXMLParser* xsl, int bVisibleOnly);
    int LoadMsfrInterprePos(CECGXMLParser* xsl, int bVisibleOnly);
    int LoadExtraInterprePos(CECGXMLParser* xsl, int bVisibleOnly);
    int LoadExerInterprePos(CECGXMLParser* xsl, int bVisibleOnly);
    int LoadPatInfoPrintPos(CECGXMLParser* xsl, int bVisibleOnly);
    int LoadRestInterprePrintPos(CECGXMLParser* xsl, int bVisibleOnly);
    int LoadUsaRestInterprePrintPos(CECGXMLParser* xsl, int bVisibleOnly);
    int LoadRRInterprePrintPos(CECGXMLParser* xsl, int bVisibleOnly);
    int LoadRhyInterprePrintPos(CECGXMLParser* xsl, int bVisibleOnly);
    int LoadMsfrInterprePrintPos(CECGXMLParser* xsl, int bVisibleOnly);
    int LoadExtraInterprePrintPos(CECGXMLParser* xsl, int bVisibleOnly);
    int LoadExerInterprePrintPos(CECGXMLParser* xsl, int bVisibleOnly);

    void InitCheckArrayRhyRR();
    // One confirmation block of a form: the text shown until the record is
    // confirmed, and the four controls from uFirstDetail (date title, date,
    // doctor title, doctor) shown only once it is.
    struct _CONFIRM_CTRLS {
        UINT uText;
        UINT uFirstDetail;
    };
    // The status rules every examination form shares, applied to the whole
    // store for the record shown: the sub-age fields need the sub-age flag;
    // the confirmation texts (3025 and the blocks') hide once the record is
    // confirmed, the details (3026 to 3029 and the blocks') show only then,
    // and are printed whatever their state when a block's date or doctor
    // holds a text. hideAlso (may be empty) names what the form's own rules
    // hide besides.
    void UpdateFormCtrlStatus(int bConfirmed, std::initializer_list<_CONFIRM_CTRLS> blocks,
                              const std::function<bool(UINT)>& hideAlso = {});
    // Writes a record's annotations into its record XML (b8000File as the
    // parser takes it); 255 when the record has no XML, else 0.
    int SaveAnnotationsToFile(const CString& strXMLPath, _ANNOTATION_INFO* head, int b8000File = 0);
    // Reads a record's annotations into a fresh chain: reading a record
    // again must not repeat them.
    void ReadAnnotationsAgain(_ANNOTATION_INFO*& head, CECGXMLParser* xml);
    // Keeps what the edit tests found for the record shown; 1 when any block changed.
    int SetEditChangeFlags(int bInformation, int bAddition, int bComment, int bAnalysis)
    {
        m_bInformationChange = bInformation;
        m_bAdditionChange = bAddition;
        m_bCommentChange = bComment;
        m_bAnalysisChange = bAnalysis;
        return bInformation || bAddition || bComment || bAnalysis ? 1 : 0;
    }
    void ReadBaseFileInfo(const CString& strXMLPath, _FILEITEM_INFO* info);
    int ReadDeviceFileInfo(const CString& path, const CString& xml, _FILEITEM_INFO* info);
    int ReadMferFileInfo(const CString& path, const CString& xml, const CString& hl7, _FILEITEM_INFO* info);
    void ReadHl7FileInfo(const CString& hl7, _FILEITEM_INFO* info);
    // What a device record's own tags give the list: patient id, the further
    // text, patient name and acquisition time.
    void ReadRecordFileInfo(_ECGDATA* image, _FILEITEM_INFO* info);
    // What an MFER file's root gives the list: acquisition time, patient name and id.
    void ReadMferRootInfo(const MFER_ROOT* root, _FILEITEM_INFO* info);
    // A record text into a list field, at most 99 characters; the field stays
    // as it was when the tag does not read.
    void ReadRecordText(_ECGDATA* image, UINT tag, CString& field);
    void GetAdditionalInforFromXMLFile(CECGXMLParser* xml, _ADDITIONAL_INFO& info, _ECGDATA* image);
    // The additions of a record XML alone, for records without a device
    // image (MFER files): what GetAdditionalInforFromXMLFile reads once the
    // image says the record carries additions.
    void ReadAdditionsFromXML(CECGXMLParser* xml, _ADDITIONAL_INFO& info);
    void SaveAdditionToXML(CECGXMLParser* xml, _ADDITIONAL_INFO& info);
    void UpdateCurItemAddition(int nSystemCode, _ADDITIONAL_INFO& info);
    static int GetLeadCountBySystemCode(UINT uSystemCode);
    int GetCurrentLeadCount(int nSystemCode);
    // Device-item readers: 0 when the item is missing or unreadable.
    static int GetLTFileLeadCount(_ECGDATA* image, UINT tag);
    static int GetRRFileLeadCount(_ECGDATA* image);
    static int GetExtraFileLeadCount(_ECGDATA* image, UINT uSystemCode);
    int CompareDate(COleDateTime date, _XML_ATTRIB_DATE record);
    void ReadAge(_PATIENT_INFO& patient, CECGXMLParser* xml, const CString& xpath);
    CString ReadPressure(const CString& text, int nPressureUnit);
    // A height or weight from its whole and fraction elements; empty when
    // none is stored or it is past what the strip shows (999.9).
    CString ReadMeasure(CECGXMLParser* xml, const CString& wholePath, const CString& fractionPath);
    void ReadConfirmation(_PATIENT_INFO& patient, CECGXMLParser* xml);
    static _XML_ATTRIB_AGE MakeAgeAttrib(const _PATIENT_INFO& patient);
    // The index of the first entry with the id, -1 when none has it.
    INT_PTR FindCheckEntry(UINT uID) const;
    void AddCheckEntry(UINT uID, const CString& strKey);

    int LoadECGLibrary(_ECGDATA* image, _FILEITEM_INFO* info);
    CString CreateRawFileName(const CString& source, int bRaw);

    // How reading a record file into an image ended.
    // NoMemory: the image could not be had here; TooLarge: past what an
    // image holds on any machine.
    enum class ImageRead { Ok, CannotOpen, TooShort, NotAccepted, NoMemory, TooLarge };
    // Reads the file whole into a new image and has a reader accept it; the
    // image is null unless the result is Ok.
    ImageRead ReadImage(const CString& strFilePath, _ECGDATA*& pImage, _FILEITEM_INFO* info);
    // Whether the file opens and is long enough for a record; shows the
    // opening error when it is not.
    BOOL CheckRecordFile(const CString& strFilePath);
    // The opening that every examination document's OpenFile begins with:
    // finds its item by the keys, reads the file into a new image held by the
    // item, reads the kind, the system code and the first blob. 0 when the
    // document's own steps may follow, 1 when the list has no such item, 255
    // on failure. The host added the item and may still hold it, so a failure
    // never deletes it: a record without a first blob leaves it without an
    // image, one whose blob cannot be had or read leaves it the image alone.
    // bOpensWithUnreadableBlob: a blob that is there but cannot be read is
    // left out and the opening goes on (memory short for it still fails).
    template <class T> int OpenRecordCommon(CDataManager<T>& list, CString& strXMLPath, CString& strFilePath,
                                            T*& pItem, BOOL bOpensWithUnreadableBlob = FALSE);
    // Its first part, for documents whose blob and keys follow rules of their
    // own: finds the item and reads the file into a new image held by it. 0
    // with the item, 1 when the list has no such item, 255 on failure (the
    // error shown, the item kept without an image).
    template <class T> int OpenRecordImage(CDataManager<T>& list, CString& strXMLPath, CString& strFilePath,
                                           T*& pItem);
    // Reads item 3836 whole into the image's first blob; FALSE when it is
    // absent or cannot be read (nothing is kept then). Memory that cannot be
    // had for it is told in a message; pbNoMemory, when given, tells that
    // case from a failed read.
    BOOL ReadFirstBlob(_ECGDATA* image, BOOL* pbNoMemory = nullptr);
    // Shows the opening error of a failed read (nothing for NotAccepted).
    static void ShowOpenError(ImageRead result, const CString& strFilePath);

    // ---- fields, in the order of the design -----------------------------------
    int m_nUnused1[3];
    CFont* m_pDocFont[TAVRION_DOC_FONTS];   // created by InitGlobalData
    int m_nUnused2[3];
    _DEFAULT_REF m_stDefaultRef;
    _SKETCH_INFO m_stSketchInfo;
    double m_dXScale;           // g_dXUnit × display ratio
    double m_dYScale;           // g_dYUnit × display ratio
    double m_dDisplayRatio;
    double m_dPixelPerMM[2];    // across, down; display-size mode 5
    UINT m_uDisplaySizeMode;
    int m_nUnused3;
    int m_nDividerState;
    int m_nUnused4;
    int m_bTurnedScreen;        // the base screen is 768 × 1024 when set
    int m_nBaseScreenWidth;
    int m_nBaseScreenHeight;
    int m_nBaseScreenWidth2;
    CDataManager<_DATAITEM> m_DataManager;
    int m_nUnused5;
    int m_nCurDataIndex;        // id of the current item, -1 for none
    int m_nRhythm1LeadID;       // the lead of the one-lead rhythm strip
    int m_nDividerCheck;
    int m_bScaleShow;
    int m_bEditChanged;
    int m_bEditComment;
    int m_bEditPatient;
    int m_bSubAge;
    int m_bShadeGrid;
    int m_nFilter;              // hi-cut frequency in Hz
    float m_fSpeed;             // mm/s
    _RHYTHM_WAVE_STYLE m_nRhythmWaveStyle;
    UINT m_uSenseMode;
    float m_fSense[2][TAVRION_SENSE_KINDS];   // mm/mV; [0] the first set, [1] the second
    int m_bChestHalf;
    int m_nLeadSelection[TAVRION_LEAD_SELECTION];
    int m_bInformationChange;
    int m_bAdditionChange;
    int m_bCommentChange;
    int m_bAnalysisChange;
    int m_bSaveDoctor;
    int m_bSaveEditor;
    CString m_strTempStorePath; // when set, record XML files are named in this folder
    int m_bPrintCancel = 0;     // 1 once the user cancelled the print job
    int m_bReadOnly = 0;        // 1: view only; the bound controls stay disabled
    int m_nUnused6;
    int m_bSuffixRead;          // the layout suffix was read for this document
    CArray<CCheckValue, CCheckValue&> m_CheckArray;   // the control-data store, in insertion order
    CCheckValue m_CheckScratch[8];   // the copies that the store's lookups work on
    CStringArray m_arrEditableParam[EDITABLE_PARAM_COUNT];   // the forms' pick lists
    // Id of the item the control-data store was last filled from (-1 none):
    // copying the store back into any other item would overwrite it with
    // another record's texts, or with nothing.
    int m_nCtrlContentItem = -1;
    // View state (see the accessors).
    int m_nMouseMode = 1;
    int m_nAnnotationLock = 0;
    int m_bPlayback = 0;
    int m_bAnnotationFlag = 0;
    CEnlargedPreviewWindow* m_pEnlargedPreview = nullptr;   // not owned
    CWnd* m_pNotifyWnd = nullptr;                        // not owned
    int m_nScaleMarkSize = 1;
    CFont* m_pPageTextFont = nullptr;                    // not owned
    int m_bSettingSaveFailed = 0;                        // see IsSettingSaveFailed
    COLORREF m_crTextColor = RGB(0, 0, 0);               // see GetTextColor

private:
    void DeleteDocFonts();

    // The seeds of the record XMLs still to be made, by path (SeedRecordXML).
    std::map<std::wstring, std::shared_ptr<const void>> m_mapRecordXMLSeeds;
};

template <class T>
int CTavrionDoc::OpenRecordImage(CDataManager<T>& list, CString& strXMLPath, CString& strFilePath, T*& pItem)
{
    pItem = nullptr;
    if (!CheckRecordFile(strFilePath)) return 255;
    DeleteContents();
    T* item = list.GetItem(strXMLPath, strFilePath, CString());
    if (!item) return 1;
    FreeECGData(item->pECGData);
    item->strXMLPath = strXMLPath;
    const ImageRead read = ReadImage(strFilePath, item->pECGData, nullptr);
    if (read != ImageRead::Ok) {
        // The item stays listed without an image: the host that added it may
        // hold it still, and deleting it would renumber the items after it.
        ShowOpenError(read, strFilePath);
        return 255;
    }
    pItem = item;
    return 0;
}

template <class T>
int CTavrionDoc::OpenRecordCommon(CDataManager<T>& list, CString& strXMLPath, CString& strFilePath, T*& pItem,
                                  BOOL bOpensWithUnreadableBlob)
{
    pItem = nullptr;
    T* item = nullptr;
    const int opened = OpenRecordImage(list, strXMLPath, strFilePath, item);
    if (opened != 0) return opened;
    signed char kind = 0;
    item->nKind = ecgGetData(item->pECGData, ECG_TAG_KIND, 0, &kind, 1, ECG_DATA_RAW) > 0 ? kind : 0;
    BYTE code[2] = {};
    item->uSystemCode =
        ecgGetData(item->pECGData, ECG_TAG_SYSTEM_CODE, 0, code, sizeof(code), ECG_DATA_RAW) > 0 ? (code[0] | (code[1] << 8)) : 0;
    // Without the reader's blob the image is of no use; the item stays.
    if (ecgGetData(item->pECGData, ECG_TAG_BLOB1, 0, nullptr, 0, ECG_DATA_RAW) < 1) {
        FreeECGData(item->pECGData);
        return 255;
    }
    BOOL bNoMemory = FALSE;
    if (!ReadFirstBlob(item->pECGData, &bNoMemory) && (bNoMemory || !bOpensWithUnreadableBlob)) return 255;
    pItem = item;
    return 0;
}
