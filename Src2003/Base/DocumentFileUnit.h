#pragma once

// Documents stored as files: location, header, encodings, body and links.
#include "DocumentFileName.h"
#include "TOMODocument.h"
#include "TOMODocumentBody.h"
#include "TOMODocumentFile.h"
#include "TOMOHyperlink.h"
#include "TOMOStream.h"
