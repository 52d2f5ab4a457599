// CLeadNameSource: the names the multi-lead view gives the leads of a
// document's current record. The host asks the view itself, never a table
// of its own, so that its sheet and its record listing name every lead as
// the panes do (an edited or coded lead name included).
#pragma once

#include "waveviews/ViewRhythmWave.h"

class CTavrionDoc;

class CLeadNameSource : private CViewRhythmWave {
public:
    // The view is never shown: it only reads the document's lead names.
    explicit CLeadNameSource(CTavrionDoc* pDoc);
    ~CLeadNameSource() override;

    // The name of lead `lead` as the view labels it; `fallback` when the view
    // has none for it (a kind the view does not name, or a lead past its names).
    CString GetName(int lead, const CString& fallback = CString()) const;
};
