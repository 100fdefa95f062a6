#include "controls/RichTextFile.h"

#include <richedit.h>

#include "app/ScopedHandle.h"

const char* const kRichTextTooLargeText = "The document is too large to be shown.";
const char* const kRichTextUnreadableText = "The document could not be shown.";

namespace {

DWORD CALLBACK readChunk(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* read) {
    DWORD got = 0;
    BOOL ok = ::ReadFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(wanted), &got, nullptr);
    *read = static_cast<LONG>(got);
    return ok ? 0 : 1;
}

hnRichTextLoad showPlain(HWND richEdit, const char* text, hnRichTextLoad outcome) {
    ::SetWindowTextA(richEdit, text);
    return outcome;
}

} // namespace

hnRichTextLoad loadRichTextFile(HWND richEdit, const std::string& path) {
    if (!richEdit)
        return hnRichTextLoad::Missing;
    hnScopedHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (path.empty() || !file)
        return hnRichTextLoad::Missing;
    ::SendMessageA(richEdit, EM_EXLIMITTEXT, 0, kRichTextLimit);
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file.get(), &size))
        return showPlain(richEdit, kRichTextUnreadableText, hnRichTextLoad::Unreadable);
    if (static_cast<unsigned long long>(size.QuadPart) > kRichTextFileCap)
        return showPlain(richEdit, kRichTextTooLargeText, hnRichTextLoad::TooLarge);
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(file.get());
    stream.pfnCallback = readChunk;
    ::SendMessageA(richEdit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    // What the control read is shown, whatever it reported at the end.
    GETTEXTLENGTHEX length = {GTL_DEFAULT, CP_ACP};
    if (::SendMessageA(richEdit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0) > 0)
        return hnRichTextLoad::Shown;
    return showPlain(richEdit, kRichTextUnreadableText, hnRichTextLoad::Unreadable);
}
