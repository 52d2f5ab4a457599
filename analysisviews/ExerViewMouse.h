// What the exercise views' mouse handlers share.
#pragma once

class CTavrionDoc;

// Whether the mouse annotates the record (annotation or sketch mode with
// annotations unlocked): the views' own clicks then stand aside.
bool ExerAnnotationTakesMouse(const CTavrionDoc* doc);
