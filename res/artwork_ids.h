// Pictures of the program, drawn at build time by res/artwork/make_artwork.py.
#pragma once

// Banner bitmaps.
#define IDB_PAGE_HEADER 129   // 895 x 70, top of every wizard page
#define IDB_SIDE_PANEL 134    // 165 x 470, left side of every wizard page
#define IDB_DIALOG_BANNER 138 // 500 x 70, top of the progress dialogs

// PNG pictures of the image buttons and statics (resource type "PNG").
#define IDP_RUN 188            // 24: lightning bolt
#define IDP_REMOVE_DISC 189    // 24: cross in a disc
#define IDP_REMOVE 190         // 24: cross
#define IDP_INSTALL 191        // 24: download arrow onto a tray
#define IDP_REPAIR 192         // 24: two circular arrows
#define IDP_SETTINGS 193       // 32: gear
#define IDP_DOCUMENT 194       // 24: document
#define IDP_CHECK 196          // 24: check mark in a disc
#define IDP_CHANGE 197         // 24: two opposite arrows
#define IDP_WARNING 199        // 24: warning triangle
#define IDP_DELETE 201         // 32: bin
#define IDP_DOWNLOAD 202       // 32: cloud with a download arrow
#define IDP_REFRESH 203        // 32: circular arrows
#define IDP_DOWNLOAD_ARROW 204 // 32: download arrow onto a tray
#define IDP_EMBLEM 205         // 64: product emblem
#define IDP_INFO 206           // 24: letter i in a disc
#define IDP_VIDEO 207          // 24: film strip
#define IDP_FOLDER 208         // 32: folder window
#define IDP_INSTALL_ALL 209    // 32: arrow into a bracket
#define IDP_BETA 210           // 24: laboratory flask
#define IDP_WEB 211            // 24: globe
#define IDP_REFRESH_SMALL 213  // 24: circular arrows
