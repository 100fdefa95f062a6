#pragma once
// What the sheet shares with its upgrade-check worker: the stop flag and the
// worker's open internet handles.
#include "download/InternetStop.h"

using hnUpgradeCheckControl = hnInternetStop;
