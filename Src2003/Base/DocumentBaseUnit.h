#pragma once

// The program-wide source of documents.
#include "DocumentFileUnit.h"
#include "TOMODocumentSet.h"
