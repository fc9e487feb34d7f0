#pragma once

#include "TOMODocumentBody.h"

class TInstalledCollection;
class TTOMONode;

// Opens the entry's document through the program's document source and
// reads its body. The entry learns the date and size the body gives: always
// when `factsRequired` (a body without them then raises), otherwise only
// when the body has a property block.
TTOMODocumentBody ReadEntryBody(TTOMONode& entry, bool factsRequired);

// Writes the tree after a shown document taught an entry its date and size.
// A failure is reported and the document stays shown; the tree stays marked
// changed and is written at the next chance.
void SaveLearnedFacts(TInstalledCollection* collection);
