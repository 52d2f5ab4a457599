// The master files of the installation's work directory, generated from one
// set of tables so that the record XML the record maker writes names only
// codes the masters know:
//   Minesota_mst.xml  /Minesota/First_letters/Code, /Minesota/Minesota_Code/Code
//   Ivrel12.xml       /Ivrel/First_letters/Code, /Ivrel/Ivrel_code/Code, /Ivrel/Judgement_code/Code
//                     (each Code: attribute value, child Japanese_text)
//   Addition.xml      /Addition/Title/Text, /Addition/Content/Text (stock phrases)
//   Comment.xml       /Comment/<kind section>/Comment_text (stock phrases per examination kind)
//   quarnel.ini       [LANGUAGE] LANGUAGE=JAPANESE
// resources/workdir holds the generated files (`morvelance-mkrecord masters DIR`).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/XmlTree.h"

namespace morvelance {

struct MasterCode {
    const char* value;  // the code ("1-2-3", "IV1") or group letters ("1", "AV")
    const char* text;   // its Japanese text, UTF-8
};

const std::vector<MasterCode>& MinnesotaGroups();
const std::vector<MasterCode>& MinnesotaCodes();
const std::vector<MasterCode>& IvrelGroups();
const std::vector<MasterCode>& IvrelCodes();
const std::vector<MasterCode>& JudgementCodes();

// The Japanese text of a code; "" when the master does not have it. An IVREL
// code is looked up as a statement first, then as a judgement, as the
// interpretation forms do.
std::string MinnesotaText(const std::string& code);
std::string IvrelText(const std::string& code);

const std::vector<const char*>& AdditionTitles();
const std::vector<const char*>& AdditionContents();

struct CommentSection {
    const char* element;                // "Restview", "Msfrview", ...
    std::vector<const char*> phrases;
};
// In the order of the examination kinds 0 to 6 (rest, final, rhythm, RR,
// extra, exercise, MFER).
const std::vector<CommentSection>& CommentPhrases();

std::unique_ptr<XmlElement> MinnesotaMaster();
std::unique_ptr<XmlElement> IvrelMaster();
std::unique_ptr<XmlElement> AdditionMaster();
std::unique_ptr<XmlElement> CommentMaster();
// The host INI file's text (CR LF line ends, as the host writes it).
std::string QuarnelIni();

// Writes the four master files (UTF-8) and quarnel.ini into dir (created when
// needed). Returns the paths. Throws std::runtime_error.
std::vector<std::string> WriteMasterFiles(const std::string& dir);

}  // namespace morvelance
