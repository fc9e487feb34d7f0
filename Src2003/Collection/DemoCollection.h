#pragma once

// The demo collection an installed program ships (share/pandecta/demo: the
// documents in Dados, their word index in Extra), and its install into the
// user's folders when the program starts with no collection:
//   if (!HoldsCollection(dataFolder) && HoldsCollection(DemoCollectionData(demo)))
//     InstallDemoCollection(demo, dataFolder, extraFolder);

#include <string>

// The installed demo collection's folder.
std::string DemoCollectionFolder();
// Its document folder, `demoFolder`/Dados.
std::string DemoCollectionData(const std::string& demoFolder);

// True when the folder holds a collection: its tree file is there.
bool HoldsCollection(const std::string& dataFolder);

// Copies the demo collection into the data and index folders, creating them
// and replacing files of the same names. The tree file is copied last, so a
// copy cut short leaves a folder that still holds no collection. Raises
// ELxException ("Não foi possível instalar a coleção de demonstração ...").
void InstallDemoCollection(const std::string& demoFolder, const std::string& dataFolder,
                           const std::string& extraFolder);
