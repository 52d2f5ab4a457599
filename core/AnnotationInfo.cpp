#include "core/AnnotationInfo.h"

#include <cwchar>
#include <new>

_SKETCH_INFO::_SKETCH_INFO() : lfFont()
{
    lfFont.lfHeight = 12;
    lfFont.lfWeight = 400;
    lfFont.lfCharSet = 1;
    lfFont.lfPitchAndFamily = 0x20;
    std::wcsncpy(lfFont.lfFaceName, L"Gothic", LF_FACESIZE - 1);
}

_ANNOTATION_SKETCH::~_ANNOTATION_SKETCH()
{
    DeleteSketchChain(pSketchHead);
}

_ANNOTATION_INFO::~_ANNOTATION_INFO()
{
    DeleteSketchChain(pSketchHead);
    for (INT_PTR i = 0; i < arrAreas.GetSize(); ++i) delete arrAreas[i];
    arrAreas.RemoveAll();
}

_ANNOTATION_SKETCH* _ANNOTATION_INFO::AddArea()
{
    _ANNOTATION_SKETCH* area = new (std::nothrow) _ANNOTATION_SKETCH;
    if (area) arrAreas.Add(area);
    return area;
}

_ANNOTATION_SKETCH* _ANNOTATION_INFO::GetArea(int index) const
{
    if (index < 0 || index >= GetAreaCount()) return nullptr;
    return arrAreas[index];
}

void DeleteSketchChain(_SKETCH_INFO*& head)
{
    while (head) {
        _SKETCH_INFO* next = head->pNext;
        delete head;
        head = next;
    }
}

void DeleteAnnotationChain(_ANNOTATION_INFO*& head)
{
    while (head) {
        _ANNOTATION_INFO* next = head->pNext;
        delete head;
        head = next;
    }
}
