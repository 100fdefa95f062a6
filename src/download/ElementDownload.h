#pragma once
// The install manager's download steps for one element, run through the
// download-and-install dialog.
#include <string>

struct hnInstallationElement;

// The user's answer to a failed download.
enum class hnDownloadErrorChoice { Retry, Ignore, IgnoreAll, Abort };

// Downloads the element's installable (download-only, no refresh, messages
// on) unless it is already in the cache: 1 and "Downloaded", or -1 and
// "Download Error" with `userAborted` telling whether the user aborted.
int downloadElement(hnInstallationElement& element, bool& userAborted, int position, int runLength);

// Deletes the element's temporary and final download; -1 (after telling the
// user) when a file cannot be deleted.
int deleteOldDownload(int position, hnInstallationElement& element, int runLength);

// Asks Retry / Ignore / Ignore All / Abort with dialog 178. Through the
// prompter the answer is the dialog's choice: 1 Retry, 2 Ignore, 3 Ignore
// All, anything else Abort.
hnDownloadErrorChoice askDownloadErrorChoice(const std::string& text);
