// The host's "dialog FILE --dialog panels": every panel the page panes
// embed, created in the record's colours and stacked in one image.
#pragma once

#include <string>

class CTavrionDoc;

namespace host {

bool RenderPanels(CTavrionDoc& doc, const std::string& file, const std::string& png);

}  // namespace host
