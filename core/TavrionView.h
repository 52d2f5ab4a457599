// CTavrionView: the plain scroll view of the system. It draws nothing of its
// own; it erases in the document's paper colour and stamps annotations with
// their editor and edit time.
#pragma once

#include "platform/ui/framework/ScrollView.h"

struct _ANNOTATION_INFO;

class CTavrionView : public CScrollView {
    DECLARE_DYNCREATE(CTavrionView)

public:
    CTavrionView() = default;

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

protected:
    // 100 × 100 pixels of scrolling, default page and line steps.
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
    // 1 when the annotation took the name (and, asked through the editor
    // dialog, the time); 0 otherwise.
    int SaveAnnoEditTimeAndName(_ANNOTATION_INFO* info, CString editorName);

    DECLARE_MESSAGE_MAP()
};
