#pragma once

// The index file of a document base and the document tree built from it.
#include "Base/CommaList.h"
#include "Base/ExpandIndexFile.h"
#include "Base/TOMOFile.h"
#include "Base/TOMOFileError.h"
#include "Base/TOMOFileIterator.h"
#include "Base/TOMORecord.h"
#include "Base/TOMOTree.h"
#include "Base/TextEscape.h"
