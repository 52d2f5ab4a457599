// Annotations of a record: a chain of _ANNOTATION_INFO records, each with its
// drawn shapes grouped by area of the page. Every chain begins with a head
// record that its owner keeps (page style -1, never written to the record XML).
#pragma once

#include "platform/base/Collections.h"
#include "platform/base/Strings.h"
#include "platform/gdi/GdiTypes.h"

// One drawn shape.
struct _SKETCH_INFO {
    _SKETCH_INFO();
    _SKETCH_INFO(const _SKETCH_INFO&) = delete;
    _SKETCH_INFO& operator=(const _SKETCH_INFO&) = delete;

    int nState = 1;                   // kept in memory only
    int nType = 0;                    // the shape kind; kinds 10 and 11 carry text
    int nLineWidth = 1;
    COLORREF crColor = 0;
    LOGFONTW lfFont;                  // its height is the text size of text shapes
    CArray<float, float> arrX;        // point n is (arrX[n], arrY[n]); both always equally long
    CArray<float, float> arrY;
    CString strText;
    _SKETCH_INFO* pNext = nullptr;
};

// One area of the page with its chain of shapes (owned).
struct _ANNOTATION_SKETCH {
    _ANNOTATION_SKETCH() = default;
    _ANNOTATION_SKETCH(const _ANNOTATION_SKETCH&) = delete;
    _ANNOTATION_SKETCH& operator=(const _ANNOTATION_SKETCH&) = delete;
    ~_ANNOTATION_SKETCH();

    int nPageStyle = -1;              // "Page_style" of the area; -1 when missing
    _SKETCH_INFO* pSketchHead = nullptr;
};

// One annotation; every number that is not set is -1 (or -1.0).
struct _ANNOTATION_INFO {
    _ANNOTATION_INFO() = default;
    _ANNOTATION_INFO(const _ANNOTATION_INFO&) = delete;
    _ANNOTATION_INFO& operator=(const _ANNOTATION_INFO&) = delete;
    // Frees its own shape chain and every area; never the next record.
    ~_ANNOTATION_INFO();

    // Appends a new empty area and returns it; null when it cannot be made.
    _ANNOTATION_SKETCH* AddArea();
    int GetAreaCount() const { return static_cast<int>(arrAreas.GetSize()); }
    // The area at index, or null outside the array.
    _ANNOTATION_SKETCH* GetArea(int index) const;

    int nStartTime = -1;
    int nMemory1 = -1;               // kept in memory only
    int nMemory2 = -1;               // kept in memory only
    int nPageStyle = -1;             // -1 marks the head record of a chain
    short sLeadSelection = -1;
    short sLead1ch = -1;
    int nFilter = -1;
    float fSpeed = -1.0f;            // mm/s
    int nSenseMode = -1;
    float fLimbSense = -1.0f;        // mm/mV
    float fChestSense = -1.0f;
    float fElseSense = -1.0f;
    float fRhythmSense = -1.0f;
    int nChestHalf = -1;
    float fSerialSense = -1.0f;
    int nSerialOverlap = -1;
    int nDisplayMode = -1;
    CString strEditTime;             // "%04d/%02d/%02d %02d:%02d:%02d" or empty
    CString strEditorName;
    _ANNOTATION_INFO* pNext = nullptr;
    _SKETCH_INFO* pSketchHead = nullptr;   // kept in memory only
    CArray<_ANNOTATION_SKETCH*, _ANNOTATION_SKETCH*> arrAreas;   // owned, in page order
};

// Frees a chain of shapes and clears the head.
void DeleteSketchChain(_SKETCH_INFO*& head);
// Frees a chain of annotations (each record, then the next) and clears the head.
void DeleteAnnotationChain(_ANNOTATION_INFO*& head);
