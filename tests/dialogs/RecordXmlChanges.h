// What a save changed in a record XML, element by element: both files are
// read with libxml2 itself (not the system's XML layer), every element,
// attribute and text becomes one entry under a path that numbers repeated
// siblings, and the entries that differ are held against the places an edit
// may touch. Shared by the headless sheet tests and the display tests.
#pragma once

#include <libxml/parser.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace xmlchanges {

// Path (with sibling numbers, "/Rawdata[1]/Tavrion[1]/...") -> value. An
// attribute is "path/@name", an element's own text "path#"; carriage returns
// and line feeds are spelled out, so a changed line ending is a changed value.
using Entries = std::map<std::string, std::string>;

inline std::string Spelled(const xmlChar* raw)
{
    std::string out;
    for (const char* c = reinterpret_cast<const char*>(raw); c && *c; ++c) {
        if (*c == '\r')
            out += "\\r";
        else if (*c == '\n')
            out += "\\n";
        else
            out += *c;
    }
    return out;
}

inline void Collect(xmlNodePtr first, const std::string& parent, Entries& out)
{
    std::map<std::string, int> seen;
    for (xmlNodePtr n = first; n; n = n->next) {
        if (n->type != XML_ELEMENT_NODE) continue;
        const std::string name = reinterpret_cast<const char*>(n->name);
        const std::string path = parent + "/" + name + "[" + std::to_string(++seen[name]) + "]";
        out[path] = "";
        for (xmlAttrPtr a = n->properties; a; a = a->next) {
            xmlChar* value = xmlNodeListGetString(n->doc, a->children, 1);
            out[path + "/@" + reinterpret_cast<const char*>(a->name)] = Spelled(value);
            xmlFree(value);
        }
        std::string text;
        bool hasElements = false;
        for (xmlNodePtr c = n->children; c; c = c->next) {
            if (c->type == XML_ELEMENT_NODE) hasElements = true;
            if ((c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) && c->content)
                text += reinterpret_cast<const char*>(c->content);
        }
        // Blanks between child elements are layout, not content.
        const bool layout = hasElements && text.find_first_not_of(" \t\r\n") == std::string::npos;
        if (!text.empty() && !layout) out[path + "#"] = Spelled(BAD_CAST text.c_str());
        Collect(n->children, path, out);
    }
}

// The entries of an XML text; `ok` false when libxml2 cannot read it.
inline Entries Read(const std::string& bytes, bool* ok = nullptr)
{
    Entries entries;
    xmlDocPtr doc = xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "record.xml", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR);
    if (ok) *ok = doc != nullptr;
    if (!doc) return entries;
    Collect(xmlDocGetRootElement(doc), "", entries);
    xmlFreeDoc(doc);
    return entries;
}

// The path without its sibling numbers: "/Rawdata/Tavrion/...".
inline std::string Plain(const std::string& path)
{
    std::string out;
    bool inIndex = false;
    for (char c : path) {
        if (c == '[') inIndex = true;
        if (!inIndex) out += c;
        if (c == ']') inIndex = false;
    }
    return out;
}

// An entry that differs between two records.
struct Change {
    std::string path;   // with sibling numbers
    std::string before, after;
    bool inBefore = false, inAfter = false;
};

// Every entry that differs between the two, each once.
inline std::vector<Change> Changes(const Entries& before, const Entries& after)
{
    std::vector<Change> out;
    std::set<std::string> paths;
    for (const auto& e : before) paths.insert(e.first);
    for (const auto& e : after) paths.insert(e.first);
    for (const std::string& path : paths) {
        const auto b = before.find(path);
        const auto a = after.find(path);
        Change change{path, b == before.end() ? "" : b->second, a == after.end() ? "" : a->second,
                      b != before.end(), a != after.end()};
        if (change.inBefore != change.inAfter || change.before != change.after) out.push_back(change);
    }
    return out;
}

inline std::string Describe(const Change& c)
{
    return c.path + ": " + (c.inBefore ? "\"" + c.before + "\"" : std::string("(none)")) + " -> " +
           (c.inAfter ? "\"" + c.after + "\"" : std::string("(none)"));
}

// Succeeds when every change lies at or under one of `allowed` (plain paths,
// or with sibling numbers for one element) and each of `expected` changed; else lists what
// should not have changed, and what should have and did not.
inline ::testing::AssertionResult OnlyChanged(const std::string& beforeBytes, const std::string& afterBytes,
                                              const std::vector<std::string>& allowed,
                                              const std::vector<std::string>& expected)
{
    bool readBefore = false, readAfter = false;
    const Entries before = Read(beforeBytes, &readBefore);
    const Entries after = Read(afterBytes, &readAfter);
    if (!readBefore || !readAfter) return ::testing::AssertionFailure() << "a record XML does not parse";
    const std::vector<Change> changes = Changes(before, after);
    std::string unexpected;
    std::set<std::string> touched;
    for (const Change& c : changes) {
        auto under = [](const std::string& path, const std::string& place) {
            return path.compare(0, place.size(), place) == 0 &&
                   (path.size() == place.size() || path[place.size()] == '/' || path[place.size()] == '#');
        };
        bool ok = false;
        for (const std::string& place : allowed) {
            // A place names an element anywhere it repeats, or with sibling numbers just that one.
            if (under(Plain(c.path), place) || under(c.path, place)) {
                ok = true;
                touched.insert(place);
            }
        }
        if (!ok) unexpected += "\n  changed: " + Describe(c);
    }
    std::string missing;
    for (const std::string& place : expected)
        if (!touched.count(place)) missing += "\n  unchanged: " + place;
    if (unexpected.empty() && missing.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << unexpected << missing;
}

// The places of the record XML that the sheets' edits and stamps touch.
namespace place {
const std::string kInspection = "/Rawdata/Tavrion/Inspection";
const std::string kName = kInspection + "/Patient_section/Patient_name";
const std::string kHeight = kInspection + "/Patient_section/Height_weight";
const std::string kRecordEditTime = kInspection + "/Patient_section/Edit_time";
const std::string kPatientStamp = kInspection + "/Voktext_section/Patient_editor";
const std::string kComment = "/Rawdata/Tavrion/Comment/Voktext_section/Comment_content";
const std::string kCommentStamp = "/Rawdata/Tavrion/Comment/Voktext_section/Comment_editor";
const std::string kFirstAdditionTitle =
    "/Rawdata[1]/Tavrion[1]/Addition[1]/Patient_add_section[1]/Addition_content[1]/@title";
const std::string kAdditionStamp = "/Rawdata/Tavrion/Addition/Patient_add_section/Addition_editor";

// A name-only save: the name, the record's edit time and the patient stamp.
inline std::vector<std::string> NameChange() { return {kName, kRecordEditTime, kPatientStamp}; }
}  // namespace place

// A store of the measurements changed only the cells typed, each of them,
// and the store's stamps: editors and their times, the record's edit time.
inline ::testing::AssertionResult OnlyMeasurementsTyped(const std::string& beforeBytes, const std::string& afterBytes,
                                                        const std::vector<std::string>& typed)
{
    std::vector<std::string> allowed = {"/Rawdata/Tavrion/Inspection/Voktext_section", place::kRecordEditTime,
                                        "/Rawdata/Tavrion/Analysis/Analysis_edit", place::kCommentStamp,
                                        place::kAdditionStamp};
    allowed.insert(allowed.end(), typed.begin(), typed.end());
    return OnlyChanged(beforeBytes, afterBytes, allowed, typed);
}

}  // namespace xmlchanges
