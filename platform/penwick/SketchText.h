// CSketchText: a text in a box (kind 4) spanned by control points 0 and 4.
// The text is drawn in the shape's font, its height scaled with the page.
#pragma once

#include "platform/penwick/SketchObject.h"

class CSketchText : public CSketchObject {
public:
    CSketchText() : CSketchObject(SKETCH_TEXT) {}
    std::unique_ptr<CSketchObject> Clone() const override { return std::make_unique<CSketchText>(*this); }

    CString GetContent() const { return m_strContent; }
    void SetContent(const CString& text) { m_strContent = text; }

    void Draw(CDC* pDC, const _IMAGEMAPINFO_ST_& map, BOOL paper) const override;
    BOOL FinishSketch() override;

protected:
    explicit CSketchText(int type) : CSketchObject(type) {}
    void DrawContent(CDC* pDC, const _IMAGEMAPINFO_ST_& map, BOOL paper) const;
    // The box a click without a drag gives: ten characters by two lines.
    void GiveDefaultSize();

    CString m_strContent;
};
