// The button strips of the page panes paint their buttons flat, in the
// document's frame colour with the frame-text colour for the captions.
#pragma once

class CButtonST;
class CTavrionDoc;
class CWnd;

// Subclasses control ids[i] of `panel` as buttons[i], makes it flat and,
// with a document, colours it from the document's frame colours and gives
// it icon icons[i] when icons are given.
void ColourPanelButtons(CWnd& panel, CTavrionDoc* doc, CButtonST* buttons, const int* ids, int count,
                        const int* icons = nullptr);
