#include "core/DataItem.h"

#include "core/AnnotationInfo.h"

_DATAITEM::~_DATAITEM()
{
    DeleteAnnotationChain(pAnnoHead);
}
