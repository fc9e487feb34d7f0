#pragma once

// The index file of a document base and the document tree built from it.
#include "CommaList.h"
#include "ExpandIndexFile.h"
#include "TOMOFile.h"
#include "TOMOFileError.h"
#include "TOMOFileIterator.h"
#include "TOMORecord.h"
#include "TOMOTree.h"
#include "TextEscape.h"
