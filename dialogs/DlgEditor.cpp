#include "dialogs/DlgEditor.h"

IMPLEMENT_DYNAMIC(CDlgEditor, CDlgModal)

CDlgEditor::CDlgEditor(CWnd* pParent) : CDlgModal(IDD, pParent), m_pDoc(nullptr)
{
}

CDlgEditor::~CDlgEditor() = default;
