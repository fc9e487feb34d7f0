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
