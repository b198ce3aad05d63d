// The reminder message field's limit of 62 bytes in code page 932, by typing, pasting and from code.
#include "ReminderTestSupport.h"

#include <cstring>

class ReminderMemoTest : public ReminderFixture {
protected:
    void SetUp() override
    {
        ReminderFixture::SetUp();
        Pick(t1.Action(), kMessageAction);
        memo = Ui(dialog).Control(t1.Memo());
    }

    void Type(const std::wstring& text)
    {
        for (wchar_t ch : text) {
            SendMessageW(memo, WM_CHAR, ch, 0);
        }
    }

    void Paste(const std::wstring& text)
    {
        ASSERT_TRUE(OpenClipboard(dialog.Hwnd()));
        EmptyClipboard();
        std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
        std::memcpy(GlobalLock(data), text.c_str(), bytes);
        GlobalUnlock(data);
        // The clipboard owns the memory once it is set.
        SetClipboardData(CF_UNICODETEXT, data);
        CloseClipboard();
        SendMessageW(memo, WM_PASTE, 0, 0);
    }

    std::wstring Memo() const { return Ui(dialog).Text(t1.Memo()); }

    HWND memo = nullptr;
};

TEST_F(ReminderMemoTest, TypingStopsAtSixtyTwoBytes)
{
    Type(std::wstring(32, L'あ'));
    EXPECT_EQ(Memo(), std::wstring(31, L'あ'));

    Ui(dialog).SetText(t1.Memo(), L"");
    Type(std::wstring(63, L'a'));
    EXPECT_EQ(Memo(), std::wstring(62, L'a'));

    // One byte left is not room for a double-byte character, but still for a single-byte one.
    Ui(dialog).SetText(t1.Memo(), L"");
    Type(std::wstring(61, L'a') + L"あ");
    EXPECT_EQ(Memo(), std::wstring(61, L'a'));
    Type(L"b");
    EXPECT_EQ(Memo(), std::wstring(61, L'a') + L"b");
}

TEST_F(ReminderMemoTest, TypingOverASelectionCountsWhatRemains)
{
    Ui(dialog).SetText(t1.Memo(), std::wstring(31, L'あ'));
    SendMessageW(memo, EM_SETSEL, 0, 1);
    Type(L"abc");
    EXPECT_EQ(Memo(), L"ab" + std::wstring(30, L'あ'));
}

TEST_F(ReminderMemoTest, PastingIsCutAtAWholeCharacter)
{
    Paste(std::wstring(40, L'あ'));
    EXPECT_EQ(Memo(), std::wstring(31, L'あ'));

    Ui(dialog).SetText(t1.Memo(), std::wstring(61, L'a'));
    SendMessageW(memo, EM_SETSEL, 61, 61);
    Paste(L"あい");
    EXPECT_EQ(Memo(), std::wstring(61, L'a'));

    // Pasting over a selection, and only the clipboard's first line.
    SendMessageW(memo, EM_SETSEL, 0, -1);
    Paste(L"会議\r\n二行目");
    EXPECT_EQ(Memo(), L"会議");
}

TEST_F(ReminderMemoTest, TextFromCodeIsHeldToTheLimit)
{
    // The load sets the text with WM_SETTEXT, whatever the registry held.
    Ui(dialog).SetText(t1.Memo(), std::wstring(32, L'あ'));
    EXPECT_EQ(Memo(), std::wstring(31, L'あ'));
    Ui(dialog).SetText(t1.Memo(), std::wstring(61, L'a') + L"あ");
    EXPECT_EQ(Memo(), std::wstring(61, L'a'));
    Ui(dialog).SetText(t1.Memo(), std::wstring(62, L'a'));
    EXPECT_EQ(Memo(), std::wstring(62, L'a'));

    Ui(dialog).SetText(t1.Memo(), std::wstring(60, L'a'));
    SendMessageW(memo, EM_SETSEL, 60, 60);
    SendMessageW(memo, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"xあ"));
    EXPECT_EQ(Memo(), std::wstring(60, L'a') + L"x");
}
