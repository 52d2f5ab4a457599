#include "tools/Hl7Header.h"

#include <cstdio>

namespace morvelance {

namespace {

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::string TimeDigits(const DateTime& t)
{
    char digits[32];
    std::snprintf(digits, sizeof digits, "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return digits;
}

}  // namespace

std::string Hl7HeaderText(const PatientInfo& patient, const DateTime& time, const Hl7HeaderOptions& options)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<ECGObservation xmlns=\"urn:hl7-org:v3\" classCode=\"OBS\" moodCode=\"EVN\">\n";
    if (options.time) {
        const std::string value = options.rawTime.empty() ? TimeDigits(time) : options.rawTime;
        xml += "  <performer>\n    <time value=\"" + Escaped(value) + "\"/>\n  </performer>\n";
    }
    xml += "  <recordTarget>\n    <patientRole>\n      <patientPatient>\n";
    if (options.patientId) xml += "        <id root=\"2.16.840.1.113883.3.1\" extension=\"" + Escaped(patient.id) + "\"/>\n";
    if (options.patientName)
        xml += "        <name use=\"IDE\">\n          <family>" + Escaped(patient.name) + "</family>\n        </name>\n";
    xml += "      </patientPatient>\n    </patientRole>\n  </recordTarget>\n</ECGObservation>\n";
    return xml;
}

bool WriteHl7Header(const std::string& path, const PatientInfo& patient, const DateTime& time,
                    const Hl7HeaderOptions& options, std::string* error)
{
    const std::string text = Hl7HeaderText(patient, time, options);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        if (error) *error = "cannot create " + path;
        return false;
    }
    bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok && error) *error = "cannot write " + path;
    return ok;
}

}  // namespace morvelance
