// CViewQRSNo: the beats of a resting record one by one, six on screen and
// twenty a printed page: each beat's number, QRS type and RR interval, read
// from the record XML of the current item.
#pragma once

#include <memory>

#include "platform/gdi/Gdi.h"
#include "platform/ui/framework/View.h"

class CECGDC;
class CECGXMLParser;

#define QRS_NO_SCREEN_BEATS 6
#define QRS_NO_PAGE_BEATS 20
#define QRS_NO_MAX_BEATS 256

class CViewQRSNo : public CView {
    DECLARE_DYNCREATE(CViewQRSNo)
public:
    CViewQRSNo();
    ~CViewQRSNo() override;

    void SetDocType(int type) { m_nDocType = type; }
    // Reopens the current item's record XML and reads its beat count;
    // without a current resting record it lets go of the last one's. The
    // framework's update stays reachable beside it.
    void OnUpdate();
    using CView::OnUpdate;

    // +1 one beat on, -1 one beat back; anything else brings the window back
    // inside a shorter record.
    void SetQRSNum(int step);
    BOOL IsBegin() const { return m_nFirstBeat == 0; }
    BOOL IsEnd() const { return m_nFirstBeat + QRS_NO_SCREEN_BEATS >= m_nBeatCount; }
    int GetFirstBeat() const { return m_nFirstBeat; }
    int GetBeatCount() const { return m_nBeatCount; }

    void OnDraw(CDC* pDC) override;
    // Page `page` of twenty beats; always TRUE.
    BOOL Print(CECGDC* pDC, CRect rect, int page);

    // The QRS type and RR interval of beat `beat` (from 1); false when unreadable.
    bool ReadBeat(int beat, CString& qrsType, CString& rrInterval) const;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    bool ReadBeatValue(LPCWSTR name, int beat, CString& value) const;

    int m_nFirstBeat = 0;
    int m_nBeatCount = -1;
    int m_nDocType = 0;
    std::unique_ptr<CECGXMLParser> m_pParser;
};
