#include "host/SerialRecordSet.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/DataItem.h"
#include "host/CommandFailure.h"
#include "panes/SerialFileList.h"

namespace host {

namespace {

// For the host's tests: with MORVELANCE_HOST_SET_SHORT_OF_MEMORY=1 the
// shared documents refuse every record as they do when memory runs out
// there. No address-space limit gets there reliably: the panes drawn before
// the comparing ones need more memory than opening the set does.
bool SetShortOfMemory()
{
    const char* value = std::getenv("MORVELANCE_HOST_SET_SHORT_OF_MEMORY");
    return value && std::string(value) == "1";
}

template <class Item> void CopyKeys(_DATAITEM& listed, const Item& item)
{
    listed.uSystemCode = item.uSystemCode;
    listed.strXMLPath = item.strXMLPath;
    listed.strFilePath = item.strFilePath;
    listed.strThirdKey = item.strThirdKey;
}

// The first record a shared document opens becomes its current one, as the
// host opens a record: made current, then its record XML's display settings
// read (speed, filter, sensitivities, the one-lead strip's lead).
template <class Doc, class Item> void MakeCurrentIfFirst(Doc& doc, const Item* current, const Item& opened)
{
    if (current) return;
    static_cast<CTavrionDoc&>(doc).SetCurDataIndex(opened.nID);
    doc.UpDateReferenceInfo(opened.strXMLPath);
}

}  // namespace

void SerialRecordSet::ReportReopenFailure(int result)
{
    failed = true;
    const std::string cause = TakeLibraryMessage();
    ReportFailure("the record could not be opened again for the comparison (%d)%s%s", result, cause.empty() ? "" : ": ",
                  cause.c_str());
}

SerialRecordSet::SerialRecordSet() { base.m_bAutoDelete = rest.m_bAutoDelete = mfer.m_bAutoDelete = FALSE; }

bool SerialRecordSet::Add(CTavrionDoc* opened)
{
    // The base list takes the entry once its record is open again; until then it is the set's to drop.
    std::unique_ptr<_DATAITEM> listed(new _DATAITEM);
    int itemKind = -1;
    if (auto* one = DYNAMIC_DOWNCAST(CRestViewDoc, opened)) {
        _RESTDATAITEM* source = one->GetCurrentDataItem();
        if (source) {
            auto* item = new _RESTDATAITEM;
            item->strXMLPath = source->strXMLPath;
            item->strFilePath = source->strFilePath;
            // Set by the record's opener: a model-8000 record reads its
            // pacemaker spikes and filters as such only when its item says so.
            item->b8000File = source->b8000File;
            rest.GetRestDataManager().AppendItem(item);
            CString xml = item->strXMLPath, file = item->strFilePath;
            const int result = SetShortOfMemory() ? -1 : rest.OpenFile(xml, file);
            if (result == 0) {
                CopyKeys(*listed, *item);
                listed->b8000File = item->b8000File;
                itemKind = DOC_TYPE_REST;
                MakeCurrentIfFirst(rest, rest.GetCurrentDataItem(), *item);
            } else {
                ReportReopenFailure(result);
            }
        }
    } else if (auto* other = DYNAMIC_DOWNCAST(CMFERViewDoc, opened)) {
        _MFERDATAITEM* source = other->GetCurrentDataItem();
        if (source) {
            // With the keys and lead layout its opener gave it: the file's
            // record XML, its HL7 header, and the layout the strip lead is
            // chosen in.
            auto* item = new _MFERDATAITEM;
            item->strFilePath = source->strFilePath;
            item->strXMLPath = source->strXMLPath;
            item->strThirdKey = source->strThirdKey;
            item->nLeadLayout = source->nLeadLayout;
            mfer.GetMFERDataManager()->AppendItem(item);
            CString file = item->strFilePath, xml = item->strXMLPath, third = item->strThirdKey;
            const int result = SetShortOfMemory() ? -1 : mfer.OpenMFERFile(file, xml, third);
            if (result == 0) {
                CopyKeys(*listed, *item);
                itemKind = DOC_TYPE_MFER;
                MakeCurrentIfFirst(mfer, mfer.GetCurrentDataItem(), *item);
            } else {
                ReportReopenFailure(result);
            }
        }
    }
    if (itemKind < 0) return false;
    leftOut = SerialLeftOutReason(*opened);
    if (leftOut.empty()) ++compared;
    listed->bLoaded = 1;
    _DATAITEM* appended = base.GetDataManager().AppendItem(listed.release());
    if (count++ == 0) {
        base.SetCurDataIndex(appended->nID);
        kind = itemKind;
    }
    return true;
}

bool SerialRecordSet::OpenAll(const std::vector<std::string>& files, const RecordOpener& open, bool report)
{
    for (const std::string& file : files) {
        std::unique_ptr<CTavrionDoc> doc;
        if (!open(file, doc) || !doc) {
            failed = true;   // the opener has said why
            return false;
        }
        doc->m_bAutoDelete = FALSE;
        if (!Add(doc.get())) {
            if (report && !failed)
                std::fprintf(stderr, "morvelance-host: %s is neither a resting nor an MFER record\n", file.c_str());
            return false;
        }
        if (report && !leftOut.empty())
            std::fprintf(stderr, "morvelance-host: %s: left out of the serial comparison: %s\n", file.c_str(),
                         leftOut.c_str());
    }
    // An empty comparison would pass for records without a beat.
    if (count > 0 && compared == 0 && report)
        std::fprintf(stderr, "morvelance-host: the serial comparison has no record to compare: it takes resting "
                             "records and twelve- and fifteen-lead MFER files\n");
    return compared > 0;
}

std::string SerialLeftOutReason(CTavrionDoc& opened)
{
    char reason[200] = {};
    if (auto* rest = DYNAMIC_DOWNCAST(CRestViewDoc, &opened)) {
        const _RESTDATAITEM* item = rest->GetCurrentDataItem();
        if (!item) return "the document holds no record";
        if (panes::IsComparableCode(item->uSystemCode)) return std::string();
        std::snprintf(reason, sizeof reason, "a resting record of system code 0x%04X, a kind it does not compare",
                      item->uSystemCode);
    } else if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, &opened)) {
        const _MFERDATAITEM* item = mfer->GetCurrentDataItem();
        if (!item) return "the document holds no record";
        if (panes::IsComparableCode(item->uSystemCode)) return std::string();
        const int leads = mfer->GetCurItemLeadCount();
        std::snprintf(reason, sizeof reason,
                      "an MFER file of %d lead%s (kind 0x%04X); it compares twelve- and fifteen-lead MFER files", leads,
                      leads == 1 ? "" : "s", item->uSystemCode);
    } else {
        return "neither a resting nor an MFER record";
    }
    return reason;
}

}  // namespace host
