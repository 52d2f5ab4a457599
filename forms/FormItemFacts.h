// What the forms read of the document's current item beyond the control-data
// store: whether there is one, its recorder and system code, its confirmation,
// and the two flags the record XML decides (the sub ID and the width of the
// blood-pressure fields). The items do not keep the two flags, so they come
// from the record XML each time a form asks (parsed again only when the file's
// bytes or the record changed); every examination kind answers the same way.
#pragma once

class CTavrionDoc;

struct FormItemFacts {
    bool bHasItem = false;      // the document has a current item of its kind
    int b8000 = 0;              // the document's Is8000File()
    int bConfirmed = 0;         // the document's IsDoctorConfirm()
    unsigned int uSystemCode = 0;   // MFER items only: the kind code; 0 for the other kinds
    // The sub ID (and the request section) is the record's when its XML holds
    // the second patient section, which only recorders that keep a sub ID write.
    int bSubID = 0;
    // Pressures in kPa (Bp_unit "1" or a unit text naming kPa) have two digits;
    // in mmHg three.
    int bNarrowBp = 0;
};

FormItemFacts ReadFormItemFacts(CTavrionDoc& doc);

// MFER kind codes whose resting forms and sheets the rest form serves (12 and 15 leads).
bool IsRestingMferCode(unsigned int uSystemCode);
