#pragma once

// The first start of an installed program: when the data folder holds no
// collection, one dialog captioned "Pandecta" offers to install the demo
// collection (when the program ships one) or to run "Atualizar via
// Internet...". The copying is DemoCollection's; this only asks.

class TfrmClientMain;

enum class TFirstStartChoice {
  Unchanged,       // a collection was there, or the user cancelled
  DemoInstalled,   // the demo collection now fills the data and index folders
  InternetUpdate,  // the data folder exists, empty: the update fills it
};

// Asks when there is no collection and acts on the answer. Errors are shown
// and answer Unchanged.
TFirstStartChoice OfferFirstCollection();

// Runs "Atualizar via Internet..." of the main window once it is shown.
void StartInternetUpdate(TfrmClientMain& mainWindow);
