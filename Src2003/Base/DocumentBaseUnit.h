#pragma once

// The program-wide source of documents.
#include "Base/DocumentFileUnit.h"
#include "Base/TOMODocumentSet.h"
