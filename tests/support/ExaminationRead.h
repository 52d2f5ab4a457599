// Opening a record through the examination document that its system code
// (or, for an MFER file, its description) names, and reading from it what
// the views read: every lead, every average beat, every stored block. Each
// read is done the way the views do it, a size query without a buffer and
// then a copy into a buffer of exactly that many whole samples, so that a
// size the copy does not respect shows (and, under AddressSanitizer, an
// overflow stops the run). Shared by the document tests and the document
// fuzz target; header-only so that the fuzz build compiles it with its own
// instrumentation.
#pragma once

#include <string>
#include <vector>

#include "core/DataItem.h"
#include "core/TavrionDoc.h"
#include "documents/ExerTags.h"
#include "documents/ExerViewDoc.h"
#include "documents/ExtraViewDoc.h"
#include "documents/FinalViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"

namespace testsupport {

struct ExaminationRead {
    int opened = 0;            // the document's open result (0 opened, 1 or 255 refused)
    int waves = 0;             // reads that delivered samples
    long long samples = 0;     // samples delivered by all reads together
    int oddSizes = 0;          // size queries that answered a byte count of no whole number of samples
    int shortCopies = 0;       // copies that delivered another count than their size query gave
};

namespace examination_read_detail {

// One size-then-copy read; `read(buffer)` is the document's call.
template <class Read> void ReadWave(ExaminationRead& result, Read read)
{
    const int bytes = read(nullptr);
    if (bytes <= 0) return;
    if (bytes % 2 != 0) ++result.oddSizes;
    const size_t count = static_cast<size_t>(bytes) / 2;
    if (count == 0) return;
    // Exactly the samples the size promised, on the heap so that a copy past
    // them is a sanitizer finding.
    std::vector<short> samples(count);
    const int copied = read(samples.data());
    if (copied != bytes) {
        ++result.shortCopies;
        return;
    }
    ++result.waves;
    result.samples += static_cast<long long>(count);
}

template <class Item> Item* NewItem(const std::string& record, const std::string& xml)
{
    auto* item = new Item;
    item->strFilePath = CString(record.c_str());
    item->strXMLPath = CString(xml.c_str());
    return item;
}

template <class Doc, class Item> int OpenItem(Doc& doc, CDataManager<Item>& list, Item* item)
{
    list.AppendItem(item);
    CString xml = item->strXMLPath;
    CString file = item->strFilePath;
    const int result = doc.OpenFile(xml, file);
    if (result == 0) doc.SetCurDataIndex(item->nID);
    return result;
}

// The leads and averages every examination document serves through the base interface.
inline void ReadLeads(ExaminationRead& result, CTavrionDoc& doc, int leads, bool averages)
{
    for (int lead = 0; lead < leads; ++lead) {
        ReadWave(result, [&](short* buffer) { return doc.GetRhythmWaveData(lead, buffer, -1); });
        if (averages) ReadWave(result, [&](short* buffer) { return doc.GetAverageWaveData(lead, buffer, -1); });
    }
}

inline void ReadExercise(ExaminationRead& result, CExerViewDoc& doc)
{
    _EXERDATAITEM* item = doc.GetCurrentDataItem();
    if (!item) return;
    const UINT shown[] = {exer::TAG_AVE_WAVE_EXER, exer::TAG_AVE_WAVE_POST, exer::TAG_STRIP_AVE_EXER,
                          exer::TAG_STRIP_AVE_POST};
    for (int lead = 0; lead < 12; ++lead) {
        ReadWave(result, [&](short* buffer) { return doc.GetRestWave(lead, buffer, 0); });
        for (UINT tag : shown)
            ReadWave(result, [&](short* buffer) { return doc.GetAverageShowWave(tag, lead, buffer, 0); });
    }
    const int averageBlocks = item->nExerAveCount + item->nPostAveCount;
    for (int block = 0; block < averageBlocks && block < 256; ++block) {
        doc.SetCurAveBlockNo(block, item);
        for (int lead = 0; lead < 12; ++lead)
            ReadWave(result, [&](short* buffer) { return doc.GetAverageWave(lead, buffer, 0); });
    }
    const int stripBlocks = item->nExerMemCount + item->nPostMemCount;
    for (int block = 0; block < stripBlocks && block < 256; ++block) {
        doc.SetCurMemBlockNo(block, item);
        for (int lead = 0; lead < 12; ++lead) {
            ReadWave(result, [&](short* buffer) { return doc.GetCurrentAveWave(lead, buffer, 0); });
            ReadWave(result, [&](short* buffer) { return doc.GetRhythmWave(lead, buffer); });
        }
    }
}

}  // namespace examination_read_detail

// The system code of a device record (1 when no reader accepts it).
inline int DeviceRecordCode(const std::string& record)
{
    CTavrionDoc probe;
    auto* item = new _DATAITEM;
    item->strFilePath = CString(record.c_str());
    probe.GetDataManager().AppendItem(item);
    CString xml;
    CString file(record.c_str());
    return probe.OpenFile(xml, file);
}

// Opens a device record through its examination document and reads it whole.
inline ExaminationRead ReadDeviceExamination(const std::string& record, const std::string& xml)
{
    using namespace examination_read_detail;
    ExaminationRead result;
    const int code = DeviceRecordCode(record);
    if (code == 1) {
        result.opened = 1;
        return result;
    }
    const unsigned systemCode = static_cast<unsigned>(code) & 0xFFFF;
    const unsigned low = systemCode & 0xFF;
    if (systemCode == 0xFFFA || systemCode == 0xFFFC || systemCode == 0xFFFD) {
        CExerViewDoc doc;
        result.opened = OpenItem(doc, doc.GetExerDataManager(), NewItem<_EXERDATAITEM>(record, xml));
        if (result.opened == 0) ReadExercise(result, doc);
    } else if (low == 10 || low == 245 || low == 246 || low == 38 || low == 217 || low == 218) {
        CRhythmViewDoc doc;
        result.opened = OpenItem(doc, *doc.GetRhythmDataManager(), NewItem<_RHYTHMDATAITEM>(record, xml));
        if (result.opened == 0) {
            ReadLeads(result, doc, RHYTHM_LEAD_SLOTS, false);
            doc.GetRhythmWaveTotalPage(260, 0);
        }
    } else if (low == 5) {
        CRRViewDoc doc;
        result.opened = OpenItem(doc, *doc.GetRRDataManager(), NewItem<_RRDATAITEM>(record, xml));
        if (result.opened == 0) {
            ReadLeads(result, doc, 16, false);
            doc.GetRhythmWaveTotalPage(260, 0);
        }
    } else if (low == 26 || low == 229 || low == 230 || low == 28) {
        CExtraViewDoc doc;
        result.opened = OpenItem(doc, *doc.GetExtraDataManager(), NewItem<_EXTRADATAITEM>(record, xml));
        if (result.opened == 0) ReadLeads(result, doc, 12 + 8, false);
    } else if (low == 243 || low == 244) {
        CFinalViewDoc doc;
        result.opened = OpenItem(doc, doc.GetFinalDataManager(), NewItem<_FINALDATAITEM>(record, xml));
        if (result.opened == 0) {
            for (int index = -2; index < 32; ++index)
                ReadWave(result, [&](short* buffer) { return doc.GetAverageWaveData(index, buffer, -1); });
        }
    } else {
        CRestViewDoc doc;
        result.opened = OpenItem(doc, doc.GetRestDataManager(), NewItem<_RESTDATAITEM>(record, xml));
        if (result.opened == 0) {
            ReadLeads(result, doc, 15, true);
            doc.IfPaceMakerON();
        }
    }
    return result;
}

// Opens an MFER file through the MFER document, as the host lists it, and reads every lead.
inline ExaminationRead ReadMferExamination(const std::string& file, const std::string& xml)
{
    using namespace examination_read_detail;
    ExaminationRead result;
    CTavrionDoc probe;
    CString path(file.c_str()), probeXml, third;
    auto* probeItem = new _DATAITEM;
    probeItem->strFilePath = path;
    probe.GetDataManager().AppendItem(probeItem);
    const int kind = probe.OpenMFERFile(path, probeXml, third);
    if (kind == 1 || kind == 255) {
        result.opened = kind;
        return result;
    }
    CMFERViewDoc doc;
    auto* item = NewItem<_MFERDATAITEM>(file, xml);
    item->nLeadLayout = CMFERViewDoc::GetLeadLayoutBySystemCode(kind);
    doc.GetMFERDataManager()->AppendItem(item);
    doc.SetCurDataIndex(item->nID);
    CString itemXml = item->strXMLPath;
    const int code = doc.OpenMFERFile(path, itemXml, third);
    result.opened = (code == 1 || code == 255) ? code : 0;
    if (result.opened == 0) ReadLeads(result, doc, 32, false);
    return result;
}

}  // namespace testsupport
