#pragma once

// The power-cut mode of the crash seam. A killed process leaves every byte it
// wrote to the system; a power cut also loses the bytes the system had not
// yet put on the disk. Here, at the cut, every file the run wrote under a
// folder holds again what it held at its last sync: the whole file as it was
// synced, empty when the run created it and never synced it, as it was
// before the run when the run never synced it. Names (creates, renames,
// deletes, new folders) stay as the run left them, as a journaling file
// system keeps them while it drops data not yet written back: the case where
// a renamed file turns up empty.
//
//   TCutDriver driver;   // Prepare, Commit, Check as for any cut
//   driver.RunUnderCut = [&](TCutPlan& plan, const std::function<void()>& run) {
//     RunUnderLxPowerCut(plan, folder, run);
//   };

#include <functional>
#include <string>

#include "CutPlan.h"

// Runs `run` under the Lx seam with the plan's cut; once the run is over and
// the cut was reached, the power goes off for everything under `root`.
void RunUnderLxPowerCut(TCutPlan& plan, const std::string& root, const std::function<void()>& run);
