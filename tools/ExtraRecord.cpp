#include "tools/ExtraRecord.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "tools/DeviceRecord.h"
#include "tools/EcgModel.h"
#include "tools/RecordTags.h"
#include "tools/SignalOps.h"

namespace morvelance {

namespace {

// Extra leads in the order a recorder takes them: right chest, back, Frank.
const LeadId kExtraPreference[] = {LeadId::V3R, LeadId::V4R, LeadId::V5R, LeadId::V7, LeadId::V8,
                                   LeadId::V9,  LeadId::X,   LeadId::Y,   LeadId::Z};

bool HasStrip(ExtraLayout layout)
{
    return layout == ExtraLayout::ThreeRhythm || layout == ExtraLayout::SixRhythm;
}

size_t ExtraCount(ExtraLayout layout, int freezeLeads)
{
    switch (layout) {
    case ExtraLayout::Three:
    case ExtraLayout::ThreeRhythm: return 3;
    case ExtraLayout::Six:
    case ExtraLayout::SixRhythm: return 6;
    case ExtraLayout::Freeze: return static_cast<size_t>(std::clamp(freezeLeads, 1, 6));
    case ExtraLayout::SixTwoSets: return 6;
    }
    return 3;
}

// Layout code (4093) of a mode-1 record and arrangement (4094) of the others.
int LayoutCode(ExtraLayout layout, int freezeLeads)
{
    switch (layout) {
    case ExtraLayout::Three: return 1;
    case ExtraLayout::ThreeRhythm: return 2;
    case ExtraLayout::Six: return 5;
    case ExtraLayout::SixRhythm: return 4;
    case ExtraLayout::Freeze: return std::clamp(freezeLeads, 1, 6);
    case ExtraLayout::SixTwoSets: return 3;
    }
    return 1;
}

int Arrangement(ExtraLayout layout)
{
    switch (layout) {
    case ExtraLayout::Six:
    case ExtraLayout::SixRhythm:
    case ExtraLayout::SixTwoSets: return 6;
    case ExtraLayout::ThreeRhythm: return 259;
    default: return 3;
    }
}

std::vector<float> At500Hz(const EcgLead& lead, double rate, double seconds)
{
    std::vector<float> r = ResampleLinear(lead.microvolts, rate, rec::kRecordSampleRate);
    const size_t count = static_cast<size_t>(seconds * rec::kRecordSampleRate);
    r.resize(count, r.empty() ? 0.0f : r.back());
    return r;
}

std::string Format(const char* format, long value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

std::vector<LeadId> ExtraLeadsOf(ExtraLayout layout, int freezeLeads)
{
    const size_t n = ExtraCount(layout, freezeLeads);
    return std::vector<LeadId>(std::begin(kExtraPreference), std::begin(kExtraPreference) + static_cast<long>(n));
}

int ExtraLeadType(ExtraLayout layout, int freezeLeads)
{
    const int n = static_cast<int>(ExtraCount(layout, freezeLeads));
    return HasStrip(layout) ? n + 1 : n;
}

int ExtraDefaultPageStyle(ExtraLayout layout)
{
    switch (layout) {
    case ExtraLayout::Three: return 1;
    case ExtraLayout::ThreeRhythm: return 3;
    case ExtraLayout::Six: return 5;
    case ExtraLayout::SixRhythm: return 13;
    case ExtraLayout::Freeze: return 5;
    case ExtraLayout::SixTwoSets: return 7;
    }
    return 1;
}

ExtraRecordOptions MixedFreezeRecordOptions()
{
    ExtraRecordOptions options;
    options.layout = ExtraLayout::Freeze;
    options.freezeLeads = 6;
    const std::vector<LeadId> leads = ExtraLeadsOf(ExtraLayout::Freeze, 6);
    options.freezeCodes = {119, ElectrodeCode(leads[1]), 124, -1, 125, ElectrodeCode(leads[5])};
    return options;
}

EcgRecord SynthesizeExtraSignals(double seconds, double heartRate, uint64_t seed)
{
    SynthOptions synth;
    synth.leads = StandardLeads();
    for (LeadId id : kExtraPreference) synth.leads.push_back(id);
    synth.seconds = seconds;
    synth.heartRate = heartRate;
    synth.noise = true;
    synth.seed = seed;
    EcgRecord ecg = Synthesize(synth);
    ecg.source = "synthetic extra";
    ecg.patient.id = "EX-0007";
    ecg.patient.name = "鈴木 一郎";
    ecg.patient.sex = "M";
    ecg.patient.age = "58";
    ecg.patient.department = "CAR";
    return ecg;
}

ExtraLeadRecord MakeExtraLeadRecord(const EcgRecord& ecg, const ExtraRecordOptions& o)
{
    const bool freeze = o.layout == ExtraLayout::Freeze;
    const size_t n = ExtraCount(o.layout, o.freezeLeads);
    std::vector<const EcgLead*> extra;
    for (LeadId id : kExtraPreference) {
        if (extra.size() == n) break;
        if (const EcgLead* lead = ecg.Find(id)) extra.push_back(lead);
    }
    if (extra.size() < n)
        throw std::runtime_error("the signals have " + std::to_string(extra.size()) + " extra leads; the layout needs " +
                                 std::to_string(n));
    const EcgLead* strip = ecg.Find(LeadId::II);
    if (HasStrip(o.layout) && !strip) throw std::runtime_error("a rhythm strip needs lead II");

    DeviceRecordOptions device;
    device.kind = rec::RecordKind::ExtraLeads;
    device.systemCode = o.systemCode >= 0 ? o.systemCode : (freeze ? 28 : 26);
    device.seconds = o.seconds;
    ExtraLeadRecord out;
    out.items = MakeDeviceRecord(ecg, device);
    out.source = SourceFromRecordItems(out.items.Items(), false);

    // The device writer numbers extra leads after the standard twelve; this
    // recorder numbers its own leads from 0.
    for (uint32_t lead = 0; lead < 32; ++lead) {
        out.items.Remove(rec::kTagLeadSamples, lead);
        out.items.Remove(rec::kTagElectrodeCode, lead);
    }
    if (freeze && !o.freezeCodes.empty() && o.freezeCodes.size() != n)
        throw std::runtime_error("a freeze record of " + std::to_string(n) + " leads needs as many electrode codes, not " +
                                 std::to_string(o.freezeCodes.size()));
    for (int code : o.freezeCodes)
        if (code < -1 || code > 0xFFFF) throw std::runtime_error("an electrode code is 0..65535, or -1 for none");
    for (size_t i = 0; i < n; ++i) {
        out.leads.push_back(extra[i]->id);
        if (!freeze)
            out.codes.push_back(ElectrodeCode(extra[i]->id));
        else
            out.codes.push_back(o.freezeCodes.empty() ? static_cast<int>(119 + i) : o.freezeCodes[i]);
    }
    if (HasStrip(o.layout)) {
        out.leads.push_back(LeadId::II);
        out.codes.push_back(ElectrodeCode(LeadId::II));
    }
    for (size_t i = 0; i < out.leads.size(); ++i) {
        const bool isStrip = HasStrip(o.layout) && i == n;
        const EcgLead& lead = isStrip ? *strip : *extra[i];
        const double seconds = isStrip ? o.rhythmSeconds : o.seconds;
        out.items.SetSamples(rec::kTagLeadSamples, static_cast<uint32_t>(i),
                             ToUnits(At500Hz(lead, ecg.sampleRate, seconds), rec::kRawMicrovoltsPerUnit));
        if (out.codes[i] >= 0)
            out.items.SetUInt16(rec::kTagElectrodeCode, static_cast<uint32_t>(i), static_cast<uint16_t>(out.codes[i]));
    }
    if (HasStrip(o.layout))
        out.items.SetSamples(rec::kTagRestLeadBase, 0,
                             ToUnits(At500Hz(*strip, ecg.sampleRate, o.rhythmSeconds), rec::kRawMicrovoltsPerUnit));

    out.items.SetUInt16(extratag::kTag3854, 0, o.value3854);
    if (o.speedCode >= 0) out.items.SetInt16(extratag::kSpeedCode, 0, static_cast<int16_t>(o.speedCode));
    out.items.SetInt16(extratag::kMode, 0, static_cast<int16_t>(o.recordMode));
    if (freeze || o.recordMode == 1) {
        out.items.SetInt16(extratag::kLayout, 0, static_cast<int16_t>(LayoutCode(o.layout, o.freezeLeads)));
    } else {
        out.items.SetInt16(extratag::kArrangement, 0, static_cast<int16_t>(Arrangement(o.layout)));
        if (o.extraSet >= 0) out.items.SetInt16(extratag::kExtraSet, 0, static_cast<int16_t>(o.extraSet));
    }
    if (o.additions) out.items.SetInt8(extratag::kAdditions, 0, 1);

    // The record XML names the leads from the thirteenth record lead on.
    out.source.leads.resize(rec::kRestLeadCount);
    for (LeadId id : out.leads) out.source.leads.push_back(id);
    return out;
}

ExtraLeadRecord MakeExtraDeviceRecord(const EcgRecord& ecg, const DeviceRecordOptions& device)
{
    ExtraLeadRecord out;
    out.items = MakeDeviceRecord(ecg, device);
    // The device writer puts the extra leads after the standard twelve.
    uint32_t found = 0;
    while (out.items.Find(rec::kTagLeadSamples, rec::kRestLeadCount + found)) ++found;
    // A freeze record (code 28) holds one to six leads and names their count.
    const bool freeze = (ResolveSystemCode(device) & 0xFF) == 28;
    const ExtraLayout layout = freeze ? ExtraLayout::Freeze : found >= 6 ? ExtraLayout::Six : ExtraLayout::Three;
    const int freezeLeads = static_cast<int>(std::min<uint32_t>(found, 6));
    const uint32_t n = static_cast<uint32_t>(ExtraCount(layout, freezeLeads));
    if (found < n || found == 0)
        throw std::runtime_error("an extra-lead record holds three or six extra leads; the signals have " +
                                 std::to_string(found));
    std::vector<std::vector<uint8_t>> samples, codes;
    for (uint32_t i = 0; i < n; ++i) {
        samples.push_back(*out.items.Find(rec::kTagLeadSamples, rec::kRestLeadCount + i));
        const std::vector<uint8_t>* code = out.items.Find(rec::kTagElectrodeCode, rec::kRestLeadCount + i);
        codes.push_back(code ? *code : std::vector<uint8_t>{0, 0});
    }
    // The extra-lead document reads leads and their electrode codes by lead index.
    for (uint32_t lead = 0; lead < 32; ++lead) {
        out.items.Remove(rec::kTagLeadSamples, lead);
        out.items.Remove(rec::kTagElectrodeCode, lead);
    }
    for (uint32_t i = 0; i < n; ++i) {
        uint16_t code = 0;
        ItemUInt16(codes[i], &code);
        out.codes.push_back(static_cast<int>(code));
        out.items.SetRaw(rec::kTagLeadSamples, i, std::move(samples[i]));
        out.items.SetRaw(rec::kTagElectrodeCode, i, std::move(codes[i]));
    }
    out.items.SetInt16(extratag::kMode, 0, 1);
    out.items.SetInt16(extratag::kLayout, 0, static_cast<int16_t>(LayoutCode(layout, freezeLeads)));
    out.source = SourceFromRecordItems(out.items.Items(), false);
    out.leads.assign(out.source.leads.begin() + rec::kRestLeadCount, out.source.leads.end());
    return out;
}

std::unique_ptr<XmlElement> MakeExtraRecordXml(const ExtraLeadRecord& record, const ExtraRecordOptions& o,
                                               const RecordXmlOptions& xmlOptions, const ExtraXmlSettings& s)
{
    std::unique_ptr<XmlElement> root = MakeRecordXml(record.source, xmlOptions);
    const auto omitted = [&](XmlSection section) {
        return std::find(xmlOptions.omit.begin(), xmlOptions.omit.end(), section) != xmlOptions.omit.end();
    };
    // A freeze record names each lead by its electrode code (0: the lead has none).
    if (record.source.systemCode % 256 == 28 && !omitted(XmlSection::Wave)) {
        for (size_t i = 0; i < record.codes.size() && i < 6; ++i)
            root->At("/Rawdata/Tavrion/Wave/Extend_section/Freeze_info/Lead_info/Lead_name[" + Format("%ld", long(i + 1)) + "]")
                .SetAttribute("code", Format("%ld", std::max(record.codes[i], 0)));
    }
    if (!omitted(XmlSection::Record)) {
        root->At("/Rawdata/Tavrion/Record/Extended_section/Acq_filter").SetText(s.acqFilter);
        root->At("/Rawdata/Tavrion/Record/Extended_section/Acq_sense").SetText(s.acqSense);
    }
    if (!omitted(XmlSection::Settings)) {
        const std::string st = "/Rawdata/Assist_info/Reference/Setting/";
        const int page = s.pageStyle >= 0 ? s.pageStyle : ExtraDefaultPageStyle(o.layout);
        root->At(st + "Page_style").SetText(Format("%ld", page));
        root->At(st + "Filter").SetText(s.filter);
        root->At(st + "Speed").SetText(s.speed);
        root->At(st + "Sensitivity").SetAttribute("mode", s.senseMode);
        root->At(st + "Sensitivity/Extra1").SetText(s.extra1);
        root->At(st + "Sensitivity/Extra2").SetText(s.extra2);
        root->At(st + "Sensitivity/Rhythm").SetText(s.rhythm);
    }
    return root;
}

}  // namespace morvelance
