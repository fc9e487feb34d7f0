#pragma once

// Documents stored as files: location, header, encodings, body and links.
#include "Base/DocumentFileName.h"
#include "Base/TOMODocument.h"
#include "Base/TOMODocumentBody.h"
#include "Base/TOMODocumentFile.h"
#include "Base/TOMOHyperlink.h"
#include "Base/TOMOStream.h"
