#include "analysisviews/ExerViewMouse.h"

#include "core/TavrionDoc.h"

bool ExerAnnotationTakesMouse(const CTavrionDoc* doc)
{
    return doc && doc->GetAnnotationLock() == 0 && (doc->GetMouseMode() == 2 || doc->GetMouseMode() == 3);
}
