#include "app/CommandBar.h"

#include "framework/Bitmap.h"
#include "framework/Rect.h"
#include "res/resource.h"

namespace {

// A row is a button, or a separator when its command id is 0.
struct ButtonRow
{
    UINT nID;
    UINT nBitmapID;
};

constexpr ButtonRow kRows[] = {
    {ID_RUN_ALL, IDB_RUN_ALL},
    {ID_RUN_SELECTED, IDB_RUN_SELECTED},
    {0, 0},
    {ID_LIST_ALL, IDB_LIST_ALL},
    {ID_LIST_SELECTED, IDB_LIST_SELECTED},
    {0, 0},
    {ID_STOP, IDB_STOP},
    {0, 0},
    {ID_NEW_RULES, IDB_NEW_RULES},
    {0, 0},
    {ID_ADD_GROUP, IDB_ADD_GROUP},
    {ID_DELETE_GROUP, IDB_DELETE_GROUP},
    {0, 0},
    {ID_ADD_ITEM, IDB_ADD_ITEM},
    {ID_DELETE_ITEM, IDB_DELETE_ITEM},
    {0, 0},
    {ID_VERSION, IDB_VERSION},
    {0, 0},
    {ID_EXIT, IDB_EXIT},
};
const int kRowCount = sizeof(kRows) / sizeof(kRows[0]);

constexpr int CountButtons()
{
    int nButtons = 0;
    for (const ButtonRow& row : kRows)
        nButtons += row.nID != 0;
    return nButtons;
}
static_assert(CountButtons() == CCommandBar::BUTTON_COUNT, "one picture per button");

// "ＭＳ Ｐ ゴシック" in Shift-JIS, with a blank between "Ｐ" and "ゴシック".
const char kLabelFontFace[] = "\x82\x6c\x82\x72\x20\x82\x6f\x20\x83\x53\x83\x56\x83\x62\x83\x4e";
const int kLabelFontPoints = 80;

}  // namespace

CCommandBar::~CCommandBar()
{
    // The labels must not outlive their font in a window that is still there.
    DestroyWindow();
}

BOOL CCommandBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CToolBarCtrl::Create(dwStyle, rect, pParentWnd, nID))
        return FALSE;
    // A toolbar's pictures are 16 x 15 unless it is told otherwise, and it can be told only before
    // the first bitmap is added.
    SetBitmapSize(CSize(16, 16));

    TBBUTTON buttons[kRowCount];
    ZeroMemory(buttons, sizeof(buttons));
    int nButton = 0;
    for (int nRow = 0; nRow < kRowCount; ++nRow) {
        TBBUTTON& button = buttons[nRow];
        button.idCommand = static_cast<int>(kRows[nRow].nID);
        button.iString = -1;
        if (kRows[nRow].nID == 0) {
            button.fsStyle = BTNS_SEP;
            continue;
        }
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = BTNS_BUTTON;
        // A picture that does not load leaves its button without an image rather than shifting
        // every later button onto its neighbour's.
        CBitmap& bitmap = m_bitmaps[nButton++];
        bitmap.LoadMappedBitmap(kRows[nRow].nBitmapID);
        const int nImage = bitmap.GetSafeHandle() ? AddBitmap(1, &bitmap) : -1;
        button.iBitmap = nImage >= 0 ? nImage : I_IMAGENONE;
    }

    for (int nRow = 0; nRow < kRowCount; ++nRow) {
        CString strLabel;
        // A row without text gets no label: an empty list would add nothing to the pool and
        // return the index of whatever label comes next.
        if (kRows[nRow].nID == 0 || !strLabel.LoadString(kRows[nRow].nID))
            continue;
        strLabel += '\0';
        buttons[nRow].iString = AddStrings(strLabel);
    }

    m_font.CreatePointFont(kLabelFontPoints, kLabelFontFace);
    SetFont(&m_font, TRUE);

    AddButtons(kRowCount, buttons);
    return TRUE;
}

CString CCommandBar::GetButtonTip(UINT nID) const
{
    CString strTip;
    if (CommandToIndex(nID) >= 0 && strTip.LoadString(nID))
        return CutTipText(strTip);
    return CString();
}

CString CCommandBar::CutTipText(const CString& strText)
{
    return strText.Left(FitWholeChars(strText, strText.GetLength(), TIP_BUFFER_SIZE - 1));
}

BOOL CCommandBar::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (!pNMHDR || (pNMHDR->code != TTN_NEEDTEXTA && pNMHDR->code != TTN_NEEDTEXTW))
        return CToolBarCtrl::OnNotify(wParam, lParam, pResult);

    const CString strTip = GetButtonTip(static_cast<UINT>(pNMHDR->idFrom));
    if (pNMHDR->code == TTN_NEEDTEXTA) {
        NMTTDISPINFOA* pInfo = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
        ::lstrcpynA(pInfo->szText, strTip, TIP_BUFFER_SIZE);
        pInfo->lpszText = pInfo->szText;
    } else {
        NMTTDISPINFOW* pInfo = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
        // MultiByteToWideChar returns 0 on failure and may have written part of the buffer.
        if (!::MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, strTip, -1, pInfo->szText,
                                   TIP_BUFFER_SIZE))
            pInfo->szText[0] = L'\0';
        pInfo->lpszText = pInfo->szText;
    }
    *pResult = 0;
    return TRUE;
}
