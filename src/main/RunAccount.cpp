#include "main/RunAccount.h"

#include <windows.h>

#include <sddl.h>

#include "app/ScopedHandle.h"
#include "app/Text.h"
#include "main/ExitCodes.h"

namespace {
const char* const kLocalSystemSid = "S-1-5-18";
} // namespace

bool hnIsSystemAccountSid(const std::string& sid) {
    return hnEqualsNoCase(sid, kLocalSystemSid);
}

namespace {
std::string accountName(PSID account, const std::string& sid) {
    char name[256] = {}, domain[256] = {};
    DWORD nameLength = sizeof(name), domainLength = sizeof(domain);
    SID_NAME_USE use;
    if (!::LookupAccountSidA(nullptr, account, name, &nameLength, domain, &domainLength, &use))
        return sid;
    return domain[0] ? std::string(domain) + "\\" + name : std::string(name);
}
} // namespace

bool hnAccountNameOfSid(const std::string& sid, std::string& name) {
    name.clear();
    PSID account = nullptr;
    if (!::ConvertStringSidToSidA(sid.c_str(), &account) || !account)
        return false;
    name = accountName(account, sid);
    ::LocalFree(account);
    return true;
}

bool hnProcessAccount(std::string& sid, std::string& name) {
    sid.clear();
    name.clear();
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw))
        return false;
    hnScopedHandle token(raw);
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size == 0)
        return false;
    std::string buffer(size, '\0');
    if (!::GetTokenInformation(token.get(), TokenUser, &buffer[0], size, &size))
        return false;
    PSID user = reinterpret_cast<TOKEN_USER*>(&buffer[0])->User.Sid;
    char* text = nullptr;
    if (!::ConvertSidToStringSidA(user, &text) || !text)
        return false;
    sid = text;
    ::LocalFree(text);
    name = accountName(user, sid);
    return true;
}

bool hnSetHasPerUserParts(const CComponentSet& set) {
    for (const char* section : {kSetPythonSection, kSetContentSection}) {
        const hnSetSection* found = set.section(section);
        if (found && !found->entries.empty())
            return true;
    }
    return false;
}

int hnCheckDocumentsRule(const CComponentSet& set, const std::string& sid, const std::string& name,
                         const std::string& documentsOption, const std::string& documentsNow,
                         std::string& message) {
    const std::string& account = name.empty() ? sid : name;
    if (!documentsOption.empty()) {
        message = hnFormatText("account %s, documents folder %s (given with /documents)", account.c_str(),
                               documentsOption.c_str());
        return 0;
    }
    if (hnIsSystemAccountSid(sid) && hnSetHasPerUserParts(set)) {
        message = hnFormatText("account %s is the local system account and the set holds per-user parts "
                               "(Python choices or documents content): name the documents folder to fill "
                               "with /documents FOLDER",
                               account.c_str());
        return exitcode::kBadSetFile;
    }
    message = hnFormatText("account %s, documents folder %s", account.c_str(),
                           documentsNow.empty() ? "(none)" : documentsNow.c_str());
    return 0;
}
