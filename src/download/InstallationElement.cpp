#include "download/InstallationElement.h"

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/InstallerServices.h"
#include "app/Text.h"

namespace {
const char* orEmpty(const char* text) {
    return text ? text : "";
}
const std::string kNoText;
} // namespace

hnInstallationElement::hnInstallationElement(const char* name_, const char* url_, const char* fileName_,
                                             const char* switches_, const char* downloadFolder_,
                                             bool isMsiPackage_, int32_t sizeHint_, bool refreshBeforeCopy_,
                                             std::string* nameText_, std::string* statusText_,
                                             std::string* progressText_, const char* category_)
    : name(orEmpty(name_)), url(orEmpty(url_)), fileName(orEmpty(fileName_)), switches(orEmpty(switches_)),
      downloadFolder(orEmpty(downloadFolder_)), isMsiPackage(isMsiPackage_), sizeHint(sizeHint_),
      refreshBeforeCopy(refreshBeforeCopy_), nameText(nameText_), statusText(statusText_),
      progressText(progressText_), category(orEmpty(category_)) {
    if (nameText)
        *nameText = name;
    if (progressText)
        progressText->clear();
}

void hnInstallationElement::setStatus(const char* word) const {
    if (statusText)
        *statusText = word;
}

void hnInstallationElement::setProgress(const char* word) const {
    if (progressText)
        *progressText = word;
    progressReason_->clear();
}

void hnInstallationElement::setProgress(const char* word, const std::string& reason) const {
    setProgress(word);
    *progressReason_ = reason;
}

const std::string& hnInstallationElement::status() const {
    return statusText ? *statusText : kNoText;
}

std::string cacheFolder(const char* relative) {
    std::string folder;
    if (applicationFolder().empty() || !hnJoinPath(folder, applicationFolder(), relative)) {
        hnDebugOut("cacheFolder - path too long\n");
        return std::string();
    }
    return folder;
}
