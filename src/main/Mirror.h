#pragma once
// /mirror FOLDER: the repository's files that this program fetches, laid out
// below FOLDER under their server paths, so that any static web server can
// serve FOLDER as a plant's repository (with /repository). What is fetched is
// what the pages build, as for an installer copy: every row of every page
// (built without windows), the lists and documents the program reads, and the
// content items the copy gathers through the content pages. There is no list
// of files besides the pages' tables.
#include <string>

class CPassiveProgress;
class hnInternetStop;

// Mirrors into `folder`; with a set file only what the set needs (its rows,
// the package components when it lists packages, its content items) besides
// the lists, documents and the resources page's pictures, which are always
// mirrored. A file already there is kept when its size equals the server's.
// Every download and every address left out (another host, outside the
// repository's paths) is written to the session log. 0 done; 87 for a set
// file it cannot use (nothing fetched); 1603 when a file failed (`error`
// names the first, its URL and why; the others are still tried); 1602 when
// `stop` was requested, or Cancel of `progress` (/passive) pressed.
int hnMirrorRepository(const std::string& folder, const std::string& setFile, hnInternetStop& stop,
                       std::string& error, CPassiveProgress* progress = nullptr);
