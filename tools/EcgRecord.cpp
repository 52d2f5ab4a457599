#include "tools/EcgRecord.h"

#include <algorithm>
#include <cctype>

namespace morvelance {

namespace {
struct LeadInfo {
    LeadId id;
    const char* name;
    uint16_t code;
};
const LeadInfo kLeads[] = {
    {LeadId::I, "I", 1},     {LeadId::II, "II", 2},    {LeadId::III, "III", 61}, {LeadId::aVR, "aVR", 62},
    {LeadId::aVL, "aVL", 63}, {LeadId::aVF, "aVF", 64}, {LeadId::V1, "V1", 3},    {LeadId::V2, "V2", 4},
    {LeadId::V3, "V3", 5},   {LeadId::V4, "V4", 6},    {LeadId::V5, "V5", 7},    {LeadId::V6, "V6", 8},
    {LeadId::V7, "V7", 9},   {LeadId::V8, "V8", 66},   {LeadId::V9, "V9", 67},   {LeadId::V3R, "V3R", 11},
    {LeadId::V4R, "V4R", 12}, {LeadId::V5R, "V5R", 13}, {LeadId::X, "X", 16},     {LeadId::Y, "Y", 17},
    {LeadId::Z, "Z", 18},
};

std::string Lower(const std::string& s) {
    std::string out;
    for (char c : s)
        if (!std::isspace(static_cast<unsigned char>(c))) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}
}  // namespace

const char* LeadName(LeadId lead) {
    for (const auto& l : kLeads)
        if (l.id == lead) return l.name;
    return "?";
}

uint16_t ElectrodeCode(LeadId lead) {
    for (const auto& l : kLeads)
        if (l.id == lead) return l.code;
    return 0;
}

LeadId ParseLeadName(const std::string& name) {
    std::string n = Lower(name);
    if (n == "mli") return LeadId::I;
    if (n == "mlii") return LeadId::II;
    if (n == "mliii") return LeadId::III;
    if (n == "vx") return LeadId::X;
    if (n == "vy") return LeadId::Y;
    if (n == "vz") return LeadId::Z;
    for (const auto& l : kLeads)
        if (Lower(l.name) == n) return l.id;
    return LeadId::Unknown;
}

size_t EcgRecord::SampleCount() const {
    if (leads.empty()) return 0;
    size_t n = leads[0].microvolts.size();
    for (const auto& l : leads) n = std::min(n, l.microvolts.size());
    return n;
}

void MirrorEnd(EcgRecord* record, double seconds) {
    const size_t count = record->SampleCount();
    const double wanted = seconds * record->sampleRate;
    if (!(wanted >= 1.0)) return;
    const size_t span = std::min(count / 2, static_cast<size_t>(wanted));
    if (span == 0) return;
    const size_t end = count - span;   // the first sample of the end
    for (EcgLead& lead : record->leads)
        for (size_t j = 0; j < span; ++j) lead.microvolts[end + j] = lead.microvolts[end - 1 - j];
    std::vector<int64_t> beats;
    for (int64_t beat : record->beats) {
        if (beat < static_cast<int64_t>(end)) beats.push_back(beat);
        if (beat >= static_cast<int64_t>(end - span) && beat < static_cast<int64_t>(end))
            beats.push_back(2 * static_cast<int64_t>(end) - 1 - beat);
    }
    std::sort(beats.begin(), beats.end());
    record->beats = beats;
}

int EcgRecord::IndexOf(LeadId id) const {
    for (size_t i = 0; i < leads.size(); ++i)
        if (leads[i].id == id) return static_cast<int>(i);
    return -1;
}

const EcgLead* EcgRecord::Find(LeadId id) const {
    int i = IndexOf(id);
    return i < 0 ? nullptr : &leads[static_cast<size_t>(i)];
}

}  // namespace morvelance
