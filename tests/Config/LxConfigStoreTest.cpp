#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "LxConfigStore.h"
#include "TempFolder.h"

namespace {

constexpr TLxRootKey kUser = TLxRootKey::CurrentUser;
const char kKey[] = "Software\\Orvalho\\Pandecta\\2.0\\Atualização\\Proxy";

unsigned PermissionBits(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return 0;
  return status.st_mode & 0777;
}

class SettingsFileStore : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string file = folder.File("pandecta.ini");
  TLxSettingsConfigStore store{file};
};

TEST_F(SettingsFileStore, KeepsTextWithAccentsUnderKeysWithAccents) {
  store.WriteValue(kUser, kKey, "Usuário", "joão da silva, 100%");
  EXPECT_EQ(store.ReadValue(kUser, kKey, "Usuário"), "joão da silva, 100%");
  EXPECT_EQ(TLxSettingsConfigStore(file).ReadValue(kUser, kKey, "Usuário"), "joão da silva, 100%");
  EXPECT_EQ(store.ReadValue(kUser, kKey, "Senha"), "");
  EXPECT_EQ(store.ReadValue(kUser, "Software\\Outro", "Usuário"), "");
}

TEST_F(SettingsFileStore, TheFileIsReadableByItsOwnerOnly) {
  store.WriteValue(kUser, kKey, "Senha", "segredo");
  EXPECT_EQ(PermissionBits(file), 0600u);

  const std::string older = folder.File("antigo.ini");
  WriteWholeFile(older, "");
  ::chmod(older.c_str(), 0644);
  TLxSettingsConfigStore(older).WriteValue(kUser, kKey, "Senha", "segredo");
  EXPECT_EQ(PermissionBits(older), 0600u);
}

TEST_F(SettingsFileStore, AValueWrittenElsewhereIsSeenAtTheNextRead) {
  store.WriteValue(kUser, kKey, "Porta", "8080");
  EXPECT_EQ(store.ReadValue(kUser, kKey, "Porta"), "8080");
  TLxSettingsConfigStore(file).WriteValue(kUser, kKey, "Porta", "3128");
  EXPECT_EQ(store.ReadValue(kUser, kKey, "Porta"), "3128");

  // Another program rewrites the file by hand.
  WriteWholeFile(file, "[Software]\nOrvalho\\Pandecta\\2.0\\Atualiza%E7%E3o\\Proxy\\Porta=1080\nx=y\n");
  EXPECT_EQ(store.ReadValue(kUser, kKey, "Porta"), "1080");
}

TEST_F(SettingsFileStore, ADamagedFileReadsAsNothingStored) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 131 + 7) % 256);
  for (const std::string& contents : {junk, std::string("[Software\n=\n\\\\\\=%%%\n[]\n"), std::string(1, '\0')}) {
    WriteWholeFile(file, contents);
    EXPECT_EQ(store.ReadValue(kUser, kKey, "Porta"), "");
  }
}

TEST_F(SettingsFileStore, AWriteThatCannotBeDoneIsDroppedSilently) {
  WriteWholeFile(folder.File("arquivo"), "não é pasta");
  TLxSettingsConfigStore unwritable(folder.File("arquivo/pandecta.ini"));
  EXPECT_NO_THROW(unwritable.WriteValue(kUser, kKey, "Porta", "8080"));
  EXPECT_EQ(unwritable.ReadValue(kUser, kKey, "Porta"), "");
}

TEST(MemoryConfigStore, HoldsStringsNumbersAndOtherValues) {
  TLxMemoryConfigStore store;
  store.WriteValue(kUser, kKey, "Porta", "8080");
  store.WriteDword(kUser, kKey, "Numero", 42);
  store.WriteBinary(kUser, kKey, "Binario", "abc");
  EXPECT_EQ(store.ReadValue(kUser, kKey, "Porta"), "8080");
  EXPECT_EQ(store.ReadValue(kUser, kKey, "Numero"), "42");
  EXPECT_EQ(store.ReadValue(kUser, kKey, "Binario"), "");
  EXPECT_EQ(store.ReadValue(TLxRootKey::LocalMachine, kKey, "Porta"), "");
}

}  // namespace
