// The client's own modal boxes that the plug-in's dialog auto-dismissal deals with: the
// error box and the password prompt, both owned by the frame. While one is open, the frame's
// timers and posted commands keep running inside its modal loop, as in the client.
#include "replacement_host_win.h"

#include <vector>

namespace {

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kPasswordEditId = 100;

// An in-memory dialog template, built item by item (DLGTEMPLATE layout, no font).
class DialogTemplate {
public:
    DialogTemplate(const std::string& caption, short width, short height)
    {
        DLGTEMPLATE header = {};
        header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
        header.cx = width;
        header.cy = height;
        append(&header, sizeof header);
        appendWord(0);  // no menu
        appendWord(0);  // the standard dialog class
        appendText(caption);
    }

    void addItem(WORD windowClass, WORD id, DWORD style, const std::string& text, short x, short y,
                 short width, short height)
    {
        align();
        DLGITEMTEMPLATE item = {};
        item.style = WS_CHILD | WS_VISIBLE | style;
        item.x = x;
        item.y = y;
        item.cx = width;
        item.cy = height;
        item.id = id;
        append(&item, sizeof item);
        appendWord(0xFFFF);
        appendWord(windowClass);
        appendText(text);
        appendWord(0);  // no creation data
        ++reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit;
    }

    const DLGTEMPLATE* get()
    {
        align();
        return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data());
    }

private:
    void append(const void* data, std::size_t size)
    {
        const auto* begin = static_cast<const BYTE*>(data);
        bytes_.insert(bytes_.end(), begin, begin + size);
    }
    void appendWord(WORD value) { append(&value, sizeof value); }
    // Texts are Shift-JIS here; templates hold UTF-16.
    void appendText(const std::string& text)
    {
        const int length = MultiByteToWideChar(932, 0, text.c_str(), -1, nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(length), L'\0');
        MultiByteToWideChar(932, 0, text.c_str(), -1, wide.data(), length);
        append(wide.c_str(), static_cast<std::size_t>(length) * sizeof(wchar_t));
    }
    void align()
    {
        while (bytes_.size() % 4 != 0) {
            bytes_.push_back(0);
        }
    }

    std::vector<BYTE> bytes_;
};

INT_PTR CALLBACK PromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

int ReplacementHost::showErrorBox(const std::string& text)
{
    return MessageBoxA(frame_, text.c_str(), "エラー", MB_OK | MB_ICONEXCLAMATION);
}

int ReplacementHost::showPasswordPrompt()
{
    DialogTemplate prompt("パスワード", 200, 80);
    prompt.addItem(kStaticClass, 0xFFFF, SS_LEFT, "パスワードを入力してください", 10, 10, 180, 12);
    prompt.addItem(kEditClass, kPasswordEditId, WS_BORDER | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL,
                   "", 10, 26, 180, 14);
    prompt.addItem(kButtonClass, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK", 70, 56, 55, 14);
    prompt.addItem(kButtonClass, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, "キャンセル", 135, 56, 55, 14);
    return static_cast<int>(
        DialogBoxIndirectParamA(GetModuleHandleA(nullptr), prompt.get(), frame_, PromptProc, 0));
}
