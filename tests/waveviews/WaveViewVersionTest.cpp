// The version text a view shows comes from the current record of the
// document kind the view was given.
#include <gtest/gtest.h>

#include "documents/RestViewDoc.h"
#include "waveviews/WaveView.h"

TEST(WaveViewVersion, TheVersionTextIsTheCurrentRecordsOfTheViewsKind)
{
    CRestViewDoc doc;
    doc.m_bAutoDelete = FALSE;
    auto* item = new _RESTDATAITEM;
    item->strVersion = L"V2.10 / 1.3";
    doc.GetRestDataManager().AppendItem(item);
    CWaveView view;
    doc.AddView(&view);
    view.SetDocType(0);
    EXPECT_EQ(CString(), view.GetVersionText());   // no current record yet
    doc.SetCurDataIndex(item->nID);
    EXPECT_EQ(CString(L"V2.10 / 1.3"), view.GetVersionText());
    view.SetDocType(2);   // a rhythm view on a resting document finds no record of its kind
    EXPECT_EQ(CString(), view.GetVersionText());
    view.SetDocType(5);
    EXPECT_EQ(CString(), view.GetVersionText());
    doc.RemoveView(&view);
}
