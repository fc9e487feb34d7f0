#pragma once

#include <string>

#include "BuildBasePlan.h"

// Writes a planned base through the program's own classes: one document file
// per document (TTOMODocumentFile), then the index file (TTOMOTree), with each
// record's DocumentSize measured from the file just written.
void WriteBase(const TBasePlan& plan, const std::string& folder);

// Writes the base into a scratch folder beside `dataFolder` ("Dados.novo")
// and only then puts it in place of the old one, so that a failure at any
// point leaves the previous base, or no folder at all, never half a base.
// Refuses a `dataFolder` that holds files but is not a document base, since
// replacing it would throw those files away.
void InstallBase(const TBasePlan& plan, const std::string& dataFolder);

// Where the file system cannot swap two folders in one step, a build cut
// between renaming the old base away ("Dados.antigo") and moving the new one
// in leaves no data folder: this puts the whole new base in place, or the old
// one back, and removes the old base once the new one is in place.
// InstallBase calls it first.
void FinishInterruptedInstall(const std::string& dataFolder);
